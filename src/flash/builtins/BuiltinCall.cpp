#include "flash/builtins/BuiltinCall.h"

#include "foundation/text/TextChecks.h"
#include "foundation/values/RuntimeError.h"

namespace quendrel {

const Variant& BuiltinCall::At(std::size_t i) const {
  if (i < 1 || !Has(i)) throw RuntimeError(errSubscriptOutOfRange, "ScriptBuiltins", "Subscript out of range");
  return values[i - 1];
}

std::string BuiltinCall::Stripped(std::size_t i) const { return StripQuotes(At(i).AsText()); }

}  // namespace quendrel
