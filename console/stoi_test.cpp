#include "console/stoi.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

namespace phonebook {
namespace {

enum class Failure { None, InvalidArgument, OutOfRange };

struct Case {
  std::string text;
  std::int32_t value;
  Failure failure;
};

TEST(StoiTest, TakesTheNumberAtTheFrontOfTheText) {
  const Case cases[] = {
      {"  42abc", 42, Failure::None},
      {"+7", 7, Failure::None},
      {"-0", 0, Failure::None},
      {"010", 10, Failure::None},
      {"0x10", 0, Failure::None},
      {"\t\n\v\f\r 5", 5, Failure::None},
      {"25 years", 25, Failure::None},
      {"-12-34", -12, Failure::None},
      {"2147483647", 2147483647, Failure::None},
      {"-2147483648", -2147483647 - 1, Failure::None},
      {"0000000000000000000000000000012", 12, Failure::None},
      {"", 0, Failure::InvalidArgument},
      {"   ", 0, Failure::InvalidArgument},
      {"abc", 0, Failure::InvalidArgument},
      {"-", 0, Failure::InvalidArgument},
      {"+", 0, Failure::InvalidArgument},
      {"+-1", 0, Failure::InvalidArgument},
      {"- 1", 0, Failure::InvalidArgument},
      {"\xA0"
       "1",
       0, Failure::InvalidArgument},
      {"2147483648", 0, Failure::OutOfRange},
      {"-2147483649", 0, Failure::OutOfRange},
      {"21474836480", 0, Failure::OutOfRange},
      {"-21474836480", 0, Failure::OutOfRange},
      {"-2147483648000000000000", 0, Failure::OutOfRange},
      {"99999999999999999999999999999999999999999", 0, Failure::OutOfRange},
      {"-99999999999999999999999999999999999999999x", 0, Failure::OutOfRange},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text: \"" + c.text + "\"");
    switch (c.failure) {
      case Failure::None:
        EXPECT_EQ(phonebook::stoi(c.text), c.value);
        break;
      case Failure::InvalidArgument:
        try {
          phonebook::stoi(c.text);
          ADD_FAILURE() << "no failure";
        } catch (const std::invalid_argument& e) {
          EXPECT_STREQ(e.what(), "invalid stoi argument");
        }
        break;
      case Failure::OutOfRange:
        try {
          phonebook::stoi(c.text);
          ADD_FAILURE() << "no failure";
        } catch (const std::out_of_range& e) {
          EXPECT_STREQ(e.what(), "stoi argument out of range");
        }
        break;
    }
  }
}

}  // namespace
}  // namespace phonebook
