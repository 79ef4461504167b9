#include "phonebook/phone_book.h"

#include <iterator>
#include <utility>

namespace phonebook {

PhoneBook phoneBook;

void PhoneBook::add(std::unique_ptr<Person> entry) {
  if (blocks_.empty() || blocks_.back().size() == blockSize) {
    blocks_.emplace_back().reserve(blockSize);
  }
  blocks_.back().push_back(std::move(entry));
  ++count_;
}

bool PhoneBook::remove(std::size_t position) {
  if (position < 1 || position > count_) {
    return false;
  }
  std::size_t index = position - 1;
  auto block = blocks_.begin();
  while (index >= block->size()) {
    index -= block->size();
    ++block;
  }
  block->erase(std::next(block->begin(), static_cast<std::ptrdiff_t>(index)));
  if (block->empty()) {
    blocks_.erase(block);
  }
  --count_;
  return true;
}

void PhoneBook::clear() {
  blocks_.clear();
  count_ = 0;
}

}  // namespace phonebook
