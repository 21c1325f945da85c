// The file size limit makes a write fail like any other: reported, status
// 2, and nothing lost; the editor still meets the limit as a signal.
#include <sys/stat.h>

#include <filesystem>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "support/run_binary.h"
#include "support/temp_dir.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::RunOptions;
using testing_support::TempDir;

constexpr unsigned long kLimit = 10240;

// Two files of some 109 kB, far beyond the limit, that differ in one line.
struct LargePair {
  TempDir dir;
  std::string left_text = numbered(false);
  std::string left = dir.write("a", left_text);
  std::string right = dir.write("b", numbered(true));

  static std::string numbered(bool changed) {
    std::string text;
    for (int i = 1; i <= 20000; ++i)
      text += (changed && i == 1000 ? "X" : std::to_string(i)) + "\n";
    return text;
  }
  std::size_t entries() const {
    auto all = std::filesystem::directory_iterator(dir.path());
    return static_cast<std::size_t>(std::distance(begin(all), end(all)));
  }
};

TEST(FileSizeLimit, AMergeBeyondItKeepsTheOldFile) {
  for (const char* output : {"a", "new"}) {
    SCOPED_TRACE(output);
    LargePair pair;
    auto result =
        run_vrelsdiff({"-o", pair.dir.file(output), pair.left, pair.right},
                      RunOptions{.input = "l\n", .file_size_limit = kLimit});
    EXPECT_EQ(2, result.status);
    EXPECT_EQ("% vrelsdiff: Write error: File too large (os error 27)\n",
              result.err);
    EXPECT_TRUE(pair.left_text == pair.dir.read("a"));  // too long to print
    EXPECT_EQ(2u, pair.entries());                      // a and b alone
  }
}

TEST(FileSizeLimit, AListingBeyondItIsReported) {
  LargePair pair;
  const std::string listing = pair.dir.file("listing");
  auto result = run_vrelsdiff(
      {pair.left, pair.right},
      RunOptions{.stdout_path = listing, .file_size_limit = kLimit});
  EXPECT_EQ(2, result.status);
  EXPECT_EQ("vrelsdiff: File too large (os error 27)\n", result.err);
  EXPECT_EQ(kLimit, std::filesystem::file_size(listing));
}

// The program ignores SIGXFSZ; the editor must get the default action
// back, or `head` would see the error and exit 1 instead of dying of it.
TEST(FileSizeLimit, StartsTheEditorWithTheDefaultSigxfszAction) {
  TempDir dir;
  const std::string editor = dir.write(
      "editor.sh", "#!/bin/sh\nhead -c 20000 /dev/zero > '" + dir.file("big") +
                       "'\necho $? > '" + dir.file("status") + "'\n");
  ASSERT_EQ(0, ::chmod(editor.c_str(), 0755));
  auto result = run_vrelsdiff(
      {"-o", dir.file("out"), dir.write("l", "old\n"), dir.write("r", "new\n")},
      RunOptions{.input = "el\n",
                 .env = {{"EDITOR", editor}, {"TMPDIR", dir.path()}},
                 .file_size_limit = kLimit});
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ("153\n", dir.read("status"));  // 128 + SIGXFSZ
  EXPECT_EQ("old\n", dir.read("out"));
}

}  // namespace
