#include "drivesim/DriveSimProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#include "drivesim/ControlHex.h"

extern char** environ;

namespace quendrel {

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string& message) { throw std::runtime_error("drivesim: " + message); }

void ClosePipe(int (&fds)[2]) {
  for (int& fd : fds) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
}

}  // namespace

std::string DriveSimProcess::ExecutablePath() {
  if (const char* path = std::getenv("QUENDREL_DRIVESIM")) return path;
  return QUENDREL_DRIVESIM_PATH;
}

DriveSimProcess::DriveSimProcess(std::vector<std::string> arguments, double startSeconds) {
  char folder[] = "/tmp/quendrel-drivesim-XXXXXX";
  if (::mkdtemp(folder) == nullptr) Fail(std::string("mkdtemp: ") + std::strerror(errno));
  folder_ = folder;

  const std::string executable = ExecutablePath();
  const auto asks = [&arguments](const char* option) {
    return std::find(arguments.begin(), arguments.end(), option) != arguments.end();
  };
  const bool tcp = asks("--tcp");
  const bool rtuTcp = asks("--rtu-tcp");
  arguments.insert(arguments.begin(), {executable, "--link", folder_ + "/tty"});
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int input[2] = {-1, -1};
  int output[2] = {-1, -1};
  if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
    ClosePipe(input);
    ClosePipe(output);
    Fail("pipe failed");
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  const int spawned = ::posix_spawn(&pid_, executable.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(input[0]);
  ::close(output[1]);
  toChild_ = input[1];
  fromChild_ = output[0];
  if (spawned != 0) pid_ = -1;
  try {
    if (spawned != 0) Fail("cannot start " + executable + ": " + std::strerror(spawned));
    devicePath_ = ReadLine(startSeconds);
    if (devicePath_.empty()) Fail("started without a device path");
    // The simulator announces its listeners in this order after the device path.
    if (tcp) tcpPort_ = AnnouncedPort("tcp ", startSeconds);
    if (rtuTcp) rtuTcpPort_ = AnnouncedPort("rtu-tcp ", startSeconds);
  } catch (...) {
    Stop();  // no destructor runs for a half-built object
    throw;
  }
}

DriveSimProcess::~DriveSimProcess() { Stop(); }

bool DriveSimProcess::EndBySignal(int signal, double timeoutSeconds) {
  if (pid_ <= 0) return false;
  ::kill(pid_, signal);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
  int status = 0;
  pid_t ended = 0;
  while ((ended = ::waitpid(pid_, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
    ::usleep(1000);
  }
  if (ended != pid_) return false;  // Stop kills and reaps it
  pid_ = -1;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void DriveSimProcess::Stop() {
  if (toChild_ >= 0) ::close(toChild_);
  if (fromChild_ >= 0) ::close(fromChild_);
  toChild_ = fromChild_ = -1;
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
  }
  if (!folder_.empty()) {
    // The simulator removes its link when it ends normally; a killed one leaves it behind.
    ::unlink((folder_ + "/tty").c_str());
    ::unlink((folder_ + "/tty.new").c_str());
    ::rmdir(folder_.c_str());
    folder_.clear();
  }
}

std::string DriveSimProcess::ReadLine(double timeoutSeconds) {
  const auto deadline = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                           std::chrono::duration<double>(timeoutSeconds));
  while (true) {
    const auto end = buffered_.find('\n');
    if (end != std::string::npos) {
      std::string line = buffered_.substr(0, end);
      buffered_.erase(0, end + 1);
      return line;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) Fail("no answer within " + std::to_string(timeoutSeconds) + " s");
    pollfd fd{fromChild_, POLLIN, 0};
    const int ready = ::poll(&fd, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) continue;
    char chunk[4096];
    const ssize_t count = ::read(fromChild_, chunk, sizeof chunk);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) Fail("the simulator has ended");
    buffered_.append(chunk, static_cast<std::size_t>(count));
  }
}

int DriveSimProcess::AnnouncedPort(const std::string& prefix, double timeoutSeconds) {
  const std::string line = ReadLine(timeoutSeconds);
  if (line.rfind(prefix, 0) != 0) Fail("expected \"" + prefix + "<port>\", got \"" + line + "\"");
  return std::stoi(line.substr(prefix.size()));
}

std::string DriveSimProcess::Command(std::string_view line, double timeoutSeconds) {
  std::string text(line);
  text += '\n';
  std::string_view rest(text);
  while (!rest.empty()) {
    const ssize_t written = ::write(toChild_, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Fail("cannot send \"" + std::string(line) + "\"");
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  return ReadLine(timeoutSeconds);
}

void DriveSimProcess::Expect(std::string_view line, std::string_view answerPrefix) {
  const std::string answer = Command(line);
  if (answer.rfind(answerPrefix, 0) != 0) Fail("\"" + std::string(line) + "\" answered \"" + answer + "\"");
}

long DriveSimProcess::RequestCount() {
  const std::string answer = Command("stats");
  if (answer.rfind("requests ", 0) != 0) Fail("stats answered \"" + answer + "\"");
  return std::stol(answer.substr(9));
}

long DriveSimProcess::RequestCount(int function) {
  const std::string answer = Command("count " + std::to_string(function));
  if (answer.empty() || answer.find_first_not_of("0123456789") != std::string::npos) {
    Fail("count answered \"" + answer + "\"");
  }
  return std::stol(answer);
}

long DriveSimProcess::BroadcastCount() {
  const std::string answer = Command("broadcasts");
  if (answer.empty() || answer.find_first_not_of("0123456789") != std::string::npos) {
    Fail("broadcasts answered \"" + answer + "\"");
  }
  return std::stol(answer);
}

void DriveSimProcess::ResetStats() { Expect("stats reset", "ok"); }
void DriveSimProcess::SetFault(std::string_view rule) { Expect("fault " + std::string(rule), "ok"); }
void DriveSimProcess::ClearFaults() { Expect("fault none", "ok"); }

void DriveSimProcess::SetValue(int parameter, int value) {
  Expect("set " + std::to_string(parameter) + " " + std::to_string(value), "ok");
}

int DriveSimProcess::Value(int parameter) {
  const std::string answer = Command("get " + std::to_string(parameter));
  if (answer.rfind("error", 0) == 0 || answer.empty()) Fail("get answered \"" + answer + "\"");
  return std::stoi(answer);
}

std::string DriveSimProcess::ValueNames(int parameter) {
  const std::string answer = Command("names " + std::to_string(parameter));
  if (answer.rfind("error", 0) == 0) Fail("names answered \"" + answer + "\"");
  return answer;
}

void DriveSimProcess::SetLegacy(bool legacy) { Expect(legacy ? "legacy on" : "legacy off", "ok"); }
void DriveSimProcess::SetLocalEcho(bool on) { Expect(on ? "localecho on" : "localecho off", "ok"); }
void DriveSimProcess::SetAddress(int address) { Expect("address " + std::to_string(address), "ok"); }
void DriveSimProcess::SetBaudRate(long rate) { Expect("baud " + std::to_string(rate), "ok"); }
void DriveSimProcess::SetMode(std::string_view mode) { Expect("mode " + std::string(mode), "ok"); }
void DriveSimProcess::SetLoader(std::string_view setting) { Expect("loader " + std::string(setting), "ok"); }
std::string DriveSimProcess::LoaderState() { return Command("loader state"); }

std::string DriveSimProcess::LoaderImage() {
  const std::string answer = Command("loader image");
  if (answer.rfind("image ", 0) != 0) Fail("loader image answered \"" + answer + "\"");
  return answer == "image none" ? std::string() : answer.substr(6);
}

std::string DriveSimProcess::LoaderData() {
  const std::string answer = Command("loader data");
  if (answer.rfind("data", 0) != 0) Fail("loader data answered \"" + answer + "\"");
  return answer.size() > 5 ? answer.substr(5) : std::string();
}

void DriveSimProcess::SendBytes(std::string_view bytes) { Expect("send" + ControlHex(bytes), "ok"); }

std::string DriveSimProcess::ReceivedBytes() {
  const std::string answer = Command("received");
  if (answer.rfind("received", 0) != 0) Fail("received answered \"" + answer + "\"");
  std::string bytes;
  for (std::size_t at = 9; at + 2 <= answer.size(); at += 3) {
    bytes.push_back(static_cast<char>(std::stoi(answer.substr(at, 2), nullptr, 16)));
  }
  return bytes;
}

void DriveSimProcess::ClosePort() { Expect("close", "ok"); }
void DriveSimProcess::ReopenPort() { Expect("reopen", "ok"); }
void DriveSimProcess::DisconnectClients() { Expect("disconnect", "ok"); }

}  // namespace quendrel
