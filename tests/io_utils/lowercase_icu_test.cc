// Lower-casing checked against ICU's root-locale lowercasing, which holds
// the same Unicode version as our tables.
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <unicode/ucasemap.h>
#include <unicode/uchar.h>
#include <unicode/uversion.h>

#include "io_utils/case_tables.h"
#include "io_utils/unicode.h"
#include "io_utils/utf8.h"
#include "printable.h"

namespace io_utils {
namespace {

using test::code_point_name;
using test::hex_bytes;

constexpr std::string_view kCapitalSigma = "\xce\xa3";
constexpr std::string_view kAlpha = "\xce\x91";

class IcuLowercase {
 public:
  IcuLowercase() {
    UErrorCode status = U_ZERO_ERROR;
    map_ = ucasemap_open("", 0, &status);  // "" is the root locale
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  }
  ~IcuLowercase() { ucasemap_close(map_); }
  IcuLowercase(const IcuLowercase&) = delete;
  IcuLowercase& operator=(const IcuLowercase&) = delete;

  std::string operator()(std::string_view text) {
    buffer_.resize(text.size() * 3 + 16);
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucasemap_utf8ToLower(
        map_, buffer_.data(), static_cast<int32_t>(buffer_.size()), text.data(),
        static_cast<int32_t>(text.size()), &status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    return std::string(buffer_.data(), static_cast<std::size_t>(length));
  }

 private:
  UCaseMap* map_ = nullptr;
  std::vector<char> buffer_;
};

std::string utf8(char32_t c) {
  std::string text;
  append_utf8(text, c);
  return text;
}

bool is_surrogate(char32_t c) {
  return c >= 0xD800 && c <= 0xDFFF;
}

TEST(LowercaseIcu, BothHoldTheSameUnicodeVersion) {
  UVersionInfo version;
  u_getUnicodeVersion(version);
  char text[U_MAX_VERSION_STRING_LENGTH];
  u_versionToString(version, text);
  // ICU drops trailing zero fields: "15.0" for 15.0.0.
  EXPECT_EQ(std::string(kCaseTablesUnicodeVersion).substr(0, 4), text);
}

testing::AssertionResult same_as_icu(IcuLowercase& icu,
                                     const std::string& text) {
  std::string expected = icu(text);
  std::string actual = to_lowercase(text);
  if (expected == actual)
    return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "text " << hex_bytes(text) << "ICU " << hex_bytes(expected)
         << "ours " << hex_bytes(actual);
}

TEST(LowercaseIcu, AgreesOnEveryCodePointAlone) {
  IcuLowercase icu;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (is_surrogate(c))
      continue;
    ASSERT_TRUE(same_as_icu(icu, utf8(c))) << code_point_name(c);
  }
}

// Each character as the neighbour of a capital sigma. Between the sigma and
// a cased letter it decides the form on its own, so that pair of contexts
// checks its Cased and Case_Ignorable properties, in both directions; at the
// edges of the text the contexts are the same for every unassigned code
// point, so those run for assigned characters only. The characters that are
// both Cased and Case_Ignorable are included: ICU, like us, skips them as
// ignorable first (unicode_test.cc pins that rule down without ICU).
TEST(LowercaseIcu, AgreesOnSigmaContexts) {
  IcuLowercase icu;
  const std::string sigma(kCapitalSigma);
  const std::string alpha(kAlpha);
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (is_surrogate(c))
      continue;
    std::string x = utf8(c);
    ASSERT_TRUE(same_as_icu(icu, alpha + x + sigma)) << code_point_name(c);
    ASSERT_TRUE(same_as_icu(icu, alpha + sigma + x + alpha))
        << code_point_name(c);
    if (u_charType(static_cast<UChar32>(c)) == U_UNASSIGNED)
      continue;
    ASSERT_TRUE(same_as_icu(icu, x + sigma)) << code_point_name(c);
    ASSERT_TRUE(same_as_icu(icu, alpha + sigma + x)) << code_point_name(c);
  }
}

// Long lines mixing ASCII runs with characters whose lowercase form is
// longer, shorter or context-dependent.
TEST(LowercaseIcu, AgreesOnLongMixedText) {
  const char* const pieces[] = {
      "HELLO World ",
      "ABCDEFGHIJKLMNOP",
      "\xc4\xb0",
      "\xe2\x84\xaa",
      "\xe1\xba\x9e",
      "\xce\xa3",
      "\xce\x91\xce\xa3",
      "\xc8\xba",
      "\xd0\x96",
      "'",
      "\xcd\x85",
      "\xf0\x90\x90\x80",
      "\xe4\xb8\xad",
      " ",
      "x",
  };
  std::mt19937 random(11);
  std::uniform_int_distribution<std::size_t> piece(0, std::size(pieces) - 1);
  std::uniform_int_distribution<int> length(1, 60);
  IcuLowercase icu;
  for (int n = 0; n < 5000; ++n) {
    std::string text;
    for (int k = length(random); k > 0; --k) text += pieces[piece(random)];
    ASSERT_TRUE(same_as_icu(icu, text));
  }
}

}  // namespace
}  // namespace io_utils
