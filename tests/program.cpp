#include "tests/program.h"

#include <fstream>
#include <sstream>

namespace phonebook::test {

std::string contentsOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

ProgramRun runProgram(const std::string& input, const ProgramOptions& options) {
  return runProgram(std::vector<InputPiece>{{input, 1}}, options);
}

}  // namespace phonebook::test
