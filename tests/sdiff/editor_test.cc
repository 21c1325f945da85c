// The editing step, run against small editor scripts in a temporary folder.
#include "sdiff/editor.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace sdiff {
namespace {

using testing_support::read_file;
using testing_support::TempDir;
using Lines = std::vector<std::string>;

// Sets or unsets environment variables for one test and puts them back.
class ScopedEnv {
 public:
  ScopedEnv() = default;
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second) {
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      } else {
        ::unsetenv(it->first.c_str());
      }
    }
  }
  void set(const std::string& name, std::optional<std::string> value) {
    const char* old = ::getenv(name.c_str());
    saved_.emplace_back(name,
                        old ? std::optional<std::string>(old) : std::nullopt);
    if (value) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

std::string temp_name() {
  return "sdiff_edit_" + std::to_string(::getpid()) + ".tmp";
}

// An editor script in `dir`: it copies the file it is given to "seen",
// records its argument in "argument", then runs `body` with the file as $1.
std::string write_editor(const TempDir& dir, const std::string& name,
                         const std::string& body) {
  std::string script =
      dir.write(name, "#!/bin/sh\ncp \"$1\" '" + dir.file("seen") +
                          "'\nprintf %s \"$1\" > '" + dir.file("argument") +
                          "'\n" + body + "\n");
  ::chmod(script.c_str(), 0755);
  return script;
}

// The common set-up: TMPDIR is the test's folder, EDITOR the script.
struct EditorFixture {
  TempDir dir;
  ScopedEnv env;
  std::string temp_path = dir.file(temp_name());

  explicit EditorFixture(const std::string& body) {
    env.set("TMPDIR", dir.path());
    env.set("VISUAL", std::nullopt);
    env.set("EDITOR", write_editor(dir, "editor.sh", body));
  }
};

std::string error_text(io_utils::Result<Lines>& result) {
  return result.ok() ? "(no error)" : io_utils::message_text(result.error());
}

constexpr const char* kConflict =
    "<<<<<< LEFT (first file)\nleft\n======\nright\n"
    ">>>>>> RIGHT (second file)\n";

TEST(LaunchEditorWithContent, ReturnsTheSavedLinesWithoutMarkerLines) {
  struct Case {
    const char* name;
    std::string text;
    std::string body;  // what the editor does to "$1"
    Lines expected;
  } cases[] = {
      {"conflict text kept", kConflict, "exit 0", {"left", "right"}},
      {"one text without line end", "left", "exit 0", {"left"}},
      {"empty text kept", "", "exit 0", {}},
      {"saved empty", "left", ": > \"$1\"", {}},
      {"one line end", "x", "printf '\\n' > \"$1\"", {""}},
      {"crlf line ends",
       "x",
       "printf 'a\\r\\nb\\r\\n\\r\\nlast\\r' > \"$1\"",
       {"a", "b", "", "last\r"}},
      {"lone cr inside a line", "x", "printf 'a\\rb\\n' > \"$1\"", {"a\rb"}},
      {"the user's own marker-like lines",
       "x",
       "printf '======\\n=====\\n<<<<<<<x\\n>>>>>> y\\nkeep\\n<<<<<\\n>>>>>>' "
       "> \"$1\"",
       {"=====", "keep", "<<<<<"}},
      {"non-ASCII text",
       "x",
       "printf '\\303\\251t\\303\\251\\n' > \"$1\"",
       {"\u00e9t\u00e9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditorFixture fixture(c.body);
    auto result = launch_editor_with_content(c.text);
    ASSERT_TRUE(result.ok()) << error_text(result);
    EXPECT_EQ(c.expected, result.value());
    // The editor got exactly the text, with no line end added.
    EXPECT_EQ(c.text, fixture.dir.read("seen"));
    EXPECT_EQ(fixture.temp_path, fixture.dir.read("argument"));
    EXPECT_FALSE(fixture.dir.exists(temp_name()));
  }
}

TEST(LaunchEditorWithContent, ReportsEachFailureAndLeavesTheFileAsSaid) {
  const std::optional<std::string> gone = std::nullopt;
  struct Case {
    const char* name;
    std::string body;
    std::optional<std::string> editor;  // replaces the script when set
    std::string expected_error;
    std::optional<std::string> file_afterwards;
  } cases[] = {
      {"exit status 1", "exit 1", {}, "Editor exited with error", gone},
      {"killed by a signal",
       "kill -KILL $$",
       {},
       "Editor exited with error",
       gone},
      {"file deleted",
       "rm \"$1\"",
       {},
       "Failed to read edited file: No such file or directory (os error 2)",
       gone},
      {"invalid UTF-8 saved",
       "printf 'ok\\n\\377\\n' > \"$1\"",
       {},
       "Failed to read edited file: stream did not contain valid UTF-8",
       "ok\n\xff\n"},
      {"empty editor name", "", "",
       "Failed to launch editor '': No such file or directory (os error 2)",
       "the text"},
      {"name with a blank and an option", "", "sh -c",
       "Failed to launch editor 'sh -c': No such file or directory (os error "
       "2)",
       "the text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditorFixture fixture(c.body);
    if (c.editor) {
      fixture.env.set("EDITOR", *c.editor);
      // A set EDITOR is used as it is: were VISUAL consulted, the working
      // script would run instead.
      fixture.env.set("VISUAL", fixture.dir.file("editor.sh"));
    }
    auto result = launch_editor_with_content("the text");
    EXPECT_EQ(c.expected_error, error_text(result));
    if (c.file_afterwards) {
      EXPECT_EQ(*c.file_afterwards, fixture.dir.read(temp_name()));
    } else {
      EXPECT_FALSE(fixture.dir.exists(temp_name()));
    }
  }
}

TEST(LaunchEditorWithContent, ReportsAnEditorThatCannotBeRun) {
  EditorFixture fixture("exit 0");
  const std::string script = fixture.dir.file("editor.sh");
  ::chmod(script.c_str(), 0644);
  auto with_path = launch_editor_with_content("x");
  EXPECT_EQ("Failed to launch editor '" + script +
                "': Permission denied (os error 13)",
            error_text(with_path));

  const std::string spaced = script + " -w";
  fixture.env.set("EDITOR", spaced);
  auto with_option = launch_editor_with_content("x");
  EXPECT_EQ("Failed to launch editor '" + spaced +
                "': No such file or directory (os error 2)",
            error_text(with_option));
}

TEST(LaunchEditorWithContent, ChoosesEditorThenVisualThenVi) {
  TempDir dir;
  ScopedEnv env;
  env.set("TMPDIR", dir.path());
  env.set("PATH", dir.path() + ":/usr/bin:/bin");  // ours found first
  for (const char* name : {"my-editor", "my-visual", "vi"}) {
    write_editor(dir, name,
                 std::string("echo ") + name + " > '" + dir.file("ran") + "'");
  }
  const std::optional<std::string> unset = std::nullopt;
  struct Case {
    std::optional<std::string> editor;
    std::optional<std::string> visual;
    std::string expected;
  } cases[] = {
      {unset, unset, "vi"},
      {unset, "my-visual", "my-visual"},
      {"my-editor", "my-visual", "my-editor"},
      {"my-editor", unset, "my-editor"},
      {"my-editor\xff", "my-visual", "my-visual"},
      {"my-editor\xff", "my-visual\xc3", "vi"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("EDITOR " + c.editor.value_or("(unset)") + ", VISUAL " +
                 c.visual.value_or("(unset)"));
    env.set("EDITOR", c.editor);
    env.set("VISUAL", c.visual);
    auto result = launch_editor_with_content("x");
    ASSERT_TRUE(result.ok()) << error_text(result);
    EXPECT_EQ(c.expected + "\n", dir.read("ran"));
  }
}

TEST(LaunchEditorWithContent, PutsTheFileWhereTmpdirSays) {
  TempDir dir;
  ScopedEnv env;
  env.set("VISUAL", std::nullopt);
  env.set("EDITOR", write_editor(dir, "editor.sh", "exit 0"));

  env.set("TMPDIR", std::nullopt);
  ASSERT_TRUE(launch_editor_with_content("x").ok());
  EXPECT_EQ("/tmp/" + temp_name(), dir.read("argument"));

  env.set("TMPDIR", dir.path() + "/");
  ASSERT_TRUE(launch_editor_with_content("x").ok());
  EXPECT_EQ(dir.file(temp_name()), dir.read("argument"));

  // TMPDIR is taken byte for byte, UTF-8 or not.
  const std::string odd = dir.file("d\xff");
  ASSERT_EQ(0, ::mkdir(odd.c_str(), 0700));
  env.set("TMPDIR", odd);
  ASSERT_TRUE(launch_editor_with_content("x").ok());
  EXPECT_EQ(odd + "/" + temp_name(), dir.read("argument"));

  // Set but empty: the bare name, in the current directory.
  char* saved_cwd = ::getcwd(nullptr, 0);
  ASSERT_EQ(0, ::chdir(odd.c_str()));
  env.set("EDITOR", write_editor(dir, "editor.sh", "cp \"$1\" here-seen"));
  env.set("TMPDIR", "");
  auto relative = launch_editor_with_content("in cwd");
  ASSERT_EQ(0, ::chdir(saved_cwd));
  ::free(saved_cwd);
  ASSERT_TRUE(relative.ok()) << error_text(relative);
  EXPECT_EQ(temp_name(), dir.read("argument"));
  EXPECT_EQ("in cwd", read_file(odd + "/here-seen"));

  env.set("TMPDIR", dir.file("missing"));
  ::unlink(dir.file("seen").c_str());
  auto missing = launch_editor_with_content("x");
  EXPECT_EQ(
      "Failed to create temp file: No such file or directory (os error 2)",
      error_text(missing));
  EXPECT_FALSE(dir.exists("seen"));  // the editor never ran
}

TEST(LaunchEditorWithContent, RewritesItsOwnFileOnEveryStep) {
  EditorFixture fixture("exit 0");
  fixture.dir.write(temp_name(), "a leftover much longer than the text\n");
  ASSERT_TRUE(launch_editor_with_content("first\nsecond\n").ok());
  EXPECT_EQ("first\nsecond\n", fixture.dir.read("seen"));
  auto second = launch_editor_with_content("3rd");
  ASSERT_TRUE(second.ok()) << error_text(second);
  EXPECT_EQ("3rd", fixture.dir.read("seen"));
  EXPECT_EQ(Lines{"3rd"}, second.value());
}

// The text may come from files only the user may read: the file is the
// owner's alone whatever the umask, also when an old one of ours is reused.
TEST(LaunchEditorWithContent, KeepsItsFileReadableByItsOwnerOnly) {
  for (const bool reused : {false, true}) {
    SCOPED_TRACE(reused ? "reused file" : "new file");
    EditorFixture fixture("stat -c %a \"$1\" > \"$(dirname \"$1\")/mode\"");
    if (reused) {
      fixture.dir.write(temp_name(), "left behind\n");
      ASSERT_EQ(0, ::chmod(fixture.temp_path.c_str(), 0666));
    }
    const mode_t saved = ::umask(0);
    auto result = launch_editor_with_content("x");
    ::umask(saved);
    ASSERT_TRUE(result.ok()) << error_text(result);
    EXPECT_EQ("600\n", fixture.dir.read("mode"));
  }
}

// The path is predictable, so someone else may have put something there
// first; the step must neither write through it nor hand it to the editor.
TEST(LaunchEditorWithContent, RefusesWhatOthersPutAtThePath) {
  struct Case {
    const char* name;
    void (*plant)(const TempDir& dir, const std::string& at);
    std::string expected_error;
  } cases[] = {
      {"symbolic link to a file",
       [](const TempDir& dir, const std::string& at) {
         ASSERT_EQ(0, ::symlink(dir.file("victim").c_str(), at.c_str()));
       },
       "Failed to create temp file: Too many levels of symbolic links (os "
       "error 40)"},
      {"dangling symbolic link",
       [](const TempDir& dir, const std::string& at) {
         ASSERT_EQ(0, ::symlink(dir.file("new-victim").c_str(), at.c_str()));
       },
       "Failed to create temp file: Too many levels of symbolic links (os "
       "error 40)"},
      {"hard link to a file",
       [](const TempDir& dir, const std::string& at) {
         ASSERT_EQ(0, ::link(dir.file("victim").c_str(), at.c_str()));
       },
       "Failed to create temp file: Operation not permitted (os error 1)"},
      {"FIFO without a reader",
       [](const TempDir&, const std::string& at) {
         ASSERT_EQ(0, ::mkfifo(at.c_str(), 0666));
       },
       "Failed to create temp file: No such device or address (os error 6)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EditorFixture fixture("exit 0");
    fixture.dir.write("victim", "precious\n");
    c.plant(fixture.dir, fixture.temp_path);
    auto result = launch_editor_with_content("overwrite");
    EXPECT_EQ(c.expected_error, error_text(result));
    EXPECT_EQ("precious\n", fixture.dir.read("victim"));
    EXPECT_FALSE(fixture.dir.exists("new-victim"));
    EXPECT_FALSE(fixture.dir.exists("seen"));  // the editor never ran
  }
}

TEST(LaunchEditorWithContent, RefusesAFileOfAnotherOwner) {
  if (::geteuid() != 0)
    GTEST_SKIP() << "needs root to give a file away";
  EditorFixture fixture("exit 0");
  fixture.dir.write(temp_name(), "someone else's\n");
  ASSERT_EQ(0, ::chown(fixture.temp_path.c_str(), 4242, 4242));
  auto result = launch_editor_with_content("overwrite");
  EXPECT_EQ("Failed to create temp file: Operation not permitted (os error 1)",
            error_text(result));
  EXPECT_EQ("someone else's\n", fixture.dir.read(temp_name()));
  EXPECT_FALSE(fixture.dir.exists("seen"));
}

TEST(LaunchEditorWithContent, StartsTheEditorWithTheDefaultSigpipeAction) {
  // The program ignores SIGPIPE and an ignored signal is inherited, so
  // without the reset `yes` would see EPIPE and exit 1 instead of dying.
  EditorFixture fixture(
      "(yes; echo $? > \"$(dirname \"$1\")/status\") | head -c1 > /dev/null");
  auto* previous = ::signal(SIGPIPE, SIG_IGN);
  auto result = launch_editor_with_content("x");
  ::signal(SIGPIPE, previous);
  ASSERT_TRUE(result.ok()) << error_text(result);
  EXPECT_EQ("141\n", fixture.dir.read("status"));
}

// With SIGCHLD ignored, as a parent may hand it down, the system reaps the
// editor before it can be waited for; a good edit must still count.
TEST(LaunchEditorWithContent, WaitsForTheEditorWhenSigchldIsIgnored) {
  EditorFixture fixture("printf 'edited\\n' > \"$1\"");
  auto* previous = ::signal(SIGCHLD, SIG_IGN);
  auto result = launch_editor_with_content("x");
  auto* during_test = ::signal(SIGCHLD, previous);
  ASSERT_TRUE(result.ok()) << error_text(result);
  EXPECT_EQ(Lines{"edited"}, result.value());
  EXPECT_FALSE(fixture.dir.exists(temp_name()));
  EXPECT_EQ(SIG_IGN, during_test);  // the caller's choice is put back
}

}  // namespace
}  // namespace sdiff
