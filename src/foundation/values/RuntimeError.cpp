#include "foundation/values/RuntimeError.h"

#include <utility>

namespace quendrel {

RuntimeError::RuntimeError(int number, std::string source, std::string description)
    : NumberedError(number, description),
      source_(std::move(source)),
      description_(std::move(description)) {}

}  // namespace quendrel
