#include "phonebook/phone_book.h"

#include <iterator>
#include <utility>

namespace phonebook {

PhoneBook phoneBook;

void PhoneBook::add(std::unique_ptr<Person> entry) { entries_.push_back(std::move(entry)); }

bool PhoneBook::remove(std::size_t position) {
  if (position < 1 || position > entries_.size()) {
    return false;
  }
  entries_.erase(std::next(entries_.begin(), static_cast<std::ptrdiff_t>(position - 1)));
  return true;
}

}  // namespace phonebook
