#include "phonebook/phone_book.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "contacts/kinds.h"
#include "phonebook/commands.h"
#include "tests/phone_book_model.h"
#include "tests/script.h"
#include "tests/texts.h"

namespace phonebook {
namespace {

class PhoneBookTest : public ::testing::Test {
 protected:
  void SetUp() override { phoneBook.clear(); }
  void TearDown() override { phoneBook.clear(); }

  static std::string listing() { return test::captureOutput("", printPhoneBook); }

  static void addThree() {
    phoneBook.add(std::make_unique<Person>("Ann", "Lee", 1012345678));
    phoneBook.add(std::make_unique<Work>("Bob", "Kim", 212345678, "Sales"));
    phoneBook.add(std::make_unique<Friend>("Cy", "Oh", 1000010001, 7));
  }
};

TEST_F(PhoneBookTest, EmptyListingIsTheHeaderAlone) { EXPECT_EQ(listing(), test::listingHeader); }

TEST_F(PhoneBookTest, ListsEntriesNumberedInOrderOfAddition) {
  addThree();
  EXPECT_EQ(listing(), test::listingHeader +
                           "1. Ann Lee_010-1234-5678\n"
                           "2. Bob Kim_02-1234-5678_Sales\n"
                           "3. Cy Oh_010-0001-0001_7\n");
  // Numbered in decimal however long the list, past 9, 99 and 999 too.
  std::string expected = listing();
  for (int position = 4; position <= 1000; ++position) {
    phoneBook.add(std::make_unique<Person>("Dee", "Park", 200123456));
    expected += std::to_string(position) + ". Dee Park_02-0012-3456\n";
  }
  EXPECT_EQ(listing(), expected);
}

TEST(PhoneBookModelTest, AddsAndRemovesAgreeWithAPlainListAtEveryStep) {
  // Seeded random runs over many blocks of entries: the list grows to thousands, shrinks, grows
  // again past blocks that emptied before, empties and grows once more. Each step goes mostly
  // towards the next size and now and then the other way; a removal's position is drawn from the
  // whole list and one past each end.
  for (const unsigned seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    test::PhoneBookModel book;
    for (const std::size_t size : {1500u, 200u, 2000u, 0u, 300u}) {
      while (book.count() != size) {
        if ((random() % 4 != 0) == (book.count() < size)) {
          book.add();
        } else {
          book.remove(random() % (book.count() + 2));
        }
        ASSERT_EQ(book.difference(), "") << "seed " << seed;
      }
    }
  }
}

TEST_F(PhoneBookTest, CommandThreeListsThePhoneBook) {
  EXPECT_EQ(test::runScript("3\nexit\n").output, test::prompt + test::listingHeader + test::prompt);
}

}  // namespace
}  // namespace phonebook
