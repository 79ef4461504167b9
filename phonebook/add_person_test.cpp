#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "contacts/birthday.h"
#include "phonebook/commands.h"
#include "phonebook/phone_book.h"
#include "tests/script.h"
#include "tests/texts.h"

namespace phonebook {
namespace {

using namespace test;

std::string noType(const std::string& number) {
  return "No corresponding type for input " + number + ".\n" + retry;
}

TEST(AddPersonTest, PlainPersonAfterRefusedTypesNameAndPhone) {
  const auto run = runScript(
      "1\n"
      "five\n\n0\n-5\n 7x\n+7\n07\n2147483648\n-2147483649\n1\n"
      "Ann\nAnn Lee\n"
      "011-1234-5678\n010-12a4-5678\n010-1234-5678\n"
      "3\nexit\n");
  EXPECT_EQ(run.output, transcript({
                            prompt + typeMenu + prompt + notAnInteger,  // five
                            typeMenu + prompt + notAnInteger,           // an empty line
                            typeMenu + prompt + noType("0"),
                            typeMenu + prompt + noType("-5"),
                            typeMenu + prompt + noType("7"),   // " 7x"
                            typeMenu + prompt + noType("7"),   // +7
                            typeMenu + prompt + noType("7"),   // 07
                            typeMenu + prompt + notAnInteger,  // past the 32-bit range
                            typeMenu + prompt + notAnInteger,
                            typeMenu + prompt,  // 1
                            namePrompt + invalid("Name"),
                            namePrompt,
                            phonePrompt + invalid("Phone number"),
                            phonePrompt + invalid("Phone number"),
                            phonePrompt + added,
                            prompt + listingHeader + "1. Ann Lee_010-1234-5678\n",
                            prompt,
                        }));
}

TEST(AddPersonTest, WorkContactWithLenientTypeAndEmptyTeam) {
  const auto run = runScript(
      "1\n2x\nBob Kim\n02-0012-3456\n\n"
      "1\n 2\nCy Oh\n010-0001-0001\nSales and Support\n"
      "3\nexit\n");
  EXPECT_EQ(run.output,
            transcript({
                prompt + typeMenu + prompt + namePrompt + phonePrompt + teamPrompt + added,
                prompt + typeMenu + prompt + namePrompt + phonePrompt + teamPrompt + added,
                prompt + listingHeader,
                "1. Bob Kim_02-0012-3456_\n",
                "2. Cy Oh_010-0001-0001_Sales and Support\n",
                prompt,
            }));
}

TEST(AddPersonTest, FamilyMemberAfterRefusedBirthdays) {
  // The days are counted as the list is printed: the run is repeated until it begins and ends on
  // one date.
  std::string birthday;
  Transcript run;
  for (auto day = localToday(); true; day = localToday()) {
    birthday = birthdayIn(0, "00");
    run = runScript("1\n3\nAnn Lee\n010-1234-5678\n000229\n99123\nab0101\n" + birthday +
                    "\n3\nexit\n");
    if (localToday() == day) {
      break;
    }
  }
  EXPECT_EQ(run.output,
            transcript({
                prompt + typeMenu + prompt + namePrompt + phonePrompt,
                birthdayPrompt + invalid("Birthday"),
                birthdayPrompt + invalid("Birthday"),
                birthdayPrompt + invalid("Birthday"),
                birthdayPrompt + added,
                prompt + listingHeader + "1. Ann Lee_010-1234-5678_" + birthday + "_0\n",
                prompt,
            }));
}

TEST(AddPersonTest, FriendAfterRefusedAges) {
  const auto run = runScript(
      "1\n4\nDee Park\n02-9999-9999\n-1\nabc\n\n2147483648\n25 years\n"
      "1\n4\nEd Yoo\n010-0000-0000\n0\n"
      "3\nexit\n");
  EXPECT_EQ(run.output,
            transcript({
                prompt + typeMenu + prompt + namePrompt + phonePrompt,
                agePrompt + invalid("Age"),  // -1
                agePrompt + invalid("Age"),  // abc
                agePrompt + invalid("Age"),  // an empty line
                agePrompt + invalid("Age"),  // past the 32-bit range
                agePrompt + added,
                prompt + typeMenu + prompt + namePrompt + phonePrompt + agePrompt + added,
                prompt + listingHeader,
                "1. Dee Park_02-9999-9999_25\n",
                "2. Ed Yoo_010-0000-0000_0\n",
                prompt,
            }));
}

TEST(AddPersonTest, EndOfInputEndsTheRunAndAddsNothing) {
  const struct {
    std::string input;
    std::string output;
  } cases[] = {
      {"1\n", prompt + typeMenu + prompt},
      {"1\nx\n", prompt + typeMenu + prompt + notAnInteger + typeMenu + prompt},
      {"1\n5\n", prompt + typeMenu + prompt + noType("5") + typeMenu + prompt},
      {"1\n4\nAnn Lee\n010-1234-5678\n",
       prompt + typeMenu + prompt + namePrompt + phonePrompt + agePrompt},
      {"1\n3\nAnn Lee\n010-1234-5678\n990230", prompt + typeMenu + prompt + namePrompt +
                                                   phonePrompt + birthdayPrompt +
                                                   invalid("Birthday") + birthdayPrompt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    const auto run = runScript(c.input);
    EXPECT_EQ(run.output, c.output);
    EXPECT_EQ(run.status, 0);

    phoneBook.clear();
    EXPECT_THROW(captureOutput(c.input.substr(2), addPerson), EndOfInput);
    EXPECT_EQ(phoneBook.count(), 0u);
  }
}

}  // namespace
}  // namespace phonebook
