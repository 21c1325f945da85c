// Holds a child in its first fsync(2) until the test has acted: a seccomp
// filter hands that system call to the test before the kernel runs it. For
// the merged file, that is the moment its new file is written but not yet
// in place.
#ifndef VRELSDIFF_TESTS_SUPPORT_FSYNC_STOP_H_
#define VRELSDIFF_TESTS_SUPPORT_FSYNC_STOP_H_

#include <functional>

namespace testing_support {

// Gives the calling thread, and so every process it starts afterwards, a
// filter under which fsync waits for an answer on the returned descriptor.
// -1 when the system does not allow it. Other threads are not affected.
int install_fsync_filter();

// Takes the waiting fsync call from `listener`, calls `at_stop` with the
// process id of its caller, and then lets the call go on (which fails
// harmlessly when the caller is gone by then). False when nothing was
// waiting.
bool answer_fsync(int listener, const std::function<void(int pid)>& at_stop);

// Whether install_fsync_filter works here.
bool can_stop_at_fsync();

}  // namespace testing_support

#endif  // VRELSDIFF_TESTS_SUPPORT_FSYNC_STOP_H_
