// A handler may run between any two instructions, so it reads only what was
// prepared while the signals were blocked: the path in a static buffer and
// a flag. It calls nothing but async-signal-safe functions.
#include "sdiff/temporary_file_guard.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <iterator>

namespace sdiff {
namespace {

constexpr int kGuardedSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kSignalCount = std::size(kGuardedSignals);

// The one piece of process-wide state: a handler has no other way to learn
// what to remove. Changed only while the guarded signals are blocked.
struct Guard {
  char path[PATH_MAX];
  volatile sig_atomic_t armed = 0;
  struct sigaction previous[kSignalCount];
  bool handled[kSignalCount] = {};
};
Guard guard;

void remove_and_end(int signal_number) {
  if (guard.armed)
    ::unlink(guard.path);
  struct sigaction default_action {};
  default_action.sa_handler = SIG_DFL;
  ::sigaction(signal_number, &default_action, nullptr);
  // The signal is blocked while its handler runs; unblocked, the one raised
  // again ends the process at once.
  sigset_t only_this;
  ::sigemptyset(&only_this);
  ::sigaddset(&only_this, signal_number);
  ::sigprocmask(SIG_UNBLOCK, &only_this, nullptr);
  ::raise(signal_number);
}

sigset_t guarded_signals() {
  sigset_t signals;
  ::sigemptyset(&signals);
  for (const int number : kGuardedSignals) ::sigaddset(&signals, number);
  return signals;
}

// Keeps the guarded signals pending for as long as it lives, so that no
// handler sees the guard half changed.
class SignalsHeld {
 public:
  SignalsHeld() {
    const sigset_t signals = guarded_signals();
    ::sigprocmask(SIG_BLOCK, &signals, &previous_mask_);
  }
  ~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &previous_mask_, nullptr); }
  SignalsHeld(const SignalsHeld&) = delete;
  SignalsHeld& operator=(const SignalsHeld&) = delete;

 private:
  sigset_t previous_mask_;
};

// A signal the process ignores would not have ended it, so it is left
// alone.
void arm(const std::string& path) {
  std::memcpy(guard.path, path.c_str(), path.size() + 1);
  guard.armed = 1;
  struct sigaction handler {};
  handler.sa_handler = remove_and_end;
  handler.sa_mask = guarded_signals();
  handler.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    const int number = kGuardedSignals[i];
    guard.handled[i] = ::sigaction(number, nullptr, &guard.previous[i]) == 0 &&
                       guard.previous[i].sa_handler != SIG_IGN &&
                       ::sigaction(number, &handler, nullptr) == 0;
  }
}

void disarm() {
  guard.armed = 0;
  for (std::size_t i = 0; i < kSignalCount; ++i) {
    if (guard.handled[i])
      ::sigaction(kGuardedSignals[i], &guard.previous[i], nullptr);
    guard.handled[i] = false;
  }
}

}  // namespace

io_utils::OpenedFile create_guarded_file(const std::string& path, mode_t mode) {
  if (path.size() >= sizeof guard.path)
    return {.error = ENAMETOOLONG};
  const SignalsHeld held;
  io_utils::OpenedFile file =
      io_utils::open_file(path, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY, mode);
  if (file.fd.is_open())
    arm(path);
  return file;
}

int rename_guarded_file(const std::string& target) {
  const SignalsHeld held;
  if (::rename(guard.path, target.c_str()) != 0)
    return errno;
  disarm();
  return 0;
}

void remove_guarded_file() {
  const SignalsHeld held;
  ::unlink(guard.path);
  disarm();
}

}  // namespace sdiff
