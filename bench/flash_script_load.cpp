// Loading a whole version-2 script from disk as the drive flash window does: the seconds the load
// takes, the most memory the process needs on the way and the heap the loaded script keeps (also
// as a multiple of the file's size), for 150 calls of 800 arguments each, 1 MB of "{" (more
// statements than a script may run), 1.9 MB of such calls (as many tokens as a script may hold, nearly),
// a 16 MiB file of such calls (as large as a script file may be, refused by its tokens) and 32,766
// statements of one brace each.
// The budget: each loads or is refused within 5 s and 200 MB at the peak, and keeps at most 20
// times its size. Each load runs in a child process of its own, so one load's peak cannot hide
// another's; a child that is not done after two minutes or that reaches 4 GB is given up.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>

#include "comms/functions/ScriptPackage.h"
#include "flash/language/ParseEngine.h"
#include "flash/scripts/FL2File.h"
#include "platform/FakeClock.h"
#include "platform/UiServices.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

constexpr unsigned kGiveUpSeconds = 120;
constexpr rlim_t kGiveUpBytes = 4ULL << 30;

// Calls of 800 arguments, each a two-digit number or now and then a name, so no two calls are alike.
std::string Calls(std::size_t bytes) {
  std::mt19937 random(481);
  std::string text;
  while (text.size() < bytes) {
    std::string call = "Poke(";
    for (int argument = 0; argument < 800; ++argument) {
      if (argument > 0) call += ", ";
      call += random() % 4 == 0 ? std::string(1, static_cast<char>('a' + random() % 26)) + "1"
                                : std::to_string(10 + random() % 90);
    }
    call += ");\n";
    if (text.size() + call.size() > bytes) break;
    text += call;
  }
  return text;
}

std::string EightHundredArguments() { return Calls(481 * 1024); }
// As many statements as a script may run, each as short as a statement is: its memory beside its text.
std::string ShortestStatements() {
  std::string text;
  for (int block = 0; block < 16383; ++block) text += "{}";
  return text;
}
std::string OneMegabyteOfBraces() { return std::string(1 << 20, '{'); }
std::string SixteenMebibytes() { return Calls(kLargestScriptFile); }
// About 974,000 tokens, just under the most a script may hold.
std::string CallsNearTheTokenLimit() { return Calls(1900 * 1024); }

struct LoadFigures {
  double seconds = 0;
  double peakBytes = 0;
  double keptBytes = 0;
  int statements = 0;
  bool loaded = false;
};

double HeapBytes() {
  const struct mallinfo2 info = ::mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

// A /proc/self/status figure in bytes.
double StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) * 1024.0;
  }
  return 0;
}

// Runs in the child: the peak counts from the resident size the child starts with.
LoadFigures LoadInThisProcess(const std::string& path) {
  std::ofstream("/proc/self/clear_refs") << "5";
  const double residentBefore = StatusBytes("VmRSS");
  FakeClock clock;
  ParseEngine parser;
  const double heapBefore = HeapBytes();
  LoadFigures figures;
  const auto started = std::chrono::steady_clock::now();
  FL2File script(ScriptEnvironment{&Ui(), &clock, &parser, {}});
  figures.loaded = script.LoadFile(path);
  figures.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  figures.keptBytes = HeapBytes() - heapBefore;
  figures.peakBytes = StatusBytes("VmHWM") - residentBefore;
  figures.statements = script.ProgramLength();
  return figures;
}

// False when the child was given up.
bool LoadInChild(const std::string& path, LoadFigures& figures) {
  int channel[2];
  if (::pipe(channel) != 0) return false;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    const rlimit memory{kGiveUpBytes, kGiveUpBytes};
    ::setrlimit(RLIMIT_AS, &memory);
    ::alarm(kGiveUpSeconds);
    const LoadFigures measured = LoadInThisProcess(path);
    const bool written = ::write(channel[1], &measured, sizeof measured) == sizeof measured;
    ::_exit(written ? 0 : 1);
  }
  ::close(channel[1]);
  const bool read = ::read(channel[0], &figures, sizeof figures) == sizeof figures;
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  return read && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void LoadScript(benchmark::State& state, const std::string& text, bool mustLoad) {
  TempFolder folder;
  const std::string path = folder.Write("script.FL2", text);
  LoadFigures figures;
  for (auto _ : state) {
    if (!LoadInChild(path, figures)) {
      state.SkipWithError("the load was given up: more than two minutes or 4 GB");
      return;
    }
    state.SetIterationTime(figures.seconds);
  }
  if (figures.loaded != mustLoad) state.SkipWithError(mustLoad ? "the script was refused" : "the script was taken");
  constexpr double kMegabyte = 1 << 20;
  state.counters["file_MB"] = static_cast<double>(text.size()) / kMegabyte;
  state.counters["statements"] = figures.statements;
  state.counters["seconds"] = figures.seconds;
  state.counters["peak_MB"] = figures.peakBytes / kMegabyte;
  state.counters["kept_MB"] = figures.keptBytes / kMegabyte;
  state.counters["kept_per_file_byte"] = figures.keptBytes / static_cast<double>(text.size());
}

void BM_LoadEightHundredArgumentCalls(benchmark::State& state) { LoadScript(state, EightHundredArguments(), true); }
void BM_RefuseOneMegabyteOfBraces(benchmark::State& state) { LoadScript(state, OneMegabyteOfBraces(), false); }
void BM_LoadCallsNearTheTokenLimit(benchmark::State& state) { LoadScript(state, CallsNearTheTokenLimit(), true); }
void BM_RefuseSixteenMebibytesOfCalls(benchmark::State& state) { LoadScript(state, SixteenMebibytes(), false); }
void BM_LoadShortestStatements(benchmark::State& state) { LoadScript(state, ShortestStatements(), true); }

BENCHMARK(BM_LoadEightHundredArgumentCalls)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefuseOneMegabyteOfBraces)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCallsNearTheTokenLimit)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefuseSixteenMebibytesOfCalls)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadShortestStatements)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quendrel
