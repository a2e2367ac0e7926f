#include "flash/language/ScriptVariables.h"

#include <cctype>
#include <map>
#include <optional>

#include "comms/server/GIOContext.h"
#include "flash/language/ScriptCommSettings.h"
#include "flash/language/ScriptOperators.h"
#include "flash/scripts/IFlashCommandFile.h"
#include "foundation/text/NumberText.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

Variant Int16(int value) { return Variant(static_cast<std::int16_t>(value)); }
Variant Int32(int value) { return Variant(static_cast<std::int32_t>(value)); }

const std::map<std::string, Variant>& NamedConstants() {
  static const std::map<std::string, Variant> constants = {
      {"true", Int16(1)},           {"false", Int16(0)},          {"choice", Int16(1)},
      {"information", Int16(2)},    {"yes", Int32(6)},            {"no", Int32(7)},
      {"cancel", Int32(2)},         {"normal", Int16(0)},         {"fullupload", Int16(1)},
      {"userprivileges", Int16(2)}, {"serialport", Variant("Serial")}, {"ethernet", Variant("Ethernet")},
      {"modbustcp", Int16(0)},      {"rawpackets", Int16(1)},     {"noparity", Int16(0)},
      {"oddparity", Int16(1)},      {"evenparity", Int16(2)},     {"permanent", Int16(0)},
      {"temporary", Int16(1)},      {"drivetimeout", Int32(1)},   {"ethernettimeout", Int32(2)},
      {"mbtcpenable", Int32(3)},    {"vsioenable", Int32(4)},     {"sioenable", Int32(5)},
      {"scanenable", Int32(6)},     {"driveparity", Int32(7)},    {"drivebaud", Int32(8)},
      {"sioparity", Int32(9)},      {"siobaud", Int32(10)},
  };
  return constants;
}

std::optional<Variant> PortConstant(const std::string& lower) {
  if (lower.size() != 4 || lower.compare(0, 3, "com") != 0) return std::nullopt;
  const char digit = lower[3];
  return Variant(std::isdigit(static_cast<unsigned char>(digit)) ? digit - '0' - 1.0 : -1.0);
}

float Single(const Variant& value) {
  const double seconds = ScriptOperators::Number(ScriptOperators::Operand(value));
  if (std::abs(seconds) > 3.4e38) throw RuntimeError(errOverflow, "ScriptVariables", "Overflow");
  return static_cast<float>(seconds);
}

std::uint8_t Byte(const Variant& value) {
  const std::int32_t whole = ToInt32Checked(ScriptOperators::Number(ScriptOperators::Operand(value)));
  if (whole < 0 || whole > 255) throw RuntimeError(errOverflow, "ScriptVariables", "Overflow");
  return static_cast<std::uint8_t>(whole);
}

std::optional<Variant> ReadSetting(IFlashCommandFile* ffile, const std::string& lower) {
  // A single read back as the text it shows, so 0.1 stays 0.1 and not 0.100000001490116.
  if (lower == "timeout") return ffile ? Variant(LeadingNumber(SingleToText(ffile->Timeout()))) : Variant();
  if (lower == "address") return ffile ? Int16(ffile->Address()) : Variant();
  if (lower == "noerrors") return ffile ? Variant(ffile->NoErrors()) : Variant();
  if (lower == "legacy") {
    if (ffile == nullptr || !ffile->Context()) return Variant();
    return Int16(ffile->Context()->Legacy() ? 1 : 0);
  }
  return std::nullopt;
}

bool WriteSetting(IFlashCommandFile* ffile, const std::string& lower, const Variant& value) {
  if (lower == "timeout") {
    if (ffile) ffile->SetTimeout(Single(value));
  } else if (lower == "address") {
    if (ffile) ffile->SetAddress(Byte(value));
  } else if (lower == "noerrors") {
    const bool on = ScriptOperators::IsNonZero(ScriptOperators::Operand(value));
    if (ffile) ffile->SetNoErrors(on);
    if (ffile && ffile->Context()) ffile->Context()->SetFailsoft(on);
  } else if (lower == "legacy") {
    const bool on = ScriptOperators::IsNonZero(ScriptOperators::Operand(value));
    if (ffile && ffile->Context()) ffile->Context()->SetLegacy(on);
  } else {
    return false;
  }
  return true;
}

bool IsReadOnly(const std::string& lower) {
  return NamedConstants().count(lower) != 0 || lower == "vsiotimeout";
}

// Without a running script, the communication settings are the program's own.
const ScriptEnvironment& EnvironmentOf(const IFlashCommandFile* ffile) {
  if (ffile != nullptr) return ffile->Environment();
  static const ScriptEnvironment global = ScriptEnvironment::Global();
  return global;
}

}  // namespace

Variant ScriptVariables::GetVariableOrConstant(IFlashCommandFile* ffile, const std::string& strToken) {
  const std::string lower = Lower(strToken);
  if (auto setting = ReadSetting(ffile, lower)) return *setting;
  if (auto setting = ScriptCommSettings::Read(EnvironmentOf(ffile), lower)) return *setting;
  const auto& constants = NamedConstants();
  if (const auto found = constants.find(lower); found != constants.end()) return found->second;
  if (auto port = PortConstant(lower)) return *port;
  if (ffile == nullptr || !ffile->VarExists(strToken)) return Variant(strToken);
  return ffile->Variable(strToken);
}

Variant ScriptVariables::SetVariable(IFlashCommandFile* ffile, const std::string& strVar, const Variant& vValue) {
  const std::string lower = Lower(strVar);
  if (WriteSetting(ffile, lower, vValue) || ScriptCommSettings::Write(EnvironmentOf(ffile), lower, vValue) ||
      IsReadOnly(lower)) {
    return vValue;
  }
  if (ffile) ffile->SetVariable(strVar, vValue);
  return vValue;
}

}  // namespace quendrel
