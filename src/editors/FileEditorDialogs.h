// The questions and file dialogs the parameter file editors share: keeping unsaved edits, and saving
// a set under a path the user picks.
#pragma once

#include <functional>
#include <string>

namespace quendrel {

class KVBFile;

// Both editors open and save binary parameter files only.
inline constexpr const char* ParameterFileFilter = "Parameter Files Only (*.KVB)|*.KVB|All Files (*.*)|*.*";

// True when the caller may go on. Yes runs save, which returns true only once the file was written,
// so a cancelled or failed save keeps the edits; No goes on; Cancel stops. A remembered answer is used
// without asking. The box title names the window and the file (its path, or "" for a set never saved),
// as at exit several windows may ask in turn.
bool AskSaveChanges(const std::string& window, const std::string& file, const std::function<bool()>& save);

// "<window> - <file name>", or "<window> - Untitled" for a set without a file.
std::string SaveChangesTitle(const std::string& window, const std::string& file);

// Asks for a path under title and writes the set there. The path written, or "" when the user
// cancelled or the write failed (which the user is told).
std::string SaveSetAs(const KVBFile& set, const std::string& title, bool onlyWorkFlagged);

// The box every parameter file save shows when the file was not written: the path and why not.
void ShowSaveFailure(const std::string& path, const std::string& reason);

}  // namespace quendrel
