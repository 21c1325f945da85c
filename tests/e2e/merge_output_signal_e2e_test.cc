// An interrupt while the new merged file is written removes it, and the
// program then ends as the signal would have ended it. The program is held
// in its fsync of the new file, written in full but not yet in place, while
// the test looks and sends the signal.
#include <signal.h>
#include <string.h>

#include <string>

#include <gtest/gtest.h>

#include "support/fsync_stop.h"
#include "support/merge_output_fixture.h"
#include "support/run_binary.h"

namespace {

using testing_support::Names;
using testing_support::names_in;
using testing_support::OneChange;
using testing_support::RunOptions;

constexpr const char* kNoStop =
    "cannot hold the program in its fsync here (needs seccomp user "
    "notification)";

// The names of the folder, with each temporary file of the merge's own
// counted under one name.
Names with_temporaries_as_one(const Names& names) {
  Names seen;
  for (const std::string& name : names)
    seen.insert(name.starts_with(".vrelsdiff-") ? ".vrelsdiff-*" : name);
  return seen;
}

TEST(MergeOutputSignal, RemovesTheNewFileAndEndsAsTheSignalWould) {
  if (!testing_support::can_stop_at_fsync())
    GTEST_SKIP() << kNoStop;
  for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
    for (const bool output_exists : {true, false}) {
      SCOPED_TRACE(std::string(strsignal(number)) +
                   (output_exists ? ", over an old file" : ", a new file"));
      OneChange pair;
      const std::string out = pair.dir.file("out");
      Names expected = {"l", "r"};
      if (output_exists) {
        pair.dir.write("out", "previous\n");
        expected.insert("out");
      }
      Names at_stop;
      auto result = pair.merge(
          out, RunOptions{.at_first_fsync = [&](int pid) {
            at_stop = with_temporaries_as_one(names_in(pair.dir.path()));
            ::kill(pid, number);
          }});
      EXPECT_EQ(128 + number, result.status) << result.err;
      Names expected_at_stop = expected;
      expected_at_stop.insert(".vrelsdiff-*");
      EXPECT_EQ(expected_at_stop, at_stop);
      EXPECT_EQ(expected, names_in(pair.dir.path()));
      if (output_exists) {
        EXPECT_EQ("previous\n", pair.dir.read("out"));
      }
    }
  }
}

// A signal the program was started ignoring, as under nohup, would not
// have ended it: the merge goes on to its end.
TEST(MergeOutputSignal, AnIgnoredSignalLetsTheMergeFinish) {
  if (!testing_support::can_stop_at_fsync())
    GTEST_SKIP() << kNoStop;
  OneChange pair;
  const std::string out = pair.dir.write("out", "previous\n");
  bool stopped = false;
  auto result = pair.merge(out, RunOptions{.ignored_signals = {SIGHUP},
                                           .at_first_fsync = [&](int pid) {
                                             stopped = true;
                                             ::kill(pid, SIGHUP);
                                           }});
  EXPECT_TRUE(stopped);
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ(OneChange::kMerged, pair.dir.read("out"));
  EXPECT_EQ((Names{"l", "r", "out"}), names_in(pair.dir.path()));
}

}  // namespace
