// The process arguments, for code that is not handed them by main.
#ifndef VRELSDIFF_CLI_PROCESS_ARGS_H_
#define VRELSDIFF_CLI_PROCESS_ARGS_H_

#include <string>
#include <vector>

namespace cli {

// Every argument of the process, argument 0 included, as raw bytes.
std::vector<std::string> process_arguments();

}  // namespace cli

#endif  // VRELSDIFF_CLI_PROCESS_ARGS_H_
