#include "io_utils/random_bits.h"

#include <sys/random.h>
#include <time.h>
#include <unistd.h>

namespace io_utils {

std::uint64_t random_bits() {
  std::uint64_t bits = 0;
  if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) == sizeof bits)
    return bits;
  timespec now;
  ::clock_gettime(CLOCK_REALTIME, &now);
  static std::uint64_t counter = 0;
  return (static_cast<std::uint64_t>(now.tv_nsec) << 20) ^
         static_cast<std::uint64_t>(now.tv_sec) ^
         (static_cast<std::uint64_t>(::getpid()) << 40) ^ ++counter;
}

}  // namespace io_utils
