// Initialisation data for a drive in its loader: a section count, then sections of words with
// their target addresses, sent over the selected module's byte channel.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "flash/loader/InitializeDataSection.h"

namespace quendrel {

class TextStream;

class InitializeDataFile {
 public:
  // False when the file is missing or unreadable.
  bool LoadFile(const std::string& path);
  bool LoadFromStream(TextStream* stream);
  // False, and the sections kept as they were, when a section is corrupt (see
  // InitializeDataSection::LoadFromBinary): nothing of a corrupt file may reach the loader.
  bool LoadFromText(std::string_view text);

  const std::vector<InitializeDataSection>& Sections() const { return sections_; }

  // Every section, the last one's last block closing the transfer. False without sections or at
  // the first failed block. Without ps a private progress service counts.
  bool Send(const LoaderLine& line, ProgressServer* ps) const;

 private:
  std::vector<InitializeDataSection> sections_;
};

}  // namespace quendrel
