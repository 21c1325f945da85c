// The comparison form of a line: tabs, then white space, then case.
#include "io_utils/normalize.h"

#include <cstddef>
#include <utility>

#include "io_utils/unicode.h"
#include "io_utils/utf8.h"

namespace io_utils {
namespace {

bool is_lead_byte(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// ASCII white space is tested without decoding; everything else is decoded
// once. `pos` is moved past the character.
bool next_is_whitespace(std::string_view text, std::size_t& pos) {
  auto byte = static_cast<unsigned char>(text[pos]);
  if (byte < 0x80) {
    ++pos;
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
  }
  return is_whitespace(decode_utf8(text, pos));
}

std::string remove_whitespace(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t start = pos;
    if (!next_is_whitespace(text, pos))
      out.append(text, start, pos - start);
  }
  return out;
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
    apply(remove_whitespace(current));
  } else if (options.ignore_space_change) {
    apply(collapse_whitespace(current));
  } else if (options.ignore_trailing_space) {
    apply(std::string(trim_trailing_whitespace(current)));
  }
  if (options.ignore_case) {
    apply(to_lowercase(current));
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
  std::string out;
  out.reserve(text.size());
  // A run of white space becomes one space once something follows it, so a
  // trailing run leaves nothing.
  bool pending_space = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t start = pos;
    if (next_is_whitespace(text, pos)) {
      pending_space = true;
      continue;
    }
    if (pending_space)
      out.push_back(' ');
    pending_space = false;
    out.append(text, start, pos - start);
  }
  return out;
}

}  // namespace io_utils
