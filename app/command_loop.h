// The program's main loop: the command prompt, one command line at a time, until "exit".
#pragma once

namespace phonebook {

// Runs the dialogue on standard input and output until the user types "exit" or input ends, and
// returns the exit status: 0, or 1 when the console itself failed (standard output could not be
// written, say), which is then reported in one line on standard error.
int runCommandLoop();

// Refuses a line that is not a command: "Invalid command." and the retry line.
void reportInvalidCommand();

}  // namespace phonebook
