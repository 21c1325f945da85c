// The process around the command line: start-up of the standard streams and
// the ways the command-line layer ends the process.
#ifndef VRELSDIFF_CLI_PROCESS_H_
#define VRELSDIFF_CLI_PROCESS_H_

#include <string_view>

namespace cli {

// Reopens each closed descriptor 0..2 on "/dev/null", ignores SIGPIPE, makes
// standard output line-buffered and standard error unbuffered. Ends the
// process with status 2 when "/dev/null" cannot be opened.
void prepare_process();

// Writes out what standard output still holds and ends the process with
// `status`; a failure to write it out ends the process with status 2 and a
// message instead.
[[noreturn]] void exit_process(int status);

// Writes "vrelsdiff: ", `message` and "\n" to standard error, then, when
// asked, the try-help line as a line of its own, and ends the process with
// status 2.
[[noreturn]] void exit_with_error(std::string_view message,
                                  bool with_try_help = false);

}  // namespace cli

#endif  // VRELSDIFF_CLI_PROCESS_H_
