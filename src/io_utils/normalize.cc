// The comparison form of a line: tabs, then white space, then case.
#include "io_utils/normalize.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "io_utils/ascii.h"
#include "io_utils/unicode.h"
#include "io_utils/utf8.h"

namespace io_utils {
namespace {

// Every white-space character outside ASCII is encoded starting with one of
// these bytes (U+0085, U+00A0; U+1680; U+2000 to U+205F; U+3000), so other
// characters need not be decoded.
bool may_start_whitespace(unsigned char lead) {
  return lead == 0xC2 || (lead >= 0xE1 && lead <= 0xE3);
}

// Drops every run of white space, or makes it one space when `one_space`
// is set and something other than white space follows it, in place: the
// result is never longer than the text, so writing trails reading.
//
// Bytes are kept or dropped without branching on their kind: a
// continuation byte, or a lead byte that cannot start a white-space
// character, is kept like a letter. Only the four lead bytes that may start
// white space are decoded.
void squeeze_whitespace(std::string& text, bool one_space) {
  char* data = text.data();
  const std::string_view view(text);
  std::size_t write = 0;
  bool pending_space = false;
  std::size_t pos = 0;
  // Keeps or drops one byte that is not part of a decoded character. The
  // stores may land on bytes already read, never on one still to be read:
  // write <= pos always, and write < pos while a space is pending. A store
  // that is not kept is written over later or cut off at the end.
  auto step = [&](unsigned char byte) {
    bool white = byte == ' ' || static_cast<unsigned char>(byte - '\t') < 5;
    std::size_t space = pending_space && !white;
    data[write] = ' ';
    data[write + space] = static_cast<char>(byte);
    write += space + !white;
    pending_space = white && one_space;
  };
  while (pos < view.size()) {
    // Eight bytes are read before any of them is written, so that reading
    // never waits on the writes just behind it.
    if (pos + 8 <= view.size()) {
      std::uint64_t word;
      std::memcpy(&word, data + pos, sizeof word);
      std::size_t taken = 0;
      for (; taken < 8; ++taken) {
        auto byte = static_cast<unsigned char>(word >> (8 * taken));
        if (may_start_whitespace(byte))
          break;
        step(byte);
      }
      pos += taken;
      if (taken == 8)
        continue;
    }
    auto byte = static_cast<unsigned char>(data[pos]);
    if (!may_start_whitespace(byte)) {
      step(byte);
      ++pos;
      continue;
    }
    std::size_t next = pos;
    if (is_whitespace(decode_utf8(view, next))) {
      pending_space = one_space;
    } else {
      if (pending_space)
        data[write++] = ' ';
      pending_space = false;
      std::memmove(data + write, data + pos, next - pos);
      write += next - pos;
    }
    pos = next;
  }
  text.resize(write);
}

void lowercase_ascii(std::string& text) {
  for (char& byte : text) byte = ascii_lower(byte);
}

// What happens to white space inside an ASCII line; trailing white space
// is trimmed afterwards where the options say so.
enum class AsciiSpaces {
  Keep,      // stays as it is
  Collapse,  // each run becomes one space
  Drop,      // every white-space byte goes
};

// The output of normalize_ascii so far.
struct AsciiForm {
  char* out;
  std::size_t written = 0;
  // When collapsing: the byte before the next one was white space, so that
  // a space already stands for its run.
  bool after_space = false;
};

template <bool kLower, AsciiSpaces kSpaces>
void put_ascii_byte(AsciiForm& form, char byte) {
  if (!is_ascii_whitespace(byte)) {
    form.out[form.written++] = kLower ? ascii_lower(byte) : byte;
    form.after_space = false;
  } else if constexpr (kSpaces == AsciiSpaces::Keep) {
    form.out[form.written++] = byte;
  } else if constexpr (kSpaces == AsciiSpaces::Collapse) {
    if (!form.after_space)
      form.out[form.written++] = ' ';
    form.after_space = true;
  }
}

#if defined(__SSE2__)
// Takes the `count` (1 to 16) bytes at `bytes` with the vector instructions
// that every x86-64 processor has, reading sixteen bytes and looking only
// at the first `count`. A block that needs no decision (no white space at
// all, or when collapsing only lone spaces) is stored whole, sixteen bytes
// even when fewer count, lower-cased on the way; any other block byte by
// byte. False when a byte is not ASCII.
template <bool kLower, AsciiSpaces kSpaces>
[[gnu::always_inline]] inline bool take_ascii_block(AsciiForm& form,
                                                    const char* bytes,
                                                    std::size_t count) {
  const int in_block = count == 16 ? 0xFFFF : (1 << count) - 1;
  __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
  if ((_mm_movemask_epi8(block) & in_block) != 0)
    return false;
  // Bytes past `count` may be anything; within it they are ASCII, which
  // the signed comparisons order rightly.
  int spaces = 0;
  if constexpr (kSpaces != AsciiSpaces::Keep) {
    const int low =
        _mm_movemask_epi8(_mm_cmplt_epi8(block, _mm_set1_epi8(0x21))) &
        in_block;
    spaces =
        _mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(' '))) & in_block;
    const bool whole =
        kSpaces == AsciiSpaces::Drop
            ? low == 0
            : low == spaces &&
                  (spaces & ((spaces << 1) | (form.after_space ? 1 : 0))) == 0;
    if (!whole) {
      for (std::size_t i = 0; i < count; ++i)
        put_ascii_byte<kLower, kSpaces>(form, bytes[i]);
      return true;
    }
  }
  if constexpr (kLower) {
    const __m128i upper =
        _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8('A' - 1)),
                      _mm_cmplt_epi8(block, _mm_set1_epi8('Z' + 1)));
    block = _mm_add_epi8(block, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(form.out + form.written), block);
  form.written += count;
  form.after_space = ((spaces >> (count - 1)) & 1) != 0;
  return true;
}
#endif

// The form of an ASCII line under one choice of case and white space:
// sixteen bytes at a time where the processor can, else byte by byte.
template <bool kLower, AsciiSpaces kSpaces>
std::optional<std::size_t> normalize_ascii(std::string_view line, char* out) {
  AsciiForm form{.out = out};
#if defined(__SSE2__)
  // Whole blocks first, so that their count is a constant, then the rest.
  std::size_t pos = 0;
  for (; pos + 16 <= line.size(); pos += 16) {
    if (!take_ascii_block<kLower, kSpaces>(form, line.data() + pos, 16))
      return std::nullopt;
  }
  if (pos < line.size() && !take_ascii_block<kLower, kSpaces>(
                               form, line.data() + pos, line.size() - pos))
    return std::nullopt;
#else
  for (const char byte : line) {
    if (static_cast<unsigned char>(byte) >= 0x80)
      return std::nullopt;
    put_ascii_byte<kLower, kSpaces>(form, byte);
  }
#endif
  return form.written;
}

}  // namespace

std::string normalize_line(std::string_view line,
                           const CompareOptions& options) {
  const bool all_space = options.ignore_all_space;
  const bool space_change = !all_space && options.ignore_space_change;
  const bool trailing_space =
      !all_space && !space_change && options.ignore_trailing_space;

  // Lower-casing is defined to follow the white-space step. Collapsing runs
  // and dropping the trailing run commute with it, so those steps work in
  // place on the lower-cased copy and spare a string per line: white space
  // is neither Cased nor Case_Ignorable, has no lowercase mapping and is
  // the mapping of nothing (tools/gen_case_tables.py checks this), so the
  // other characters and the neighbours that Final_Sigma looks at stay the
  // same. Removing all white space does change those neighbours (a capital
  // sigma that ends a word no longer does once the next word is joined to
  // it), so that step keeps its place before lower-casing.
  const bool lowercase_first = options.ignore_case && !all_space;
  std::string form;
  if (options.ignore_tab_expansion) {
    form = expand_tabs(line, options.tabsize);
    if (lowercase_first)
      form = to_lowercase(form);
  } else {
    form = lowercase_first ? to_lowercase(line) : std::string(line);
  }

  if (all_space) {
    squeeze_whitespace(form, false);
  } else if (space_change) {
    squeeze_whitespace(form, true);
  } else if (trailing_space) {
    form.resize(trim_trailing_whitespace(form).size());
  }

  if (options.ignore_case && !lowercase_first) {
    if (is_ascii(form)) {
      lowercase_ascii(form);
    } else {
      form = to_lowercase(form);
    }
  }
  return form;
}

std::optional<std::size_t> normalize_ascii_line(std::string_view line,
                                                const CompareOptions& options,
                                                char* out) {
  if (options.ignore_tab_expansion)
    return std::nullopt;
  const bool trim_end = options.ignore_space_change ||
                        options.ignore_trailing_space ||
                        options.ignore_all_space;
  std::optional<std::size_t> written;
  if (options.ignore_all_space) {
    written = options.ignore_case
                  ? normalize_ascii<true, AsciiSpaces::Drop>(line, out)
                  : normalize_ascii<false, AsciiSpaces::Drop>(line, out);
  } else if (options.ignore_space_change) {
    written = options.ignore_case
                  ? normalize_ascii<true, AsciiSpaces::Collapse>(line, out)
                  : normalize_ascii<false, AsciiSpaces::Collapse>(line, out);
  } else {
    written = options.ignore_case
                  ? normalize_ascii<true, AsciiSpaces::Keep>(line, out)
                  : normalize_ascii<false, AsciiSpaces::Keep>(line, out);
  }
  if (written && trim_end) {
    while (*written > 0 && is_ascii_whitespace(out[*written - 1])) --*written;
  }
  return written;
}

std::string expand_tabs(std::string_view text, std::uint64_t tabsize) {
  const std::uint64_t unit = tabsize == 0 ? 8 : tabsize;
  std::string out;
  out.reserve(text.size());
  std::uint64_t column = 0;
  for (char byte : text) {
    if (byte == '\t') {
      std::uint64_t spaces = unit - column % unit;
      out.append(spaces, ' ');
      column += spaces;
      continue;
    }
    out.push_back(byte);
    // A column is a character: count only the first byte of each.
    if (!is_continuation_byte(byte))
      ++column;
  }
  return out;
}

std::string collapse_whitespace(std::string_view text) {
  std::string out(text);
  squeeze_whitespace(out, true);
  return out;
}

}  // namespace io_utils
