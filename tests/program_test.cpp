// The built program, run as a user's shell runs it: input through a pipe, output compared byte
// for byte.
#include "tests/program.h"

#include <gtest/gtest.h>

#include "tests/texts.h"

#include <chrono>
#include <cstdio>
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

TEST(ProgramTest, AddsListsAndRemovesContactsOfEveryKind) {
  const std::string birthday = birthdayIn(1);
  const ProgramRun run = runProgram(
      "1\n1\nAnn Lee\n010-1234-5678\n"
      "1\n2\nBob Kim\n02-1234-5678\nSales\n"
      "1\n3\nCy Oh\n010-0001-0001\n" + birthday + "\n"
      "1\n4\nDee Park\n02-0012-3456\n25\n"
      "2\n1\n3\nexit\n");
  const std::string asked = prompt + typeMenu + prompt + "Name: Phone number: ";
  EXPECT_EQ(run.output, asked + added + asked + "Team: " + added + asked + "Birthday: " + added +
                            asked + "Age: " + added + prompt + "Enter Index of person: " +
                            removed + prompt + listingHeader +
                            "1. Bob Kim_02-1234-5678_Sales\n"
                            "2. Cy Oh_010-0001-0001_" + birthday + "_1\n"
                            "3. Dee Park_02-0012-3456_25\n" + prompt);
  EXPECT_EQ(run.status, 0);
}

TEST(ProgramTest, BirthdayCountFollowsTheLocalTimeZone) {
  // 14 hours ahead of UTC it is a day or two later than 12 hours behind, at every moment.
  using namespace std::chrono;
  const year_month_day ahead{floor<days>(system_clock::now() + 14h)};
  char birthday[8];
  std::snprintf(birthday, sizeof birthday, "99%02u%02u", unsigned(ahead.month()),
                unsigned(ahead.day()));
  const std::string script = "1\n3\nAnn Lee\n010-1234-5678\n" + std::string(birthday) +
                             "\n3\nexit\n";
  const std::string line = "1. Ann Lee_010-1234-5678_" + std::string(birthday) + "_";
  const std::string listed = prompt + listingHeader + line;

  const std::string aheadOutput =
      runProgram(script, {.outputPath = "", .environment = {"TZ=AHEAD-14"}}).output;
  EXPECT_NE(aheadOutput.find(listed + "0\n"), std::string::npos) << aheadOutput;

  const std::string behindOutput =
      runProgram(script, {.outputPath = "", .environment = {"TZ=BEHIND+12"}}).output;
  EXPECT_TRUE(behindOutput.find(listed + "1\n") != std::string::npos ||
              behindOutput.find(listed + "2\n") != std::string::npos)
      << behindOutput;
}

}  // namespace
}  // namespace phonebook::test
