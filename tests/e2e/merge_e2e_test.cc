// The interactive merge through the program: rows, prompts, answers and the
// merged file.
#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/run_binary.h"
#include "support/temp_dir.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::RunOptions;
using testing_support::TempDir;

constexpr const char* kSummary =
    "\nInteractive merge commands:\n"
    "  l, 1, <    - Select content from left (first) file\n"
    "  r, 2, >    - Select content from right (second) file\n"
    "  b, 3       - Include content from both files\n"
    "  e          - Edit the current difference manually\n"
    "  el         - Edit content starting with left file\n"
    "  er         - Edit content starting with right file\n"
    "  s, Enter   - Skip this difference\n"
    "  q          - Quit the program\n"
    "  ?, h       - Display this help\n"
    "\n"
    "% ";

// Rows of a 40-column listing with tabs expanded, as the listing shows them.
constexpr const char* kChangedRow = "old                |  new\n";
constexpr const char* kLeftOnlyRow = "gone               <\n";
constexpr const char* kRightOnlyRow = "                   >  added\n";

// Rows: common "same", changed old|new, left-only "gone", common "keep",
// right-only "added".
struct Fixture {
  TempDir dir;
  std::string left = dir.write("left", "same\nold\ngone\nkeep\n");
  std::string right = dir.write("right", "same\nnew\nkeep\nadded\n");
  std::string out = dir.file("out");

  testing_support::RunResult merge(const std::string& answers) {
    return run_vrelsdiff(
        {"-t", "-w", "40", "-o", out, left, right},
        RunOptions{.input = answers,
                   .env = {{"EDITOR", "/bin/true"}, {"TMPDIR", dir.path()}}});
  }
};

TEST(Merge, AppliesEachAnswerToItsRow) {
  const std::string all_rows =
      std::string(kChangedRow) + kLeftOnlyRow + kRightOnlyRow;
  struct Case {
    const char* name;
    std::string answers;
    std::string merged;
    std::string shown;    // standard output
    std::string prompts;  // standard error
  } cases[] = {
      {"left, left, right", "l\nl\nr\n", "same\nold\ngone\nkeep\nadded\n",
       all_rows, "% % % "},
      {"the other side of one-sided rows adds nothing", "r\nr\nl\n",
       "same\nnew\nkeep\n", all_rows, "% % % "},
      {"both everywhere", "b\nb\nb\n", "same\nold\nnew\ngone\nkeep\nadded\n",
       all_rows, "% % % "},
      {"synonyms", "1\n<\n2\n", "same\nold\ngone\nkeep\nadded\n", all_rows,
       "% % % "},
      {"skip and unknown answers", "s\nleft\n\n", "same\nkeep\n", all_rows,
       "% % % "},
      {"end of input from the start", "", "same\nkeep\n", all_rows, "% % % "},
      {"end of input after one answer", "b\n", "same\nold\nnew\nkeep\n",
       all_rows, "% % % "},
      {"last answer without a line end", "l\nl\nr",
       "same\nold\ngone\nkeep\nadded\n", all_rows, "% % % "},
      {"several answers on one line are one answer", "l l\nr\n", "same\nkeep\n",
       all_rows, "% % % "},
      {"quit at the first differing row", "q\nl\nl\n", "same\n", kChangedRow,
       "% "},
      {"quit later keeps what was taken", "l\nq\n", "same\nold\n",
       std::string(kChangedRow) + kLeftOnlyRow, "% % "},
      {"silent takes every later left text without asking", "silent\n",
       "same\nold\ngone\nkeep\n", all_rows, "% "},
      {"help then quit", "?\nq\n", "same\n", kChangedRow,
       std::string("% ") + kSummary},
      {"help twice", "h\nHELP\nl\ns\ns\n", "same\nold\nkeep\n", all_rows,
       std::string("% ") + kSummary + kSummary + "% % "},
      {"edit left of a right-only row gives nothing", "s\ns\nel\n",
       "same\nkeep\n", all_rows, "% % % "},
      {"kept conflict text of one-sided rows adds no blank line", "e\ne\ne\n",
       "same\nold\nnew\ngone\nkeep\nadded\n", all_rows, "% % % "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture fixture;
    auto result = fixture.merge(c.answers);
    EXPECT_EQ(1, result.status);
    EXPECT_EQ(c.shown, result.out);
    EXPECT_EQ(c.prompts, result.err);
    EXPECT_EQ(c.merged, fixture.dir.read("out"));
  }
}

TEST(Merge, AcceptsEveryCommandWordOnAChangedRow) {
  struct Case {
    std::string answer;
    std::string merged;
  } cases[] = {
      {"l", "a\nold\nz\n"},
      {"1", "a\nold\nz\n"},
      {"<", "a\nold\nz\n"},
      {" L\r", "a\nold\nz\n"},
      {"r", "a\nnew\nz\n"},
      {"2", "a\nnew\nz\n"},
      {">", "a\nnew\nz\n"},
      {"b", "a\nold\nnew\nz\n"},
      {"3", "a\nold\nnew\nz\n"},
      {"e", "a\nold\nnew\nz\n"},
      {"el", "a\nold\nz\n"},
      {"ER", "a\nnew\nz\n"},
      {"s", "a\nz\n"},
      {"", "a\nz\n"},
      {"q", "a\n"},
      {"silent", "a\nold\nz\n"},
      {"?", "a\nz\n"},
      {"h", "a\nz\n"},
      {"help", "a\nz\n"},
      {"x", "a\nz\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("answer \"" + c.answer + "\"");
    TempDir dir;
    auto result = run_vrelsdiff(
        {"-o", dir.file("out"), dir.write("l", "a\nold\nz\n"),
         dir.write("r", "a\nnew\nz\n")},
        RunOptions{.input = c.answer + "\n",
                   .env = {{"EDITOR", "true"}, {"TMPDIR", dir.path()}}});
    EXPECT_EQ(1, result.status) << result.err;
    EXPECT_EQ(c.merged, dir.read("out"));
  }
}

TEST(Merge, SilentFromARightOnlyRowTakesNothingThereAndAsksNoMore) {
  TempDir dir;
  auto result = run_vrelsdiff({"-t", "-w", "40", "-o", dir.file("out"),
                               dir.write("l", "x\nkeep\nold\n"),
                               dir.write("r", "new0\nx\nkeep\nnew\n")},
                              RunOptions{.input = "silent\nr\n"});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ(
      "                   >  new0\n"
      "old                |  new\n",
      result.out);
  EXPECT_EQ("% ", result.err);
  EXPECT_EQ("x\nkeep\nold\n", dir.read("out"));
}

// The row leaves the process before its prompt, and the prompt before the
// answer is acted on: an editor run by "e" writes after both.
TEST(Merge, ShowsTheRowThenPromptsThenReads) {
  Fixture fixture;
  const std::string editor =
      fixture.dir.write("say.sh", "#!/bin/sh\necho editing\n");
  ASSERT_EQ(0, ::chmod(editor.c_str(), 0755));
  auto result = run_vrelsdiff(
      {"-t", "-w", "40", "-o", fixture.out, fixture.left, fixture.right},
      RunOptions{.input = "?\ne\nl\nr\n",
                 .env = {{"EDITOR", editor}, {"TMPDIR", fixture.dir.path()}},
                 .stderr_to_stdout = true});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ(std::string(kChangedRow) + "% " + kSummary + "editing\n" +
                kLeftOnlyRow + "% " + kRightOnlyRow + "% ",
            result.out);
}

TEST(Merge, WithoutDifferingRowsAsksNothingAndWritesTheLeftForm) {
  struct Case {
    const char* name;
    std::vector<std::string> options;
    std::string left;
    std::string right;
    std::string merged;
  } cases[] = {
      {"two empty files", {}, "", "", ""},
      {"same lines, last line end added", {}, "a\r\nb", "a\nb\n", "a\nb\n"},
      {"case ignored",
       {"-i"},
       "Alpha\nbeta\n",
       "alpha\nBETA\n",
       "Alpha\nbeta\n"},
      {"blank line of the left file ignored",
       {"-B"},
       "a\n\nb\n",
       "a\nb\n",
       "a\n\nb\n"},
      {"blank line of the right file ignored",
       {"-B"},
       "a\nb\n",
       "a\n \nb\n",
       "a\nb\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    std::vector<std::string> args = c.options;
    for (const std::string& arg :
         {std::string("-o"), dir.file("out"), dir.write("l", c.left),
          dir.write("r", c.right)}) {
      args.push_back(arg);
    }
    auto result = run_vrelsdiff(args, RunOptions{.input = "l\n"});
    EXPECT_EQ(0, result.status) << result.err;
    EXPECT_EQ("", result.out);
    EXPECT_EQ("", result.err);
    EXPECT_EQ(c.merged, dir.read("out"));
  }
}

TEST(Merge, ReadsADashOperandBeforeTheFirstPrompt) {
  TempDir dir;
  auto result =
      run_vrelsdiff({"-o", dir.file("out"), "-", dir.write("r", "a\nnew\n")},
                    RunOptions{.input = "a\nold\n"});
  EXPECT_EQ(1, result.status);
  EXPECT_EQ("% ", result.err);  // the prompt meets end of input
  EXPECT_EQ("a\n", dir.read("out"));
}

TEST(Merge, FailsOnAnAnswerThatCannotBeRead) {
  struct Case {
    const char* name;
    RunOptions run;
    std::string error;
  } cases[] = {
      {"not UTF-8", RunOptions{.input = "l\xff\n"},
       "% vrelsdiff: stream did not contain valid UTF-8\n"},
      {"not UTF-8 after a help", RunOptions{.input = "?\n\xc3\n"},
       std::string("% ") + kSummary +
           "vrelsdiff: stream did not contain valid UTF-8\n"},
      {"standard input a directory", RunOptions{.stdin_path = "/"},
       "% vrelsdiff: Is a directory (os error 21)\n"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture fixture;
    fixture.dir.write("out", "before\n");
    auto result = run_vrelsdiff(
        {"-t", "-w", "40", "-o", fixture.out, fixture.left, fixture.right},
        c.run);
    EXPECT_EQ(2, result.status);
    EXPECT_EQ(kChangedRow, result.out);
    EXPECT_EQ(c.error, result.err);
    EXPECT_EQ("before\n", fixture.dir.read("out"));
  }
}

// Standard error that takes no more: the prompt or a line of the command
// summary fails, and the merge ends at once without an output file. Its
// message cannot get through either; the status tells.
TEST(Merge, StopsWhenThePromptOrTheSummaryCannotBeWritten) {
  struct Case {
    const char* name;
    std::string answers;
    const char* stderr_device;  // else a file "err" in the folder
    std::optional<unsigned long> file_size_limit;
    std::string err;  // what reached that file
  } cases[] = {
      {"prompt to a full device", "l\nl\n", "/dev/full", std::nullopt, ""},
      // The limit lets the first summary through and ends in the second.
      {"summary beyond the file size limit", "?\n?\nl\n", nullptr, 512,
       (std::string("% ") + kSummary + kSummary).substr(0, 512)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture fixture;
    const std::string err =
        c.stderr_device ? c.stderr_device : fixture.dir.file("err");
    auto result = run_vrelsdiff(
        {"-t", "-w", "40", "-o", fixture.out, fixture.left, fixture.right},
        RunOptions{.input = c.answers,
                   .stderr_path = err,
                   .file_size_limit = c.file_size_limit});
    EXPECT_EQ(2, result.status);
    EXPECT_EQ(kChangedRow, result.out);
    if (!c.stderr_device) {
      EXPECT_EQ(c.err, fixture.dir.read("err"));
    }
    EXPECT_FALSE(fixture.dir.exists("out"));
  }
}

TEST(Merge, StopsWhenStandardOutputIsAClosedPipe) {
  Fixture fixture;
  auto result =
      run_vrelsdiff({"-o", fixture.out, fixture.left, fixture.right},
                    RunOptions{.input = "l\nl\nl\n", .stdout_broken = true});
  EXPECT_EQ(2, result.status);
  EXPECT_EQ("vrelsdiff: Broken pipe (os error 32)\n", result.err);
  EXPECT_FALSE(fixture.dir.exists("out"));
}

}  // namespace
