// Reading input files into lines and CompareLine records, and every way
// that reading fails.
#include "io_utils/read_lines.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "support/interrupted_pipe.h"
#include "support/temp_dir.h"

namespace io_utils {
namespace {

using testing_support::InterruptedPipe;
using testing_support::TempDir;
using Lines = std::vector<std::string>;

// The lines of read_file_lines as strings of their own.
Result<Lines> read_lines(const std::string& path) {
  Result<FileLines> file = read_file_lines(path);
  if (!file.ok())
    return std::move(file.error());
  return Lines(file.value().lines().begin(), file.value().lines().end());
}

TEST(ReadFileLines, SplitsAtLineEnds) {
  struct Case {
    const char* name;
    std::string content;
    Lines expected;
  } cases[] = {
      {"empty file", "", {}},
      {"only a line end", "\n", {""}},
      {"two empty lines", "\n\n", {"", ""}},
      {"final line end", "a\nb\n", {"a", "b"}},
      {"no final line end", "a\nb", {"a", "b"}},
      {"carriage return goes with the line end", "a\r\nb\r\n", {"a", "b"}},
      {"only one carriage return goes", "a\r\r\n", {"a\r"}},
      {"lone carriage return line", "\r\n", {""}},
      {"carriage return at the end of the file stays", "a\nb\r", {"a", "b\r"}},
      {"carriage return inside a line", "a\rb\n", {"a\rb"}},
      {"NUL and control bytes",
       std::string("a\0b\n\0\x1b\n", 7),
       {std::string("a\0b", 3), std::string("\0\x1b", 2)}},
      {"byte-order mark stays", "\xef\xbb\xbfx\ny\n", {"\xef\xbb\xbfx", "y"}},
      {"multi-byte text",
       "\xc3\xa9t\xc3\xa9\n\xe4\xb8\x80\n",
       {"\xc3\xa9t\xc3\xa9", "\xe4\xb8\x80"}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Result<Lines> lines = read_lines(dir.write("in", c.content));
    ASSERT_TRUE(lines.ok()) << message_text(lines.error());
    EXPECT_EQ(c.expected, lines.value());
  }
}

// Lines and characters that straddle the 8192-byte reads come out whole.
TEST(ReadFileLines, JoinsLinesAcrossReads) {
  std::string first(8191, 'a');
  first += "\xc3\xa9";  // split between the first and second read
  std::string second(20000, 'b');
  std::string third = "\xf0\x9f\x98\x80 end";
  TempDir dir;
  Result<Lines> lines =
      read_lines(dir.write("in", first + "\r\n" + second + "\n" + third));
  ASSERT_TRUE(lines.ok()) << message_text(lines.error());
  EXPECT_EQ((Lines{first, second, third}), lines.value());
}

TEST(ReadFileLines, ReadsATenMegabyteLineWithoutLineEnd) {
  std::string line;
  for (int i = 0; i < 1000000; ++i) line += "0123456\xc3\xa9";
  TempDir dir;
  Result<Lines> lines = read_lines(dir.write("in", line));
  ASSERT_TRUE(lines.ok()) << message_text(lines.error());
  ASSERT_EQ(1u, lines.value().size());
  EXPECT_TRUE(lines.value()[0] == line);
}

TEST(ReadFileLines, FollowsSymbolicLinks) {
  TempDir dir;
  std::string target = dir.write("target", "x\ny");
  ASSERT_EQ(0, ::symlink(target.c_str(), dir.file("link").c_str()));
  Result<Lines> lines = read_lines(dir.file("link"));
  ASSERT_TRUE(lines.ok()) << message_text(lines.error());
  EXPECT_EQ((Lines{"x", "y"}), lines.value());
}

// A pipe has no size to go by and comes in pieces.
TEST(ReadFileLines, ReadsAPipeToItsEnd) {
  int fds[2];
  ASSERT_EQ(0, ::pipe(fds));
  std::string content = std::string(20000, 'p') + "\nlast";
  ASSERT_EQ(static_cast<ssize_t>(content.size()),
            ::write(fds[1], content.data(), content.size()));
  ::close(fds[1]);
  Result<Lines> lines = read_lines("/dev/fd/" + std::to_string(fds[0]));
  ::close(fds[0]);
  ASSERT_TRUE(lines.ok()) << message_text(lines.error());
  EXPECT_EQ((Lines{std::string(20000, 'p'), "last"}), lines.value());
}

// The lines of a pipe whose writer sends `pieces` one at a time, pausing
// between them so that each usually arrives in a read of its own.
Result<Lines> read_pipe_in_pieces(std::vector<std::string> pieces) {
  int fds[2];
  if (::pipe(fds) != 0)
    return DiffError::message("pipe failed");
  std::thread writer([write_fd = fds[1], pieces = std::move(pieces)] {
    for (const std::string& piece : pieces) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      EXPECT_EQ(static_cast<ssize_t>(piece.size()),
                ::write(write_fd, piece.data(), piece.size()));
    }
    ::close(write_fd);
  });
  Result<Lines> lines = read_lines("/dev/fd/" + std::to_string(fds[0]));
  writer.join();
  ::close(fds[0]);
  return lines;
}

// A pipe's buffer grows as it fills. The first piece is 64 KiB, what the
// reader asks for first, so that the first read fills the buffer exactly.
TEST(ReadFileLines, JoinsAPipesPiecesAcrossBufferBoundaries) {
  const std::string block(65535, 'x');
  struct Case {
    const char* name;
    std::vector<std::string> pieces;
    Lines expected;
  } cases[] = {
      {"CR LF split between reads", {block + "\r", "\nlast"}, {block, "last"}},
      {"last line without line end ends the buffer",
       {block + "y"},
       {block + "y"}},
      {"last line without line end after a grown buffer",
       {block + "\n", std::string(70000, 'z')},
       {block, std::string(70000, 'z')}},
      {"character split between reads",
       {block + "\xc3", "\xa9\n"},
       {block + "\xc3\xa9"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Result<Lines> lines = read_pipe_in_pieces(c.pieces);
    ASSERT_TRUE(lines.ok()) << message_text(lines.error());
    EXPECT_TRUE(c.expected == lines.value());
  }
}

// A signal that arrives while the reader waits for data interrupts the
// read; the read is repeated and the whole content still comes in.
TEST(ReadFileLines, RepeatsAnInterruptedRead) {
  InterruptedPipe pipe("late\n");
  Result<Lines> lines = read_lines("/dev/fd/" + std::to_string(pipe.read_fd()));
  ASSERT_TRUE(lines.ok()) << message_text(lines.error());
  EXPECT_EQ((Lines{"late"}), lines.value());
}

struct FailureCase {
  const char* name;
  std::string path;
  DiffErrorKind kind;
  std::string message;
};

void expect_failures(const std::vector<FailureCase>& cases) {
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    Result<Lines> lines = read_lines(c.path);
    ASSERT_FALSE(lines.ok());
    EXPECT_EQ(c.kind, lines.error().kind);
    EXPECT_EQ(c.message, message_text(lines.error()));
  }
}

TEST(ReadFileLines, ReportsPathsThatCannotBeRead) {
  TempDir dir;
  std::string file = dir.write("file", "x\n");
  std::string subdir = dir.file("sub dir:1");
  ASSERT_EQ(0, ::mkdir(subdir.c_str(), 0700));
  ASSERT_EQ(0, ::symlink(subdir.c_str(), dir.file("to_dir").c_str()));
  ASSERT_EQ(
      0, ::symlink(dir.file("nowhere").c_str(), dir.file("dangling").c_str()));
  ASSERT_EQ(0, ::symlink(dir.file("loop").c_str(), dir.file("loop").c_str()));
  std::string too_long = dir.file(std::string(300, 'n'));

  expect_failures({
      {"missing", dir.file("missing"), DiffErrorKind::NotFound,
       dir.file("missing") + ": No such file or directory"},
      {"empty path", "", DiffErrorKind::NotFound,
       ": No such file or directory"},
      {"past a regular file", file + "/x", DiffErrorKind::NotFound,
       file + "/x: No such file or directory"},
      {"dangling link", dir.file("dangling"), DiffErrorKind::NotFound,
       dir.file("dangling") + ": No such file or directory"},
      {"link loop", dir.file("loop"), DiffErrorKind::NotFound,
       dir.file("loop") + ": No such file or directory"},
      {"name too long", too_long, DiffErrorKind::NotFound,
       too_long + ": No such file or directory"},
      {"directory", subdir, DiffErrorKind::IsDirectory,
       subdir + ": Is a directory"},
      {"link to a directory", dir.file("to_dir"), DiffErrorKind::IsDirectory,
       dir.file("to_dir") + ": Is a directory"},
  });
}

TEST(ReadFileLines, ReportsOpenAndReadFailuresWithTheSystemText) {
  TempDir dir;
  std::string socket_path = dir.file("sock");
  int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socket_path.size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socket_path.c_str());
  ASSERT_EQ(0, ::bind(listener, reinterpret_cast<sockaddr*>(&address),
                      sizeof address));

  expect_failures({
      {"socket", socket_path, DiffErrorKind::Message,
       socket_path + ": No such device or address (os error 6)"},
      // Its status reads as a regular file, but reading from offset 0 of a
      // process's memory fails.
      {"read failure", "/proc/self/mem", DiffErrorKind::Message,
       "/proc/self/mem: Input/output error (os error 5)"},
  });
  ::close(listener);
}

TEST(ReadFileLines, RejectsMalformedUtf8AnywhereInTheFile) {
  struct Case {
    const char* name;
    std::string content;
  } cases[] = {
      {"first line", "\xff\nb\n"},
      {"middle line", "a\n\xc3\x28\nc\n"},
      {"last line without line end", "a\nb\n\xe4\xb8"},
      {"after many good reads", std::string(50000, 'a') + "\n\xed\xa0\x80\n"},
      {"overlong form", "a\xc0\xaf\n"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = dir.write("bad", c.content);
    Result<Lines> lines = read_lines(path);
    ASSERT_FALSE(lines.ok());
    EXPECT_EQ(DiffErrorKind::InvalidUtf8, lines.error().kind);
    EXPECT_EQ(path + ": invalid UTF-8 content", message_text(lines.error()));
  }
}

// A malformed line ends the reading at once: the reader does not wait for
// the rest of an input that may never end. Here the writer keeps its end
// open, so a reader that waited would hang until the alarm ends the test.
TEST(ReadFileLines, ReportsAMalformedLineWithoutWaitingForTheEnd) {
  int fds[2];
  ASSERT_EQ(0, ::pipe(fds));
  const std::string content = "good\nbad \xff\nmore to come";
  ASSERT_EQ(static_cast<ssize_t>(content.size()),
            ::write(fds[1], content.data(), content.size()));
  ::alarm(10);
  Result<FileLines> lines =
      read_file_lines("/dev/fd/" + std::to_string(fds[0]));
  ::alarm(0);
  ::close(fds[0]);
  ::close(fds[1]);
  ASSERT_FALSE(lines.ok());
  EXPECT_EQ(DiffErrorKind::InvalidUtf8, lines.error().kind);
}

// The lowest free descriptor: it moves up if reading leaves a file open.
int lowest_free_descriptor() {
  int fd = ::open("/dev/null", O_RDONLY);
  ::close(fd);
  return fd;
}

TEST(ReadFileLines, ClosesTheFileWhateverTheOutcome) {
  TempDir dir;
  const std::string paths[] = {
      dir.write("good", "a\nb\n"), dir.write("bad", "a\n\xff\n"),
      "/proc/self/mem",  // fails while reading
  };
  int before = lowest_free_descriptor();
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    (void)read_file_lines(path);
    EXPECT_EQ(before, lowest_free_descriptor());
  }
}

// Root may open anything, so the refusal is tested in a child that has
// given up its privileges.
TEST(ReadFileLines, ReportsPermissionDenied) {
  TempDir dir;
  ASSERT_EQ(0, ::chmod(dir.path().c_str(), 0755));
  std::string path = dir.write("secret", "x\n");
  ASSERT_EQ(0, ::chmod(path.c_str(), 0000));

  int fds[2];
  ASSERT_EQ(0, ::pipe(fds));
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(fds[0]);
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
      ::_exit(3);
    }
    Result<Lines> lines = read_lines(path);
    std::string text = lines.ok() ? "read" : message_text(lines.error());
    bool permission =
        !lines.ok() && lines.error().kind == DiffErrorKind::PermissionDenied;
    ssize_t written = ::write(fds[1], text.data(), text.size());
    ::_exit(written == static_cast<ssize_t>(text.size()) && permission ? 0 : 1);
  }
  ::close(fds[1]);
  std::string text;
  char buffer[512];
  for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) {
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fds[0]);
  int status = 0;
  ASSERT_EQ(child, ::waitpid(child, &status, 0));
  EXPECT_EQ(path + ": Permission denied", text);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(ReadAndNormalize, NumbersLinesAndKeepsTextBesideItsForm) {
  TempDir dir;
  std::string path = dir.write("in", "One  Two \nthree\n\n");
  CompareOptions options;
  options.ignore_case = true;
  options.ignore_space_change = true;
  Result<CompareLines> records = read_and_normalize(path, options);
  ASSERT_TRUE(records.ok()) << message_text(records.error());
  ASSERT_EQ(3u, records.value().lines().size());
  const struct {
    const char* text;
    const char* normalized;
  } expected[] = {{"One  Two ", "one two"}, {"three", "three"}, {"", ""}};
  for (std::size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i].text, records.value().lines()[i].text);
    EXPECT_EQ(expected[i].normalized, records.value().lines()[i].normalized);
    EXPECT_EQ(i + 1, records.value().lines()[i].line_number);
  }
}

TEST(ReadAndNormalize, StripsOneMoreCarriageReturnOnRequest) {
  struct Case {
    const char* name;
    std::string content;
    Lines plain;
    Lines stripped;
  } cases[] = {
      {"CR LF either way", "a\r\nb\r\n", {"a", "b"}, {"a", "b"}},
      {"two CR before LF", "a\r\r\n", {"a\r"}, {"a"}},
      {"one CR at the end of the file", "a\nb\r", {"a", "b\r"}, {"a", "b"}},
      {"two CR at the end of the file", "a\r\r", {"a\r\r"}, {"a\r"}},
      {"CR inside a line", "a\rb\r\n", {"a\rb"}, {"a\rb"}},
      {"line of one CR", "\r", {"\r"}, {""}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string path = dir.write("in", c.content);
    for (bool strip : {false, true}) {
      CompareOptions options;
      options.strip_trailing_cr = strip;
      Result<CompareLines> records = read_and_normalize(path, options);
      ASSERT_TRUE(records.ok()) << message_text(records.error());
      Lines texts;
      for (const types::CompareLine& record : records.value().lines()) {
        // With no normalisation flag the form is the text itself.
        EXPECT_EQ(record.text, record.normalized);
        texts.emplace_back(record.text);
      }
      EXPECT_EQ(strip ? c.stripped : c.plain, texts) << "strip " << strip;
    }
  }
}

// The form is made from the text after the extra carriage return is gone.
TEST(ReadAndNormalize, NormalizesTheStrippedLine) {
  TempDir dir;
  std::string path = dir.write("in", "A\t\r\r\n");
  CompareOptions options;
  options.strip_trailing_cr = true;
  options.ignore_case = true;
  options.ignore_tab_expansion = true;
  options.tabsize = 4;
  Result<CompareLines> records = read_and_normalize(path, options);
  ASSERT_TRUE(records.ok()) << message_text(records.error());
  ASSERT_EQ(1u, records.value().lines().size());
  EXPECT_EQ("A\t", records.value().lines()[0].text);
  EXPECT_EQ("a   ", records.value().lines()[0].normalized);
}

// The forms of many changed lines fill several blocks, the first of them
// 64 KiB: forms made early stay valid while later blocks are added. The
// lines are a mix of ASCII ones, lines with a letter beyond ASCII, lines
// that lower-casing leaves as they are, and one line larger than the
// blocks made so far.
TEST(ReadAndNormalize, KeepsEveryFormWhileFormsFillSeveralBlocks) {
  std::string content;
  std::vector<std::pair<std::string, std::string>> expected;  // text, form
  for (int i = 0; i < 20000; ++i) {
    const std::string number = std::to_string(i);
    std::pair<std::string, std::string> line;
    if (i == 3000) {
      line = {std::string(300000, 'W'), std::string(300000, 'w')};
    } else if (i % 7 == 0) {
      line = {"\xc3\x89T\xc3\x89 " + number, "\xc3\xa9t\xc3\xa9 " + number};
    } else if (i % 11 == 0) {
      line = {"unchanged " + number, "unchanged " + number};
    } else {
      line = {"Line " + number + " OF MANY", "line " + number + " of many"};
    }
    content += line.first + "\n";
    expected.push_back(std::move(line));
  }
  TempDir dir;
  CompareOptions options;
  options.ignore_case = true;
  Result<CompareLines> records =
      read_and_normalize(dir.write("in", content), options);
  ASSERT_TRUE(records.ok()) << message_text(records.error());
  const auto lines = records.value().lines();
  ASSERT_EQ(expected.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(expected[i].first, lines[i].text) << "line " << i + 1;
    ASSERT_EQ(expected[i].second, lines[i].normalized) << "line " << i + 1;
    ASSERT_EQ(i + 1, lines[i].line_number);
  }
}

TEST(ReadAndNormalize, PassesReadFailuresOnUnchanged) {
  TempDir dir;
  std::string path = dir.write("bad", "ok\n\xfe\n");
  Result<CompareLines> records = read_and_normalize(path, CompareOptions{});
  ASSERT_FALSE(records.ok());
  EXPECT_EQ(path + ": invalid UTF-8 content", message_text(records.error()));
}

}  // namespace
}  // namespace io_utils
