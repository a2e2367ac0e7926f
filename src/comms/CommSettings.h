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
};

}  // namespace quendrel
