#include "console/console.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/script.h"

namespace phonebook {
namespace {

// Every line that readLine gives for `input`, up to the end of input.
std::vector<std::string> linesOf(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  const ConsoleRedirect redirect(*in.rdbuf(), *out.rdbuf());
  std::vector<std::string> lines;
  try {
    for (;;) {
      lines.emplace_back(readLine(""));
    }
  } catch (const EndOfInput&) {
  }
  return lines;
}

TEST(ReadLineTest, SplitsInputIntoLines) {
  using Lines = std::vector<std::string>;
  const struct {
    std::string input;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"\n", {""}},
      {"a\nb\n", {"a", "b"}},
      {"a\n\nb", {"a", "", "b"}},  // a last line without a line feed is still a line
      {"exit\r\n", {"exit"}},      // a carriage return before the line feed is dropped
      {"\r\n\r\n", {"", ""}},
      {"a\r", {"a\r"}},  // not before a line feed: kept
      {"a\rb\n", {"a\rb"}},
      {"a\r\r\n", {"a\r"}},
      {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
      {std::string(100000, 'x') + "\ny", {std::string(100000, 'x'), "y"}},
      // The input buffer holds 64 KiB: a line feed as its last byte, and one in the next read
      // after a carriage return as its last byte.
      {std::string(65535, 'x') + "\ny", {std::string(65535, 'x'), "y"}},
      {std::string(65535, 'x') + "\r\ny", {std::string(65535, 'x'), "y"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("input: \"" + c.input.substr(0, 20) + "\"");
    EXPECT_EQ(linesOf(c.input), c.lines);
  }
}

using Blocks = std::vector<std::string>;

TEST(HandOverTest, OutputGoesOutBeforeEachReadAndAtTheEndOnly) {
  const auto dialogue = [] {
    writeLine("one");
    EXPECT_EQ(readLine("p>"), "a");
    writeLine("two");
    EXPECT_EQ(readLine("q>"), "b");
    EXPECT_THROW(readLine("r>"), EndOfInput);
    writeLine("last");
  };

  // Typed a line at a time: every prompt is out before the program waits for the next line.
  test::Output typedOutput;
  Blocks shownAtEachRead;
  test::LineAtATime typed("a\nb\n", [&] { shownAtEachRead.push_back(typedOutput.taken); });
  {
    const ConsoleRedirect redirect(typed, typedOutput);
    dialogue();
  }
  EXPECT_EQ(shownAtEachRead, (Blocks{"one\np>", "one\np>two\nq>", "one\np>two\nq>r>"}));
  EXPECT_EQ(typedOutput.blocks(), (Blocks{"one\np>", "two\nq>", "r>", "last\n"}));

  // Input that is all there at once: the program reads again only at its end.
  test::Output batchOutput;
  std::stringbuf batch("a\nb\n");
  {
    const ConsoleRedirect redirect(batch, batchOutput);
    dialogue();
  }
  EXPECT_EQ(batchOutput.blocks(), (Blocks{"one\np>", "two\nq>r>", "last\n"}));

  // Typed at a line editor, which shows each prompt itself and returns the line as it stands.
  test::Output editedOutput;
  test::Typist typist("a\r\nb\n");
  {
    const ConsoleRedirect redirect(batch, editedOutput, true, &typist);
    dialogue();
  }
  EXPECT_EQ(editedOutput.blocks(), (Blocks{"one\n", "two\n", "last\n"}));
  EXPECT_EQ(typist.prompts, (Blocks{"p>", "q>", "r>"}));
}

TEST(HandOverTest, LongOutputGoesOutInFullBlocks) {
  test::Output output;
  std::stringbuf input;
  const std::string piece(1000, 'a');
  const std::string large(200000, 'b');
  {
    const ConsoleRedirect redirect(input, output);
    for (int i = 0; i < 200; ++i) {
      writeText(piece);
    }
    writeText(large);  // the buffer's rest, and then the remainder as it is
  }
  // Where each hand-over ended.
  EXPECT_EQ(output.ends, (std::vector<std::size_t>{65536, 131072, 196608, 262144, 400000}));
  EXPECT_EQ(output.taken, std::string(200000, 'a') + large);
}

TEST(HandOverTest, TextEndsAtTheBufferEndWhateverItsLength) {
  // Output is gathered in 64 KiB: text copied in and numbers made in place, ending just before,
  // exactly at, and just after the buffer's last byte.
  constexpr std::size_t bufferSize = 65536;
  for (std::size_t room = 0; room <= 40; ++room) {
    SCOPED_TRACE(room);
    const std::string lines = std::string(bufferSize - room - 1, 'a') + "\n";
    EXPECT_EQ(test::captureOutput("",
                                  [&] {
                                    writeText(lines);
                                    writeText("0123456789");
                                    writeNumber(-2147483647 - 1);
                                  }),
              lines + "0123456789-2147483648");
  }
}

}  // namespace
}  // namespace phonebook
