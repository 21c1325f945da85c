// The process around the command line: start-up of the standard streams and
// the ways the command-line layer ends the process.
#ifndef VRELSDIFF_CLI_PROCESS_H_
#define VRELSDIFF_CLI_PROCESS_H_

#include <string_view>

namespace cli {

// Reopens each closed descriptor 0..2 on "/dev/null" and ignores SIGPIPE and
// SIGXFSZ, so that a write to a closed pipe or past the file size limit
// fails and is reported like any other failed write. Ends the process with
// status 2 when "/dev/null" cannot be opened.
void prepare_process();

// Ends the process with `status`. Nothing is left to write out by then:
// every output goes straight to its descriptor with write(2) (io_utils/fd_io.h)
// and nothing is held in a stdio buffer.
[[noreturn]] void exit_process(int status);

// Writes "vrelsdiff: ", `message` and "\n" to standard error, then, when
// asked, the try-help line as a line of its own, and ends the process with
// status 2.
[[noreturn]] void exit_with_error(std::string_view message,
                                  bool with_try_help = false);

}  // namespace cli

#endif  // VRELSDIFF_CLI_PROCESS_H_
