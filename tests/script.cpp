#include "tests/script.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <utility>

#include "app/command_loop.h"
#include "console/console.h"
#include "contacts/birthday.h"
#include "phonebook/phone_book.h"
#include "tests/texts.h"

namespace phonebook::test {

namespace {

// Where the line of `text` that begins at `from` ends: just after its line feed, or at the end.
std::size_t lineEnd(const std::string& text, std::size_t from) {
  const std::size_t lineFeed = text.find('\n', from);
  return lineFeed == std::string::npos ? text.size() : lineFeed + 1;
}

}  // namespace

Transcript runScript(std::string_view input, bool outputIsTerminal) {
  phoneBook.clear();
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  int status = 0;
  {
    const ConsoleRedirect redirect(*in.rdbuf(), *out.rdbuf(), outputIsTerminal);
    status = runCommandLoop();
  }
  phoneBook.clear();
  return {out.str(), status};
}

StandardStreams::StandardStreams(std::streambuf& input, std::streambuf& output,
                                 std::streambuf& errors, platform::LineEditor* editor)
    : redirect_(input, output, editor != nullptr, editor), savedErrors_(std::cerr.rdbuf(&errors)) {}

StandardStreams::~StandardStreams() { std::cerr.rdbuf(savedErrors_); }

std::string captureOutput(std::string_view input, const std::function<void()>& dialogue,
                          bool outputIsTerminal) {
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  {
    const ConsoleRedirect redirect(*in.rdbuf(), *out.rdbuf(), outputIsTerminal);
    dialogue();
  }
  return out.str();
}

Output::Output(std::size_t failAt, Failure failure) : failAt_(failAt), failure_(failure) {
  taken.reserve(std::size_t{1} << 20);
  ends.reserve(4096);
}

std::vector<std::string> Output::blocks() const {
  std::vector<std::string> all;
  std::size_t begin = 0;
  for (const std::size_t end : ends) {
    all.push_back(taken.substr(begin, end - begin));
    begin = end;
  }
  return all;
}

std::streamsize Output::xsputn(const char* data, std::streamsize size) {
  std::streamsize count = size;
  if (ends.size() + 1 == failAt_) {
    count = failure_ == Failure::Refused ? 0 : size / 2;
  }
  taken.append(data, static_cast<std::size_t>(count));
  ends.push_back(taken.size());
  if (count < size && failure_ == Failure::Interrupted) {
    throw Interrupted();
  }
  return count;
}

Output::int_type Output::overflow(int_type c) {
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    taken.push_back(traits_type::to_char_type(c));
  }
  return traits_type::not_eof(c);
}

LineAtATime::LineAtATime(std::string text, std::function<void()> beforeEachRead)
    : text_(std::move(text)), beforeEachRead_(std::move(beforeEachRead)) {}

std::streamsize LineAtATime::xsgetn(char* data, std::streamsize size) {
  if (beforeEachRead_) {
    beforeEachRead_();
  }
  const std::size_t count = std::min(lineEnd(text_, next_) - next_, static_cast<std::size_t>(size));
  text_.copy(data, count, next_);
  next_ += count;
  return static_cast<std::streamsize>(count);
}

Typist::Typist(std::string text, int error) : text_(std::move(text)), error_(error) {}

platform::EditedLine Typist::editLine(std::string_view shown) {
  prompts.emplace_back(shown);
  if (next_ == text_.size()) {
    return {{}, error_ == 0, false, error_};
  }
  const std::size_t end = lineEnd(text_, next_);
  std::string_view line = std::string_view(text_).substr(next_, end - next_);
  next_ = end;
  line = line.substr(0, line.find_last_not_of("\r\n") + 1);  // Enter, not part of the line
  if (line == "\x03") {
    return {{}, false, true};
  }
  return {line};
}

std::string birthdayIn(int daysAhead, const char* year) {
  using namespace std::chrono;
  const year_month_day date{sys_days{localToday()} + days(daysAhead)};
  char text[16];
  std::snprintf(text, sizeof text, "%.2s%02u%02u", year, unsigned(date.month()),
                unsigned(date.day()));
  return text;
}

}  // namespace phonebook::test
