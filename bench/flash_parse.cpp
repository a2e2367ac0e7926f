// Cost of the script front end: the parse rate over a generated 10,000-statement script, cut into
// statements as the script loader cuts them (the time column is the whole script), and the time for
// long inputs that once grew faster than their length. Each long input also runs at a tenth of its
// size where linear growth is promised, so the ratio of the two times can be read off.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "flash/language/ParseEngine.h"
#include "flash/language/ScriptTokeniser.h"

namespace {

using quendrel::ParseEngine;

// Statements like those of real flash scripts: assignments with nested expressions, calls with
// three to five arguments, labels, jumps and while/if blocks.
class ScriptGenerator {
 public:
  explicit ScriptGenerator(std::uint32_t seed) : random_(seed) {}

  std::vector<std::string> Statements(int count) {
    std::vector<std::string> statements;
    while (static_cast<int>(statements.size()) < count) {
      switch (Pick(8)) {
        case 0:
          statements.push_back(std::string(Pick(2) == 0 ? "if" : "while") + " (" + Condition() + ")");
          statements.push_back("{");
          statements.push_back(Assignment());
          statements.push_back(Call());
          statements.push_back("}");
          break;
        case 1:
          statements.push_back(Call());
          break;
        case 2:
          statements.push_back("step" + std::to_string(Pick(1000)) + ": " + Assignment());
          break;
        case 3:
          statements.push_back("goto step" + std::to_string(Pick(1000)));
          break;
        default:
          statements.push_back(Assignment());
          break;
      }
    }
    statements.resize(count);
    return statements;
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<std::uint32_t>(n)); }

  std::string Name() {
    static const char* kNames[] = {"address", "retries", "block", "checksum", "offset", "n", "size"};
    return kNames[Pick(7)];
  }

  std::string Operand(int depth) {
    switch (Pick(depth > 0 ? 5 : 3)) {
      case 0: return Name();
      case 1: return Pick(2) == 0 ? std::to_string(Pick(4096)) : "0x" + std::to_string(10 + Pick(80));
      case 2: return "\"" + Name() + "\"";
      case 3: return "(" + Expression(depth - 1) + ")";
      default: return "readparam(" + std::to_string(Pick(2100)) + ")";
    }
  }

  std::string Expression(int depth) {
    static const char* kOperators[] = {"+", "-", "*", "/", "&", "|", "<<", ">>", "."};
    std::string text = Operand(depth);
    const int more = 1 + Pick(3);
    for (int i = 0; i < more; ++i) {
      text += std::string(" ") + kOperators[Pick(9)] + " " + Operand(depth);
    }
    return text;
  }

  // No parentheses inside a condition: the ";" that separates a condition from the statement it
  // guards goes after the first ")", so scripts keep their conditions flat.
  std::string Condition() {
    static const char* kComparisons[] = {"==", "!=", "<", ">", "<=", ">="};
    return Name() + " " + kComparisons[Pick(6)] + " " + Operand(0) + (Pick(3) == 0 ? " && !" + Name() : "");
  }

  std::string Assignment() { return Name() + " = " + Expression(2); }

  std::string Call() {
    static const char* kCommands[] = {"writeparam", "sendblock", "log", "waitfor", "flashsector"};
    std::string text = std::string(kCommands[Pick(5)]) + "(";
    const int arguments = 3 + Pick(3);
    for (int i = 0; i < arguments; ++i) {
      text += (i > 0 ? ", " : "") + Expression(1);
    }
    return text + ")";
  }

  std::mt19937 random_;
};

void BM_ParseScript(benchmark::State& state) {
  const auto statements = ScriptGenerator(7).Statements(static_cast<int>(state.range(0)));
  ParseEngine engine;
  double arrows = 0;
  double tokens = 0;
  for (auto _ : state) {
    arrows = 0;
    tokens = 0;
    for (const std::string& statement : statements) {
      const auto trees = engine.Parse(statement);
      if (!trees.has_value() || trees->size() != 1) {
        state.SkipWithError(("a generated statement did not parse: " + statement).c_str());
        return;
      }
      arrows += static_cast<double>(engine.lattice().ArrowsCreated());
      tokens += static_cast<double>(engine.lattice().TokenList().size());
      benchmark::DoNotOptimize(trees->front().get());
    }
  }
  const auto count = static_cast<double>(statements.size());
  state.counters["statements/s"] = benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["tokens/statement"] = tokens / count;
  state.counters["arrows/token"] = arrows / tokens;
}

BENCHMARK(BM_ParseScript)->Arg(10000)->Unit(benchmark::kMillisecond);

// "x = 1 + 1 + ... + 1" with range(0) terms: every right-recursive suffix is an arrow.
void BM_ParseLongSum(benchmark::State& state) {
  std::string text = "x = 1";
  for (std::int64_t i = 1; i < state.range(0); ++i) {
    text += " + 1";
  }
  ParseEngine engine;
  for (auto _ : state) {
    const auto tree = engine.ParseSingle(text, "statement");
    if (tree == nullptr) {
      state.SkipWithError("the sum did not parse");
      return;
    }
  }
  state.counters["arrows"] = static_cast<double>(engine.lattice().ArrowsCreated());
}

// 999 terms is the longest sum the parser takes (1,999 tokens).
BENCHMARK(BM_ParseLongSum)->Arg(500)->Arg(999)->Unit(benchmark::kMillisecond);

void BM_ParseLongCall(benchmark::State& state) {
  std::string text = "f(1";
  for (std::int64_t i = 1; i < state.range(0); ++i) {
    text += ", 1";
  }
  text += ")";
  ParseEngine engine;
  for (auto _ : state) {
    if (engine.ParseSingle(text, "statement") == nullptr) {
      state.SkipWithError("the call did not parse");
      return;
    }
  }
}

// 999 arguments make 2,000 tokens, the longest statement the parser takes.
BENCHMARK(BM_ParseLongCall)->Arg(999)->Unit(benchmark::kMillisecond);

// range(0) two-character operators, each written as two one-character tokens to be joined.
void BM_TokeniseJoinedOperators(benchmark::State& state) {
  std::string text;
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    text += "a==";
  }
  text += "a";
  for (auto _ : state) {
    benchmark::DoNotOptimize(quendrel::ScriptTokeniser::TokeniseAndJoin(text).size());
  }
  state.counters["operators/s"] =
      benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_TokeniseJoinedOperators)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// range(0) guarded statements in one text, each getting its ";" after the condition.
void BM_InsertSemicolons(benchmark::State& state) {
  std::string text;
  for (std::int64_t i = 0; i < state.range(0); ++i) {
    text += "if (x) goto a;";
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(ParseEngine::InsertSemicolons(text, "if").size());
  }
  state.counters["statements/s"] =
      benchmark::Counter(static_cast<double>(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_InsertSemicolons)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
