// What the parameter editors do with a typed value that must not be stored or sent: a text that is
// no number, or a number no 16-bit register holds under the parameter's decimals.
#pragma once

#include <string>

#include "params/transfer/TypedValueWriter.h"  // ValueRefusedText, the one answer to such a value

namespace quendrel {

class ParameterTreeNode;

// True when the node's value, under the decimals of the PAD, is a raw word a register holds.
bool FitsParameterWord(const ParameterTreeNode& node, const std::string& pad);

// For the file editors, which have no status line: the refusal in a message box titled with the
// window's caption.
void ShowValueRefused(const std::string& windowCaption);

}  // namespace quendrel
