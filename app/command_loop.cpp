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

// Carries out the command `line`; false for "exit".
bool runCommand(std::string_view line) {
  if (line == exitKeyword) {
    return false;
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
  return true;
}

// Runs commands until "exit"; throws EndOfInput when input ends first. A command the user
// interrupts is abandoned where it stands: a contact is added, or removed, only once all its
// answers are in, so the phone book is as it was.
void runCommands() {
  for (bool running = true; running;) {
    try {
      running = runCommand(readLine(commandPrompt));
    } catch (const Interrupted&) {
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
  } catch (const Interrupted&) {
    // Stopped at the very end: there is nothing left to abandon.
  }
  return outOfMemory ? reportFailure("out of memory") : 0;
}

void reportInvalidCommand() { refuse("Invalid command."); }

}  // namespace phonebook
