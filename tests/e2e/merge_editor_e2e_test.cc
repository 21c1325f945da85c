// The merge's editing commands through the program, with editor scripts
// that the tests write.
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "support/run_binary.h"
#include "support/temp_dir.h"

namespace {

using testing_support::run_vrelsdiff;
using testing_support::RunOptions;
using testing_support::TempDir;

// A folder holding a one-row pair (a, old|new, z), an output file that
// already exists, and an editor script made of `body`, which gets the
// temporary file as $1 and first records it in "seen".
struct EditFixture {
  TempDir dir;
  std::string left = dir.write("l", "a\nold\nz\n");
  std::string right = dir.write("r", "a\nnew\nz\n");
  std::string out = dir.write("out", "previous\n");

  std::string editor(const std::string& body) const {
    std::string script =
        dir.write("editor.sh", "#!/bin/sh\ncp \"$1\" '" + dir.file("seen") +
                                   "'\nprintf %s \"$1\" > '" +
                                   dir.file("argument") + "'\n" + body + "\n");
    ::chmod(script.c_str(), 0755);
    return script;
  }

  testing_support::RunResult merge(const std::string& answers,
                                   const std::string& editor_value,
                                   std::optional<std::string> tmpdir,
                                   const std::string& cwd = "") const {
    RunOptions options{
        .input = answers, .env = {{"EDITOR", editor_value}}, .cwd = cwd};
    if (tmpdir)
      options.env.emplace_back("TMPDIR", *tmpdir);
    return run_vrelsdiff({"-o", out, left, right}, options);
  }
};

TEST(MergeEdit, TakesTheLinesTheEditorSaves) {
  struct Case {
    const char* name;
    std::string answers;
    std::string body;
    std::string handed;  // what the editor found in the file
    std::string merged;
  } cases[] = {
      {"kept conflict text", "e\n", "exit 0",
       "<<<<<< LEFT (first file)\nold\n======\nnew\n"
       ">>>>>> RIGHT (second file)\n",
       "a\nold\nnew\nz\n"},
      {"kept left text", "el\n", "exit 0", "old", "a\nold\nz\n"},
      {"kept right text", "er\n", "exit 0", "new", "a\nnew\nz\n"},
      {"replaced", "er\n", "printf 'mine\\r\\nyours\\n' > \"$1\"", "new",
       "a\nmine\nyours\nz\n"},
      {"saved empty", "el\n", ": > \"$1\"", "old", "a\nz\n"},
      {"asked again after help", "?\ner\n", "exit 0", "new", "a\nnew\nz\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditFixture fixture;
    auto result =
        fixture.merge(c.answers, fixture.editor(c.body), fixture.dir.path());
    EXPECT_EQ(1, result.status) << result.err;
    EXPECT_EQ(c.handed, fixture.dir.read("seen"));
    EXPECT_EQ(c.merged, fixture.dir.read("out"));
  }
}

TEST(MergeEdit, TwoEditsInOneRunShareTheFile) {
  TempDir dir;
  const std::string script =
      dir.write("editor.sh", "#!/bin/sh\necho \"$1\" >> '" + dir.file("paths") +
                                 "'\nprintf 'edited\\n' > \"$1\"\n");
  ::chmod(script.c_str(), 0755);
  auto result = run_vrelsdiff(
      {"-o", dir.file("out"), dir.write("l", "a\nb\n"),
       dir.write("r", "A\nb\nc\n")},
      RunOptions{.input = "e\ner\n",
                 .env = {{"EDITOR", script}, {"TMPDIR", dir.path()}}});
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ("edited\nb\nedited\n", dir.read("out"));
  const std::string paths = dir.read("paths");
  const std::string first = paths.substr(0, paths.find('\n') + 1);
  EXPECT_EQ(first + first, paths);
  EXPECT_TRUE(std::regex_match(
      first, std::regex(dir.path() + "/sdiff_edit_[0-9]+\\.tmp\n")))
      << first;
}

// A failed editing step ends the merge at once: status 2, its message, and
// the existing output file untouched.
TEST(MergeEdit, AFailedStepEndsTheMergeAndKeepsTheOutputFile) {
  struct Case {
    const char* name;
    std::string body;
    std::optional<std::string> editor;  // instead of the script
    std::string error;
  } cases[] = {
      {"exit status 1", "exit 1", {}, "Editor exited with error"},
      {"killed by a signal", "kill -TERM $$", {}, "Editor exited with error"},
      {"file deleted",
       "rm \"$1\"",
       {},
       "Failed to read edited file: No such file or directory (os error 2)"},
      {"invalid UTF-8 saved",
       "printf '\\377' > \"$1\"",
       {},
       "Failed to read edited file: stream did not contain valid UTF-8"},
      {"EDITOR empty", "", "",
       "Failed to launch editor '': No such file or directory (os error 2)"},
      {"EDITOR with a blank and an option", "", "true -x",
       "Failed to launch editor 'true -x': No such file or directory (os "
       "error 2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditFixture fixture;
    const std::string editor = c.editor ? *c.editor : fixture.editor(c.body);
    auto result = fixture.merge("e\nl\n", editor, fixture.dir.path());
    EXPECT_EQ(2, result.status);
    EXPECT_EQ("old\t\t\t\t\t\t\t      |\tnew\n", result.out);
    EXPECT_EQ("% vrelsdiff: " + c.error + "\n", result.err);
    EXPECT_EQ("previous\n", fixture.dir.read("out"));
  }
}

TEST(MergeEdit, PutsTheTemporaryFileWhereTmpdirSays) {
  // Set but empty: the bare name in the current directory.
  EditFixture fixture;
  auto in_cwd =
      fixture.merge("el\n", fixture.editor("exit 0"), "", fixture.dir.path());
  EXPECT_EQ(1, in_cwd.status) << in_cwd.err;
  EXPECT_TRUE(std::regex_match(fixture.dir.read("argument"),
                               std::regex("sdiff_edit_[0-9]+\\.tmp")))
      << fixture.dir.read("argument");
  EXPECT_EQ("old", fixture.dir.read("seen"));

  // Unset: /tmp.
  auto in_tmp = fixture.merge("el\n", fixture.editor("exit 0"), std::nullopt);
  EXPECT_EQ(1, in_tmp.status) << in_tmp.err;
  EXPECT_TRUE(std::regex_match(fixture.dir.read("argument"),
                               std::regex("/tmp/sdiff_edit_[0-9]+\\.tmp")))
      << fixture.dir.read("argument");

  // Missing: the step fails before the editor runs.
  EditFixture missing;
  auto failed = missing.merge("el\n", missing.editor("exit 0"),
                              missing.dir.file("no-such-dir"));
  EXPECT_EQ(2, failed.status);
  EXPECT_EQ(
      "% vrelsdiff: Failed to create temp file: No such file or directory (os "
      "error 2)\n",
      failed.err);
  EXPECT_FALSE(missing.dir.exists("seen"));
  EXPECT_EQ("previous\n", missing.dir.read("out"));
}

// The program ignores SIGPIPE; the editor must get the default action back,
// or `yes` would see EPIPE and exit 1 instead of dying of the signal.
TEST(MergeEdit, StartsTheEditorWithTheDefaultSigpipeAction) {
  EditFixture fixture;
  auto result = fixture.merge(
      "el\n",
      fixture.editor("(yes; echo $? > '" + fixture.dir.file("status") +
                     "') | head -c1 > /dev/null"),
      fixture.dir.path());
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ("141\n", fixture.dir.read("status"));
}

// The temporary file holds the user's lines in a shared folder: it is the
// owner's alone, whatever the umask would allow.
TEST(MergeEdit, MakesTheTemporaryFileReadableByItsOwnerOnly) {
  EditFixture fixture;
  const mode_t saved = ::umask(0);
  auto result = fixture.merge(
      "el\n",
      fixture.editor("stat -c %a \"$1\" > '" + fixture.dir.file("mode") + "'"),
      fixture.dir.path());
  ::umask(saved);
  EXPECT_EQ(1, result.status) << result.err;
  EXPECT_EQ("600\n", fixture.dir.read("mode"));
}

// Whatever the editor leaves at the path other than a regular file is
// neither read nor waited for, and stays there for the user to see.
TEST(MergeEdit, ReadsBackOnlyARegularFile) {
  struct Case {
    const char* name;
    std::string body;
    std::string error;
    mode_t left_in_place;
  } cases[] = {
      {"FIFO", "rm \"$1\" && mkfifo \"$1\"", "not a regular file", S_IFIFO},
      {"symbolic link to a file",
       "printf 'secret\\n' > \"$1.target\" && rm \"$1\" && "
       "ln -s \"$1.target\" \"$1\"",
       "Too many levels of symbolic links (os error 40)", S_IFLNK},
      {"directory", "rm \"$1\" && mkdir \"$1\"", "Is a directory (os error 21)",
       S_IFDIR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditFixture fixture;
    auto result =
        fixture.merge("e\nl\n", fixture.editor(c.body), fixture.dir.path());
    EXPECT_EQ(2, result.status);
    EXPECT_EQ("% vrelsdiff: Failed to read edited file: " + c.error + "\n",
              result.err);
    EXPECT_EQ("previous\n", fixture.dir.read("out"));
    struct stat status;
    ASSERT_EQ(0, ::lstat(fixture.dir.read("argument").c_str(), &status));
    EXPECT_EQ(c.left_in_place, status.st_mode & S_IFMT);
  }
}

}  // namespace
