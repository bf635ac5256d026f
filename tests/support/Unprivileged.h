#pragma once

#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kp::test {

// What a check run without the power to ignore permissions returned.
enum class Unprivileged { True, False, CannotDrop };

// Runs check in a child process as user and group "nobody" (65534), so that folder and file
// permissions apply although the tests run as root; a non-root run keeps its own user. The
// child shares nothing with the test but the file system.
inline Unprivileged runUnprivileged(const std::function<bool()>& check) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::getuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return Unprivileged::CannotDrop;
    switch (WEXITSTATUS(status)) {
    case 0:
        return Unprivileged::True;
    case 1:
        return Unprivileged::False;
    default:
        return Unprivileged::CannotDrop;
    }
}

} // namespace kp::test
