// Unpredictable bits, for names and keys that an input must not foresee.
#ifndef VRELSDIFF_IO_UTILS_RANDOM_BITS_H_
#define VRELSDIFF_IO_UTILS_RANDOM_BITS_H_

#include <cstdint>

namespace io_utils {

// 64 bits from the system's random source; where it gives none, from the
// clock, the process id and a count of the calls, so that no two calls
// agree.
std::uint64_t random_bits();

}  // namespace io_utils

#endif  // VRELSDIFF_IO_UTILS_RANDOM_BITS_H_
