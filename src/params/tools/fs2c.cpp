// quendrel-fs2c SOURCE.FS2 TARGET.FC2: compiles a firmware compatibility source; on errors it lists them
// on standard error, writes nothing and exits with status 1.
#include <iostream>
#include <string>
#include <vector>

#include "params/compatibility/FS2Compiler.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: quendrel-fs2c SOURCE.FS2 TARGET.FC2\n";
    return 2;
  }
  std::vector<std::string> errors;
  if (quendrel::CompileFS2File(argv[1], argv[2], errors)) return 0;
  for (const auto& error : errors) std::cerr << argv[1] << ": " << error << '\n';
  return 1;
}
