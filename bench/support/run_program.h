// Runs a program as a benchmark does: standard output on /dev/null.
#ifndef VRELSDIFF_BENCH_SUPPORT_RUN_PROGRAM_H_
#define VRELSDIFF_BENCH_SUPPORT_RUN_PROGRAM_H_

#include <string>
#include <vector>

namespace bench {

struct ProgramRun {
  bool ok = false;  // started, and ended with status 0 or 1
  double max_rss_bytes = 0;
  double cpu_seconds = 0;  // user and system time
};

// Runs argv[0] (a path, or a name looked up in PATH) with standard output
// on /dev/null and the environment `environment` ("NAME=value" strings).
ProgramRun run_to_null(const std::vector<std::string>& argv,
                       const std::vector<std::string>& environment = {});

// The program under test: VRELSDIFF when set, else ../vrelsdiff beside the
// benchmark's own folder.
std::string program_path();

}  // namespace bench

#endif  // VRELSDIFF_BENCH_SUPPORT_RUN_PROGRAM_H_
