// Compiles the source text of a firmware compatibility file (*.FS2) into the file itself (*.FC2).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "params/compatibility/FirmwareCompatibilityFile.h"

namespace quendrel {

// One directive a line; "#" starts a comment line; keywords in any letter case; fields after the keyword
// separated by "|"; parameters written MM.PP (11.29) or M11P29:
//
//   SoftwareVersion 11.29            the parameter holding the version, for the whole file
//   AccessCode      11.30            the file's access-code parameter (inside a template: the template's)
//   Template 2.105                   starts a version's template, closed by End
//     ModelNumber    11.28
//     FirmwareUpload 11.39
//     Binding   00.01 | 12.01 | 12.11 | 12.21     slot | pointer | name | scale ("-" for none)
//     Parameter 02.03 | Ramp Mode | 0000000000010000 | Linear;S-Curve;Fast Stop
//     Hole      05.04 19.04
//     NeverDownload  11.23 11.39
//     ModelDependent 03.01
//     Depends   01.02 | 01.01        01.02 is written after 01.01
//   End
class FS2Compiler {
 public:
  // True when the text has no error; Errors() then is empty and Result() is the compiled file.
  // Otherwise every error found is listed as "line <n>: <reason>".
  bool Compile(std::string_view source);

  const std::vector<std::string>& Errors() const { return errors_; }
  const FirmwareCompatibilityFile& Result() const { return result_; }

 private:
  struct OpenTemplate {
    std::shared_ptr<FirmwareInformationTemplate> Fit;
    int Line = 0;
    bool Valid = true;
  };

  static bool IsTemplateKeyword(const std::string& key);

  void CompileLine(std::string_view keyword, std::string_view rest);
  void FileDirective(std::string_view keyword, std::string_view rest);
  void TemplateDirective(std::string_view keyword, std::string_view rest);
  void StartTemplate(std::string_view version);
  void EndTemplate();
  std::optional<std::int32_t> SingleId(std::string_view keyword, std::string_view rest, bool& seen);
  void BindingLine(std::string_view rest);
  void ParameterLine(std::string_view rest);
  void HoleLine(std::string_view rest);
  void FlagLine(std::string_view rest, bool udtUploadTemplateData::*flag);
  void DependsLine(std::string_view rest);

  std::optional<std::int32_t> Id(std::string_view text);
  std::vector<std::int32_t> IdList(std::string_view text);
  bool IsDefinedParameter(std::int32_t n);
  void Error(const std::string& reason);
  void ErrorAt(int line, const std::string& reason);

  FirmwareCompatibilityFile result_;
  std::vector<std::string> errors_;
  std::optional<OpenTemplate> open_;
  std::vector<std::pair<std::int64_t, int>> versionLines_;
  bool softwareVersionSeen_ = false;
  bool accessCodeSeen_ = false;
  bool templateAccessSeen_ = false;
  bool modelSeen_ = false;
  bool uploadSeen_ = false;
  int line_ = 0;
};

// Compiles the FS2 file at sourcePath into the FC2 file at targetPath. On any error nothing is written,
// the errors are listed (a file that cannot be read or written as a single error without a line) and the
// result is false.
bool CompileFS2File(const std::string& sourcePath, const std::string& targetPath, std::vector<std::string>& errors);

}  // namespace quendrel
