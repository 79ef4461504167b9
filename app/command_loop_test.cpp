#include "app/command_loop.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "console/console.h"
#include "tests/script.h"
#include "tests/texts.h"

namespace phonebook {
namespace {

using namespace test;
const std::string& invalid = invalidCommand;

TEST(CommandLoopTest, ExitEndsTheRunAtOnce) {
  const auto run = runScript("exit\n\nmore\n");
  EXPECT_EQ(run.output, prompt);
  EXPECT_EQ(run.status, 0);
}

TEST(CommandLoopTest, EmptyLineShowsTheMenuAndOnlyExactCommandsAreTaken) {
  const auto run = runScript(
      "\n"
      "Exit\n exit\nexit \nEXIT\n01\n 1\n1 \n4\n0\n-1\n\t\n"
      "\r\n"
      "exit");
  std::string refusals;  // one for each of the eleven lines that are not commands
  for (int i = 0; i < 11; ++i) {
    refusals += prompt + invalid;
  }
  EXPECT_EQ(run.output, prompt + menu + refusals + prompt + menu + prompt);
  EXPECT_EQ(run.status, 0);
}

TEST(CommandLoopTest, EndOfInputEndsTheRunLikeExit) {
  const struct {
    std::string input;
    std::string output;
  } cases[] = {
      {"", prompt},
      {"\n", prompt + menu + prompt},
      {"bogus", prompt + invalid + prompt},
      {"exit\r", prompt + invalid + prompt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("input: \"" + c.input + "\"");
    const auto run = runScript(c.input);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.status, 0);
  }
}

TEST(CommandLoopTest, EndOfInputOnATerminalLeavesAFreshLine) {
  EXPECT_EQ(runScript("\n", true).output, prompt + menu + prompt + "\n");
  // "exit" ends the run without it.
  EXPECT_EQ(runScript("exit\n", true).output, prompt);
}

TEST(CommandLoopTest, FailedOutputEndsTheRunWithStatusOne) {
  std::istringstream in("\n\n\nexit\n");
  FullOutput out;
  std::ostringstream errors;
  std::streambuf* const savedErrors = std::cerr.rdbuf(errors.rdbuf());
  int status = 0;
  {
    const ConsoleRedirect redirect(*in.rdbuf(), out);
    status = runCommandLoop();
  }
  std::cerr.rdbuf(savedErrors);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(errors.str().rfind("phonebook: cannot write to standard output", 0), 0u)
      << errors.str();
  EXPECT_EQ(errors.str().find('\n'), errors.str().size() - 1) << "one line only";
}

}  // namespace
}  // namespace phonebook
