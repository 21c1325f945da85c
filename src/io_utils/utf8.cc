// Strict UTF-8 validation, decoding and encoding.
#include "io_utils/utf8.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "io_utils/ascii.h"

namespace io_utils {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

static_assert(std::endian::native == std::endian::little,
              "the word-at-a-time scans assume little-endian byte order");

}  // namespace

std::size_t ascii_prefix_length(std::string_view bytes) {
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, sizeof word);
    if (std::uint64_t high = word & kHighBits) {
      // Little-endian: the lowest set bit belongs to the first byte that is
      // not ASCII.
      return i + static_cast<std::size_t>(std::countr_zero(high)) / 8;
    }
  }
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
    ++i;
  }
  return i;
}

// A byte's top bit survives the mask exactly when the bit below it is clear.
std::size_t character_count(std::string_view text) {
  std::size_t continuations = 0;
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    const std::uint64_t marked = word & ~(word << 1) & kHighBits;
    continuations += static_cast<std::size_t>(count_high_bits(marked));
  }
  for (; i < text.size(); ++i) {
    if (is_continuation_byte(text[i]))
      ++continuations;
  }
  return text.size() - continuations;
}

bool is_ascii(std::string_view bytes) {
  return ascii_prefix_length(bytes) == bytes.size();
}

bool is_valid_utf8(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const unsigned char* end = p + bytes.size();
  while (p < end) {
    // Text is mostly ASCII: step over it a word at a time.
    p += ascii_prefix_length(std::string_view(
        reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p)));
    if (p == end)
      break;
    // The ASCII run stopped at a byte of 0x80 or more.
    const unsigned char lead = *p;
    // The ranges of the second byte exclude overlong forms (E0, F0),
    // surrogates (ED) and code points above U+10FFFF (F4).
    std::ptrdiff_t length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0)
        low = 0xA0;
      if (lead == 0xED)
        high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0)
        low = 0x90;
      if (lead == 0xF4)
        high = 0x8F;
    } else {
      return false;  // a stray continuation byte, C0, C1 or F5..FF
    }
    if (end - p < length)
      return false;
    if (p[1] < low || p[1] > high)
      return false;
    for (std::ptrdiff_t i = 2; i < length; ++i) {
      if (!is_continuation_byte(static_cast<char>(p[i])))
        return false;
    }
    p += length;
  }
  return true;
}

char32_t decode_utf8(std::string_view text, std::size_t& pos) {
  auto byte = [&](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  unsigned char lead = byte(pos);
  if (lead < 0x80) {
    ++pos;
    return lead;
  }
  // Malformed input is outside the contract, but it must never make us
  // read past the end: a sequence stops at the text's end or at a byte
  // that cannot continue it.
  if (is_continuation_byte(text[pos]) || lead >= 0xF8) {
    ++pos;
    return kReplacementCharacter;
  }
  std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
  char32_t value = lead & (0x7F >> length);
  std::size_t i = 1;
  for (; i < length && pos + i < text.size() &&
         is_continuation_byte(text[pos + i]);
       ++i) {
    value = (value << 6) | (byte(pos + i) & 0x3F);
  }
  pos += i;
  return i == length ? value : kReplacementCharacter;
}

std::size_t encode_utf8(char32_t c, char* out) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c);
    return 1;
  }
  if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F));
    return 2;
  }
  if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | (c >> 18));
  out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
  out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
  out[3] = static_cast<char>(0x80 | (c & 0x3F));
  return 4;
}

void append_utf8(std::string& out, char32_t c) {
  char bytes[kMaxUtf8Length];
  out.append(bytes, encode_utf8(c, bytes));
}

}  // namespace io_utils
