// A program image fed to the simulated drive's flash loader over a pseudo-terminal, one echoed
// byte at a time: bytes per second when the line costs nothing, and how close the transfer comes
// to the line's limit of two byte times per byte (the byte out, its echo back) at 19200 bits/s.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <cstdio>
#include <string>
#include <vector>

#include "SerialBenchLine.h"
#include "flash/language/ParseEngine.h"
#include "flash/loader/LoaderBuiltins.h"
#include "flash/scripts/FL2File.h"
#include "foundation/files/qovStringStream.h"
#include "platform/UiServices.h"
#include "support/TempFolder.h"

namespace quendrel {
namespace {

std::string Image(int words) {
  std::string text = "0000";
  char digits[8];
  std::snprintf(digits, sizeof digits, "%04X", words);
  text += std::string(digits) + "2000" "0000";
  for (int i = 0; i < words; ++i) {
    std::snprintf(digits, sizeof digits, "%04X", (i * 40503) & 0xFFFF);
    text += digits;
  }
  return text;
}

// The loader fed from a script whose working folder holds the image.
struct LoaderLine : SerialBenchLine {
  LoaderLine(std::vector<std::string> arguments, const std::string& baudRate, int words)
      : SerialBenchLine(baudRate, std::move(arguments)), imageBytes(4 + 2 * words) {
    sim.SetLoader("sync 0");
    sim.SetLoader("plan program");
    environment = {&Ui(), &SystemClockInstance(), &Parser(), {}, &server,
                   static_cast<SerialModule*>(server.Module("Serial")), nullptr, &Config()};
    script = std::make_unique<FL2File>(environment);
    script->LoadText("x = 1;");
    path = folder.Write("image.hex", Image(words));
  }

  static ParseEngine& Parser() {
    static ParseEngine engine;
    return engine;
  }

  bool Synchronise() {
    dfResponseCodes code = dfResponseOK;
    return LoaderBuiltins::InitializeBaudRate(*script, nullptr, code).AsDouble() == 1.0;
  }

  bool WriteProgram() {
    dfResponseCodes code = dfResponseOK;
    LoaderBuiltins::InitializeWriteProgram({Variant(path)}, *script, nullptr, code);
    return code == dfResponseOK;
  }

  long imageBytes;
  ScriptEnvironment environment;
  std::unique_ptr<FL2File> script;
  TempFolder folder;
  std::string path;
};

void Transfer(benchmark::State& state, LoaderLine& line, double byteSeconds) {
  long failures = 0;
  double seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    if (!line.Synchronise()) ++failures;
    state.ResumeTiming();
    const auto started = std::chrono::steady_clock::now();
    if (!line.WriteProgram()) ++failures;
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  }
  const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(line.imageBytes);
  state.counters["echoed_bytes/s"] = bytes / seconds;
  if (byteSeconds > 0) {
    state.counters["line_limit_bytes/s"] = 1.0 / (2.0 * byteSeconds);
    state.counters["measured/limit"] = seconds / (bytes * 2.0 * byteSeconds);
  }
  state.counters["failures"] = static_cast<double>(failures);
}

void BM_ProgramImageUnemulated(benchmark::State& state) {
  LoaderLine line({"--loader"}, "115200", 2000);
  Transfer(state, line, 0.0);
}
BENCHMARK(BM_ProgramImageUnemulated)->UseRealTime()->MinTime(2.0);

void BM_ProgramImageAt19200(benchmark::State& state) {
  LoaderLine line({"--loader", "--baud", "19200"}, "19200", 200);
  Transfer(state, line, 10.0 / 19200.0);
}
BENCHMARK(BM_ProgramImageAt19200)->UseRealTime()->MinTime(2.0);

}  // namespace
}  // namespace quendrel
