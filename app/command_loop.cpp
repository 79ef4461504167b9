#include "app/command_loop.h"

#include <iostream>
#include <new>
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
    const std::string_view line = readLine();
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
  bool outOfMemory = false;
  try {
    try {
      runCommands();
    } catch (const EndOfInput&) {
      finishAtEndOfInput();
    } catch (const std::bad_alloc&) {
      outOfMemory = true;
    }
    // What was written since the program last waited for input, whichever way the run ended.
    flushOutput();
  } catch (const ConsoleFailure& failure) {
    return reportFailure(failure.what());
  }
  return outOfMemory ? reportFailure("out of memory") : 0;
}

void reportInvalidCommand() { refuse("Invalid command."); }

}  // namespace phonebook
