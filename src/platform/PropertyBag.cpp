#include "platform/PropertyBag.h"

namespace quendrel {

void PropertyBag::Erase(std::string_view name) {
  const auto found = values_.find(name);
  if (found != values_.end()) values_.erase(found);
}

}  // namespace quendrel
