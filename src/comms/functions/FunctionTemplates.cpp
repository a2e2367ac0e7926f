#include "comms/functions/FunctionTemplates.h"

#include <algorithm>
#include <cctype>

#include "comms/functions/FunctionTemplateParser.h"
#include "platform/UiServices.h"
#include "resources/BuiltInText.h"

namespace quendrel {

namespace {

constexpr int kTemplateResource = 102;

bool SameName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

qovArrayList& FunctionTemplates() {
  static qovArrayList templates;
  return templates;
}

std::shared_ptr<DriveFunctionTemplate> FindFunctionTemplate(const std::string& name) {
  const qovArrayList& templates = FunctionTemplates();
  for (int i = 1; i <= templates.Count(); ++i) {
    auto candidate = templates.Item(i).AsObject<DriveFunctionTemplate>();
    if (candidate && SameName(candidate->Name(), name)) return candidate;
  }
  return nullptr;
}

bool LoadFunctionTemplates(std::string_view text, std::string* error) {
  qovArrayList& templates = FunctionTemplates();
  templates.RemoveAll();
  FunctionTemplateParser::Result result = FunctionTemplateParser::Parse(text);
  if (error != nullptr) *error = result.error;
  if (!result.Loaded()) return false;
  for (auto& loaded : result.templates) templates.append(Variant(std::move(loaded)));
  return true;
}

bool LoadFunctionTemplates() {
  const std::optional<std::string> text = BuiltInText(kTemplateResource);
  if (text && LoadFunctionTemplates(*text)) return true;
  FunctionTemplates().RemoveAll();
  Ui().MsgBox("Unable to load function template data.", vbCritical, "Internal Data Error");
  return false;
}

}  // namespace quendrel
