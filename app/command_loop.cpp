#include "app/command_loop.h"

#include <iostream>
#include <new>
#include <string>
#include <string_view>

#include "console/console.h"
#include "console/texts.h"
#include "phonebook/commands.h"

namespace phonebook {

namespace {

constexpr std::string_view exitKeyword = "exit";
constexpr std::string_view commandMenu =
    "Phone Book\n1. Add person\n2. Remove person\n3. Print phone book";

// Runs commands until "exit"; throws EndOfInput when input ends first.
void runCommands() {
  for (;;) {
    writePrompt(commandPrompt);
    const std::string line = readLine();
    if (line == exitKeyword) {
      return;
    }
    if (line.empty()) {
      writeLine(commandMenu);
    } else if (line == "1") {
      addPerson();
    } else if (line == "2") {
      removePerson();
    } else if (line == "3") {
      printPhoneBook();
    } else {
      reportInvalidCommand();
    }
  }
}

int reportFailure(std::string_view what) {
  std::cerr << "phonebook: " << what << std::endl;
  return 1;
}

}  // namespace

int runCommandLoop() {
  try {
    try {
      runCommands();
    } catch (const EndOfInput&) {
      finishAtEndOfInput();
    }
    return 0;
  } catch (const ConsoleFailure& failure) {
    return reportFailure(failure.what());
  } catch (const std::bad_alloc&) {
    return reportFailure("out of memory");
  }
}

void reportInvalidCommand() { refuse("Invalid command."); }

}  // namespace phonebook
