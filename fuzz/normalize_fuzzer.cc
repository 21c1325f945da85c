// Fuzz target: the comparison form of a line under every mix of the case,
// white-space and tab options, against a plain character-by-character
// reference.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "io_utils/normalize.h"
#include "io_utils/read_lines.h"
#include "io_utils/unicode.h"
#include "io_utils/utf8.h"

namespace {

constexpr std::size_t kMaxInput = 2048;

void require(bool condition) {
  if (!condition)
    std::abort();
}

// The 25 characters of the Unicode White_Space property, listed here apart
// from the library's own set.
bool reference_whitespace(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 ||
         c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 ||
         c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000;
}

std::vector<char32_t> decode(std::string_view text) {
  std::vector<char32_t> chars;
  for (std::size_t pos = 0; pos < text.size();) {
    chars.push_back(io_utils::decode_utf8(text, pos));
  }
  return chars;
}

std::string encode(const std::vector<char32_t>& chars) {
  std::string out;
  for (char32_t c : chars) {
    io_utils::append_utf8(out, c);
  }
  return out;
}

// The form the options define, one character at a time: tabs expanded,
// then the white-space rule, then lower case.
std::string reference_form(std::string_view line,
                           const io_utils::CompareOptions& options) {
  std::vector<char32_t> chars = decode(line);
  if (options.ignore_tab_expansion) {
    const std::uint64_t unit = options.tabsize == 0 ? 8 : options.tabsize;
    std::vector<char32_t> expanded;
    for (char32_t c : chars) {
      if (c != '\t') {
        expanded.push_back(c);
        continue;
      }
      do {
        expanded.push_back(' ');
      } while (expanded.size() % unit != 0);
    }
    chars = expanded;
  }
  std::vector<char32_t> spaced;
  if (options.ignore_all_space) {
    for (char32_t c : chars) {
      if (!reference_whitespace(c))
        spaced.push_back(c);
    }
  } else if (options.ignore_space_change) {
    bool in_run = false;
    for (char32_t c : chars) {
      if (reference_whitespace(c)) {
        in_run = true;
        continue;
      }
      if (in_run)
        spaced.push_back(' ');
      in_run = false;
      spaced.push_back(c);
    }
  } else {
    spaced = chars;
    if (options.ignore_trailing_space) {
      while (!spaced.empty() && reference_whitespace(spaced.back())) {
        spaced.pop_back();
      }
    }
  }
  std::string form = encode(spaced);
  return options.ignore_case ? io_utils::to_lowercase(form) : form;
}

void check(std::string_view line, const io_utils::CompareOptions& options,
           bool any_flag) {
  const std::string form = io_utils::normalize_line(line, options);
  require(io_utils::is_valid_utf8(form));
  require(form == reference_form(line, options));
  // The ASCII path takes every ASCII line unless tabs are expanded, and
  // agrees with the general one.
  // The bytes after the line, which the blocks may read, must not matter.
  const std::string padded =
      std::string(line) + std::string(io_utils::kAsciiLineSlack, '\xff');
  std::string ascii_form(line.size() + io_utils::kAsciiLineSlack, '\0');
  const auto length = io_utils::normalize_ascii_line(
      std::string_view(padded).substr(0, line.size()), options,
      ascii_form.data());
  require(length.has_value() ==
          (io_utils::is_ascii(line) && !options.ignore_tab_expansion));
  if (length)
    require(std::string_view(ascii_form.data(), *length) == form);
  if (!any_flag)
    require(form == line);
  if (options.ignore_tab_expansion)
    require(form.find('\t') == std::string::npos);

  const std::vector<char32_t> chars = decode(form);
  bool previous_white = false;
  for (char32_t c : chars) {
    const bool white = reference_whitespace(c);
    require(!(white && options.ignore_all_space));
    if (options.ignore_space_change && !options.ignore_all_space) {
      require(!(white && previous_white));
    }
    previous_white = white;
  }
  const bool trims_end = options.ignore_all_space ||
                         options.ignore_space_change ||
                         options.ignore_trailing_space;
  require(!(trims_end && previous_white));
  if (options.ignore_case)
    require(io_utils::to_lowercase(form) == form);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size > kMaxInput)
    return 0;
  FuzzedDataProvider provider(data, size);
  io_utils::CompareOptions base;
  base.tabsize = provider.ConsumeIntegralInRange<std::uint64_t>(1, 32);
  // These three are not the line's business; they must change nothing.
  base.text = provider.ConsumeBool();
  base.strip_trailing_cr = provider.ConsumeBool();
  base.ignore_blank_lines = provider.ConsumeBool();
  const std::string line = provider.ConsumeRemainingBytesAsString();
  if (!io_utils::is_valid_utf8(line))
    return 0;

  for (unsigned mix = 0; mix < 32; ++mix) {
    io_utils::CompareOptions options = base;
    options.ignore_case = (mix & 1) != 0;
    options.ignore_space_change = (mix & 2) != 0;
    options.ignore_all_space = (mix & 4) != 0;
    options.ignore_trailing_space = (mix & 8) != 0;
    options.ignore_tab_expansion = (mix & 16) != 0;
    check(line, options, mix != 0);
  }
  return 0;
}
