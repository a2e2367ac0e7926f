#include "flash/scripts/ScriptLength.h"

#include "platform/UiServices.h"

namespace quendrel {

bool StatementCountFits(std::size_t count, UiServices& ui, const std::string& title) {
  if (count <= kMostStatements) return true;
  ui.MsgBox("The script has " + std::to_string(count) + " statements; at most " + std::to_string(kMostStatements) +
                " can be run.",
            vbCritical | vbOKOnly, title);
  return false;
}

bool TokenCountFits(std::size_t count, UiServices& ui, const std::string& title) {
  if (count <= kMostScriptTokens) return true;
  ui.MsgBox("The script has more than " + std::to_string(kMostScriptTokens) + " tokens; at most " +
                std::to_string(kMostScriptTokens) + " can be loaded.",
            vbCritical | vbOKOnly, title);
  return false;
}

}  // namespace quendrel
