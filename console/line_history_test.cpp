#include "console/line_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace phonebook {
namespace {

using Lines = std::vector<std::string>;

// Each line as its first byte and its size, which tell the lines of the cases apart.
Lines shapes(const auto& lines) {
  Lines shapes;
  for (const std::string& line : lines) {
    shapes.push_back(line.substr(0, 1) + std::to_string(line.size()));
  }
  return shapes;
}

TEST(LineHistoryTest, KeepsLinesAsTypedWithinItsBounds) {
  const std::string a(LineHistory::mostBytes / 2, 'a');
  const std::string b(LineHistory::mostBytes / 2, 'b');
  const std::string whole(LineHistory::mostBytes, 'w');
  Lines numbered;  // one more line than it keeps
  for (std::size_t i = 0; i <= LineHistory::mostLines; ++i) {
    numbered.push_back(std::to_string(i));
  }
  const struct {
    Lines typed;
    std::size_t added;  // how many of them add() took
    Lines kept;         // oldest first
  } cases[] = {
      {{"a", "", "a", "a", "b ", "a", "b "}, 4, {"a", "b ", "a", "b "}},
      {numbered, numbered.size(), Lines(numbered.begin() + 1, numbered.end())},
      {{"x", a, b}, 3, {a, b}},
      {{"x", a + "!", b}, 3, {b}},
      {{"x", whole}, 2, {whole}},
      {{"x", whole + "!"}, 1, {"x"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(shapes(c.typed)).substr(0, 80));
    LineHistory history;
    std::size_t added = 0;
    for (const std::string& line : c.typed) {
      added += history.add(line) ? 1 : 0;
    }
    EXPECT_EQ(added, c.added);
    EXPECT_EQ(shapes(history.lines()), shapes(c.kept));
  }
}

}  // namespace
}  // namespace phonebook
