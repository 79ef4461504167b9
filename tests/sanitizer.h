// Whether the code is built with the address sanitizer, which keeps freed memory aside for a while
// (so a run uses more memory than the program asks for) and makes system calls of its own.
#pragma once

namespace phonebook::test {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool underAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool underAddressSanitizer = true;
#else
inline constexpr bool underAddressSanitizer = false;
#endif
#else
inline constexpr bool underAddressSanitizer = false;
#endif

}  // namespace phonebook::test
