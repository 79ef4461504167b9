#include "tests/phone_book_model.h"

#include <iterator>
#include <memory>

namespace phonebook::test {

void PhoneBookModel::add() {
  auto entry = std::make_unique<Person>("Ann", "Lee", 1012345678);
  model_.push_back(entry.get());
  book_.add(std::move(entry));
  check("adding entry", model_.size(), true);
}

void PhoneBookModel::remove(std::size_t position) {
  const bool exists = position >= 1 && position <= model_.size();
  if (exists) {
    model_.erase(std::next(model_.begin(), static_cast<std::ptrdiff_t>(position - 1)));
  }
  check("removing position", position, book_.remove(position) == exists);
}

void PhoneBookModel::check(const char* step, std::size_t position, bool answeredRight) {
  if (!difference_.empty()) {
    return;
  }
  listed_.clear();
  book_.forEach([&](const Person& entry) { listed_.push_back(&entry); });
  if (!answeredRight || listed_ != model_ || book_.count() != model_.size()) {
    difference_ = std::string(step) + " " + std::to_string(position) + ": the phone book " +
                  (answeredRight ? "" : "answered otherwise, ") + "counts " +
                  std::to_string(book_.count()) + " and lists " + std::to_string(listed_.size()) +
                  (listed_ == model_ ? "" : ", not the list's in its order,") + " of " +
                  std::to_string(model_.size());
  }
}

}  // namespace phonebook::test
