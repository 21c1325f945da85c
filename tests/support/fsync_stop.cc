#include "support/fsync_stop.h"

#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstddef>
#include <thread>

namespace testing_support {

int install_fsync_filter() {
  // The program makes only native system calls, so the number alone
  // names fsync.
  sock_filter program[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fsync, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  sock_fprog filter = {
      .len = static_cast<unsigned short>(std::size(program)),
      .filter = program,
  };
  // Without privileges a filter needs this thread to give up gaining any.
  if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
    return -1;
  return static_cast<int>(::syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER,
                                    SECCOMP_FILTER_FLAG_NEW_LISTENER, &filter));
}

bool answer_fsync(int listener, const std::function<void(int pid)>& at_stop) {
  seccomp_notif request{};
  if (::ioctl(listener, SECCOMP_IOCTL_NOTIF_RECV, &request) != 0)
    return false;
  at_stop(static_cast<int>(request.pid));
  seccomp_notif_resp response{};
  response.id = request.id;
  response.flags = SECCOMP_USER_NOTIF_FLAG_CONTINUE;
  (void)::ioctl(listener, SECCOMP_IOCTL_NOTIF_SEND, &response);
  return true;
}

bool can_stop_at_fsync() {
  // A thread of its own takes the filter and ends with it.
  int listener = -1;
  std::thread([&listener] { listener = install_fsync_filter(); }).join();
  if (listener < 0)
    return false;
  ::close(listener);
  return true;
}

}  // namespace testing_support
