// What the parameter editors do with a typed value that must not be stored or sent: a text that is
// no number, or a number no 16-bit register holds under the parameter's decimals.
#pragma once

#include <string>

namespace quendrel {

class ParameterTreeNode;

// The editors' one answer to such a value; the online editor shows it in its status line.
inline constexpr const char* ValueRefusedText = "Value out of range - not written";

// True when the node's value, under the decimals of the PAD, is a raw word a register holds.
bool FitsParameterWord(const ParameterTreeNode& node, const std::string& pad);

// For the file editors, which have no status line: the refusal in a message box titled with the
// window's caption.
void ShowValueRefused(const std::string& windowCaption);

}  // namespace quendrel
