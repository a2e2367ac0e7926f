// A quendrel-drivesim child process for tests and benchmarks: started, commanded and reaped.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace quendrel {

// Every call is bounded in time; a simulator that does not answer in time, or answers a
// command with "error ...", throws std::runtime_error, which fails the running test.
class DriveSimProcess {
 public:
  // arguments: extra command-line options, e.g. {"--legacy"}, {"--fault", "drop every 3"} or
  // {"--tcp", "0"} (the system picks the port; see TcpPort).
  explicit DriveSimProcess(std::vector<std::string> arguments = {}, double startSeconds = 10.0);
  ~DriveSimProcess();
  DriveSimProcess(const DriveSimProcess&) = delete;
  DriveSimProcess& operator=(const DriveSimProcess&) = delete;

  // The path a client opens as its serial port; it stays the same across ClosePort/ReopenPort.
  const std::string& DevicePath() const { return devicePath_; }
  pid_t Pid() const { return pid_; }
  // The loopback ports of --tcp (Modbus/TCP) and --rtu-tcp (serial frames over TCP); 0 when not asked for.
  int TcpPort() const { return tcpPort_; }
  int RtuTcpPort() const { return rtuTcpPort_; }

  // Sends one control line and returns the answer line (without its line end).
  std::string Command(std::string_view line, double timeoutSeconds = 5.0);

  long RequestCount();                      // well-formed requests addressed to the drive
  long RequestCount(int function);          // ... with this function code
  long BroadcastCount();                    // well-formed requests addressed to 0 (every drive)
  void ResetStats();
  void SetFault(std::string_view rule);     // adds a rule, e.g. "drop next 2", "late next 1 1500"
  void ClearFaults();
  void SetValue(int parameter, int value);  // parameter as menu * 100 + parameter
  int Value(int parameter);
  std::string ValueNames(int parameter);    // ";"-joined
  void SetLegacy(bool legacy);
  void SetLocalEcho(bool on);               // every byte the client sends comes back first
  void SetAddress(int address);
  void SetBaudRate(long rate);              // 0: no line emulation
  void SetMode(std::string_view mode);      // "drive", "echo", "record" or "loader"
  // The flash loader: "loader " + setting, e.g. "sync 5", "plan data", "fault noclosingecho".
  void SetLoader(std::string_view setting);
  std::string LoaderState();                // "frames", "sync" or "transfer"
  // What the loader received: the program image as "AAAA WWWW..." (empty when none), the data
  // blocks as "AAAA:WWWW... AAAA:WWWW..." (address and words in hexadecimal digits).
  std::string LoaderImage();
  std::string LoaderData();
  void SendBytes(std::string_view bytes);   // raw bytes to the client
  std::string ReceivedBytes();              // raw bytes from the client since the last call
  void ClosePort();
  void ReopenPort();
  void DisconnectClients();                 // drops every TCP connection

  // Sends the signal and waits up to timeoutSeconds for the simulator to end; true when it ended
  // by itself with exit status 0. The process is gone afterwards either way.
  bool EndBySignal(int signal, double timeoutSeconds);

  // The compiled-in path of the executable (QUENDREL_DRIVESIM overrides it).
  static std::string ExecutablePath();

 private:
  std::string ReadLine(double timeoutSeconds);
  int AnnouncedPort(const std::string& prefix, double timeoutSeconds);
  void Stop();
  void Expect(std::string_view line, std::string_view answerPrefix);

  pid_t pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string folder_;  // private folder for the port's link, removed at the end
  std::string devicePath_;
  int tcpPort_ = 0;
  int rtuTcpPort_ = 0;
  std::string buffered_;
};

}  // namespace quendrel
