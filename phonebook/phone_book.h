// The phone book: the one list of contacts of a run, kept in memory in the order they were added.
// Entries are numbered from 1 in that order; the listing shows the numbers and removal takes them.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>

#include "contacts/person.h"

namespace phonebook {

class PhoneBook {
 public:
  // Appends the entry at the end; the phone book owns it from then on.
  void add(std::unique_ptr<Person> entry);

  std::size_t count() const { return entries_.size(); }

  // Destroys the entry at `position`, counted from 1; every later entry moves up one place and
  // the order stays as it was. Returns false, and changes nothing, when there is no such entry.
  bool remove(std::size_t position);

  void clear() { entries_.clear(); }

  // The entries in order.
  auto begin() const { return entries_.cbegin(); }
  auto end() const { return entries_.cend(); }

 private:
  // A deque, so that removing the first entry costs the same however long the list is.
  std::deque<std::unique_ptr<Person>> entries_;
};

// The phone book of this run: empty at start, discarded without output at the end.
extern PhoneBook phoneBook;

}  // namespace phonebook
