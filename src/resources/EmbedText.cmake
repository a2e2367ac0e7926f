# cmake -DINPUT=<file> -DOUTPUT=<cpp> -DNUMBER=<n> -P EmbedText.cmake
# Writes the file's bytes as a C++ array; every byte goes through as a number, so any content
# (NULs, bytes above 127, missing final newline) survives unchanged.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR byte_count "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
# Break the array into lines of 16 bytes so the generated file stays readable in a debugger.
# (CMake's regular expressions have no {n} counts, so the sixteen are spelled out.)
string(REPEAT "'\\\\x[0-9a-f][0-9a-f]'," 16 sixteen_bytes)
string(REGEX REPLACE "(${sixteen_bytes})" "\\1\n    " bytes "${bytes}")

set(content "// Generated from ${INPUT}; do not edit.\n#include <string_view>\n\nnamespace quendrel::resources {\n\nnamespace {\nconstexpr char kBytes[] = {\n    ${bytes}'\\0'};\n}  // namespace\n\nextern const std::string_view kBuiltInText${NUMBER};\nconst std::string_view kBuiltInText${NUMBER}(kBytes, ${byte_count});\n\n}  // namespace quendrel::resources\n")

# Leave an unchanged output alone so an unrelated reconfigure does not rebuild the library.
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} previous)
  if(previous STREQUAL content)
    return()
  endif()
endif()
file(WRITE ${OUTPUT} "${content}")
