#include "app/command_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "console/console.h"
#include "contacts/kinds.h"
#include "contacts/person.h"
#include "phonebook/commands.h"
#include "phonebook/phone_book.h"
#include "tests/allocations.h"
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

// A contact of each kind, with refusals, a team longer than the input buffer with CR LF line
// ends and a command line longer than the input buffer; the family member is removed, and the
// rest listed.
const std::string longTeam(70000, 't');
const std::string session =
    "1\n9\n1\nAnn\nAnn Lee\n010-1234-5678\n"
    "1\r\n2\r\nBob Kim\r\n02-1234-5678\r\n" +
    longTeam +
    "\r\n"
    "1\n3\nCy Oh\n010-0001-0001\n990315\n" +
    std::string(100000, 'x') +
    "\n"
    "1\n4\nDee Park\n02-0012-3456\n25\n"
    "2\n3\n3\nexit\n";
const std::string sessionListing = listingHeader +
                                   "1. Ann Lee_010-1234-5678\n2. Bob Kim_02-1234-5678_" + longTeam +
                                   "\n3. Dee Park_02-0012-3456_25\n";

// The names the phone book lists, in order.
std::vector<std::string> namesListed() {
  std::vector<std::string> names;
  std::istringstream listing(captureOutput("", printPhoneBook));
  std::string line;
  std::getline(listing, line);  // the header
  while (std::getline(listing, line)) {
    const std::size_t start = line.find(". ") + 2;
    names.push_back(line.substr(start, line.find('_') - start));
  }
  return names;
}

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// How the session reaches the program: all there at once (a file), a line at a time (a pipe from
// a program that answers each prompt), or typed at a terminal's line editor.
enum class Arrival { AllAtOnce, LineAtATime, Edited };
const struct {
  Arrival arrival;
  const char* name;
} arrivals[] = {{Arrival::AllAtOnce, "all at once"},
                {Arrival::LineAtATime, "a line at a time"},
                {Arrival::Edited, "at a line editor"}};

struct SessionRun {
  int status;
  std::size_t allocations;  // asked for, failed ones included
};

// Runs the session on an empty phone book, arriving as `arrival` says, into the buffers given;
// memory runs out at the `failFrom`-th allocation (0: never). At the line editor only `typed` is
// typed, and then the terminal fails with `readError` (0: input ends).
SessionRun runSession(Arrival arrival, Output& output, std::streambuf& errors,
                      std::size_t failFrom = 0, const std::string& typed = session,
                      int readError = 0) {
  phoneBook.clear();
  std::stringbuf all(session);
  LineAtATime lines(session);
  Typist typist(typed, readError);
  const StandardStreams streams(
      arrival == Arrival::LineAtATime ? static_cast<std::streambuf&>(lines) : all, output, errors,
      arrival == Arrival::Edited ? &typist : nullptr);
  const AllocationFailure failure(failFrom);
  return {runCommandLoop(), failure.count()};
}

// Checks a session that failed part-way: `message` comes last, after what the full run also wrote;
// what that output confirms is exactly what the phone book holds, and the phone book still works.
void expectEndedCleanly(const std::string& taken, const std::string& full,
                        const std::string& message) {
  ASSERT_TRUE(taken.ends_with(message)) << taken;
  const std::string written = taken.substr(0, taken.size() - message.size());
  ASSERT_EQ(written, full.substr(0, written.size()));
  const std::vector<std::string> names = {"Ann Lee", "Bob Kim", "Cy Oh", "Dee Park"};
  std::vector<std::string> held(
      names.begin(), names.begin() + static_cast<std::ptrdiff_t>(occurrences(written, added)));
  if (written.find(removed) != std::string::npos) {
    held.erase(held.begin() + 2);
  }
  ASSERT_EQ(namesListed(), held);
  phoneBook.add(std::make_unique<Person>("Zed", "Zed", 1012345678));
  held.emplace_back("Zed Zed");
  ASSERT_EQ(namesListed(), held);
}

TEST(CommandLoopTest, MemoryRunningOutAtAnyAllocationEndsTheRunCleanly) {
  // Memory runs out at the 1st, 2nd, 3rd, ... allocation of the session until it needs no more.
  const std::string outOfMemory = "phonebook: out of memory\n";
  for (const auto [arrival, name] : arrivals) {
    Output full;
    ASSERT_EQ(runSession(arrival, full, full).status, 0);
    ASSERT_NE(full.taken.find(sessionListing), std::string::npos) << name;
    for (std::size_t k = 1;; ++k) {
      SCOPED_TRACE(testing::Message() << name << ", allocation " << k << " fails");
      Output output;
      const SessionRun run = runSession(arrival, output, output, k);
      if (run.allocations < k) {
        ASSERT_EQ(run.status, 0);
        EXPECT_EQ(output.taken, full.taken);
        break;
      }
      ASSERT_EQ(run.status, 1);
      ASSERT_NO_FATAL_FAILURE(expectEndedCleanly(output.taken, full.taken, outOfMemory));
    }
  }
  phoneBook.clear();
}

TEST(CommandLoopTest, TerminalFailingOrCtrlCAtAnyReadKeepsThePhoneBook) {
  // At the 1st, 2nd, 3rd, ... line of the session, the terminal can no longer be read (it has hung
  // up): the run ends with status 1 and the system's reason. Or the user presses Ctrl-C there: the
  // command under way is abandoned and the command prompt comes back, where input ends.
  const std::string failure =
      "phonebook: cannot read standard input: " + std::string(std::strerror(EIO)) + "\n";
  Output full;
  ASSERT_EQ(runSession(Arrival::Edited, full, full).status, 0);
  for (std::size_t typed = 0; typed < session.size(); typed = session.find('\n', typed) + 1) {
    SCOPED_TRACE(testing::Message() << "after " << typed << " bytes");
    Output failed;
    ASSERT_EQ(runSession(Arrival::Edited, failed, failed, 0, session.substr(0, typed), EIO).status,
              1);
    ASSERT_NO_FATAL_FAILURE(expectEndedCleanly(failed.taken, full.taken, failure));
    Output abandoned;
    const std::string ctrlC = session.substr(0, typed) + "\x03\n";
    ASSERT_EQ(runSession(Arrival::Edited, abandoned, abandoned, 0, ctrlC).status, 0);
    ASSERT_NO_FATAL_FAILURE(expectEndedCleanly(abandoned.taken, full.taken, "\n"));
  }
  phoneBook.clear();
}

TEST(CommandLoopTest, CtrlCDuringAnyHandOverOfAListingStopsOnlyThatListing) {
  // A contact whose line takes more than one buffer is listed twice at the line editor, with the
  // k-th hand-over interrupted after half of it (0: none). What is left of that listing is dropped,
  // the next line starts fresh, and the rest of the session goes on.
  std::vector<Output> runs;
  std::stringbuf noInput;
  for (std::size_t k = 0; k <= 4; ++k) {
    phoneBook.clear();
    phoneBook.add(std::make_unique<Work>("Bob", "Kim", 212345678, longTeam));
    Typist typist("3\n3\nexit\n");
    Output& output = runs.emplace_back(k, Failure::Interrupted);
    const StandardStreams streams(noInput, output, output, &typist);
    EXPECT_EQ(runCommandLoop(), 0);
  }
  const std::string& full = runs[0].taken;  // handed over in four blocks
  for (std::size_t k = 1; k <= 4; ++k) {
    const std::size_t cut = runs[k].ends.at(k - 1);
    const std::size_t next = std::min(full.find(listingHeader, cut), full.size());
    EXPECT_EQ(runs[k].taken, full.substr(0, cut) + "\n" + full.substr(next)) << k;
  }
  phoneBook.clear();
}

TEST(CommandLoopTest, OutputFailingAtAnyHandOverEndsTheRunCleanly) {
  // Each hand-over in turn is refused, or taken only in part: the run ends with status 1 and the
  // reason said once, and nothing is written after it.
  for (const auto [arrival, name] : arrivals) {
    Output full;
    std::stringbuf noErrors;
    ASSERT_EQ(runSession(arrival, full, noErrors).status, 0);
    ASSERT_GE(full.ends.size(), 5u);
    for (const Failure failure : {Failure::Refused, Failure::InPart}) {
      const bool inPart = failure == Failure::InPart;
      for (std::size_t k = 1; k <= full.ends.size(); ++k) {
        SCOPED_TRACE(testing::Message()
                     << name << ", hand-over " << k << (inPart ? " taken in part" : ""));
        Output output(k, failure);
        std::stringbuf errors;
        EXPECT_EQ(runSession(arrival, output, errors).status, 1);
        EXPECT_EQ(errors.str(), "phonebook: cannot write to standard output\n");
        EXPECT_EQ(output.ends.size(), k) << "hand-overs tried";
        const std::size_t start = k == 1 ? 0 : full.ends[k - 2];
        const std::size_t taken = inPart ? (full.ends[k - 1] - start) / 2 : 0;
        EXPECT_EQ(output.taken, full.taken.substr(0, start + taken));
      }
    }
  }
  phoneBook.clear();
}

}  // namespace
}  // namespace phonebook
