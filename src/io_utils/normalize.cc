// The comparison form of a line: tabs, then white space, then case.
#include "io_utils/normalize.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

#include "io_utils/unicode.h"
#include "io_utils/utf8.h"

namespace io_utils {
namespace {

bool is_lead_byte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// Every white-space character outside ASCII is encoded starting with one of
// these bytes (U+0085, U+00A0; U+1680; U+2000 to U+205F; U+3000), so other
// characters need not be decoded.
bool may_start_whitespace(unsigned char lead) {
  return lead == 0xC2 || (lead >= 0xE1 && lead <= 0xE3);
}

// One pass over the text: every run of white space is dropped, or made one
// space when `one_space` is set and something other than white space
// follows it. The result is never longer than the text, so it is written
// into a buffer of the text's size.
//
// Bytes are handled one at a time without branching on their kind: a
// continuation byte, or a lead byte that cannot start a white-space
// character, is kept like a letter. Only the four lead bytes that may start
// white space are decoded.
std::string squeeze_whitespace(std::string_view text, bool one_space) {
  std::string out(text.size(), '\0');
  char* write = out.data();
  bool pending_space = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    auto byte = static_cast<unsigned char>(text[pos]);
    if (may_start_whitespace(byte)) {
      std::size_t next = pos;
      if (is_whitespace(decode_utf8(text, next))) {
        pending_space = one_space;
      } else {
        if (pending_space)
          *write++ = ' ';
        pending_space = false;
        std::memcpy(write, text.data() + pos, next - pos);
        write += next - pos;
      }
      pos = next;
      continue;
    }
    bool white = byte == ' ' || static_cast<unsigned char>(byte - '\t') < 5;
    // write <= pos always, and write < pos while a space is pending, so
    // both stores stay inside the buffer; a store that is not kept is
    // written over later or cut off at the end.
    *write = ' ';
    write += pending_space && !white;
    *write = static_cast<char>(byte);
    write += !white;
    pending_space = white && one_space;
    ++pos;
  }
  out.resize(static_cast<std::size_t>(write - out.data()));
  return out;
}

void lowercase_ascii(std::string& text) {
  for (char& byte : text) {
    if (byte >= 'A' && byte <= 'Z')
      byte = static_cast<char>(byte + 32);
  }
}

}  // namespace

std::string normalize_line(std::string_view line,
                           const CompareOptions& options) {
  // Each step reads the form the previous one left; `current` is the line
  // itself until a step has run.
  std::string form;
  std::string_view current = line;
  bool changed = false;
  auto apply = [&](std::string next) {
    form = std::move(next);
    current = form;
    changed = true;
  };

  if (options.ignore_tab_expansion) {
    apply(expand_tabs(current, options.tabsize));
  }
  if (options.ignore_all_space) {
    apply(squeeze_whitespace(current, false));
  } else if (options.ignore_space_change) {
    apply(collapse_whitespace(current));
  } else if (options.ignore_trailing_space) {
    apply(std::string(trim_trailing_whitespace(current)));
  }
  if (options.ignore_case) {
    // A form of our own that is pure ASCII can be lower-cased where it is,
    // saving a string per line.
    if (changed && is_ascii(form)) {
      lowercase_ascii(form);
    } else {
      apply(to_lowercase(current));
    }
  }
  return changed ? std::move(form) : std::string(line);
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
    if (is_lead_byte(byte))
      ++column;
  }
  return out;
}

std::string collapse_whitespace(std::string_view text) {
  return squeeze_whitespace(text, true);
}

}  // namespace io_utils
