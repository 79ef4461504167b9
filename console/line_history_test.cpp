#include "console/line_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace phonebook {
namespace {

TEST(LineHistoryTest, KeepsAtMostAMebibyteOfLinesTheOldestGoingFirst) {
  const std::string a(LineHistory::mostBytes / 2, 'a');
  const std::string b(LineHistory::mostBytes / 2, 'b');
  // Each row: the lines typed, then those kept, oldest first.
  const std::vector<std::vector<std::string>> rows[] = {
      {{"x", a, b}, {a, b}},
      {{"x", a + "!", b}, {b}},
      {{"x", std::string(LineHistory::mostBytes + 1, 'w')}, {"x"}}};
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    LineHistory history;
    for (const std::string& line : rows[i][0]) {
      history.add(line);
    }
    EXPECT_TRUE(history.lines() == rows[i][1]) << i;  // not the lines, of half a megabyte each
  }
}

}  // namespace
}  // namespace phonebook
