#include "contacts/person.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"
#include "tests/script.h"

namespace phonebook {
namespace {

TEST(WritePhoneTest, ListsTheNumberAsItWasTyped) {
  const struct {
    std::int32_t phoneNumber;
    const char* text;
  } cases[] = {
      {1012345678, "010-1234-5678"},
      {212345678, "02-1234-5678"},
      {1000010001, "010-0001-0001"},
      {200123456, "02-0012-3456"},
      {200000000, "02-0000-0000"},  // the first and last number of each prefix
      {299999999, "02-9999-9999"},
      {1000000000, "010-0000-0000"},
      {1099999999, "010-9999-9999"},
      {1012340000, "010-1234-0000"},
      {1000005678, "010-0000-5678"},
      {1001230123, "010-0123-0123"},  // a zero in front of each group
  };
  // Alone, and made in place at the end of the 64 KiB of output gathered before a hand-over.
  std::vector<std::size_t> before = {0};
  for (std::size_t filled = 65536 - 20; filled <= 65536; ++filled) {
    before.push_back(filled);
  }
  for (const auto& c : cases) {
    for (const std::size_t filled : before) {
      const std::string filler(filled, 'a');
      EXPECT_EQ(test::captureOutput("",
                                    [&] {
                                      writeText(filler);
                                      writePhone(c.phoneNumber);
                                    }),
                filler + c.text)
          << c.phoneNumber << " after " << filled << " bytes";
    }
  }
}

TEST(PersonTest, PrintsNameAndPhoneWithoutLineEnd) {
  const Person person("Ann", "Lee", 1012345678);
  EXPECT_EQ(test::captureOutput("", [&] { person.print(); }), "Ann Lee_010-1234-5678");
}

}  // namespace
}  // namespace phonebook
