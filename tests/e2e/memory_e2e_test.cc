// Running out of memory ends the program with a message, not a crash.
#include <string>

#include <gtest/gtest.h>

#include "support/run_binary.h"
#include "support/sanitizer.h"
#include "support/temp_dir.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::TempDir;

// 48 MB of distinct lines: reading both files cannot fit in 150 MB.
std::string large_text(char tag) {
  std::string text;
  text.reserve(48u << 20);
  for (int i = 0; text.size() < (48u << 20); ++i) {
    text += tag;
    text += std::to_string(i);
    text += " a line long enough to take some room in memory\n";
  }
  return text;
}

TEST(Memory, ExhaustionIsReportedWithStatus2AndNoListing) {
#if defined(VRELSDIFF_ADDRESS_SANITIZER)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the "
                  "limit allows";
#endif
  TempDir dir;
  std::string left = dir.write("left.txt", large_text('l'));
  std::string right = dir.write("right.txt", large_text('r'));
  auto result = run_vrelsdiff({left, right}, {.memory_limit_kib = 150'000});
  EXPECT_EQ(2, result.status);
  EXPECT_EQ("", result.out);
  EXPECT_EQ("vrelsdiff: memory exhausted\n", result.err);
}

}  // namespace
