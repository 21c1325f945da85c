// The white-space set and lower-casing over the generated case tables.
#include "io_utils/unicode.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "io_utils/ascii.h"
#include "io_utils/case_tables.h"
#include "io_utils/utf8.h"

namespace io_utils {
namespace {

constexpr char32_t kCapitalSigma = 0x03A3;
constexpr char32_t kSmallSigma = 0x03C3;
constexpr char32_t kFinalSigma = 0x03C2;

// Ranges are sorted and disjoint: the candidate is the last one starting at
// or before `c`.
template <typename Range>
const Range* find_range(std::span<const Range> ranges, char32_t c) {
  auto after = std::upper_bound(
      ranges.begin(), ranges.end(), c,
      [](char32_t value, const Range& range) { return value < range.first; });
  if (after == ranges.begin())
    return nullptr;
  const Range& range = *(after - 1);
  return c <= range.last ? &range : nullptr;
}

bool is_cased(char32_t c) {
  return find_range(cased_ranges(), c) != nullptr;
}

bool is_case_ignorable(char32_t c) {
  return find_range(case_ignorable_ranges(), c) != nullptr;
}

// The longest lowercase form of one character, in bytes.
constexpr std::size_t kMaxLoweredLength =
    kMaxLowercaseExpansion * kMaxUtf8Length;

const LowercaseExpansion* find_expansion(char32_t c) {
  std::span<const LowercaseExpansion> expansions = lowercase_expansions();
  auto it = std::lower_bound(expansions.begin(), expansions.end(), c,
                             [](const LowercaseExpansion& e, char32_t value) {
                               return e.code_point < value;
                             });
  return it != expansions.end() && it->code_point == c ? &*it : nullptr;
}

// The one-character lowercase mapping of `c`, or `c` itself.
char32_t simple_lowercase(char32_t c) {
  if (const LowercaseRange* range = find_range(lowercase_ranges(), c)) {
    if ((c - range->first) % range->stride == 0) {
      return static_cast<char32_t>(static_cast<std::int64_t>(c) + range->delta);
    }
  }
  return c;
}

// Writes the lowercase form of `c` (not the capital sigma, whose form
// depends on its neighbours) and returns its length.
std::size_t encode_lowercase(char32_t c, char* out) {
  if (const LowercaseExpansion* expansion = find_expansion(c)) {
    std::size_t length = 0;
    for (char32_t part : expansion->mapping) {
      if (part != 0)
        length += encode_utf8(part, out + length);
    }
    return length;
  }
  return encode_utf8(simple_lowercase(c), out);
}

// The lowercase forms of the two-byte characters (U+0080 to U+07FF: Latin,
// Greek, Cyrillic and more), looked up without a search. 0 marks the ones
// that need the general path: the capital sigma and the expansions.
using TwoByteTable = std::array<char16_t, 0x800>;

const TwoByteTable& two_byte_lowercase() {
  static const TwoByteTable table = [] {
    TwoByteTable t{};
    for (char32_t c = 0x80; c < 0x800; ++c) {
      if (c == kCapitalSigma || find_expansion(c) != nullptr)
        continue;
      // Every such mapping stays inside the Basic Multilingual Plane.
      t[c] = static_cast<char16_t>(simple_lowercase(c));
    }
    return t;
  }();
  return table;
}

// The nearest character before `pos` that is not Case_Ignorable is Cased.
// A character that is both is skipped like any other ignorable one.
bool cased_before(std::string_view text, std::size_t pos) {
  while (pos > 0) {
    std::size_t start = pos - 1;
    while (start > 0 && is_continuation_byte(text[start])) --start;
    std::size_t next = start;
    char32_t c = decode_utf8(text, next);
    if (!is_case_ignorable(c))
      return is_cased(c);
    pos = start;
  }
  return false;
}

// The nearest character from `pos` on that is not Case_Ignorable is Cased.
bool cased_after(std::string_view text, std::size_t pos) {
  while (pos < text.size()) {
    char32_t c = decode_utf8(text, pos);
    if (!is_case_ignorable(c))
      return is_cased(c);
  }
  return false;
}

}  // namespace

bool is_whitespace(char32_t c) {
  switch (c) {
    case 0x0009:
    case 0x000A:
    case 0x000B:
    case 0x000C:
    case 0x000D:
    case 0x0020:
    case 0x0085:
    case 0x00A0:
    case 0x1680:
    case 0x2028:
    case 0x2029:
    case 0x202F:
    case 0x205F:
    case 0x3000:
      return true;
    default:
      return c >= 0x2000 && c <= 0x200A;
  }
}

bool is_blank(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!is_whitespace(decode_utf8(text, pos)))
      return false;
  }
  return true;
}

std::string_view trim_whitespace(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t start = pos;
    if (!is_whitespace(decode_utf8(text, pos))) {
      return trim_trailing_whitespace(text.substr(start));
    }
  }
  return text.substr(text.size());
}

std::string_view trim_trailing_whitespace(std::string_view text) {
  // Walking forward keeps decoding simple; the end of the last character
  // that is not white space is where the text stops.
  std::size_t end = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (!is_whitespace(decode_utf8(text, pos)))
      end = pos;
  }
  return text.substr(0, end);
}

std::string to_lowercase(std::string_view text) {
  // The result is written over a copy of the text. It can grow (U+0130 is
  // two bytes and becomes three), so it always keeps room for the rest of
  // the text at its present length: out.size() >= write + (text.size() -
  // pos).
  std::string out(text);
  std::size_t write = 0;
  std::size_t pos = 0;
  auto put = [&](const char* bytes, std::size_t length) {
    std::size_t needed = write + length + (text.size() - pos);
    if (needed > out.size())
      out.resize(needed);
    std::memcpy(out.data() + write, bytes, length);
    write += length;
  };
  char lowered[kMaxLoweredLength];
  while (pos < text.size()) {
    if (pos + 8 <= text.size()) {
      // Lower-cases the ASCII bytes at the start of the next eight. The
      // whole word is stored; what follows the ASCII bytes is written over
      // later, and there is room for all eight by the invariant.
      std::uint64_t word;
      std::memcpy(&word, text.data() + pos, sizeof word);
      std::uint64_t high = word & 0x8080808080808080ULL;
      std::size_t ascii =
          high == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(high)) / 8;
      if (ascii > 0) {
        word = lowercase_ascii_word(word);
        std::memcpy(out.data() + write, &word, sizeof word);
        write += ascii;
        pos += ascii;
        continue;
      }
    } else if (static_cast<unsigned char>(text[pos]) < 0x80) {
      out[write++] = ascii_lower(text[pos++]);
      continue;
    }
    std::size_t start = pos;
    auto lead = static_cast<unsigned char>(text[pos]);
    if (lead >= 0xC2 && lead <= 0xDF && pos + 1 < text.size() &&
        is_continuation_byte(text[pos + 1])) {
      auto c =
          static_cast<char32_t>(((lead & 0x1F) << 6) | (text[pos + 1] & 0x3F));
      if (char16_t lower = two_byte_lowercase()[c]; lower != 0) {
        pos += 2;
        put(lowered, encode_utf8(lower, lowered));
        continue;
      }
    }
    char32_t c = decode_utf8(text, pos);
    if (c == kCapitalSigma) {
      // Final_Sigma: the neighbours are those of the whole text.
      bool final_form = cased_before(text, start) && !cased_after(text, pos);
      put(lowered,
          encode_utf8(final_form ? kFinalSigma : kSmallSigma, lowered));
    } else {
      put(lowered, encode_lowercase(c, lowered));
    }
  }
  out.resize(write);
  return out;
}

}  // namespace io_utils
