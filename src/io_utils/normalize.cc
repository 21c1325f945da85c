// The comparison form of a line: tabs, then white space, then case.
#include "io_utils/normalize.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

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
  const bool lower = options.ignore_case;
  const bool drop_all = options.ignore_all_space;
  const bool collapse = !drop_all && options.ignore_space_change;
  const bool trim_end =
      collapse || (!drop_all && options.ignore_trailing_space);
  // A run of white space is written as one space when collapsing, so
  // "after_space" says the last byte written is that space. Eight bytes
  // that need no decision (no white space at all, or under collapsing only
  // lone spaces) are copied whole.
  std::size_t written = 0;
  bool after_space = false;
  auto put = [&](char byte) {
    if (!is_ascii_whitespace(byte)) {
      out[written++] = lower ? ascii_lower(byte) : byte;
      after_space = false;
    } else if (drop_all) {
    } else if (!collapse) {
      out[written++] = byte;
    } else if (!after_space) {
      out[written++] = ' ';
      after_space = true;
    }
  };
  std::size_t pos = 0;
  for (; pos + 8 <= line.size(); pos += 8) {
    std::uint64_t word;
    std::memcpy(&word, line.data() + pos, sizeof word);
    if ((word & kHighBits) != 0)
      return std::nullopt;
    // The high bit of each byte below 0x21 (a space or a control
    // character), and of each space. A borrow can also mark the byte after
    // a marked one; that byte is then a space or a control character or
    // "!", and the word is never taken whole.
    const std::uint64_t low =
        (word - 0x2121212121212121ULL) & ~word & kHighBits;
    const std::uint64_t spaces_zeroed = word ^ 0x2020202020202020ULL;
    const std::uint64_t space_bits =
        (spaces_zeroed - 0x0101010101010101ULL) & ~spaces_zeroed & kHighBits;
    // Without collapsing or dropping, white space inside a line stays.
    bool whole = true;
    if (drop_all) {
      whole = low == 0;
    } else if (collapse) {
      const std::uint64_t after_spaces =
          (space_bits << 8) | (after_space ? 0x80 : 0);
      whole = low == space_bits && (space_bits & after_spaces) == 0;
    }
    if (!whole) {
      for (std::size_t i = pos; i < pos + 8; ++i) put(line[i]);
      continue;
    }
    if (lower)
      word = lowercase_ascii_word(word);
    std::memcpy(out + written, &word, sizeof word);
    written += 8;
    after_space = (space_bits >> 63) != 0;
  }
  for (; pos < line.size(); ++pos) {
    if (static_cast<unsigned char>(line[pos]) >= 0x80)
      return std::nullopt;
    put(line[pos]);
  }
  if (trim_end) {
    while (written > 0 && is_ascii_whitespace(out[written - 1])) --written;
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
