// The lines typed at the line editor in this run, which Up and Down call back: kept in memory only,
// and bounded like everything else the program holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "console/platform.h"

namespace phonebook {

class LineHistory {
 public:
  static constexpr std::size_t mostLines = 500;
  static constexpr std::size_t mostBytes = platform::longLine;  // of all the lines together

  // Keeps `line` as the newest, byte for byte, letting the oldest lines go until the bounds hold
  // again. An empty line, a line the same as the newest and a line of more than mostBytes are not
  // kept. Returns whether the line was kept.
  bool add(std::string_view line);

  // Oldest first.
  const std::vector<std::string>& lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
  std::size_t bytes_ = 0;
};

}  // namespace phonebook
