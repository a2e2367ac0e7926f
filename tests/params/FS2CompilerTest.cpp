// Compiling compatibility sources: what a correct source becomes, and that every mistake is reported on
// its own line while nothing is written.
#include "params/compatibility/FS2Compiler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/compatibility/FirmwareCompatibilityFile.h"
#include "support/FileText.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

const char* const kSource =
    "# comment lines and blank lines are skipped\n"
    "\n"
    "softwareversion 11.29\r\n"
    "  AccessCode M11P31\n"
    "Template 2.105\n"
    "  ModelNumber 11.28\n"
    "  FirmwareUpload 11.39\n"
    "  Binding 00.01 | 12.01 | 12.11 | 12.21\n"
    "  Binding 00.05 | 12.05 | - |\n"
    "  Parameter 00.01 | Max Frequency | 0000000000010010 |\n"
    "  Parameter 01.01 | Max Frequency | 0000000000010010\n"
    "  Parameter 01.02 | Min Frequency | 0000000000010010 |\n"
    "  PARAMETER M02B03 |  Ramp Mode  | 0000000000010000 | Linear; S-Curve ;;Fast Stop\n"
    "  Parameter 11.23 | Serial Address | 0000000000010000 |\n"
    "  Hole 05.04   19.04\n"
    "  NeverDownload 11.23\n"
    "  ModelDependent 01.01 01.02\n"
    "  Depends 01.02 | 01.01\n"
    "  Depends 00.01 | 01.01 01.02\n"
    "  Depends 00.01 | 01.01\n"
    "End\n"
    "Template 1.5\n"
    "  AccessCode 11.40\n"
    "end";

TEST(FS2CompilerTest, ACorrectSourceBecomesItsTemplates) {
  FS2Compiler compiler;
  ASSERT_TRUE(compiler.Compile(kSource)) << compiler.Errors().front();
  const FirmwareCompatibilityFile& file = compiler.Result();
  EXPECT_EQ(file.SoftwareVersion(), 1129);
  EXPECT_EQ(file.DefaultAccessCode(), 1131);
  EXPECT_EQ(file.VersionList(), (std::vector<std::string>{"1.5", "2.105"}));

  const auto fit = file.FitData(2.105f);
  ASSERT_NE(fit, nullptr);
  EXPECT_EQ(fit->ModelNumber(), 1128);
  EXPECT_EQ(fit->AccessCode(), -1);
  EXPECT_EQ(file.AccessCode(2.105), 1131) << "the file's access code where the template names none";
  EXPECT_EQ(file.AccessCode(1.5), 1140);
  EXPECT_EQ(fit->FirmwareUpload(), 1139);
  ASSERT_EQ(fit->Bindings(), 2);
  EXPECT_EQ(fit->Binding(1), (udtBindingData{1, 1201, 1211, 1221}));
  EXPECT_EQ(fit->Binding(5), (udtBindingData{5, 1205, -1, -1}));

  const auto& ramp = fit->Template(203);
  EXPECT_TRUE(ramp.Exists);
  EXPECT_FALSE(ramp.isHole);
  EXPECT_EQ(ramp.sName, "Ramp Mode");
  EXPECT_EQ(ramp.iPad, 16);
  EXPECT_EQ(ramp.sDVD, (std::vector<std::string>{"Linear", "S-Curve", "", "Fast Stop"}));
  EXPECT_EQ(ramp.iNumDVDs, 4);
  EXPECT_EQ(fit->Template(101).iNumDVDs, 0) << "the value-name field may be left out";
  EXPECT_TRUE(fit->Template(504).isHole);
  EXPECT_TRUE(fit->Template(1904).Exists);
  EXPECT_TRUE(fit->Template(1123).NeverDownload);
  EXPECT_FALSE(fit->Template(1123).ModelDependent);
  EXPECT_TRUE(fit->Template(102).ModelDependent);
  EXPECT_EQ(fit->Template(1).Dependencies, (std::vector<std::int32_t>{101, 102})) << "repeats are merged";
  EXPECT_EQ(fit->Template(102).Dependencies, std::vector<std::int32_t>{101});
  EXPECT_FALSE(fit->Template(300).Exists);
}

struct ErrorCase {
  std::string source;
  std::vector<std::string> errors;
};

TEST(FS2CompilerTest, EveryMistakeIsReportedWithItsLine) {
  const ErrorCase cases[] = {
      {"Frobnicate 1\n", {"line 1: unknown directive \"Frobnicate\""}},
      {"\n\nSoftwareVersion 11.2\n", {"line 3: \"11.2\" is not a parameter number (MM.PP or M##P##)"}},
      {"SoftwareVersion 21.00\n", {"line 1: \"21.00\" is not a parameter number (MM.PP or M##P##)"}},
      {"SoftwareVersion\n", {"line 1: SoftwareVersion needs one parameter"}},
      {"AccessCode 11.30\nAccessCode 11.31\n", {"line 2: AccessCode is given twice"}},
      {"End\n", {"line 1: End without Template"}},
      {"Parameter 01.01 | x | 0000000000000000 |\n", {"line 1: Parameter outside a Template"}},
      {"Template two\nEnd\n", {"line 1: Template needs a version number, not \"two\""}},
      {"Template 2.105\nEnd\n\nTemplate 2.1050\nEnd\n",
       {"line 4: Template 2.1050 is defined twice (first on line 1)"}},
      {"Template 2.105\nParameter 01.01 | x | 0000000000000000 |\n",
       {"line 1: Template 2.105 has no End"}},
      {"Template 1\nTemplate 2\nEnd\n", {"line 2: Template inside Template 1 (line 1 has no End)"}},
      {"Template 1\nSoftwareVersion 11.29\nEnd\n", {"line 2: SoftwareVersion belongs before the first Template"}},
      {"Template 1\nModelNumber 11.28\nModelNumber 11.28\nEnd\n", {"line 3: ModelNumber is given twice"}},
      {"Template 1\nParameter 01.01 | x | 000000000001000 |\nEnd\n",
       {"line 2: PAD \"000000000001000\" is not 16 binary digits"}},
      {"Template 1\nParameter 01.01 | x | 000000000001000x |\nEnd\n",
       {"line 2: PAD \"000000000001000x\" is not 16 binary digits"}},
      {"Template 1\nParameter 01.01 | x\nEnd\n", {"line 2: Parameter needs number | name | PAD | value names"}},
      {"Template 1\nParameter 01.01 | " + std::string(256, 'n') + " | 0000000000000000 |\nEnd\n",
       {"line 2: name longer than 255 characters"}},
      {"Template 1\nParameter 01.01 | x | 0000000000000000 | " + std::string(256, 'v') + "\nEnd\n",
       {"line 2: value name longer than 255 characters"}},
      {"Template 1\nParameter 01.01 | x | 0000000000000000 |\nParameter M01P01 | y | 0000000000000000 |\nEnd\n",
       {"line 3: M01P01 is defined twice in this template"}},
      {"Template 1\nParameter 01.01 | x | 0000000000000000 |\nHole 01.01\nEnd\n",
       {"line 3: M01P01 is defined twice in this template"}},
      {"Template 1\nHole\nEnd\n", {"line 2: a list of parameters is missing"}},
      {"Template 1\nHole 05.04\nNeverDownload 05.04 06.01\nEnd\n",
       {"line 3: M05P04 is not a Parameter of this template (define it first)",
        "line 3: M06P01 is not a Parameter of this template (define it first)"}},
      {"Template 1\nParameter 01.01 | x | 0000000000000000 |\nDepends 01.01 | 01.01\nEnd\n",
       {"line 3: M01P01 depends on itself"}},
      {"Template 1\nParameter 01.01 | x | 0000000000000000 |\nDepends 01.01 | 01.02\nEnd\n",
       {"line 3: M01P02 is not a Parameter of this template (define it first)"}},
      {"Template 1\nDepends 01.01 01.02\nEnd\n", {"line 2: Depends needs parameter | parameters written before it"}},
      {"Template 1\nBinding 00.01\nEnd\n", {"line 2: Binding needs slot | pointer | name | scale"}},
      {"Template 1\nBinding 00.01 | 12.01\nBinding 00.01 | 12.02\nEnd\n", {"line 3: slot M00P01 is bound twice"}},
      {"Template 1\nBinding 00.01 | none | 12.11\nEnd\n",
       {"line 2: \"none\" is not a parameter number (MM.PP or M##P##)"}},
      // Mistakes do not hide each other: all of them are listed.
      {"Foo\nTemplate 1\nBar\nHole 5.4\nEnd\nEnd\n",
       {"line 1: unknown directive \"Foo\"", "line 3: unknown directive \"Bar\"",
        "line 4: \"5.4\" is not a parameter number (MM.PP or M##P##)", "line 6: End without Template"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    FS2Compiler compiler;
    EXPECT_FALSE(compiler.Compile(c.source));
    EXPECT_EQ(compiler.Errors(), c.errors);
    EXPECT_TRUE(compiler.Result().VersionList().empty()) << "a failed compile gives no result";
  }
}

TEST(FS2CompilerTest, ACompilerCanBeUsedAgain) {
  FS2Compiler compiler;
  EXPECT_FALSE(compiler.Compile("Bad\n"));
  ASSERT_TRUE(compiler.Compile("Template 1\nEnd\n"));
  EXPECT_TRUE(compiler.Errors().empty());
  EXPECT_TRUE(compiler.Result().HasFIT(1.0));
}

TEST(FS2CompilerTest, CompilingAFileWritesTheFc2OnlyWhenThereIsNoError) {
  TempFolder folder;
  const std::string source = folder.File("drive.FS2");
  const std::string target = folder.File("drive.FC2");
  std::vector<std::string> errors;

  WriteTestFile(source, kSource);
  ASSERT_TRUE(CompileFS2File(source, target, errors));
  EXPECT_TRUE(errors.empty());
  FirmwareCompatibilityFile loaded;
  ASSERT_TRUE(loaded.Load(target)) << loaded.LoadError();
  FS2Compiler compiler;
  ASSERT_TRUE(compiler.Compile(kSource));
  EXPECT_EQ(loaded, compiler.Result());
  const std::string good = ReadTestFile(target);

  WriteTestFile(source, std::string(kSource) + "\nOops\n");
  EXPECT_FALSE(CompileFS2File(source, target, errors));
  EXPECT_EQ(errors, std::vector<std::string>{"line 25: unknown directive \"Oops\""});
  EXPECT_EQ(ReadTestFile(target), good) << "a failed compile leaves the old file";

  const std::string fresh = folder.File("fresh.FC2");
  EXPECT_FALSE(CompileFS2File(source, fresh, errors));
  EXPECT_FALSE(std::filesystem::exists(fresh));

  EXPECT_FALSE(CompileFS2File(folder.File("missing.FS2"), fresh, errors));
  EXPECT_EQ(errors, std::vector<std::string>{"Unable to read " + folder.File("missing.FS2") + ": it does not exist."});

  WriteTestFile(source, kSource);
  const std::string nowhere = folder.File("gone/drive.FC2");
  EXPECT_FALSE(CompileFS2File(source, nowhere, errors));
  EXPECT_EQ(errors, std::vector<std::string>{"Unable to write " + nowhere + ": the folder " + folder.File("gone") +
                                             " does not exist."});
}

}  // namespace
}  // namespace quendrel
