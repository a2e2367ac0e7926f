// The checks the communication settings pass wherever they are taken from: the dialogs refuse an
// entry that fails one, and the modules and dialogs use the built-in default for a stored value
// that fails one. Numbers are kept as the user typed them until they are checked.
#pragma once

#include <string>

namespace quendrel {

// Longer than any drive takes to answer; beyond it a typing slip would look like a hung program.
constexpr double kMaximumTimeoutSeconds = 3600.0;
// COM1 to COM256.
constexpr int kComPortCount = 256;

// A number with no fraction, such as "3" or " 4.0"; "1.5" and "few" are not.
bool IsWholeNumberText(const std::string& text);

// "" when the value can be used, else the message that tells the user what to fix.
std::string TimeoutProblem(const std::string& seconds);
std::string RetriesProblem(const std::string& retries);
std::string ComPortProblem(int index);
std::string ParityProblem(int code);
std::string DataBitsProblem(int bits);
std::string StopBitsProblem(int code);
std::string HostProblem(const std::string& host);
std::string TcpPortProblem(const std::string& port);
std::string ProtocolProblem(int protocol);

// The number as the INI file keeps it: " 0.50" is stored as "0.5".
std::string StoredNumberText(const std::string& text);

// Without outer blanks and tabs.
std::string TrimmedText(const std::string& text);

}  // namespace quendrel
