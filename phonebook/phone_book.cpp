#include "phonebook/phone_book.h"

#include <bit>
#include <iterator>

namespace phonebook {

PhoneBook& phoneBook = *new PhoneBook;  // never destroyed, see the header

namespace {

std::size_t lowbit(std::size_t k) { return k & (~k + 1); }

// The entries of the first `blocks` blocks.
std::size_t entriesBefore(const std::vector<std::size_t>& counts, std::size_t blocks) {
  std::size_t sum = 0;
  for (std::size_t k = blocks; k > 0; k -= lowbit(k)) {
    sum += counts[k - 1];
  }
  return sum;
}

}  // namespace

void PhoneBook::add(std::unique_ptr<Person> entry) {
  if (blocks_.empty() || blocks_.back().size() == blockSize) {
    // Everything that can run out of memory comes first, so that a failure changes nothing.
    Block block;
    block.reserve(blockSize);
    if (blocks_.size() == blocks_.capacity()) {
      blocks_.reserve(2 * blocks_.size() + 1);
    }
    // The new element covers the blocks from k - lowbit(k) + 1 on, the new one still empty.
    const std::size_t k = blocks_.size() + 1;
    blockCounts_.push_back(entriesBefore(blockCounts_, k - 1) -
                           entriesBefore(blockCounts_, k - lowbit(k)));
    blocks_.push_back(std::move(block));
  }
  blocks_.back().push_back(std::move(entry));  // within the block's reserved room
  countAdded(blocks_.size() - 1);
  ++count_;
}

bool PhoneBook::remove(std::size_t position) {
  if (position < 1 || position > count_) {
    return false;
  }
  const auto [index, offset] = locate(position);
  Block& block = blocks_[index];
  block.erase(std::next(block.begin(), static_cast<std::ptrdiff_t>(offset)));
  --count_;
  if (block.empty()) {
    blocks_.erase(std::next(blocks_.begin(), static_cast<std::ptrdiff_t>(index)));
    recount();
  } else {
    countRemoved(index);
  }
  return true;
}

void PhoneBook::clear() {
  blocks_ = std::vector<Block>();
  blockCounts_ = std::vector<std::size_t>();
  count_ = 0;
}

std::pair<std::size_t, std::size_t> PhoneBook::locate(std::size_t position) const {
  // Descends from the largest power of two: `passed` grows to the most blocks whose entries all
  // lie before the position.
  std::size_t passed = 0;
  std::size_t before = position - 1;
  for (std::size_t step = std::bit_floor(blockCounts_.size()); step > 0; step /= 2) {
    if (passed + step <= blockCounts_.size() && blockCounts_[passed + step - 1] <= before) {
      passed += step;
      before -= blockCounts_[passed - 1];
    }
  }
  return {passed, before};
}

void PhoneBook::countAdded(std::size_t index) {
  for (std::size_t k = index + 1; k <= blockCounts_.size(); k += lowbit(k)) {
    ++blockCounts_[k - 1];
  }
}

void PhoneBook::countRemoved(std::size_t index) {
  for (std::size_t k = index + 1; k <= blockCounts_.size(); k += lowbit(k)) {
    --blockCounts_[k - 1];
  }
}

void PhoneBook::recount() {
  blockCounts_.assign(blocks_.size(), 0);
  for (std::size_t k = 1; k <= blockCounts_.size(); ++k) {
    blockCounts_[k - 1] += blocks_[k - 1].size();
    if (const std::size_t parent = k + lowbit(k); parent <= blockCounts_.size()) {
      blockCounts_[parent - 1] += blockCounts_[k - 1];
    }
  }
}

}  // namespace phonebook
