// The built program, run as a user's shell runs it: input through a pipe, output compared byte
// for byte.
#include "tests/program.h"

#include <gtest/gtest.h>

#include <string>

namespace phonebook::testing {
namespace {

const std::string prompt = "QZ-4821-07356>";
const std::string menu = "Phone Book\n1. Add person\n2. Remove person\n3. Print phone book\n";

TEST(ProgramTest, AnswersAShortSession) {
  const ProgramRun run = runProgram("\nhelp\r\nexit\r\n");
  EXPECT_EQ(run.output,
            prompt + menu + prompt + "Invalid command.\nPlease try again.\n" + prompt);
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.status, 0);
}

TEST(ProgramTest, EndOfInputEndsTheRunWithStatusZero) {
  const ProgramRun run = runProgram("\n");
  EXPECT_EQ(run.output, prompt + menu + prompt);
  EXPECT_EQ(run.status, 0);
}

TEST(ProgramTest, UnwritableOutputEndsTheRunWithStatusOne) {
  const ProgramRun run = runProgram("\n\n\n", {.outputPath = "/dev/full", .environment = {}});
  EXPECT_EQ(run.errors, "phonebook: cannot write to standard output: No space left on device\n");
  EXPECT_EQ(run.status, 1);
}

}  // namespace
}  // namespace phonebook::testing
