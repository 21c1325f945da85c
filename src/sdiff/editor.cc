// The editing step: temporary file, editor child process, reading back.
#include "sdiff/editor.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <utility>

#include "io_utils/diff_error.h"
#include "io_utils/fd_io.h"
#include "io_utils/utf8.h"

extern char** environ;

namespace sdiff {
namespace {

using io_utils::DiffError;
using io_utils::Result;

constexpr std::string_view kMarkerPrefixes[] = {"<<<<<<", "======", ">>>>>>"};
constexpr std::string_view kCreateFailed = "Failed to create temp file: ";
constexpr std::string_view kReadFailed = "Failed to read edited file: ";
constexpr std::string_view kNotRegularText = "not a regular file";
constexpr mode_t kPrivateMode = 0600;

DiffError prefixed(std::string_view prefix, std::string_view error_text) {
  return DiffError::message(std::string(prefix) + std::string(error_text));
}

// A variable that is not UTF-8 counts as unset; an empty one is used.
std::optional<std::string> text_variable(const char* name) {
  const char* value = ::getenv(name);
  if (value == nullptr || !io_utils::is_valid_utf8(value))
    return std::nullopt;
  return std::string(value);
}

std::string editor_name() {
  if (auto editor = text_variable("EDITOR"))
    return std::move(*editor);
  if (auto visual = text_variable("VISUAL"))
    return std::move(*visual);
  return "vi";
}

// TMPDIR is a path, so its bytes are taken as they are; set but empty means
// the current directory.
std::string temp_file_path() {
  const char* tmpdir = ::getenv("TMPDIR");
  std::string path = tmpdir != nullptr ? tmpdir : "/tmp";
  if (!path.empty() && path.back() != '/')
    path += '/';
  path += "sdiff_edit_" + std::to_string(::getpid()) + ".tmp";
  return path;
}

// The name is predictable and the directory usually shared, so anything
// already standing at the path may have been put there by someone else.
// Only a plain file of our own with no other name is reused: a symbolic
// link is not followed (O_NOFOLLOW), a FIFO does not block the open
// (O_NONBLOCK, which does nothing to a regular file), and the checks run
// on the opened file before it is emptied, so nothing can be swapped in
// between. The text may come from files only the user may read, so the
// file is the owner's alone, also when an older one is reused.
Result<void> write_temp_file(const std::string& path, std::string_view text) {
  io_utils::OpenedFile file = io_utils::open_file(
      path, O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK, kPrivateMode);
  if (!file.fd.is_open())
    return prefixed(kCreateFailed, io_utils::os_error_text(file.error));

  struct stat status;
  if (::fstat(file.fd.get(), &status) != 0)
    return prefixed(kCreateFailed, io_utils::os_error_text(errno));
  if (!S_ISREG(status.st_mode) || status.st_uid != ::geteuid() ||
      status.st_nlink != 1)
    return prefixed(kCreateFailed, io_utils::os_error_text(EPERM));
  if (::fchmod(file.fd.get(), kPrivateMode) != 0 ||
      ::ftruncate(file.fd.get(), 0) != 0)
    return prefixed(kCreateFailed, io_utils::os_error_text(errno));
  if (Result<void> all = io_utils::write_all(file.fd.get(), text); !all.ok())
    return prefixed(kCreateFailed, io_utils::message_text(all.error()));
  if (const int error = file.fd.close(); error != 0)
    return prefixed(kCreateFailed, io_utils::os_error_text(error));
  return {};
}

DiffError launch_failed(const std::string& editor, int errnum) {
  return DiffError::message("Failed to launch editor '" + editor +
                            "': " + io_utils::os_error_text(errnum));
}

// Runs the editor on `path` without a shell and waits for it; returns its
// wait status. The program ignores SIGPIPE and SIGXFSZ, and an ignored
// signal would be inherited, so the child gets the default actions back.
Result<int> spawn_and_wait(const std::string& editor, const std::string& path) {
  posix_spawnattr_t attributes;
  if (int error = ::posix_spawnattr_init(&attributes); error != 0) {
    return launch_failed(editor, error);
  }
  sigset_t default_signals;
  sigemptyset(&default_signals);
  sigaddset(&default_signals, SIGPIPE);
  sigaddset(&default_signals, SIGXFSZ);
  ::posix_spawnattr_setsigdefault(&attributes, &default_signals);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  std::string argv0 = editor;
  std::string argv1 = path;
  char* argv[] = {argv0.data(), argv1.data(), nullptr};
  pid_t pid = -1;
  int error =
      ::posix_spawnp(&pid, editor.c_str(), nullptr, &attributes, argv, environ);
  ::posix_spawnattr_destroy(&attributes);
  if (error != 0)
    return launch_failed(editor, error);

  int wait_status = 0;
  while (::waitpid(pid, &wait_status, 0) < 0) {
    if (errno != EINTR)
      return launch_failed(editor, errno);
  }
  return wait_status;
}

// A parent may hand down SIGCHLD ignored (or with SA_NOCLDWAIT); the system
// then reaps the editor itself and waitpid fails after a good edit, so the
// default action stands while the editor runs, and the old one after.
Result<int> run_editor(const std::string& editor, const std::string& path) {
  struct sigaction previous;
  ::sigaction(SIGCHLD, nullptr, &previous);
  const bool reaped_by_system =
      (previous.sa_flags & SA_NOCLDWAIT) != 0 ||
      ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_IGN);
  if (!reaped_by_system)
    return spawn_and_wait(editor, path);

  struct sigaction waitable = {};
  waitable.sa_handler = SIG_DFL;
  sigemptyset(&waitable.sa_mask);
  ::sigaction(SIGCHLD, &waitable, nullptr);
  Result<int> wait_status = spawn_and_wait(editor, path);
  ::sigaction(SIGCHLD, &previous, nullptr);
  return wait_status;
}

// The editor may leave anything at the path. As on the writing side, a
// symbolic link is not followed and a FIFO cannot block the open; only a
// regular file is read, so a FIFO cannot hang the merge and no device is
// read from. A directory is refused with the error reading it would give.
Result<io_utils::ByteBuffer> read_edited_file(const std::string& path) {
  io_utils::OpenedFile file =
      io_utils::open_file(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (!file.fd.is_open())
    return prefixed(kReadFailed, io_utils::os_error_text(file.error));
  struct stat status;
  if (::fstat(file.fd.get(), &status) != 0)
    return prefixed(kReadFailed, io_utils::os_error_text(errno));
  if (S_ISDIR(status.st_mode))
    return prefixed(kReadFailed, io_utils::os_error_text(EISDIR));
  if (!S_ISREG(status.st_mode))
    return prefixed(kReadFailed, kNotRegularText);
  io_utils::ByteBuffer content;
  if (const int error = io_utils::read_to_end(
          file.fd.get(), content, static_cast<std::size_t>(status.st_size));
      error != 0)
    return prefixed(kReadFailed, io_utils::os_error_text(error));
  if (!io_utils::is_valid_utf8(content.view()))
    return prefixed(kReadFailed, io_utils::kInvalidUtf8StreamText);
  return content;
}

bool is_marker_line(std::string_view line) {
  for (std::string_view prefix : kMarkerPrefixes) {
    if (line.starts_with(prefix))
      return true;
  }
  return false;
}

// Lines end at "\n" with one "\r" before it removed; a last line without
// "\n" is kept whole, "\r" included.
std::vector<std::string> lines_without_markers(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
      text = {};
    } else {
      text.remove_prefix(end + 1);
      if (line.ends_with('\r'))
        line.remove_suffix(1);
    }
    if (!is_marker_line(line))
      lines.emplace_back(line);
  }
  return lines;
}

}  // namespace

Result<std::vector<std::string>> launch_editor_with_content(
    std::string_view text) {
  const std::string editor = editor_name();
  const std::string path = temp_file_path();

  if (Result<void> written = write_temp_file(path, text); !written.ok()) {
    return std::move(written.error());
  }
  Result<int> wait_status = run_editor(editor, path);
  if (!wait_status.ok())
    return std::move(wait_status.error());
  if (!WIFEXITED(wait_status.value()) ||
      WEXITSTATUS(wait_status.value()) != 0) {
    ::unlink(path.c_str());
    return DiffError::message("Editor exited with error");
  }
  // A file that cannot be read back is left for the user to recover.
  Result<io_utils::ByteBuffer> edited = read_edited_file(path);
  if (!edited.ok())
    return std::move(edited.error());
  ::unlink(path.c_str());
  return lines_without_markers(edited.value().view());
}

}  // namespace sdiff
