#include "console/console.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
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
      lines.push_back(readLine());
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
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("input: \"" + c.input.substr(0, 20) + "\"");
    EXPECT_EQ(linesOf(c.input), c.lines);
  }
}

// An output buffer that shows only what has been flushed, and an input buffer that notes what
// had been flushed at the moment the program first asked it for input.
class FlushRecorder : public std::stringbuf {
 public:
  std::string flushed;

 protected:
  int sync() override {
    flushed = str();
    return 0;
  }
};

class WatchingInput : public std::streambuf {
 public:
  WatchingInput(std::string text, const FlushRecorder& output)
      : text_(std::move(text)), output_(output) {}
  std::string flushedWhenRead;

 protected:
  int_type underflow() override {
    if (gptr() == egptr() && !served_) {
      served_ = true;
      flushedWhenRead = output_.flushed;
      setg(text_.data(), text_.data(), text_.data() + text_.size());
    }
    return gptr() < egptr() ? traits_type::to_int_type(*gptr()) : traits_type::eof();
  }

 private:
  std::string text_;
  const FlushRecorder& output_;
  bool served_ = false;
};

TEST(ReadLineTest, PromptIsFlushedBeforeReading) {
  FlushRecorder output;
  WatchingInput input("Ann Lee\n", output);
  const ConsoleRedirect redirect(input, output);
  writePrompt("Name: ");
  EXPECT_EQ(readLine(), "Ann Lee");
  EXPECT_EQ(input.flushedWhenRead, "Name: ");
}

TEST(WriteTest, LinesAreFlushedAndPromptsAreNot) {
  FlushRecorder output;
  std::stringbuf input;
  const ConsoleRedirect redirect(input, output);
  writeLine("Phone Book Print");
  EXPECT_EQ(output.flushed, "Phone Book Print\n");
  writePrompt("QZ-4821-07356>");
  refuse("Invalid Name.");
  EXPECT_EQ(output.flushed, "Phone Book Print\nQZ-4821-07356>Invalid Name.\nPlease try again.\n");
}

TEST(WriteTest, FailedOutputIsReported) {
  test::FullOutput output;
  std::stringbuf input;
  const ConsoleRedirect redirect(input, output);
  try {
    writeLine("Phone Book Print");
    FAIL() << "the failed write went unnoticed";
  } catch (const ConsoleFailure& failure) {
    EXPECT_EQ(std::string(failure.what()).rfind("cannot write to standard output", 0), 0u)
        << failure.what();
  }
}

}  // namespace
}  // namespace phonebook
