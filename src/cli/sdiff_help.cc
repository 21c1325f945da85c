#include "cli/sdiff.h"

namespace cli::sdiff {

void print_help() {}  // TODO
void print_version() {}  // TODO

}  // namespace cli::sdiff
