#include "params/compatibility/FS2Compiler.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "foundation/files/RegularFile.h"
#include "foundation/files/ReplaceFile.h"
#include "foundation/text/BitText.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/ParameterId.h"
#include "params/compatibility/FC2Codec.h"

namespace quendrel {

namespace {

constexpr std::size_t kMaxText = 255;  // every text of the FC2 layout has a length byte
// A source describing every parameter of hundreds of firmware versions stays far below this; a larger
// file is no source and is refused before it is read.
constexpr std::uint64_t kLargestSource = 64ULL << 20;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    pieces.push_back(Trim(text.substr(start, end == std::string_view::npos ? end : end - start)));
    if (end == std::string_view::npos) return pieces;
    start = end + 1;
  }
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  for (const auto piece : Split(text, ' ')) {
    for (const auto word : Split(piece, '\t')) {
      if (!word.empty()) words.push_back(word);
    }
  }
  return words;
}

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

int Digits(std::string_view text) {
  int value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  return value;
}

// "11.29" (one or two menu digits, two parameter digits) or "M11P29"/"M11B29" in any case.
std::optional<std::int32_t> ParseId(std::string_view text) {
  int menu = -1;
  int parameter = -1;
  const std::size_t point = text.find('.');
  if (point != std::string_view::npos) {
    const auto menuText = text.substr(0, point);
    const auto parameterText = text.substr(point + 1);
    if (menuText.size() > 2 || !AllDigits(menuText) || parameterText.size() != 2 || !AllDigits(parameterText)) {
      return std::nullopt;
    }
    menu = Digits(menuText);
    parameter = Digits(parameterText);
  } else if (text.size() == 6 && std::toupper(static_cast<unsigned char>(text[0])) == 'M' &&
             AllDigits(text.substr(1, 2)) && AllDigits(text.substr(4, 2)) &&
             (std::toupper(static_cast<unsigned char>(text[3])) == 'P' ||
              std::toupper(static_cast<unsigned char>(text[3])) == 'B')) {
    menu = Digits(text.substr(1, 2));
    parameter = Digits(text.substr(4, 2));
  }
  const std::int32_t n = menu * 100 + parameter;
  if (menu < 0 || n >= FirmwareInformationTemplate::kParameterCount) return std::nullopt;
  return n;
}

bool IsPadText(std::string_view text) {
  return text.size() == 16 && std::all_of(text.begin(), text.end(), [](char c) { return c == '0' || c == '1'; });
}

bool IsNone(std::string_view text) { return text.empty() || text == "-"; }

}  // namespace

bool FS2Compiler::Compile(std::string_view source) {
  *this = FS2Compiler{};
  std::size_t start = 0;
  while (start < source.size()) {
    const std::size_t end = std::min(source.find('\n', start), source.size());
    ++line_;
    const std::string_view text = Trim(source.substr(start, end - start));
    start = end + 1;
    if (text.empty() || text.front() == '#') continue;
    const std::size_t split = std::min(text.find_first_of(" \t"), text.size());
    CompileLine(text.substr(0, split), Trim(text.substr(split)));
  }
  if (open_) {
    ErrorAt(open_->Line, "Template " + open_->Fit->VersionText() + " has no End");
  }
  if (!errors_.empty()) result_ = FirmwareCompatibilityFile{};
  return errors_.empty();
}

void FS2Compiler::ErrorAt(int line, const std::string& reason) {
  errors_.push_back("line " + std::to_string(line) + ": " + reason);
}

void FS2Compiler::Error(const std::string& reason) { ErrorAt(line_, reason); }

void FS2Compiler::CompileLine(std::string_view keyword, std::string_view rest) {
  if (open_) {
    TemplateDirective(keyword, rest);
  } else {
    FileDirective(keyword, rest);
  }
}

void FS2Compiler::FileDirective(std::string_view keyword, std::string_view rest) {
  const std::string key = Lower(keyword);
  if (key == "softwareversion") {
    if (const auto n = SingleId(keyword, rest, softwareVersionSeen_)) result_.SetSoftwareVersion(*n);
  } else if (key == "accesscode") {
    if (const auto n = SingleId(keyword, rest, accessCodeSeen_)) result_.SetDefaultAccessCode(*n);
  } else if (key == "template") {
    StartTemplate(rest);
  } else if (key == "end") {
    Error("End without Template");
  } else if (IsTemplateKeyword(key)) {
    Error(std::string(keyword) + " outside a Template");
  } else {
    Error("unknown directive \"" + std::string(keyword) + "\"");
  }
}

bool FS2Compiler::IsTemplateKeyword(const std::string& key) {
  static const std::vector<std::string> keys = {"modelnumber", "firmwareupload", "binding",        "parameter",
                                                "hole",        "neverdownload",  "modeldependent", "depends"};
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

void FS2Compiler::TemplateDirective(std::string_view keyword, std::string_view rest) {
  FirmwareInformationTemplate& fit = *open_->Fit;
  const std::string key = Lower(keyword);
  if (key == "end") {
    EndTemplate();
  } else if (key == "template") {
    Error("Template inside Template " + fit.VersionText() + " (line " + std::to_string(open_->Line) +
          " has no End)");
  } else if (key == "softwareversion") {
    Error("SoftwareVersion belongs before the first Template");
  } else if (key == "modelnumber") {
    if (const auto n = SingleId(keyword, rest, modelSeen_)) fit.SetModelNumber(*n);
  } else if (key == "accesscode") {
    if (const auto n = SingleId(keyword, rest, templateAccessSeen_)) fit.SetAccessCode(*n);
  } else if (key == "firmwareupload") {
    if (const auto n = SingleId(keyword, rest, uploadSeen_)) fit.SetFirmwareUpload(*n);
  } else if (key == "binding") {
    BindingLine(rest);
  } else if (key == "parameter") {
    ParameterLine(rest);
  } else if (key == "hole") {
    HoleLine(rest);
  } else if (key == "neverdownload") {
    FlagLine(rest, &udtUploadTemplateData::NeverDownload);
  } else if (key == "modeldependent") {
    FlagLine(rest, &udtUploadTemplateData::ModelDependent);
  } else if (key == "depends") {
    DependsLine(rest);
  } else {
    Error("unknown directive \"" + std::string(keyword) + "\"");
  }
}

void FS2Compiler::StartTemplate(std::string_view version) {
  open_ = OpenTemplate{std::make_shared<FirmwareInformationTemplate>(), line_, false};
  open_->Fit->SetVersionText(std::string(version));
  const auto value = NumericTextValue(version);
  const auto key = value ? FirmwareCompatibilityFile::VersionKey(*value) : std::nullopt;
  if (!key || version.size() > kMaxText) {
    Error("Template needs a version number, not \"" + std::string(version) + "\"");
    return;
  }
  const auto earlier = std::find_if(versionLines_.begin(), versionLines_.end(),
                                    [&key](const auto& entry) { return entry.first == *key; });
  if (earlier != versionLines_.end()) {
    Error("Template " + std::string(version) + " is defined twice (first on line " +
          std::to_string(earlier->second) + ")");
    return;
  }
  versionLines_.emplace_back(*key, line_);
  open_->Valid = true;
}

void FS2Compiler::EndTemplate() {
  if (open_->Valid) result_.AddTemplate(open_->Fit);
  open_.reset();
  templateAccessSeen_ = modelSeen_ = uploadSeen_ = false;
}

std::optional<std::int32_t> FS2Compiler::SingleId(std::string_view keyword, std::string_view rest, bool& seen) {
  const auto words = Words(rest);
  if (words.size() != 1) {
    Error(std::string(keyword) + " needs one parameter");
    return std::nullopt;
  }
  if (seen) {
    Error(std::string(keyword) + " is given twice");
    return std::nullopt;
  }
  seen = true;
  return Id(words.front());
}

void FS2Compiler::BindingLine(std::string_view rest) {
  const auto fields = Split(rest, '|');
  if (fields.size() < 2 || fields.size() > 4) {
    Error("Binding needs slot | pointer | name | scale");
    return;
  }
  const auto slot = Id(fields[0]);
  const auto pointer = Id(fields[1]);
  udtBindingData row;
  for (std::size_t i = 2; i < fields.size(); ++i) {
    if (IsNone(fields[i])) continue;
    const auto n = Id(fields[i]);
    if (!n) return;
    (i == 2 ? row.pNameBound : row.pScaleBound) = *n;
  }
  if (!slot || !pointer) return;
  FirmwareInformationTemplate& fit = *open_->Fit;
  if (fit.Binding(*slot).pParameter == *slot) {
    Error("slot " + ParameterIdText(*slot) + " is bound twice");
    return;
  }
  row.pParameter = *slot;
  row.pBound = *pointer;
  fit.AddBinding(row);
}

void FS2Compiler::ParameterLine(std::string_view rest) {
  const auto fields = Split(rest, '|');
  if (fields.size() < 3 || fields.size() > 4) {
    Error("Parameter needs number | name | PAD | value names");
    return;
  }
  const auto n = Id(fields[0]);
  if (!n) return;
  udtUploadTemplateData entry;
  entry.Exists = true;
  entry.sName = std::string(fields[1]);
  if (entry.sName.size() > kMaxText) return Error("name longer than 255 characters");
  if (!IsPadText(fields[2])) return Error("PAD \"" + std::string(fields[2]) + "\" is not 16 binary digits");
  entry.iPad = BinaryStringToLong(fields[2]);
  if (fields.size() == 4 && !fields[3].empty()) {
    for (const auto name : Split(fields[3], ';')) {
      if (name.size() > kMaxText) return Error("value name longer than 255 characters");
      entry.sDVD.emplace_back(name);
    }
  }
  if (entry.sDVD.size() > 0xFFFF) return Error("more than 65535 value names");
  if (open_->Fit->Template(*n).Exists) return Error(ParameterIdText(*n) + " is defined twice in this template");
  open_->Fit->SetTemplate(*n, std::move(entry));
}

void FS2Compiler::HoleLine(std::string_view rest) {
  for (const std::int32_t n : IdList(rest)) {
    if (open_->Fit->Template(n).Exists) {
      Error(ParameterIdText(n) + " is defined twice in this template");
      continue;
    }
    udtUploadTemplateData hole;
    hole.Exists = true;
    hole.isHole = true;
    open_->Fit->SetTemplate(n, std::move(hole));
  }
}

void FS2Compiler::FlagLine(std::string_view rest, bool udtUploadTemplateData::*flag) {
  for (const std::int32_t n : IdList(rest)) {
    if (!IsDefinedParameter(n)) continue;
    udtUploadTemplateData entry = open_->Fit->Template(n);
    entry.*flag = true;
    open_->Fit->SetTemplate(n, std::move(entry));
  }
}

void FS2Compiler::DependsLine(std::string_view rest) {
  const auto fields = Split(rest, '|');
  if (fields.size() != 2) {
    Error("Depends needs parameter | parameters written before it");
    return;
  }
  const auto n = Id(fields[0]);
  const auto before = IdList(fields[1]);
  if (!n || !IsDefinedParameter(*n)) return;
  udtUploadTemplateData entry = open_->Fit->Template(*n);
  for (const std::int32_t dependency : before) {
    if (dependency == *n) {
      Error(ParameterIdText(*n) + " depends on itself");
      continue;
    }
    if (!IsDefinedParameter(dependency)) continue;
    if (std::find(entry.Dependencies.begin(), entry.Dependencies.end(), dependency) == entry.Dependencies.end()) {
      entry.Dependencies.push_back(dependency);
    }
  }
  open_->Fit->SetTemplate(*n, std::move(entry));
}

std::optional<std::int32_t> FS2Compiler::Id(std::string_view text) {
  const auto n = ParseId(text);
  if (!n) Error("\"" + std::string(text) + "\" is not a parameter number (MM.PP or M##P##)");
  return n;
}

std::vector<std::int32_t> FS2Compiler::IdList(std::string_view text) {
  std::vector<std::int32_t> numbers;
  const auto words = Words(text);
  if (words.empty()) Error("a list of parameters is missing");
  for (const auto word : words) {
    if (const auto n = Id(word)) numbers.push_back(*n);
  }
  return numbers;
}

bool FS2Compiler::IsDefinedParameter(std::int32_t n) {
  const auto& entry = open_->Fit->Template(n);
  if (entry.Exists && !entry.isHole) return true;
  Error(ParameterIdText(n) + " is not a Parameter of this template (define it first)");
  return false;
}

bool CompileFS2File(const std::string& sourcePath, const std::string& targetPath, std::vector<std::string>& errors) {
  errors.clear();
  std::string reason;
  const auto source = ReadRegularFile(sourcePath, kLargestSource, reason);
  if (!source) {
    errors.push_back("Unable to read " + sourcePath + ": " + reason + ".");
    return false;
  }
  FS2Compiler compiler;
  if (!compiler.Compile(*source)) {
    errors = compiler.Errors();
    return false;
  }
  const auto image = FC2Codec::Encode(compiler.Result());
  if (!image) {
    errors.push_back("The compiled file does not fit the FC2 layout.");
    return false;
  }
  if (const ReplaceFileResult saved = ReplaceFile(targetPath, *image); !saved) {
    errors.push_back("Unable to write " + targetPath + ": " + saved.Reason + ".");
    return false;
  }
  return true;
}

}  // namespace quendrel
