// The program on a terminal: run under a pseudo-terminal, as a user at a keyboard would run it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "tests/conversation.h"
#include "tests/program.h"
#include "tests/system.h"
#include "tests/texts.h"

namespace phonebook::test {
namespace {

constexpr const char* noTerminal =
    "Windows has no pseudo-terminal; its pseudo console draws the screen anew rather than passing "
    "the program's bytes through";

TEST(TerminalTest, PromptsAnswersAndEndsOnCtrlDOnAFreshLine) {
  if (onWindows) {
    GTEST_SKIP() << noTerminal;
  }
  Conversation terminal(Conversation::Over::Terminal);
  ASSERT_TRUE(terminal.started());

  // The prompt is on the screen before anything is typed.
  EXPECT_EQ(terminal.shownEndingWith(prompt), prompt);

  // A typed line is echoed and answered.
  ASSERT_TRUE(terminal.type("\n"));
  const std::string menuShown = prompt + onScreen("\n" + menu) + prompt;
  EXPECT_EQ(terminal.shownEndingWith(menuShown), menuShown);

  // Ctrl-D at the prompt ends the run with status 0, leaving the cursor on a fresh line.
  ASSERT_TRUE(terminal.type("\x04"));
  EXPECT_EQ(terminal.exitStatus(), 0);
  EXPECT_EQ(terminal.shownEndingWith(menuShown + "\r\n"), menuShown + "\r\n");
}

TEST(TerminalTest, FreshLineAtEndOfInputOnlyWhenOutputIsTheTerminal) {
  if (onWindows) {
    GTEST_SKIP() << noTerminal;
  }
  // One press of Enter, then input ends: from a file, or typed with Ctrl-D.
  const std::string inputPath = temporaryFile("terminal-input");
  std::ofstream(inputPath) << "\n";
  const std::string outputPath = temporaryFile("terminal-output");
  const struct {
    const char* arrangement;
    bool inputFromFile;
    bool outputToFile;
    std::string screen;   // all that the terminal shows
    std::string written;  // what the file of output holds
  } cases[] = {
      {"input from a file", true, false, prompt + onScreen(menu) + prompt + "\r\n", ""},
      {"output to a file", false, true, "\r\n", prompt + menu + prompt},  // the screen: the echo
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arrangement);
    Conversation terminal(Conversation::Over::Terminal, c.inputFromFile ? inputPath : "",
                          c.outputToFile ? outputPath : "");
    ASSERT_TRUE(terminal.started());
    if (!c.inputFromFile) {
      ASSERT_TRUE(terminal.type("\n\x04"));
    }
    EXPECT_EQ(terminal.exitStatus(), 0);
    EXPECT_EQ(terminal.shownEndingWith(c.screen), c.screen);
    if (c.outputToFile) {
      EXPECT_EQ(contentsOf(outputPath), c.written);
    }
  }
  std::remove(inputPath.c_str());
  std::remove(outputPath.c_str());
}

}  // namespace
}  // namespace phonebook::test
