// Runs the built vrelsdiff with an explicit environment and captures its
// standard output, standard error and exit status.
#ifndef VRELSDIFF_TESTS_SUPPORT_RUN_BINARY_H_
#define VRELSDIFF_TESTS_SUPPORT_RUN_BINARY_H_

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

struct RunOptions {
  std::string input;                      // fed to standard input
  std::optional<std::string> stdin_path;  // else standard input is this file
  // When set, standard output is this file, made or emptied; else a pipe.
  std::optional<std::string> stdout_path;
  // Added to the child's environment, which otherwise holds only PATH and
  // the sanitizer settings: no locale, editor or TMPDIR variables.
  std::vector<std::pair<std::string, std::string>> env;
  std::string cwd;             // working directory; empty: the test's own
  bool stdout_broken = false;  // standard output a pipe with no reader
  // Standard error into the standard output pipe, to see the interleaving.
  bool stderr_to_stdout = false;
  // When set, standard error is this file, made or emptied.
  std::optional<std::string> stderr_path;
  std::vector<int> closed_fds;  // standard descriptors closed in the child
  // When set, the program runs under this address-space limit, in KiB.
  std::optional<unsigned long> memory_limit_kib;
  // When set, the program runs under this file size limit, in bytes; the
  // limit is taken in whole 512-byte blocks.
  std::optional<unsigned long> file_size_limit;
  // When set, the program runs as this user and group, with no other
  // groups; see can_switch_user.
  std::optional<unsigned> user_id;
  // Signals the program starts out ignoring, as under nohup.
  std::vector<int> ignored_signals;
  // When set, called with the program's process id while the program waits
  // in its first fsync(2), which goes on once this returns; see
  // can_stop_at_fsync in support/fsync_stop.h.
  std::function<void(int pid)> at_first_fsync;
};

struct RunResult {
  int status = -1;  // exit status, or 128 + signal number
  std::string out;
  std::string err;
};

RunResult run_vrelsdiff(const std::vector<std::string>& args,
                        const RunOptions& options = {});

// The path of the built program.
std::string vrelsdiff_path();

// Whether RunOptions::user_id can be used: the tests run as root and the
// tool that switches users is installed.
bool can_switch_user();

}  // namespace testing_support

#endif  // VRELSDIFF_TESTS_SUPPORT_RUN_BINARY_H_
