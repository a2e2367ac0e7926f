#include "flash/scripts/FLATranslation.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "comms/server/DriveFlashCommand.h"
#include "foundation/text/NumberText.h"
#include "foundation/text/TextChecks.h"

namespace quendrel {

namespace {

// Codes 1, 5, 34 and 35 carry the names of the drive function templates that send them, so the
// call reaches its template; 40 has no template and stays an unknown command.
const std::array<std::pair<int, const char*>, 27>& StatementNames() {
  static const std::array<std::pair<int, const char*>, 27> names = {{
      {dfcFlashProgrammingMessage, "ReadFlashProgramString"},
      {dfcReadPAD, "ReadPAD"},
      {dfcReadValue, "ReadValue"},
      {dfcReadName, "ReadName"},
      {dfcWriteDVD, "WriteName"},
      {dfcWriteValue, "WriteValue"},
      {dfcReadManufacturerID, "ReadManufacturerID"},
      {dfcReadDeviceID, "ReadDeviceID"},
      {dfcReadDataWordFromAddress, "ReadDataWord"},
      {dfcWriteDataWordToAddress, "WriteDataWord"},
      {dfcChangePage, "ChangePage"},
      {dfcEraseFlash, "EraseFlash"},
      {dfcVerifyFlashErase, "VerifyFlashErase"},
      {dfcWriteFileToBuffer, "WriteFileToBuffer"},
      {dfcVerifyPageVersusBuffer, "VerifyPageVersusBuffer"},
      {dfcResetFlashMemory, "ResetFlashMemory"},
      {dfcFlashSectorErase, "FlashSectorErase"},
      {dfcReadFlashSectorProtect, "ReadFlashSectorProtect"},
      {dfcVerifyPageErase, "VerifyPageErase"},
      {dfcProgramBufferToPage, "ProgramBufferToPage"},
      {dfcClearBuffer, "ClearBuffer"},
      {dfcGoToNewMainLoop, "GoToNewMainLoop"},
      {dfcClearProcessorFlash, "ClearProcessorFlash"},
      {dfcProgramProcessorFlash, "ProgramProcessorFlash"},
      {dfcVerifyProcessorFlashErase, "VerifyProcessorFlashErase"},
      {dfcVerifyProcessorVsBuffer, "VerifyProcessorVsBuffer"},
      {dfcProcessorReset, "ProcessorReset"},
  }};
  return names;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

std::string TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t semicolon = line.find(';'); semicolon != std::string_view::npos;
       semicolon = line.find(';', start)) {
    fields.emplace_back(line.substr(start, semicolon - start));
    start = semicolon + 1;
  }
  fields.emplace_back(line.substr(start));
  return fields;
}

// Numbers and plain words stay as written (a word becomes a variable of the version-2 script);
// anything else becomes a string literal.
std::string Argument(const std::string& field) {
  if (IsNumericText(field) || IsLetterText(field)) return field;
  return "\"" + EscapeFLAString(field) + "\"";
}

std::string JoinArguments(const std::vector<std::string>& fields) {
  std::string joined;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    if (TrimBlanks(fields[i]).empty()) continue;
    if (!joined.empty()) joined += ",";
    joined += Argument(fields[i]);
  }
  return joined;
}

// CR and LF end a command line, and so does any other control character but tab: an editor's
// padding (NUL) or a stray form feed must not become part of the last argument.
bool EndsLine(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte < ' ' && c != '\t') || byte == 0x7F;
}

// Old editors and copy tools mark the end of a text file with Ctrl-Z and may leave anything after it.
constexpr char kEndOfFileMark = '\x1A';

bool IsBlankOrControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' || byte == 0x7F;
}

// Cuts a script into command lines. Comments go: "/*" to "*/" across lines, "//" to the end of its
// line, whose line break still ends the command line.
class LineScanner {
 public:
  std::vector<std::string> Scan(std::string_view text) {
    for (const char c : text) {
      if (c == kEndOfFileMark) break;
      Take(c);
    }
    // A last line without a line break still counts, unless it is only trailing filler such as
    // blanks or an end-of-file mark.
    if (!std::all_of(line_.begin(), line_.end(), IsBlankOrControl)) EndLine();
    return std::move(statements_);
  }

 private:
  void Take(char c) {
    const char previous = previous_;
    previous_ = c;
    if (inBlockComment_) {
      if (previous == '*' && c == '/') {
        inBlockComment_ = false;
        previous_ = '\0';
      }
      return;
    }
    if (inLineComment_ && !EndsLine(c)) return;
    inLineComment_ = false;
    if (previous == '/' && (c == '*' || c == '/') && !line_.empty()) {
      line_.pop_back();
      (c == '*' ? inBlockComment_ : inLineComment_) = true;
      previous_ = '\0';
      return;
    }
    if (EndsLine(c)) {
      EndLine();
      return;
    }
    line_ += c;
  }

  void EndLine() {
    if (!line_.empty()) statements_.push_back(TranslateFLALine(line_));
    line_.clear();
  }

  std::string line_;
  std::vector<std::string> statements_;
  char previous_ = '\0';
  bool inBlockComment_ = false;
  bool inLineComment_ = false;
};

}  // namespace

std::string TranslateFLACommand(std::string_view word) {
  const std::string lower = Lower(word);
  if (lower.compare(0, 4, "func") == 0) {
    const double code = LeadingNumber(word.substr(4, 2));
    for (const auto& [number, name] : StatementNames()) {
      if (code == number) return name;
    }
    return std::string(word);
  }
  if (lower == "wait") return "Wait";
  if (lower == "setdrivetimeout") return "timeout = ";
  if (lower == "***** end of data *****") return "End";
  return {};
}

std::string EscapeFLAString(std::string_view text) {
  std::string escaped = ReplaceAll(std::string(text), "\\", "\\\\");
  escaped = ReplaceAll(std::move(escaped), "\"", "\\\"");
  escaped = ReplaceAll(std::move(escaped), "\t", "\\t");
  escaped = ReplaceAll(std::move(escaped), "\r\n", "\\n");
  escaped = ReplaceAll(std::move(escaped), "\n", "\\n");
  return ReplaceAll(std::move(escaped), "\r", "\\n");
}

std::string TranslateFLALine(std::string_view line) {
  const std::vector<std::string> fields = SplitFields(line);
  const std::string arguments = JoinArguments(fields);
  if (Lower(fields.front()) == "setdrivetimeout") return TrimBlanks("timeout = " + arguments);
  return TrimBlanks(TranslateFLACommand(fields.front()) + "(" + arguments + ")");
}

std::vector<std::string> TranslateFLAScript(std::string_view text) { return LineScanner().Scan(text); }

}  // namespace quendrel
