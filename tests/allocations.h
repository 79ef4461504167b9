// Memory that runs out on cue: the test program replaces the global operator new, so that a test
// can make the k-th allocation from a given moment fail, and every one after it, as when memory
// has run out.
#pragma once

#include <cstddef>

namespace phonebook::test {

// Counts the allocations made during its life; with `failFrom` (counting from 1) the allocation of
// that number and every later one throw std::bad_alloc. 0 counts without failing. One at a time.
class AllocationFailure {
 public:
  explicit AllocationFailure(std::size_t failFrom);
  ~AllocationFailure();
  AllocationFailure(const AllocationFailure&) = delete;
  AllocationFailure& operator=(const AllocationFailure&) = delete;

  // The allocations asked for so far, failed ones included.
  std::size_t count() const;
};

}  // namespace phonebook::test
