#pragma once
// A process a test starts ends with the test, however the test ends: an assertion, a crash or
// a kill by ctest's timeout. The kernel sends the child a signal when the thread that started
// it dies (tests start their children from their one thread).
#include <QProcess>

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace zr730::testing {

// Call before start(). `signal`: what the child gets when the test dies; SIGKILL unless the
// child must tidy up first.
inline void endWithThisTest(QProcess &process, int signal = SIGKILL)
{
    const pid_t test = ::getpid();
    process.setChildProcessModifier([signal, test] {
        ::prctl(PR_SET_PDEATHSIG, signal);
        if (::getppid() != test) ::_exit(127); // the test died before the line above
    });
}

} // namespace zr730::testing
