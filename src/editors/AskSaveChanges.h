// The question a file editor asks before its unsaved edits would be lost: save, go on without, or stop.
#pragma once

#include <functional>

namespace quendrel {

// True when the caller may go on. Yes runs save, which returns true only once the file was written,
// so a cancelled or failed save keeps the edits; No goes on; Cancel stops. A remembered answer is used
// without asking.
bool AskSaveChanges(const std::function<bool()>& save);

}  // namespace quendrel
