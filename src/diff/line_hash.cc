// A keyed multiply-and-fold hash: sixteen bytes a step go through one full
// 64 x 64 -> 128-bit product, whose halves are folded together. Both
// factors of every product carry a word of the key, so lines chosen to
// collide under one key scatter under another, which the input cannot
// know.
#include "diff/line_hash.h"

#include <cstring>

#include "io_utils/random_bits.h"

namespace diff {
namespace {

__extension__ using DoubleWord = unsigned __int128;

// The two halves of the full product, folded together, so that the high
// bits of the factors reach the low bits of the result and the other way
// round.
std::uint64_t fold(std::uint64_t a, std::uint64_t b) {
  const DoubleWord product = DoubleWord{a} * b;
  return static_cast<std::uint64_t>(product) ^
         static_cast<std::uint64_t>(product >> 64);
}

std::uint64_t load_word(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return word;
}

std::uint64_t load_half(const char* bytes) {
  std::uint32_t half;
  std::memcpy(&half, bytes, sizeof half);
  return half;
}

}  // namespace

HashKey run_hash_key() {
  static const HashKey key = {io_utils::random_bits(), io_utils::random_bits()};
  return key;
}

std::uint64_t hash_line(std::string_view text, HashKey key) {
  const char* p = text.data();
  const std::size_t size = text.size();
  std::uint64_t state = key.k0;
  std::uint64_t first;
  std::uint64_t second;
  if (size <= 16) {
    // Reads that overlap cover 4 to 16 bytes in two words.
    if (size >= 4) {
      const std::size_t step = (size >> 3) << 2;
      first = (load_half(p) << 32) | load_half(p + step);
      second = (load_half(p + size - 4) << 32) | load_half(p + size - 4 - step);
    } else if (size > 0) {
      first = (std::uint64_t{static_cast<unsigned char>(p[0])} << 16) |
              (std::uint64_t{static_cast<unsigned char>(p[size >> 1])} << 8) |
              static_cast<unsigned char>(p[size - 1]);
      second = 0;
    } else {
      first = 0;
      second = 0;
    }
  } else {
    std::size_t left = size;
    for (; left > 16; p += 16, left -= 16) {
      state = fold(load_word(p) ^ key.k1, load_word(p + 8) ^ state);
    }
    first = load_word(p + left - 16);
    second = load_word(p + left - 8);
  }
  return fold(key.k1 ^ size, fold(first ^ key.k1, second ^ state));
}

}  // namespace diff
