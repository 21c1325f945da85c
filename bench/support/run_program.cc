#include "support/run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <filesystem>

namespace bench {

ProgramRun run_to_null(const std::vector<std::string>& argv,
                       const std::vector<std::string>& environment) {
  std::vector<std::string> strings = argv;
  std::vector<char*> args;
  for (std::string& s : strings) args.push_back(s.data());
  args.push_back(nullptr);
  std::vector<std::string> variables = environment;
  std::vector<char*> env;
  for (std::string& s : variables) env.push_back(s.data());
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int spawned =
      posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0)
    return {};
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid)
    return {};
  auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return {.ok = WIFEXITED(status) && WEXITSTATUS(status) <= 1,
          .max_rss_bytes = static_cast<double>(usage.ru_maxrss) * 1024.0,
          .cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime)};
}

std::string program_path() {
  if (const char* path = getenv("VRELSDIFF"))
    return path;
  return (std::filesystem::read_symlink("/proc/self/exe").parent_path() / ".." /
          "vrelsdiff")
      .string();
}

}  // namespace bench
