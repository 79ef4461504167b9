#include <gtest/gtest.h>

#include <string>

#include "tests/script.h"
#include "tests/texts.h"

namespace phonebook {
namespace {

using namespace test;

// Adds plain contacts named A A, B B, ... with the same phone number.
std::string addContacts(int count) {
  std::string script;
  for (int i = 0; i < count; ++i) {
    const char letter = static_cast<char>('A' + i);
    script += "1\n1\n";
    script += {letter, ' ', letter};
    script += "\n010-1234-5678\n";
  }
  return script;
}

std::string addedContacts(int count) {
  std::string output;
  for (int i = 0; i < count; ++i) {
    output += transcript({prompt, typeMenu, prompt, namePrompt, phonePrompt, added});
  }
  return output;
}

TEST(RemovePersonTest, EmptyPhoneBookHasNoOne) {
  const auto run = runScript("2\n0\n2\n1\n2\n-1\nexit\n");
  EXPECT_EQ(run.output, prompt + indexPrompt + noSuchPerson + prompt + indexPrompt + noSuchPerson +
                            prompt + indexPrompt + noSuchPerson + prompt);
}

TEST(RemovePersonTest, RemovesByListedPosition) {
  const auto run = runScript(addContacts(3) +
                             "2\n4\n"                      // one past the last
                             "2\n3\n"                      // the last
                             "2\nabc\n\n2147483648\n 1\n"  // refused indexes, then " 1"
                             "3\n"
                             "2\n1abc\n"
                             "3\nexit\n");
  EXPECT_EQ(run.output, transcript({
                            addedContacts(3),
                            prompt + indexPrompt + noSuchPerson,
                            prompt + indexPrompt + removed,
                            prompt + indexPrompt + notAnInteger,
                            indexPrompt + notAnInteger,
                            indexPrompt + notAnInteger,
                            indexPrompt + removed,
                            prompt + listingHeader + "1. B B_010-1234-5678\n",
                            prompt + indexPrompt + removed,
                            prompt + listingHeader,
                            prompt,
                        }));
}

TEST(RemovePersonTest, LaterEntriesMoveUp) {
  const auto run = runScript(addContacts(3) + "2\n1\n3\nexit\n");
  EXPECT_EQ(run.output, addedContacts(3) + prompt + indexPrompt + removed + prompt + listingHeader +
                            "1. B B_010-1234-5678\n2. C C_010-1234-5678\n" + prompt);
}

TEST(RemovePersonTest, EndOfInputAtTheIndexEndsTheRun) {
  const auto run = runScript(addContacts(1) + "2\nx\n");
  EXPECT_EQ(run.output, addedContacts(1) + prompt + indexPrompt + notAnInteger + indexPrompt);
  EXPECT_EQ(run.status, 0);
}

}  // namespace
}  // namespace phonebook
