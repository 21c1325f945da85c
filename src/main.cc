// vrelsdiff: the program's entry point; all logic lives in vreldiffutils.
#include <new>
#include <stdexcept>

#include "cli/process.h"
#include "cli/sdiff.h"
#include "sdiff/run.h"

int main() {
  cli::prepare_process();
  try {
    io_utils::Result<int> status = ::sdiff::run(cli::sdiff::handle_args());
    if (!status.ok()) {
      cli::exit_with_error(io_utils::message_text(status.error()));
    }
    cli::exit_process(status.value());
  } catch (const std::bad_alloc&) {
    cli::exit_with_error("memory exhausted");
  } catch (const std::length_error&) {
    // A container asked to hold more than any memory could: sizes taken
    // from what a file claims can reach that.
    cli::exit_with_error("memory exhausted");
  }
}
