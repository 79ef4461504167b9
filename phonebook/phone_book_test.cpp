#include "phonebook/phone_book.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "contacts/kinds.h"
#include "phonebook/commands.h"
#include "tests/script.h"

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

TEST_F(PhoneBookTest, EmptyListingIsTheHeaderAlone) { EXPECT_EQ(listing(), "Phone Book Print\n"); }

TEST_F(PhoneBookTest, ListsEntriesNumberedInOrderOfAddition) {
  addThree();
  EXPECT_EQ(listing(),
            "Phone Book Print\n"
            "1. Ann Lee_010-1234-5678\n"
            "2. Bob Kim_02-1234-5678_Sales\n"
            "3. Cy Oh_010-0001-0001_7\n");
}

TEST_F(PhoneBookTest, RemovingMovesLaterEntriesUp) {
  addThree();
  EXPECT_FALSE(phoneBook.remove(0));
  EXPECT_FALSE(phoneBook.remove(4));
  EXPECT_EQ(phoneBook.count(), 3u);

  EXPECT_TRUE(phoneBook.remove(1));
  EXPECT_EQ(listing(),
            "Phone Book Print\n"
            "1. Bob Kim_02-1234-5678_Sales\n"
            "2. Cy Oh_010-0001-0001_7\n");

  EXPECT_TRUE(phoneBook.remove(2));
  EXPECT_EQ(listing(), "Phone Book Print\n1. Bob Kim_02-1234-5678_Sales\n");
}

TEST_F(PhoneBookTest, RemovalKeepsTheOrderOfThousandsOfEntries) {
  // Entries are told apart by their age; a plain list of the ages is the model to compare with.
  // Blocks empty and go while new entries keep coming at the end.
  std::vector<int> model;
  int nextAge = 0;
  const auto addOne = [&] {
    phoneBook.add(std::make_unique<Friend>("A", "B", 1012345678, nextAge));
    model.push_back(nextAge++);
  };
  for (int i = 0; i < 3000; ++i) {
    addOne();
  }
  std::mt19937 random(7);
  for (int step = 1; !model.empty(); ++step) {
    const std::size_t position = random() % model.size() + 1;
    ASSERT_TRUE(phoneBook.remove(position));
    model.erase(model.begin() + static_cast<std::ptrdiff_t>(position - 1));
    if (step % 5 == 0 && nextAge < 4000) {
      addOne();
    }
    if (step % 397 == 0 || model.size() < 3) {
      std::string expected = "Phone Book Print\n";
      for (std::size_t i = 0; i < model.size(); ++i) {
        expected +=
            std::to_string(i + 1) + ". A B_010-1234-5678_" + std::to_string(model[i]) + "\n";
      }
      ASSERT_EQ(listing(), expected) << model.size() << " left";
    }
  }
  EXPECT_EQ(phoneBook.count(), 0u);
  EXPECT_FALSE(phoneBook.remove(1));
  phoneBook.add(std::make_unique<Person>("Ann", "Lee", 1012345678));
  EXPECT_EQ(listing(), "Phone Book Print\n1. Ann Lee_010-1234-5678\n");
}

TEST_F(PhoneBookTest, CommandThreeListsThePhoneBook) {
  EXPECT_EQ(test::runScript("3\nexit\n").output, "QZ-4821-07356>Phone Book Print\nQZ-4821-07356>");
}

}  // namespace
}  // namespace phonebook
