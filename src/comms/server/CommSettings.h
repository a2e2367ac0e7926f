// Reads communication settings from the user's INI store at the moment they are needed, since scripts
// and dialogs change them between exchanges; an empty value falls back to the given default.
#pragma once

#include <string>

namespace quendrel {

class CommSettings {
 public:
  static std::string Text(const std::string& key, const std::string& section, const std::string& fallback);
  static double Number(const std::string& key, const std::string& section, double fallback);
  static int Integer(const std::string& key, const std::string& section, int fallback);
  static bool Boolean(const std::string& key, const std::string& section, bool fallback);

  // "" when a value can be used, else why not: the checks the settings dialogs make.
  using TextCheck = std::string (*)(const std::string&);
  using IntegerCheck = std::string (*)(int);
  // The stored value when it passes the check, else the fallback. A hand-edited value the dialog
  // would refuse must not reach the line; the file keeps it, so the user can still see what went wrong.
  static std::string CheckedText(const std::string& key, const std::string& section, const std::string& fallback,
                                 TextCheck check);
  static int CheckedInteger(const std::string& key, const std::string& section, int fallback, IntegerCheck check);
  // The transport's Timeout in seconds.
  static double Timeout(const std::string& section, double fallback);
  // Retries of the section ([General], [Serial Port] or [Ethernet]), 0 to 100 as the dialogs allow;
  // a stored count they would refuse gives the built-in default. An unchecked count from the file
  // would let one damaged reply after another hold the program for ever.
  static int Retries(const std::string& section);
};

}  // namespace quendrel
