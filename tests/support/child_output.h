// Runs a piece of work in a forked child process and answers the text it produced: the child's
// heaps and statics never touch the test binary's own.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

inline std::string outputOfChild(const std::function<std::string()>& work) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return {};
    }
    if (pid == 0) {
        ::close(fds[0]);
        const std::string out = work();
        (void)!::write(fds[1], out.data(), out.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) text.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return text;
}
