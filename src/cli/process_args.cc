// The process arguments, captured before main so the parser can read them.
#include "cli/process_args.h"

namespace cli {
namespace {

int saved_argc = 0;
char** saved_argv = nullptr;

// glibc calls the functions of .init_array with main's argc and argv before
// main runs; keeping them lets the parser read the arguments itself.
void capture_arguments(int argc, char** argv, char** /*envp*/) {
  saved_argc = argc;
  saved_argv = argv;
}

using InitArrayFunction = void (*)(int, char**, char**);
// clang-format off
[[gnu::used, gnu::section(".init_array")]]
const InitArrayFunction kCaptureHook = &capture_arguments;
// clang-format on

}  // namespace

std::vector<std::string> process_arguments() {
  std::vector<std::string> args;
  args.reserve(static_cast<std::size_t>(saved_argc));
  for (int i = 0; i < saved_argc; ++i) args.emplace_back(saved_argv[i]);
  return args;
}

}  // namespace cli
