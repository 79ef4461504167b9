#include "tests/allocations.h"

#include <cstdlib>
#include <new>

namespace phonebook::test {

namespace {

bool counting = false;
std::size_t asked = 0;
std::size_t failFrom = 0;

}  // namespace

AllocationFailure::AllocationFailure(std::size_t from) {
  asked = 0;
  failFrom = from;
  counting = true;
}

AllocationFailure::~AllocationFailure() { counting = false; }

std::size_t AllocationFailure::count() const { return asked; }

}  // namespace phonebook::test

// Every other form of new (arrays, nothrow) comes here; delete matches malloc with free.
void* operator new(std::size_t size) {
  using namespace phonebook::test;
  if (counting && ++asked >= failFrom && failFrom != 0) {
    throw std::bad_alloc();
  }
  if (void* const memory = std::malloc(size == 0 ? 1 : size)) {
    return memory;
  }
  throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }

void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
