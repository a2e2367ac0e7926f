// Cost of the version-2 script engine: loading a generated 5,000-statement script with nested
// blocks and 500 single-statement loops (milliseconds per load, with the block lowering's share
// measured on its own), the steps per second of a counting loop run through singleStep, and the
// time and peak memory of loading one statement of thousands of "+" terms (each must give its
// result within 1 s and 256 MB).

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdint>
#include <string>

#include "flash/language/ParseEngine.h"
#include "flash/scripts/FL2File.h"
#include "flash/scripts/FL2Loader.h"
#include "platform/Clock.h"
#include "platform/UiServices.h"

namespace {

using namespace quendrel;

// 500 single-statement loops (three statements each once lowered) and nested if/while blocks
// (eight statements each) up to the count.
std::string GeneratedScript(int statements) {
  std::string text;
  int count = 0;
  for (int loop = 0; loop < 500; ++loop, count += 3) text += "i = 0;\nwhile (i < 2) i = i + 1;\n";
  while (count + 8 <= statements) {
    text += "while (n < 3) {\n  n = n + 1;\n  if (n == 2) {\n    m = m + 1;\n  }\n}\n";
    count += 8;
  }
  for (; count < statements; ++count) text += "x = x + 1;\n";
  return text;
}

ScriptEnvironment Environment(ParseEngine& parser) { return {&Ui(), &CurrentClock(), &parser, {}}; }

void BM_LoadScript(benchmark::State& state) {
  ParseEngine parser;
  const std::string text = GeneratedScript(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    FL2File script(Environment(parser));
    if (!script.LoadText(text)) return state.SkipWithError("the generated script did not load");
  }
  state.counters["statements"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_LoadScript)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_LowerBlocks(benchmark::State& state) {
  ParseEngine parser;
  // The statements as the loader reads them; only their lowering is timed.
  const std::string text = GeneratedScript(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    LabelMap labels;
    FL2Loader loader(parser, Ui(), labels);
    auto statements = loader.ReadStatements(text);
    state.ResumeTiming();
    if (!statements || !loader.PostParse(*statements)) return state.SkipWithError("the script did not lower");
  }
}
BENCHMARK(BM_LowerBlocks)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_CountingLoopSteps(benchmark::State& state) {
  ParseEngine parser;
  FL2File script(Environment(parser));
  if (!script.LoadText("i = 0; while (i < 1000000000) { i = i + 1; }")) {
    return state.SkipWithError("the loop did not load");
  }
  script.Reset();
  for (auto _ : state) {
    if (script.singleStep() != dfResponseOK) return state.SkipWithError("the loop stopped");
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["steps/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CountingLoopSteps);

// The process's peak resident size in MB. Peaks only grow, so the statements are measured in
// growing order of what they may take: the refused ones first, the longest accepted one last.
double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// "x = 1 + 1 + ... + 1;" with range(0) terms, loaded as a whole script; range(1) is 1 when the
// loader must take it, 0 when it must refuse it as a syntax error.
void BM_LoadLongSum(benchmark::State& state) {
  ParseEngine parser;
  std::string text = "x = 1";
  for (std::int64_t i = 1; i < state.range(0); ++i) text += " + 1";
  text += ";";
  const bool accepted = state.range(1) == 1;
  const double before = PeakMegabytes();
  for (auto _ : state) {
    FL2File script(Environment(parser));
    if (script.LoadText(text) != accepted) return state.SkipWithError("the sum was not taken as expected");
  }
  state.counters["terms"] = static_cast<double>(state.range(0));
  state.counters["tokens"] = static_cast<double>(2 * state.range(0) + 1);
  state.counters["arrows"] = static_cast<double>(parser.lattice().ArrowsCreated());
  state.counters["peak_MB_added"] = PeakMegabytes() - before;
}
BENCHMARK(BM_LoadLongSum)
    ->Args({20000, 0})
    ->Args({5000, 0})
    ->Args({3000, 0})
    ->Args({999, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
