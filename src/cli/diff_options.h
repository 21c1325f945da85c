// DiffOptions: the library's general comparison settings.
#ifndef VRELSDIFF_CLI_DIFF_OPTIONS_H_
#define VRELSDIFF_CLI_DIFF_OPTIONS_H_

#include <string>
#include <vector>

namespace cli {

struct DiffOptions {
  std::vector<std::string> files;  // the file operands in command-line order
};

}  // namespace cli

#endif  // VRELSDIFF_CLI_DIFF_OPTIONS_H_
