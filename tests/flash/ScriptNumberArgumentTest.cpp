// A script's drive function call whose number field is given a text that is no number must fail
// before anything reaches the drive, in both script versions; a text that is wholly a number is
// still sent as that number, and a version-1 line ends where an editor's end-of-file mark or padding
// begins, so neither becomes part of the value.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comms/functions/FunctionTemplates.h"
#include "comms/support/SerialRig.h"
#include "flash/runner/DriveFlash.h"
#include "flash/support/LineFlashLinks.h"
#include "flash/runner/DriveFlashStepReport.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr int kRampMode = 203;
constexpr int kStartValue = 1;
const char* const kSuccess = "Drive Flash was successful.";

struct ScriptCase {
  const char* what;
  const char* name;
  std::string text;
  // The box the run ends with, and M02P03 on the drive afterwards.
  std::string prompt;
  int rampMode;
};

std::string GeneralErrorPrompt() { return FindDriveFlashStepReport(dfResponseGeneralError)->Prompt; }

TEST(ScriptNumberArgument, OnlyWholeNumbersReachTheDrive) {
  ASSERT_TRUE(LoadFunctionTemplates());
  SerialRig line;
  const std::string failed = GeneralErrorPrompt();
  const std::vector<ScriptCase> cases = {
      {"a short from a word", "v2.FL2", "WriteValue(203, \"abc\");\n", failed, kStartValue},
      {"a parameter number from a name", "v2.FL2", "WriteValue(\"M02P03\", 2);\n", failed, kStartValue},
      {"a byte from a word", "v2.FL2", "ChangePage(\"x\");\n", failed, kStartValue},
      {"a 24-bit address with a letter after it", "v2.FL2", "ReadDataWord(\"1x\");\n", failed, kStartValue},
      {"a 32-bit setting from a word", "v2.FL2", "ReadEIBValue(\"abc\");\n", failed, kStartValue},
      {"an empty text", "v2.FL2", "WriteValue(203, \"\");\n", failed, kStartValue},
      {"a hexadecimal number written the C way", "v1.FLA", "func6;203;0x0C\n", failed, kStartValue},
      {"a digit and a letter", "v1.FLA", "func6;203;1x\n", failed, kStartValue},
      {"a byte from punctuation", "v1.FLA", "func36;a+b\n", failed, kStartValue},
      {"a quoted whole number", "v2.FL2", "WriteValue(203, \"2\");\n", kSuccess, 2},
      {"a quoted hexadecimal number", "v2.FL2", "WriteValue(203, \"&H3\");\n", kSuccess, 3},
      {"a plain number", "v1.FLA", "func6;203;2\n", kSuccess, 2},
      {"a last line ended by an end-of-file mark", "v1.FLA", "func6;203;2\x1a", kSuccess, 2},
      {"what follows the end-of-file mark", "v1.FLA", "func6;203;2\x1a\nfunc6;203;4\n", kSuccess, 2},
      {"a last line padded with NUL bytes", "v1.FLA", std::string("func6;203;2\0\0\0", 14), kSuccess, 2},
  };
  for (const ScriptCase& c : cases) {
    SCOPED_TRACE(c.what);
    line.Sim().SetValue(kRampMode, kStartValue);
    line.Sim().ResetStats();
    ScriptedUi ui;
    TempFolder folder;
    DriveFlashLinks links = LineFlashLinks(ui, line);
    DriveFlash window(links);
    window.Form_Load();
    window.tbFileName_Change(folder.Write(c.name, c.text));
    ui.AnswerMsgBox(vbAbort);
    window.bStartFlash_Click();
    EXPECT_EQ(ui.Prompts(), std::vector<std::string>{c.prompt});
    EXPECT_EQ(line.Sim().Value(kRampMode), c.rampMode);
    if (c.prompt == failed) {
      EXPECT_EQ(line.Sim().RequestCount(), 0) << "nothing reached the drive";
    }
  }
}

}  // namespace
}  // namespace quendrel
