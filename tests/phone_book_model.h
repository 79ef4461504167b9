// A phone book checked against a plain list: adds and removes go to both, and after every step
// the phone book must hold the list's entries in the list's order. The unit tests drive it with
// seeded random sequences, the fuzz target with the fuzzer's bytes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "contacts/person.h"
#include "phonebook/phone_book.h"

namespace phonebook::test {

class PhoneBookModel {
 public:
  // Adds a new entry at the end.
  void add();
  // Removes the entry at `position`, counted from 1; a position with no entry must be refused.
  void remove(std::size_t position);

  std::size_t count() const { return model_.size(); }

  // How the phone book first differed from the list, after which step; empty while they agree.
  const std::string& difference() const { return difference_; }

 private:
  void check(const char* step, std::size_t position, bool answeredRight);

  PhoneBook book_;
  std::vector<const Person*> model_;   // the entries the phone book owns, in their order
  std::vector<const Person*> listed_;  // what the phone book lists, kept for its capacity
  std::string difference_;
};

}  // namespace phonebook::test
