// The program's list of drive function templates, read once at start-up from the built-in text.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "comms/functions/DriveFunctionTemplate.h"
#include "foundation/values/qovArrayList.h"

namespace quendrel {

// The templates in the order of the text, each held as a std::shared_ptr<DriveFunctionTemplate>.
qovArrayList& FunctionTemplates();

// The first template whose Name equals the name, ignoring case; nullptr when none does.
std::shared_ptr<DriveFunctionTemplate> FindFunctionTemplate(const std::string& name);

// Start-up: fills the list from the built-in template text. When that fails to load the user is told
// ("Unable to load function template data.") and the program goes on with an empty list.
bool LoadFunctionTemplates();

// Replaces the list with the templates of the text; on failure the list is left empty and the reason
// goes to `error` when given.
bool LoadFunctionTemplates(std::string_view text, std::string* error = nullptr);

}  // namespace quendrel
