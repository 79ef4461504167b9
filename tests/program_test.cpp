// The built program, run as a user's shell runs it: input through a pipe, output compared byte
// for byte.
#include "tests/program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/conversation.h"
#include "tests/sanitizer.h"
#include "tests/system.h"
#include "tests/texts.h"

namespace phonebook::test {
namespace {

TEST(ProgramTest, AnswersAShortSession) {
  const ProgramRun run = runProgram("\nhelp\r\nexit\r\n");
  EXPECT_EQ(run.output, asWritten(prompt + menu + prompt + invalidCommand + prompt));
  EXPECT_EQ(run.errors, "");
  EXPECT_EQ(run.status, 0);
}

TEST(ProgramTest, EveryPromptIsThereBeforeTheProgramWaitsOnAPipe) {
  // A driving program types one line, waits for the next prompt, and only then types on.
  Conversation program(Conversation::Over::Pipes);
  ASSERT_TRUE(program.started());
  const struct {
    std::string typed;
    std::string answer;
  } exchanges[] = {
      {"", prompt},
      {"1\n", typeMenu + prompt},
      {"2\n", "Name: "},
      {"Ann Lee\n", "Phone number: "},
      {"010-1234-5678\n", "Team: "},
      {"Sales\n", added + prompt},
      {"3\n", listingHeader + "1. Ann Lee_010-1234-5678_Sales\n" + prompt},
      {"2\n", "Enter Index of person: "},
      {"1\n", removed + prompt},
      {"3\n", listingHeader + prompt},
  };
  std::string transcript;
  for (const auto& exchange : exchanges) {
    ASSERT_TRUE(program.type(exchange.typed));
    transcript += asWritten(exchange.answer);
    ASSERT_EQ(program.shownEndingWith(transcript), transcript) << "typed: " << exchange.typed;
  }
  ASSERT_TRUE(program.type("exit\n"));
  EXPECT_EQ(program.exitStatus(), 0);
  EXPECT_EQ(program.shownEndingWith(transcript + "\n"), transcript);
}

TEST(ProgramTest, EndOfInputEndsTheRunWithStatusZero) {
  const ProgramRun run = runProgram("\n");
  EXPECT_EQ(run.output, asWritten(prompt + menu + prompt));
  EXPECT_EQ(run.status, 0);
}

TEST(ProgramTest, UnwritableOutputEndsTheRunWithStatusOne) {
  if (onWindows) {
    GTEST_SKIP() << "Windows has no /dev/full, a device that refuses every write as a full disk "
                    "does";
  }
  ProgramOptions options;
  options.outputPath = "/dev/full";
  const ProgramRun run = runProgram("\n\n\n", options);
  EXPECT_EQ(run.errors, "phonebook: cannot write to standard output: No space left on device\n");
  EXPECT_EQ(run.status, 1);
}

TEST(ProgramTest, AddsListsAndRemovesContactsOfEveryKind) {
  const std::string birthday = birthdayIn(1);
  const ProgramRun run = runProgram(
      "1\n1\nAnn Lee\n010-1234-5678\n"
      "1\n2\nBob Kim\n02-1234-5678\nSales\n"
      "1\n3\nCy Oh\n010-0001-0001\n" +
      birthday +
      "\n"
      "1\n4\nDee Park\n02-0012-3456\n25\n"
      "2\n1\n3\nexit\n");
  const std::string asked = prompt + typeMenu + prompt + "Name: Phone number: ";
  EXPECT_EQ(run.output, asWritten(asked + added + asked + "Team: " + added + asked +
                                  "Birthday: " + added + asked + "Age: " + added + prompt +
                                  "Enter Index of person: " + removed + prompt + listingHeader +
                                  "1. Bob Kim_02-1234-5678_Sales\n"
                                  "2. Cy Oh_010-0001-0001_" +
                                  birthday +
                                  "_1\n"
                                  "3. Dee Park_02-0012-3456_25\n" +
                                  prompt));
  EXPECT_EQ(run.status, 0);
}

TEST(ProgramTest, BirthdayCountFollowsTheLocalTimeZone) {
  if (onWindows) {
    GTEST_SKIP() << "Windows takes the time zone from its own settings; its C runtime reads no "
                    "POSIX time zone such as AHEAD-14 from TZ";
  }
  // 14 hours ahead of UTC it is a day or two later than 12 hours behind, at every moment.
  using namespace std::chrono;
  const year_month_day dateAhead{floor<days>(system_clock::now() + 14h)};
  char birthday[8];
  std::snprintf(birthday, sizeof birthday, "99%02u%02u", unsigned(dateAhead.month()),
                unsigned(dateAhead.day()));
  const std::string script =
      "1\n3\nAnn Lee\n010-1234-5678\n" + std::string(birthday) + "\n3\nexit\n";
  const std::string line = "1. Ann Lee_010-1234-5678_" + std::string(birthday) + "_";
  const std::string listed = prompt + listingHeader + line;

  ProgramOptions ahead14;
  ahead14.environment = {"TZ=AHEAD-14"};
  const std::string aheadOutput = runProgram(script, ahead14).output;
  EXPECT_NE(aheadOutput.find(listed + "0\n"), std::string::npos) << aheadOutput;

  ProgramOptions behind12;
  behind12.environment = {"TZ=BEHIND+12"};
  const std::string behindOutput = runProgram(script, behind12).output;
  EXPECT_TRUE(behindOutput.find(listed + "1\n") != std::string::npos ||
              behindOutput.find(listed + "2\n") != std::string::npos)
      << behindOutput;
}

TEST(ProgramTest, UnreadableInputEndsTheRunWithStatusOne) {
  if (onWindows) {
    GTEST_SKIP() << "Windows opens no directory as a file, so standard input cannot be one";
  }
  ProgramOptions options;
  options.inputPath = "/";  // a directory: reading it fails
  const ProgramRun run = runProgram("", options);
  EXPECT_EQ(run.output, prompt);
  EXPECT_EQ(run.errors, "phonebook: cannot read standard input: Is a directory\n");
  EXPECT_EQ(run.status, 1);
}

TEST(ProgramTest, EndsWhenTheReaderOfItsOutputHasGone) {
  // The user has typed nothing and input stays open: only the broken pipe can end the run.
  ProgramOptions options;
  options.outputReaderGone = true;
  options.holdInputOpen = true;
  options.timeout = std::chrono::seconds(10);
  const ProgramRun run = runProgram("", options);
  if (onWindows) {
    // Windows has no signal for it: the write fails, as any other failed write does.
    EXPECT_EQ(run.errors, asWritten("phonebook: cannot write to standard output: Broken pipe\n"));
    EXPECT_EQ(run.status, 1);
  } else {
    EXPECT_EQ(run.status, 128 + brokenPipeSignal);
  }
}

// Whether the file holds `prefix`, then `count` times the character `fill`, then `suffix`.
::testing::AssertionResult fileHolds(const std::string& path, const std::string& prefix, char fill,
                                     std::size_t count, const std::string& suffix) {
  std::ifstream file(path, std::ios::binary);
  std::string head(prefix.size(), '\0');
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  if (head != prefix) {
    return ::testing::AssertionFailure() << "begins with \"" << head << "\"";
  }
  std::vector<char> chunk(1 << 20);
  for (std::size_t left = count; left > 0;) {
    const std::size_t size = std::min(left, chunk.size());
    file.read(chunk.data(), static_cast<std::streamsize>(size));
    if (static_cast<std::size_t>(file.gcount()) != size ||
        std::any_of(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(size),
                    [fill](char c) { return c != fill; })) {
      return ::testing::AssertionFailure()
             << "the long run breaks off " << count - left << " characters in";
    }
    left -= size;
  }
  std::string tail(suffix.size() + 1, '\0');
  file.read(tail.data(), static_cast<std::streamsize>(tail.size()));
  tail.resize(static_cast<std::size_t>(file.gcount()));
  if (tail != suffix) {
    return ::testing::AssertionFailure() << "ends with \"" << tail << "\"";
  }
  return ::testing::AssertionSuccess();
}

TEST(ProgramTest, HandlesALineOf100MegabytesAtEveryQuestion) {
  constexpr std::size_t megabyte = 1 << 20;
  constexpr std::size_t lineSize = 100 * megabyte;
  const std::string x(megabyte, 'x');
  const std::string asked = prompt + typeMenu + prompt + "Name: ";
  const std::string addedPerson = "1\n1\nAnn Lee\n010-1234-5678\n";
  const std::string addedOutput = asked + "Phone number: " + added;

  const struct {
    const char* question;
    std::string before;        // typed before the long line of x
    std::string after;         // typed after it
    std::string outputBefore;  // written before the long run of x in the output, if any
    std::size_t xInOutput;     // how many x the output holds
    std::string output;        // written after that
  } cases[] = {
      {"command", "", "\nexit\n", "", 0, prompt + invalidCommand + prompt},
      {"type", "1\n", "\n1\nAnn Lee\n010-1234-5678\nexit\n", "", 0,
       prompt + typeMenu + prompt + notAnInteger + typeMenu + prompt +
           "Name: Phone number: " + added + prompt},
      {"name", "1\n1\n", "\nAnn Lee\n010-1234-5678\nexit\n", "", 0,
       asked + invalid("Name") + "Name: Phone number: " + added + prompt},
      {"phone number", "1\n1\nAnn Lee\n", "\n010-1234-5678\nexit\n", "", 0,
       asked + "Phone number: " + invalid("Phone number") + "Phone number: " + added + prompt},
      {"age", "1\n4\nAnn Lee\n010-1234-5678\n", "\n7\nexit\n", "", 0,
       asked + "Phone number: Age: " + invalid("Age") + "Age: " + added + prompt},
      {"birthday, then end of input", "1\n3\nAnn Lee\n010-1234-5678\n", "\n", "", 0,
       asked + "Phone number: Birthday: " + invalid("Birthday") + "Birthday: "},
      {"index", addedPerson + "2\n", "\n1\nexit\n", "", 0,
       addedOutput + prompt + "Enter Index of person: " + notAnInteger +
           "Enter Index of person: " + removed + prompt},
      {"team, taken", "1\n2\nAnn Lee\n010-1234-5678\n", "\n3\nexit\n",
       asked + "Phone number: Team: " + added + prompt + listingHeader +
           "1. Ann Lee_010-1234-5678_",
       lineSize, "\n" + prompt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.question);
    ProgramOptions options;
    options.outputPath = temporaryFile("large-output");
    const ProgramRun run = runProgram({{c.before}, {x, lineSize / megabyte}, {c.after}}, options);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(fileHolds(options.outputPath, asWritten(c.outputBefore), 'x', c.xInOutput,
                          asWritten(c.output)));
    if (!underAddressSanitizer && run.peakKilobytes >= 0) {
      EXPECT_LT(run.peakKilobytes * 1024, 4 * lineSize);
    }
    std::remove(options.outputPath.c_str());
  }
}

TEST(ProgramTest, RunsOutOfMemoryOnALineLargerThanItsAddressSpace) {
  if (onWindows) {
    GTEST_SKIP() << "Windows has no limit on one process's address space (setrlimit)";
  }
  if (underAddressSanitizer) {
    GTEST_SKIP() << "the address sanitizer reserves far more address space than any limit that "
                    "would make a long line run out of memory";
  }
  constexpr std::size_t megabyte = 1 << 20;
  ProgramOptions options;
  options.addressSpaceLimit = 256 * megabyte;
  const ProgramRun run = runProgram({{std::string(megabyte, 'x'), 400}, {"\nexit\n"}}, options);
  EXPECT_EQ(run.output, prompt);
  EXPECT_EQ(run.errors, "phonebook: out of memory\n");
  EXPECT_EQ(run.status, 1);
}

}  // namespace
}  // namespace phonebook::test
