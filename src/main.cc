// vrelsdiff: the program's entry point; all logic lives in vreldiffutils.
#include "cli/sdiff.h"
#include "sdiff/run.h"

int main() {
  cli::sdiff::SdiffOptions options = cli::sdiff::handle_args();
  io_utils::Result<int> status = ::sdiff::run(std::move(options));
  return status.ok() ? status.value() : 2;  // TODO: start-up, error message
}
