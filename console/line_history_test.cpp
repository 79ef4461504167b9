#include "console/line_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace phonebook {
namespace {

TEST(LineHistoryTest, KeepsAtMostAMebibyteOfLinesTheOldestGoingFirst) {
  using Lines = std::vector<std::string>;
  const std::string a(LineHistory::mostBytes / 2, 'a');
  const std::string b(LineHistory::mostBytes / 2, 'b');
  const std::string whole(LineHistory::mostBytes, 'w');
  const struct {
    Lines typed;
    Lines kept;  // oldest first
  } cases[] = {{{"x", a, b}, {a, b}},
               {{"x", a + "!", b}, {b}},
               {{"x", whole}, {whole}},
               {{"x", whole + "!"}, {"x"}}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    LineHistory history;
    for (const std::string& line : cases[i].typed) {
      history.add(line);
    }
    // Not the lines themselves on failure, which are of half a megabyte.
    EXPECT_TRUE(Lines(history.lines().begin(), history.lines().end()) == cases[i].kept) << i;
  }
}

}  // namespace
}  // namespace phonebook
