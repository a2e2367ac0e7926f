#include "drivesim/LoaderCommands.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <optional>

#include "drivesim/FlashLoader.h"

namespace quendrel {

namespace {

const std::string kOk = "ok";

std::optional<long> Number(const std::string& text) {
  long value = 0;
  const auto* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  if (result.ec != std::errc() || result.ptr != end || value < 0) return std::nullopt;
  return value;
}

// The address, a blank or colon, then the words as four hexadecimal digits each.
std::string ImageText(const FlashLoader::Image& image, char separator) {
  char address[8];
  std::snprintf(address, sizeof address, "%04X", image.address & 0xFFFF);
  std::string text = address + std::string(1, separator);
  for (const std::uint16_t word : image.words) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", word);
    text += digits;
  }
  return text;
}

std::string Fault(FlashLoader::Faults& faults, const std::vector<std::string>& words) {
  const std::string kind = words.size() >= 3 ? words[2] : "";
  const long argument = words.size() == 4 ? Number(words[3]).value_or(-1) : -1;
  if (kind == "none" && words.size() == 3) {
    faults = {};
  } else if (kind == "nosync" && words.size() == 3) {
    faults.noSync = true;
  } else if (kind == "wrongsync" && words.size() == 3) {
    faults.wrongSync = true;
  } else if (kind == "echo" && argument >= 0) {
    faults.wrongEchoAt = argument;
  } else if (kind == "noack" && words.size() == 3) {
    faults.noAcknowledgement = true;
  } else if (kind == "lateack" && argument >= 0) {
    faults.lateAcknowledgementMs = static_cast<int>(argument);
  } else if (kind == "noclosingecho" && words.size() == 3) {
    faults.noClosingEcho = true;
  } else {
    return "error loader fault none|nosync|wrongsync|echo K|noack|lateack MS|noclosingecho";
  }
  return kOk;
}

}  // namespace

std::string LoaderCommands::Execute(FlashLoader& loader, const std::vector<std::string>& words) {
  static const std::map<std::string, FlashLoader::Plan> plans{{"both", FlashLoader::Plan::ProgramThenData},
                                                              {"program", FlashLoader::Plan::Program},
                                                              {"data", FlashLoader::Plan::Data}};
  const std::string sub = words.size() >= 2 ? words[1] : "";
  if (sub == "fault") return Fault(loader.InjectedFaults(), words);
  if (sub == "sync" && words.size() == 3 && Number(words[2])) {
    loader.SetCarriageReturnsSwallowed(static_cast<int>(*Number(words[2])));
    return kOk;
  }
  if (sub == "plan" && words.size() == 3 && plans.contains(words[2])) {
    loader.SetPlan(plans.at(words[2]));
    return kOk;
  }
  if (sub == "state" && words.size() == 2) return loader.StateName();
  if (sub == "forget" && words.size() == 2) {
    loader.ForgetImages();
    return kOk;
  }
  if (sub == "image" && words.size() == 2) {
    return loader.Program() ? "image " + ImageText(*loader.Program(), ' ') : "image none";
  }
  if (sub == "data" && words.size() == 2) {
    std::string answer = "data";
    for (const auto& block : loader.DataBlocks()) answer += " " + ImageText(block, ':');
    return answer;
  }
  return "error loader sync N|plan both|program|data|fault ...|state|image|data|forget";
}

}  // namespace quendrel
