// Reads the drive function template text: one FUNCTION block per drive function, in a format of our
// own, checked whole so that a broken text loads nothing.
//
//   FUNCTION ReadValue
//     DESCRIPTION "Read Parameter Value"
//     CODE 3
//     PARAMETER Param "Parameter" MXXPXX
//     RETURN Param "Parameter" MXXPXX
//     RETURN Value "Raw Value" SHORT
//   END
//
// Item types: BYTE, SHORT, MEDIUM, LONG, MXXPXX, CHARACTER, FIXED <decimals>, and STRING 0 (a length
// byte first) or STRING <earlier item holding the length>. SPECIAL marks functions with code of
// their own; ONERROR ERASE or ONERROR PROGRAM says what a drive's error answer means. Lines starting
// with ";" are comments; keywords ignore letter case.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "comms/functions/DriveFunctionTemplate.h"

namespace quendrel {

class FunctionTemplateParser {
 public:
  struct Result {
    std::vector<std::shared_ptr<DriveFunctionTemplate>> templates;
    // Empty when the text loaded; else what is wrong, with its line number.
    std::string error;
    bool Loaded() const { return error.empty(); }
  };

  static Result Parse(std::string_view text);
};

}  // namespace quendrel
