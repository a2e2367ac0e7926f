// The scan list: which drive parameters the user scans, with colour, gain and flags, kept in the
// scan list file (*.SCP) from one run of the program to the next.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "graph/data/PLF2Node.h"

namespace quendrel {

class PLF {
 public:
  static constexpr std::int32_t kEntries = 2100;

  // Relative names are saved in the program folder, whatever the current directory is at exit.
  explicit PLF(std::string programFolder = "") : programFolder_(std::move(programFolder)) {}

  // Each index is a parameter number, 0..2099; any other raises RuntimeError 9.
  bool Parameter(std::int32_t tn) const { return Entry(tn).Present; }
  void SetParameter(std::int32_t tn, bool present) { Entry(tn).Present = present; }
  std::uint32_t Color(std::int32_t tn) const { return Entry(tn).Color; }
  void SetColor(std::int32_t tn, std::uint32_t color) { Entry(tn).Color = color; }
  bool Logged(std::int32_t tn) const { return Entry(tn).Logged; }
  void SetLogged(std::int32_t tn, bool logged) { Entry(tn).Logged = logged; }
  bool Graphed(std::int32_t tn) const { return Entry(tn).Graphed; }
  void SetGraphed(std::int32_t tn, bool graphed) { Entry(tn).Graphed = graphed; }
  double Gain(std::int32_t tn) const { return Entry(tn).Gain; }
  void SetGain(std::int32_t tn, double gain) { Entry(tn).Gain = gain; }

  // An empty name saves "Untitled.SCP" in the program folder. The old file survives any failure,
  // which raises RuntimeError with the reason. The file the last Load could not read is left as it
  // is: the list knows too little of what it holds to replace it.
  void Save(const std::string& fileName) const;
  // A relative name is found from the current directory; a missing file leaves the list empty.
  // Bad parameter ids are reported through Ui() and their lines skipped. A name that is no readable
  // regular file (a folder, a device, a pipe) or a file too large for a scan list raises RuntimeError
  // with the reason and leaves the list as it was.
  void Load(const std::string& fileName);

  // The file's text for the present entries.
  std::string Text() const;

 private:
  PLF2Node& Entry(std::int32_t tn);
  const PLF2Node& Entry(std::int32_t tn) const;
  void LoadLine(std::string_view line);
  std::string SavePath(const std::string& fileName) const;
  bool IsUnreadFile(const std::string& path) const;

  std::string programFolder_;
  // The file the last Load failed on, as the file system names it; empty after a good load.
  std::string unreadFile_;
  std::array<PLF2Node, kEntries> entries_{};
};

}  // namespace quendrel
