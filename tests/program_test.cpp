// The built program, run as a user's shell runs it: input through a pipe, output compared byte
// for byte.
#include "tests/program.h"

#include <gtest/gtest.h>

#include "tests/texts.h"

#include <string>

namespace phonebook::test {
namespace {


TEST(ProgramTest, AnswersAShortSession) {
  const ProgramRun run = runProgram("\nhelp\r\nexit\r\n");
  EXPECT_EQ(run.output, prompt + menu + prompt + invalidCommand + prompt);
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
}  // namespace phonebook::test
