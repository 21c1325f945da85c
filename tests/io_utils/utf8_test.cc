// UTF-8 validation, decoding and encoding.
#include "io_utils/utf8.h"

#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "printable.h"

namespace io_utils {
namespace {

using test::code_point_name;

struct Utf8Case {
  const char* name;
  std::string bytes;
};

TEST(Utf8, AcceptsWellFormedText) {
  const Utf8Case cases[] = {
      {"empty", ""},
      {"ascii with controls and NUL", std::string("a\0b\x7f\t\r\n", 7)},
      {"smallest two-byte", "\xc2\x80"},
      {"largest two-byte", "\xdf\xbf"},
      {"smallest three-byte", "\xe0\xa0\x80"},
      {"just below the surrogates", "\xed\x9f\xbf"},
      {"just above the surrogates", "\xee\x80\x80"},
      {"byte-order mark", "\xef\xbb\xbf"},
      {"largest three-byte", "\xef\xbf\xbf"},
      {"smallest four-byte", "\xf0\x90\x80\x80"},
      {"largest scalar value", "\xf4\x8f\xbf\xbf"},
      {"mixed, long enough for the word steps",
       "plain ascii run \xc3\xa9 then more ascii \xe4\xb8\x80 and "
       "\xf0\x9f\x98\x80 end"},
  };
  for (const Utf8Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_TRUE(is_valid_utf8(c.bytes));
  }
}

TEST(Utf8, RejectsMalformedText) {
  const Utf8Case cases[] = {
      {"stray continuation byte", "\x80"},
      {"stray continuation after ascii", "abcdefghij\xbf"},
      {"overlong NUL", "\xc0\x80"},
      {"overlong two-byte", "\xc1\xbf"},
      {"overlong three-byte", "\xe0\x9f\xbf"},
      {"overlong four-byte", "\xf0\x8f\xbf\xbf"},
      {"first surrogate", "\xed\xa0\x80"},
      {"last surrogate", "\xed\xbf\xbf"},
      {"above U+10FFFF", "\xf4\x90\x80\x80"},
      {"lead byte F5", "\xf5\x80\x80\x80"},
      {"byte FF", "\xff"},
      {"truncated two-byte", "\xc3"},
      {"truncated three-byte", "\xe4\xb8"},
      {"truncated four-byte", "\xf0\x9f\x98"},
      {"truncated before a line end", "\xe4\xb8\nabc"},
      {"lead byte followed by ascii", "\xc3("},
      {"third byte not a continuation", "\xe4\xb8("},
      {"fourth byte not a continuation", "\xf0\x9f\x98("},
      {"malformed after eight ascii bytes", "12345678\xc3"},
  };
  for (const Utf8Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(is_valid_utf8(c.bytes));
  }
}

// Every scalar value survives encoding, is accepted, and decodes back as
// one character of the expected length.
TEST(Utf8, EncodesAndDecodesEveryScalarValue) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF)
      continue;
    std::string text;
    append_utf8(text, c);
    std::size_t expected_length = c < 0x80      ? 1
                                  : c < 0x800   ? 2
                                  : c < 0x10000 ? 3
                                                : 4;
    std::size_t pos = 0;
    ASSERT_EQ(expected_length, text.size()) << code_point_name(c);
    ASSERT_TRUE(is_valid_utf8(text)) << code_point_name(c);
    ASSERT_EQ(c, decode_utf8(text, pos)) << code_point_name(c);
    ASSERT_EQ(text.size(), pos) << code_point_name(c);
  }
}

TEST(Utf8, DecodesKnownSequences) {
  struct Case {
    std::string text;
    char32_t expected;
  } cases[] = {
      {"A", U'A'},
      {"\xc3\xa9", U'\u00e9'},
      {"\xe4\xb8\x80", U'\u4e00'},
      {"\xf0\x9f\x98\x80", U'\U0001F600'},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::size_t pos = 0;
    EXPECT_EQ(c.expected, decode_utf8(c.text, pos));
    EXPECT_EQ(c.text.size(), pos);
  }
}

// Outside the contract, but decoding bad bytes must stay inside the text
// and always make progress.
TEST(Utf8, DecodingMalformedBytesStaysInBounds) {
  struct Case {
    const char* name;
    std::string text;
    std::size_t expected_pos;
  } cases[] = {
      {"truncated at the end", "\xf0\x9f", 2},
      {"stray continuation", "\x80\x80", 1},
      {"lead byte then ascii",
       "\xe4"
       "a",
       1},
      {"byte FF", "\xff", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::size_t pos = 0;
    EXPECT_EQ(U'\uFFFD', decode_utf8(c.text, pos));
    EXPECT_EQ(c.expected_pos, pos);
  }
}

TEST(Utf8, CharacterCountCountsScalarValuesNotBytes) {
  struct Case {
    const char* name;
    std::string text;
    std::size_t expected;
  } cases[] = {
      {"empty", "", 0},
      {"ascii", "plain", 5},
      {"one two-byte character", "\xc3\xa9", 1},
      {"a word of three characters", "\xe4\xb8\x80\xe4\xb8\x80\xc3\xa9", 3},
      {"a character across the first word's end", "abcdefg\xf0\x9f\x98\x80h",
       9},
      {"the largest of each length, DEL last",
       "\xf4\x8f\xbf\xbf\xef\xbf\xbf\xdf\xbf\x7f", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, character_count(c.text));
  }
}

// Every length and every place of a long character within an eight-byte
// word, counted against stepping through the text one character at a time.
TEST(Utf8, CharacterCountAgreesWithDecodingAtEveryAlignment) {
  const std::string samples[] = {"a", "\xc3\xa9", "\xe4\xb8\x80",
                                 "\xf0\x9f\x98\x80"};
  std::string text;
  for (std::size_t i = 0; i < 40; ++i) {
    text += samples[(i * 7 + i / 4) % 4];
    std::size_t decoded = 0;
    for (std::size_t pos = 0; pos < text.size(); ++decoded) {
      decode_utf8(text, pos);
    }
    ASSERT_EQ(decoded, character_count(text)) << text.size() << " bytes";
  }
}

}  // namespace
}  // namespace io_utils
