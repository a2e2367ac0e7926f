// The XOR cipher that hides the contents of Quendrel's own data files; one call both enciphers and deciphers.
#pragma once

#include <string>
#include <string_view>

namespace quendrel {

// XORs every byte with a key stream that restarts at each call, so applying it twice gives the input back.
// The key stream is a file-format constant: files written by any earlier build must stay readable.
std::string DecryptString(std::string_view bytes);

}  // namespace quendrel
