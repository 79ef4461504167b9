#include "bench/trace.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <streambuf>

#include "app/command_loop.h"
#include "console/console.h"
#include "phonebook/phone_book.h"

namespace phonebook::bench {

namespace {

// Gives the dialogue one line per request for input, as a terminal does, and notes each request
// as a read.
class LineByLineInput : public std::streambuf {
 public:
  LineByLineInput(std::string_view script, std::string& trace) : rest_(script), trace_(trace) {}

 protected:
  std::streamsize xsgetn(char* text, std::streamsize count) override {
    if (rest_.empty() || count <= 0) {
      return 0;
    }
    const std::size_t end = rest_.find('\n');
    const std::size_t length = std::min(end == std::string_view::npos ? rest_.size() : end + 1,
                                        static_cast<std::size_t>(count));
    rest_.copy(text, length);
    rest_.remove_prefix(length);
    trace_ += readRecord;
    return static_cast<std::streamsize>(length);
  }

 private:
  std::string_view rest_;
  std::string& trace_;
};

// Collects the dialogue's output and notes what each flush would write.
class FlushByFlushOutput : public std::streambuf {
 public:
  explicit FlushByFlushOutput(std::string& trace) : trace_(trace) {}

 protected:
  int_type overflow(int_type c) override {
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      pending_ += traits_type::to_char_type(c);
    }
    return traits_type::not_eof(c);
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    pending_.append(text, static_cast<std::size_t>(count));
    return count;
  }
  int sync() override {
    if (!pending_.empty()) {
      const std::uint64_t length = pending_.size();
      trace_ += writeRecord;
      trace_.append(reinterpret_cast<const char*>(&length), sizeof length);
      trace_ += pending_;
      pending_.clear();
    }
    return 0;
  }

 private:
  std::string pending_;
  std::string& trace_;
};

}  // namespace

std::string recordTrace(std::string_view script) {
  std::string trace;
  LineByLineInput input(script, trace);
  FlushByFlushOutput output(trace);
  {
    const ConsoleRedirect redirect(input, output);
    runCommandLoop();
  }
  phoneBook.clear();
  return trace;
}

}  // namespace phonebook::bench
