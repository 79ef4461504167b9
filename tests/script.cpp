#include "tests/script.h"

#include <sstream>

#include "app/command_loop.h"
#include "console/console.h"

namespace phonebook::testing {

Transcript runScript(std::string_view input, bool outputIsTerminal) {
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  int status = 0;
  {
    const ConsoleRedirect redirect(*in.rdbuf(), *out.rdbuf(), outputIsTerminal);
    status = runCommandLoop();
  }
  return {out.str(), status};
}

}  // namespace phonebook::testing
