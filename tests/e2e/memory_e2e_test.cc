// Running out of memory ends the program with a message, not a crash.
#include <stdlib.h>
#include <sys/types.h>
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <string>

#include <gtest/gtest.h>

#include "support/run_binary.h"
#include "support/sanitizer.h"
#include "support/temp_dir.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::TempDir;

// 48 MB of distinct lines: holding both files cannot fit in 100 MB.
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
  auto result = run_vrelsdiff({left, right}, {.memory_limit_kib = 100'000});
  EXPECT_EQ(2, result.status);
  EXPECT_EQ("", result.out);
  EXPECT_EQ("vrelsdiff: memory exhausted\n", result.err);
}

// The content of /proc/sys/vm/overcommit_memory: "1" when the system
// grants any amount of memory up front.
std::string overcommit_policy() {
  std::string policy;
  std::ifstream("/proc/sys/vm/overcommit_memory") >> policy;
  return policy;
}

// A sparse file may claim more than any memory holds; the run must say so
// at once instead of crashing or trying to read it.
TEST(Memory, AFileClaimingAnAbsurdSizeIsExhaustedMemory) {
  struct Case {
    const char* name;
    off_t size;
    bool within_address_space;  // granted where overcommit is unlimited
  } cases[] = {
      {"4 EiB", off_t{4} << 60, false},
      {"1 TiB", off_t{1} << 40, true},
  };
  TempDir dir;
  const std::string right = dir.write("right", "a\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.within_address_space && overcommit_policy() == "1") {
      std::cout << "skipped " << c.name << ": memory overcommit is unlimited, "
                << "so the file would really be read\n";
      continue;
    }
    // tmpfs keeps a sparse file of any size without taking room.
    std::string path = "/dev/shm/vrelsdiff-test-XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd < 0)
      GTEST_SKIP() << "cannot make a file on /dev/shm";
    const bool sized = ::ftruncate(fd, c.size) == 0;
    ::close(fd);
    if (!sized) {
      ::unlink(path.c_str());
      GTEST_SKIP() << "/dev/shm refuses a file of " << c.name;
    }
    auto result = run_vrelsdiff({path, right});
    ::unlink(path.c_str());
    EXPECT_EQ(2, result.status);
    EXPECT_EQ("", result.out);
    EXPECT_EQ("vrelsdiff: memory exhausted\n", result.err);
  }
}

}  // namespace
