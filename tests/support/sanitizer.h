// Whether this tree is built with AddressSanitizer, for the tests whose
// address-space limits its shadow memory defeats. g++ and clang++ say so in
// different ways.
#ifndef VRELSDIFF_TESTS_SUPPORT_SANITIZER_H_
#define VRELSDIFF_TESTS_SUPPORT_SANITIZER_H_

#if defined(__SANITIZE_ADDRESS__)
#define VRELSDIFF_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VRELSDIFF_ADDRESS_SANITIZER 1
#endif
#endif

#endif  // VRELSDIFF_TESTS_SUPPORT_SANITIZER_H_
