// Thousands of generated and then damaged scripts go through the loader and are stepped with a
// step cap: none may throw, crash (the sanitiser build runs this too), leave the PC outside the
// script or grow the loop stack beyond the loops the script has.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "flash/language/ParseEngine.h"
#include "flash/scripts/FL2File.h"
#include "platform/FakeClock.h"
#include "platform/UiServices.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

class ScriptGenerator {
 public:
  explicit ScriptGenerator(std::uint32_t seed) : random_(seed) {}

  std::string Script() {
    std::string text;
    const int statements = 1 + Pick(25);
    for (int i = 0; i < statements; ++i) text += Statement(2) + LineEnd();
    return Mutated(std::move(text));
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

  std::string Name() {
    static const char* kNames[] = {"a", "b", "n", "lbl", "top", "out"};
    return kNames[Pick(6)];
  }

  std::string Operand() {
    switch (Pick(5)) {
      case 0: return Name();
      case 1: return std::to_string(Pick(5));
      case 2: return "\"t;(\"";
      case 3: return "(" + Name() + " - 1)";
      default: return "goto(" + Name() + ")";
    }
  }

  std::string Expression() {
    static const char* kOperators[] = {"+", "-", "&&", "||", "<", "==", "."};
    std::string text = Operand();
    for (int more = Pick(3); more > 0; --more) text += std::string(" ") + kOperators[Pick(7)] + " " + Operand();
    return text;
  }

  // No parentheses: the ";" after a condition goes after its first ")".
  std::string Condition() { return Name() + (Pick(2) == 0 ? " < " : " == ") + std::to_string(Pick(4)); }

  std::string Statement(int depth) {
    switch (Pick(depth > 0 ? 11 : 9)) {
      case 0: return "while (" + Condition() + ") " + Name() + " = " + Expression() + ";";
      case 1: return "if (" + Condition() + ") goto " + Name() + ";";
      case 2: return Name() + ":;";
      case 3: return "goto " + Name() + ";";
      case 4: return Pick(2) == 0 ? "break;" : "continue;";
      case 5: return "f(" + Expression() + ", " + Expression() + "); // note";
      case 6: return "/* " + Name() + " */ " + (Pick(4) == 0 ? "end();" : "n = n + 1;");
      case 7:
      case 8: return Name() + ": " + Name() + " = " + Expression() + ";";
      default: return Block(depth - 1);
    }
  }

  std::string Block(int depth) {
    std::string text = std::string(Pick(2) == 0 ? "while" : "if") + " (" + Condition() + ") {" + LineEnd();
    for (int inner = Pick(4); inner > 0; --inner) text += Statement(depth) + LineEnd();
    return text + "}";
  }

  std::string LineEnd() {
    static const char* kEnds[] = {"\n", "\r", "\r\n", " ", ""};
    return kEnds[Pick(5)];
  }

  // Deletes, doubles or replaces a few characters, as a damaged file or a careless edit would.
  std::string Mutated(std::string text) {
    static const char kCharacters[] = "{}();\"/*=\r\n ab1";
    for (int edits = Pick(5) - 2; edits > 0 && !text.empty(); --edits) {
      const auto at = static_cast<std::size_t>(Pick(static_cast<int>(text.size())));
      switch (Pick(3)) {
        case 0: text.erase(at, 1); break;
        case 1: text.insert(at, 1, text[at]); break;
        default: text[at] = kCharacters[Pick(static_cast<int>(sizeof kCharacters) - 1)]; break;
      }
    }
    return text;
  }

  std::mt19937 random_;
};

TEST(ScriptFuzz, DamagedScriptsLoadOrAreRefusedAndRunBounded) {
  static ParseEngine parser;
  FakeClock clock;
  const TempFolder folder;
  // Every drive function answers at once; the silent user interface answers every box.
  ScriptEnvironment environment{&Ui(), &clock, &parser,
                                [](const std::string&, const std::vector<Variant>&, const std::vector<Variant>&,
                                   IFlashCommandFile&, ProgressServer*, dfResponseCodes&) { return Variant(); }};
  ScriptGenerator generator(20261207);
  int loaded = 0;
  for (int i = 0; i < 2000; ++i) {
    const std::string text = generator.Script();
    FL2File script(environment);
    script.SetWorkingFolder(folder.Path().string());
    bool ok = false;
    ASSERT_NO_THROW(ok = script.LoadText(text)) << text;
    if (!ok) continue;
    ++loaded;
    script.Reset();
    const std::int32_t length = script.ProgramLength();
    for (int step = 0; step < 300; ++step) {
      dfResponseCodes code = dfResponseOK;
      ASSERT_NO_THROW(code = script.singleStep()) << text;
      ASSERT_GE(script.PC(), 1) << text;
      ASSERT_LE(script.PC(), length + 1) << text;
      ASSERT_LE(script.LoopStack().size(), static_cast<std::size_t>(length)) << text;
      if (code == dfResponseEOF) break;
    }
  }
  EXPECT_GT(loaded, 700) << "the generator must make loadable scripts too";
}

}  // namespace
}  // namespace quendrel
