#include "support/run_binary.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <thread>

#include <gtest/gtest.h>

#include "support/fsync_stop.h"

namespace testing_support {
namespace {

// Sanitizer settings travel to the child so that its reports fail the test.
constexpr const char* kPassedThrough[] = {"ASAN_OPTIONS", "UBSAN_OPTIONS",
                                          "LSAN_OPTIONS"};

std::vector<std::string> child_environment(const RunOptions& options) {
  std::vector<std::string> env = {"PATH=/usr/local/bin:/usr/bin:/bin"};
  for (const char* name : kPassedThrough) {
    if (const char* value = getenv(name)) {
      env.push_back(std::string(name) + "=" + value);
    }
  }
  for (const auto& [name, value] : options.env) {
    env.push_back(name + "=" + value);
  }
  return env;
}

std::vector<char*> as_argv(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Runs a program as another user, given after the options for that.
constexpr const char* kSwitchUser = "/usr/bin/setpriv";

void make_pipe(int fds[2]) {
  if (pipe2(fds, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "pipe: " << strerror(errno);
  }
}

}  // namespace

std::string vrelsdiff_path() {
  return VRELSDIFF_PATH;
}

bool can_switch_user() {
  return geteuid() == 0 && access(kSwitchUser, X_OK) == 0;
}

RunResult run_vrelsdiff(const std::vector<std::string>& args,
                        const RunOptions& options) {
  int in_pipe[2], out_pipe[2], err_pipe[2];
  make_pipe(in_pipe);
  make_pipe(out_pipe);
  make_pipe(err_pipe);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (options.stdin_path) {
    posix_spawn_file_actions_addopen(&actions, 0, options.stdin_path->c_str(),
                                     O_RDONLY, 0);
  } else {
    posix_spawn_file_actions_adddup2(&actions, in_pipe[0], 0);
  }
  if (options.stdout_path) {
    posix_spawn_file_actions_addopen(&actions, 1, options.stdout_path->c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  } else {
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], 1);
  }
  if (options.stderr_path) {
    posix_spawn_file_actions_addopen(&actions, 2, options.stderr_path->c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
  } else {
    posix_spawn_file_actions_adddup2(
        &actions, options.stderr_to_stdout ? out_pipe[1] : err_pipe[1], 2);
  }
  for (int fd : options.closed_fds) {
    posix_spawn_file_actions_addclose(&actions, fd);
  }
  if (!options.cwd.empty()) {
    posix_spawn_file_actions_addchdir_np(&actions, options.cwd.c_str());
  }

  std::vector<std::string> argv_strings = {vrelsdiff_path()};
  std::string limits;
  if (options.memory_limit_kib)
    limits += "ulimit -v " + std::to_string(*options.memory_limit_kib) + " && ";
  if (options.file_size_limit)
    limits +=
        "ulimit -f " + std::to_string(*options.file_size_limit / 512) + " && ";
  if (!limits.empty()) {
    // The shell sets the limits and then becomes the program itself.
    argv_strings = {"/bin/sh", "-c", limits + "exec \"$0\" \"$@\"",
                    vrelsdiff_path()};
  }
  if (options.user_id) {
    const std::string id = std::to_string(*options.user_id);
    argv_strings.insert(
        argv_strings.begin(),
        {kSwitchUser, "--reuid=" + id, "--regid=" + id, "--clear-groups"});
  }
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  std::vector<std::string> env_strings = child_environment(options);
  std::vector<char*> argv = as_argv(argv_strings);
  std::vector<char*> envp = as_argv(env_strings);

  // Closing the reader before the child starts means its very first write
  // already meets a pipe without a reader.
  if (options.stdout_broken) {
    close(out_pipe[0]);
    out_pipe[0] = -1;
  }

  // The test process ignores SIGPIPE while it feeds the child (below), and
  // a child would inherit that; it starts with the default instead, as from
  // a shell, so only the program's own start-up can keep the signal off.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t default_signals;
  sigemptyset(&default_signals);
  sigaddset(&default_signals, SIGPIPE);
  posix_spawnattr_setsigdefault(&attributes, &default_signals);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

  RunResult result;
  pid_t pid = -1;
  int spawn_error = 0;
  const auto spawn = [&] {
    spawn_error = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(),
                              envp.data());
  };
  // Ignored dispositions pass to the child; the test's own come back after.
  std::vector<struct sigaction> kept(options.ignored_signals.size());
  for (std::size_t i = 0; i < kept.size(); ++i) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(options.ignored_signals[i], &ignore, &kept[i]);
  }
  int listener = -1;
  if (options.at_first_fsync) {
    // Only the thread that takes the filter passes it on, so the test's
    // own thread stays free of it.
    std::thread([&] {
      listener = install_fsync_filter();
      if (listener >= 0)
        spawn();
      else
        spawn_error = errno;
    }).join();
  } else {
    spawn();
  }
  for (std::size_t i = 0; i < kept.size(); ++i)
    sigaction(options.ignored_signals[i], &kept[i], nullptr);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  close(in_pipe[0]);
  close(out_pipe[1]);
  close(err_pipe[1]);
  if (spawn_error != 0) {
    ADD_FAILURE() << "posix_spawn: " << strerror(spawn_error);
    if (listener >= 0)
      close(listener);
    close(in_pipe[1]);
    if (out_pipe[0] >= 0)
      close(out_pipe[0]);
    close(err_pipe[0]);
    return result;
  }
  // Feed standard input and drain both outputs together, so that neither
  // side blocks on a full pipe.
  signal(SIGPIPE, SIG_IGN);
  std::size_t fed = 0;
  int in_fd = in_pipe[1];
  if (options.input.empty()) {
    close(in_fd);
    in_fd = -1;
  }
  int out_fd = out_pipe[0];
  int err_fd = err_pipe[0];
  bool stopped = false;
  while (in_fd >= 0 || out_fd >= 0 || err_fd >= 0) {
    pollfd fds[4] = {{in_fd, POLLOUT, 0},
                     {out_fd, POLLIN, 0},
                     {err_fd, POLLIN, 0},
                     {listener, POLLIN, 0}};
    if (poll(fds, 4, -1) < 0) {
      if (errno == EINTR)
        continue;
      ADD_FAILURE() << "poll: " << strerror(errno);
      break;
    }
    if (in_fd >= 0 && fds[0].revents != 0) {
      ssize_t n =
          write(in_fd, options.input.data() + fed, options.input.size() - fed);
      if (n > 0)
        fed += static_cast<std::size_t>(n);
      if (n < 0 || fed == options.input.size()) {
        close(in_fd);
        in_fd = -1;
      }
    }
    int* readers[2] = {&out_fd, &err_fd};
    std::string* sinks[2] = {&result.out, &result.err};
    for (int i = 0; i < 2; ++i) {
      if (*readers[i] < 0 || fds[i + 1].revents == 0)
        continue;
      char buffer[65536];
      ssize_t n = read(*readers[i], buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        close(*readers[i]);
        *readers[i] = -1;
      }
    }
    if (listener >= 0 && fds[3].revents != 0) {
      // Every later fsync goes on at once.
      const bool answered =
          answer_fsync(listener, stopped ? [](int) {} : options.at_first_fsync);
      stopped = stopped || answered;
      if (!answered) {
        close(listener);
        listener = -1;
      }
    }
  }
  // An fsync still waiting then fails instead of waiting for ever.
  if (listener >= 0)
    close(listener);

  int wait_status = 0;
  while (waitpid(pid, &wait_status, 0) < 0 && errno == EINTR) {
  }
  result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status)
                                         : 128 + WTERMSIG(wait_status);
  return result;
}

}  // namespace testing_support
