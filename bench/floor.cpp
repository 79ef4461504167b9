// The floor the benchmark compares the program with: it replays a session's trace, reading each
// input line and writing the same bytes, with one write call at each point where the program
// flushes, and does nothing else. Usage: phonebook_floor TRACE < session > output
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "bench/trace.h"

namespace {

// The trace file, mapped into memory: reading it costs the floor next to nothing.
std::string_view mapFile(const char* path) {
  const int fd = ::open(path, O_RDONLY);
  struct stat status {};
  if (fd < 0 || ::fstat(fd, &status) != 0 || status.st_size == 0) {
    return {};
  }
  const auto size = static_cast<std::size_t>(status.st_size);
  void* const data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
  ::close(fd);
  return data == MAP_FAILED ? std::string_view() : std::string_view(static_cast<char*>(data), size);
}

// Standard input, a line at a time, through a buffer.
class LineReader {
 public:
  // Consumes one line; false at the end of input.
  bool skipLine() {
    for (;;) {
      if (next_ == end_) {
        const ssize_t n = ::read(STDIN_FILENO, buffer_.data(), buffer_.size());
        if (n <= 0) {
          return false;
        }
        next_ = buffer_.data();
        end_ = next_ + n;
      }
      const void* lineFeed = std::memchr(next_, '\n', static_cast<std::size_t>(end_ - next_));
      if (lineFeed != nullptr) {
        next_ = static_cast<const char*>(lineFeed) + 1;
        return true;
      }
      next_ = end_;
    }
  }

 private:
  std::array<char, 1 << 16> buffer_;
  const char* next_ = nullptr;
  const char* end_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: phonebook_floor TRACE < session > output\n");
    return 2;
  }
  const std::string_view trace = mapFile(argv[1]);
  LineReader input;
  for (std::size_t at = 0; at < trace.size();) {
    if (trace[at] == phonebook::bench::readRecord) {
      input.skipLine();
      ++at;
      continue;
    }
    std::uint64_t length = 0;
    std::memcpy(&length, trace.data() + at + 1, sizeof length);
    at += 1 + sizeof length;
    if (::write(STDOUT_FILENO, trace.data() + at, length) != static_cast<ssize_t>(length)) {
      return 1;
    }
    at += length;
  }
  return 0;
}
