// The phone book: the one list of contacts of a run, kept in memory in the order they were added.
// Entries are numbered from 1 in that order; the listing shows the numbers and removal takes them.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "contacts/person.h"

namespace phonebook {

class PhoneBook {
 public:
  // Appends the entry at the end; the phone book owns it from then on. When memory runs out
  // (std::bad_alloc) the phone book is as it was, and the entry is destroyed.
  void add(std::unique_ptr<Person> entry);

  std::size_t count() const { return count_; }

  // Destroys the entry at `position`, counted from 1; every later entry moves up one place and
  // the order stays as it was. Returns false, and changes nothing, when there is no such entry.
  bool remove(std::size_t position);

  // Destroys every entry and gives back the memory the phone book took.
  void clear();

  // Calls visit(const Person&) for each entry, in order.
  template <typename Visit>
  void forEach(Visit&& visit) const {
    for (const auto& block : blocks_) {
      for (const auto& entry : block) {
        visit(*entry);
      }
    }
  }

 private:
  using Block = std::vector<std::unique_ptr<Person>>;

  // The block holding the entry at `position` (from 1 to count()) and the entry's index in it.
  std::pair<std::size_t, std::size_t> locate(std::size_t position) const;
  // Adds one to the count of the block at `index`, or takes one from it.
  void countAdded(std::size_t index);
  void countRemoved(std::size_t index);
  void recount();

  // The entries in order, cut into blocks of at most blockSize. Removing an entry moves only the
  // later entries of its own block, so it stays cheap anywhere in a list of millions.
  static constexpr std::size_t blockSize = 64;
  std::vector<Block> blocks_;
  // The blocks' entry counts as a Fenwick tree: element k (counting from 1) holds the entries of
  // the blocks k - lowbit(k) + 1 to k, where lowbit(k) is the lowest set bit of k. The block of a
  // position is found, and a block's count changed, in about log2 of the blocks' number of steps.
  std::vector<std::size_t> blockCounts_;
  std::size_t count_ = 0;
};

// The phone book of this run: empty at start, discarded without output at the end. It is never
// destroyed: when the run ends the system takes back its memory at once, where destroying the
// entries one by one could take longer than a listing of them.
extern PhoneBook& phoneBook;

}  // namespace phonebook
