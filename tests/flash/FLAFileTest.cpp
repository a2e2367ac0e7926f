// Version-1 scripts: how command lines become version-2 statements, and how the script object
// runs them, reports their codes and finds its file.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "flash/language/ParseEngine.h"
#include "flash/scripts/FLAFile.h"
#include "flash/scripts/FLATranslation.h"
#include "flash/scripts/FUPFile.h"
#include "flash/support/PackageWriter.h"
#include "foundation/progress/ProgressServer.h"
#include "foundation/text/TextChecks.h"
#include "foundation/values/RuntimeError.h"
#include "platform/FakeClock.h"
#include "platform/ScriptedUi.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

namespace fs = std::filesystem;

struct LineCase {
  std::string line;
  std::string statement;
};

TEST(FLATranslation, CommandLinesBecomeStatements) {
  const std::vector<LineCase> cases = {
      {"func37;0", "EraseFlash(0)"},
      {"wait;2", "Wait(2)"},
      {"SetDriveTimeout;10", "timeout = 10"},
      {"func39;boot 1.hex", "WriteFileToBuffer(\"boot 1.hex\")"},
      {"***** end of data *****", "End()"},
      {"***** END OF DATA *****", "End()"},
      {"func37;;;0", "EraseFlash(0)"},
      {"func37; ;  ;0", "EraseFlash(0)"},
      {"func99;1", "func99(1)"},
      {"foo;1", "(1)"},
      {"FUNC38;&H1F;-2.5", "VerifyFlashErase(&H1F,-2.5)"},
      {"func39;name", "WriteFileToBuffer(name)"},
      {"func39;file1", "WriteFileToBuffer(\"file1\")"},
      {"func39;a\\b\"c", "WriteFileToBuffer(\"a\\\\b\\\"c\")"},
      {"func39;\t", "WriteFileToBuffer(\"\\t\")"},
      // The code is the two characters after "func".
      {"func7;1", "func7(1)"},
      {"func123;1", "func123(1)"},
      {"func325;1", "ReadManufacturerID(1)"},
      {"func", "func()"},
  };
  for (const LineCase& c : cases) EXPECT_EQ(TranslateFLALine(c.line), c.statement) << c.line;
}

TEST(FLATranslation, FunctionCodesNameTheirTemplates) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"func1", "ReadFlashProgramString"},  {"func2", "ReadPAD"},
      {"func3", "ReadValue"},               {"func4", "ReadName"},
      {"func5", "WriteName"},               {"func6", "WriteValue"},
      {"func32", "ReadManufacturerID"},     {"func33", "ReadDeviceID"},
      {"func34", "ReadDataWord"},           {"func35", "WriteDataWord"},
      {"func36", "ChangePage"},             {"func39", "WriteFileToBuffer"},
      {"func40", "VerifyPageVersusBuffer"}, {"func45", "ProgramBufferToPage"},
      {"func51", "VerifyProcessorVsBuffer"}, {"Func52", "ProcessorReset"},
      {"func0", "func0"},                   {"func31", "func31"},
      {"func53", "func53"},                 {"wait", "Wait"},
      {"SETDRIVETIMEOUT", "timeout = "},    {"waits", ""},
  };
  for (const auto& [word, name] : cases) EXPECT_EQ(TranslateFLACommand(word), name) << word;
}

TEST(FLATranslation, EscapedTextReadsBackAsWritten) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a\\b", "a\\\\b"},         {"say \"hi\"", "say \\\"hi\\\""}, {"a\tb", "a\\tb"},
      {"a\r\nb", "a\\nb"},        {"a\n\rb", "a\\n\\nb"},           {"\\n", "\\\\n"},
      {"\\\"", "\\\\\\\""},       {"plain", "plain"},
  };
  for (const auto& [text, escaped] : cases) EXPECT_EQ(EscapeFLAString(text), escaped) << text;
  for (const std::string text : {"C:\\new\\table.hex", "\"\\\"", "tab\there\\t"}) {
    EXPECT_EQ(UnescapeString("\"" + EscapeFLAString(text) + "\""), text) << text;
  }
}

struct ScriptCase {
  std::string what;
  std::string text;
  std::vector<std::string> statements;
};

TEST(FLATranslation, LinesCommentsAndTheLastLine) {
  const std::vector<ScriptCase> cases = {
      {"a line comment keeps its line break", "func37;1 // erase\r\nfunc38;2\r\n",
       {"EraseFlash(1 )", "VerifyFlashErase(2)"}},
      {"a comment-only line", "// header\nwait;1\n", {"Wait(1)"}},
      {"a block comment spans lines", "func37;0/* one\ntwo */\nfunc38;2\n", {"EraseFlash(0)", "VerifyFlashErase(2)"}},
      {"a block comment joins what it splits", "wait/* x\n */;3\n", {"Wait(3)"}},
      {"the closing star is not the opening one", "/*/ still comment */wait;1\n", {"Wait(1)"}},
      {"a single slash stays", "func39;a/b.hex\n", {"WriteFileToBuffer(\"a/b.hex\")"}},
      {"line ends of every kind", "wait;1\r\rwait;2\n\nwait;3\r\n", {"Wait(1)", "Wait(2)", "Wait(3)"}},
      {"a last line without a line break", "wait;1\nwait;2", {"Wait(1)", "Wait(2)"}},
      {"a last line with a comment and no break", "wait;1// done", {"Wait(1)"}},
      {"trailing blanks and an end-of-file mark", "wait;1\n  \t\x1a", {"Wait(1)"}},
      {"an empty file", "", {}},
  };
  for (const ScriptCase& c : cases) EXPECT_EQ(TranslateFLAScript(c.text), c.statements) << c.what;
}

TEST(FLATranslation, ControlCharactersEndTheLineAndCtrlZTheFile) {
  const std::vector<ScriptCase> cases = {
      {"an end-of-file mark ends the last line", "func6;203;1\x1a", {"WriteValue(203,1)"}},
      {"nothing after the mark is read", "wait;1\x1a\nwait;2\n", {"Wait(1)"}},
      {"the mark inside a comment still ends the file", "wait;1\n/* \x1a */wait;2\n", {"Wait(1)"}},
      {"NUL padding", std::string("func6;203;1\0\0", 13), {"WriteValue(203,1)"}},
      {"a form feed between lines", "wait;1\fwait;2\n", {"Wait(1)", "Wait(2)"}},
      {"a tab stays in the text", "func39;a\tb.hex\n", {"WriteFileToBuffer(\"a\\tb.hex\")"}},
  };
  for (const ScriptCase& c : cases) EXPECT_EQ(TranslateFLAScript(c.text), c.statements) << c.what;
}

// The label a progress service shows its detail line in.
class DetailLabel final : public ProgressLabelSink {
 public:
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  void SetVisible(bool) override {}
  void Refresh() override {}
  const std::string& Caption() const { return caption_; }

 private:
  std::string caption_;
};

// A version-1 script whose drive commands are recorded and answered with chosen codes.
class FlaRig {
 public:
  FlaRig() {
    environment_.driveCommands = [this](const std::string& name, const std::vector<Variant>& values,
                                        const std::vector<Variant>&, IFlashCommandFile&, ProgressServer*,
                                        dfResponseCodes& code) {
      std::string call = name + "(";
      for (std::size_t i = 0; i < values.size(); ++i) call += (i == 0 ? "" : ",") + values[i].AsText();
      calls.push_back(call + ")");
      const auto answer = answers.find(name);
      if (answer != answers.end()) code = answer->second;
      return Variant(std::string("reply of ") + name);
    };
    script = std::make_unique<FLAFile>(environment_);
    detail = std::make_shared<DetailLabel>();
    progress.SetupPrimary(nullptr, nullptr, nullptr, nullptr, nullptr, detail, nullptr, 0, 100, 0);
    script->SetProgress(&progress);
  }

  std::vector<dfResponseCodes> Run(const std::string& text, int maxSteps = 20) {
    script->LoadText(text);
    script->Reset();
    std::vector<dfResponseCodes> codes;
    for (int step = 0; step < maxSteps; ++step) {
      codes.push_back(script->singleStep());
      if (codes.back() == dfResponseEOF) break;
    }
    return codes;
  }

  static ParseEngine& Parser() {
    static ParseEngine engine;
    return engine;
  }

  ScriptedUi ui;
  FakeClock clock;
  std::map<std::string, dfResponseCodes> answers;
  std::vector<std::string> calls;
  ProgressServer progress;
  std::shared_ptr<DetailLabel> detail;
  std::unique_ptr<FLAFile> script;

 private:
  ScriptEnvironment environment_{&ui, &clock, &Parser(), {}};
};

TEST(FLAFile, TranslatedStatementsReachTheDriveFunctions) {
  FlaRig rig;
  const auto codes = rig.Run(
      "func1\nfunc5;1;2;a name\nfunc34;100\nfunc35;100;7\nfunc40\nSetDriveTimeout;10\nwait;2.5\nfunc52\n");
  EXPECT_EQ(codes.back(), dfResponseEOF);
  EXPECT_EQ(codes.size(), 8U);
  const std::vector<std::string> expected = {
      "ReadFlashProgramString()", "WriteName(1,2,\"a name\")", "ReadDataWord(100)", "WriteDataWord(100,7)",
      "VerifyPageVersusBuffer()", "ProcessorReset()"};
  EXPECT_EQ(rig.calls, expected);
  EXPECT_FLOAT_EQ(rig.script->Timeout(), 10.0F);
  EXPECT_EQ(rig.clock.Sleeps(), std::vector<double>{2.5});
  EXPECT_EQ(rig.script->Result(), "reply of ProcessorReset");
  EXPECT_EQ(rig.detail->Caption(), "") << "a version-1 step leaves the detail line alone";
  EXPECT_EQ(rig.progress.Progress(), 8);
}

struct CodeCase {
  std::string what;
  std::map<std::string, dfResponseCodes> answers;
  std::string text;
  std::vector<dfResponseCodes> codes;
  std::int32_t pc;
};

TEST(FLAFile, StepCodes) {
  const std::vector<CodeCase> cases = {
      {"a failing last statement is reported before the end",
       {{"EraseFlash", dfResponseEraseFailed}},
       "wait;1\nfunc37;0\n",
       {dfResponseOK, dfResponseEraseFailed, dfResponseEOF},
       3},
      {"a failure mid-script moves on",
       {{"EraseFlash", dfResponseEraseFailed}},
       "func37;0\nwait;1\n",
       {dfResponseEraseFailed, dfResponseEOF},
       2},
      {"work already done is reported as such",
       {{"EraseFlash", dfResponseSkipLine}},
       "func37;0\nwait;1\n",
       {dfResponseSkipLine, dfResponseEOF},
       2},
      {"work already done on the last line ends the script",
       {{"EraseFlash", dfResponseSkipLine}},
       "wait;1\nfunc37;0\n",
       {dfResponseOK, dfResponseEOF},
       2},
      {"the end marker ends the script", {}, "wait;1\n***** end of data *****\nfunc37;0\n",
       {dfResponseOK, dfResponseEOF}, 4},
      {"an empty script ends at once", {}, "", {dfResponseEOF}, 1},
  };
  for (const CodeCase& c : cases) {
    FlaRig rig;
    rig.answers = c.answers;
    EXPECT_EQ(rig.Run(c.text), c.codes) << c.what;
    EXPECT_EQ(rig.script->PC(), c.pc) << c.what;
  }
}

TEST(FLAFile, AStatementThatDoesNotParseStaysToBeRetried) {
  FlaRig rig;
  const auto codes = rig.Run("wait;1\nSetDriveTimeout\nwait;2\n", 4);
  EXPECT_EQ(codes, (std::vector{dfResponseOK, dfResponseGeneralError, dfResponseGeneralError, dfResponseGeneralError}));
  EXPECT_EQ(rig.script->PC(), 2);
  EXPECT_EQ(rig.script->LastExecuted(), 2);
  EXPECT_EQ(rig.progress.Progress(), 2);
  EXPECT_EQ(rig.script->CommandString(-1), "timeout =");
}

TEST(FLAFile, ScriptsComeFromDiskThenThePackage) {
  const TempFolder folder;
  ASSERT_TRUE(WritePackageFile(folder.Path() / "disk.fla", "wait;1\n"));
  PackageSpec spec;
  spec.rootName = "Main.FLA";
  spec.members = {{"main.fla", "func37;0\nfunc38;0"}, {"disk.fla", "func52\n"}};
  auto package = std::make_shared<FUPFile>();
  ASSERT_TRUE(package->LoadImage(PackageImage(spec)));
  FlaRig rig;
  rig.script->SetWorkingFolder(folder.Path().string());
  rig.script->SetArchive(package);

  ASSERT_TRUE(rig.script->LoadFile("C:\\Upgrades\\" + package->RootFile()));
  EXPECT_EQ(rig.script->Statements(), (std::vector<std::string>{"EraseFlash(0)", "VerifyFlashErase(0)"}));
  ASSERT_TRUE(rig.script->LoadFile("disk.fla"));
  EXPECT_EQ(rig.script->Statements(), std::vector<std::string>{"Wait(1)"});
  try {
    rig.script->LoadFile("missing.fla");
    ADD_FAILURE() << "a missing script must raise";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 427);
    EXPECT_EQ(error.Description(), "File Not Found: missing.fla");
  }
}

}  // namespace
}  // namespace quendrel
