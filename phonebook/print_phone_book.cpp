#include <array>
#include <cstddef>
#include <string_view>

#include "console/console.h"
#include "phonebook/commands.h"
#include "phonebook/phone_book.h"

namespace phonebook {

namespace {

// The numbers of the listing's lines, 1, 2, 3 and on, in decimal digits. Each comes from the one
// before as it would be counted on paper: the trailing nines become zeros and the digit before
// them goes up by one (a new 1 in front when they were all nines).
class LineNumber {
 public:
  std::string_view next() {
    std::size_t digit = digits_.size();
    while (digit > first_ && digits_[digit - 1] == '9') {
      digits_[--digit] = '0';
    }
    if (digit == first_) {
      digits_[--first_] = '1';
    } else {
      ++digits_[digit - 1];
    }
    return {digits_.data() + first_, digits_.size() - first_};
  }

 private:
  std::array<char, 20> digits_{};  // enough for any std::size_t
  std::size_t first_ = digits_.size();
};

}  // namespace

void printPhoneBook() {
  writeLine("Phone Book Print");
  LineNumber number;
  phoneBook.forEach([&number](const Person& entry) {
    writeText(number.next());
    writeText(". ");
    entry.print();
    writeText("\n");
  });
}

}  // namespace phonebook
