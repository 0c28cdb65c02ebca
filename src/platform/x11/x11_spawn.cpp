// Starting another program on Linux, detached from us, and hearing of it when it fails
// within its first seconds: the player with nothing to play on, a file manager that is
// not there. The program's standard error passes through a small watcher process, which
// echoes it to ours and, should the program end in failure early, hands us its last line.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/x11/x11_platform.h"

namespace platform {

namespace {

// How long a started program is watched for an early failure.
constexpr long long WATCH_MILLISECONDS = 3000;
constexpr std::size_t LINE_SIZE = 256;

// Read ends of the watchers' reports, each open until its watch is over.
std::vector<int> watched;

long long NowMilliseconds() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

void WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t put = write(fd, data, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return;
        data += put;
        size -= std::size_t(put);
    }
}

// Closes every descriptor above standard error but `a` and `b`.
void CloseAllBut(int a, int b) {
    int low = std::min(a, b), high = std::max(a, b);
    if (low > 3) close_range(3, unsigned(low - 1), 0);
    if (high > low + 1) close_range(unsigned(low + 1), unsigned(high - 1), 0);
    close_range(unsigned(high + 1), ~0u, 0);
}

// The last complete line the program wrote, or the one it is writing.
struct LastLine {
    char done[LINE_SIZE] = {};
    char current[LINE_SIZE] = {};
    std::size_t length = 0;

    void Take(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            if (data[i] == '\n') {
                if (length > 0) {
                    std::memcpy(done, current, length);
                    done[length] = '\0';
                }
                length = 0;
            } else if (length + 1 < LINE_SIZE) {
                current[length++] = data[i];
            }
        }
    }
    const char* Text() {
        if (length > 0) {
            current[length] = '\0';
            return current;
        }
        return done;
    }
};

// The watcher's work, between fork and _exit: only calls that are safe in a child of a
// threaded process. Echoes the program's standard error to ours; if the program ends in
// failure within the watch, writes its last line (or its status) to `report`.
void Watch(pid_t program, const char* name, int errors, int report) {
    LastLine last;
    char buffer[1024];
    const long long start = NowMilliseconds();
    bool errorsOpen = true, reportOpen = true, ended = false;
    auto readErrors = [&](int timeout) {
        pollfd wait{errors, POLLIN, 0};
        int ready = poll(&wait, 1, timeout);
        if (ready == 0) return false;
        if (ready < 0) return errno == EINTR;
        ssize_t got = read(errors, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) return true;
        if (got <= 0) {
            errorsOpen = false;
            return false;
        }
        WriteAll(2, buffer, std::size_t(got));
        last.Take(buffer, std::size_t(got));
        return true;
    };
    while (errorsOpen || (reportOpen && !ended)) {
        if (errorsOpen)
            readErrors(reportOpen ? 20 : -1);
        else
            poll(nullptr, 0, 20);
        int status = 0;
        if (!ended && waitpid(program, &status, WNOHANG) == program) {
            ended = true;
            if (reportOpen) {
                // Its last words are in the pipe already: take them before judging.
                while (errorsOpen && readErrors(0)) {
                }
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                    char text[LINE_SIZE + 64];
                    if (last.Text()[0] != '\0')
                        std::snprintf(text, sizeof text, "%s", last.Text());
                    else if (WIFEXITED(status))
                        std::snprintf(text, sizeof text, "%s ended with status %d", name,
                                      WEXITSTATUS(status));
                    else
                        std::snprintf(text, sizeof text, "%s ended by signal %d", name,
                                      WTERMSIG(status));
                    WriteAll(report, text, std::strlen(text));
                }
                close(report);
                reportOpen = false;
            }
        }
        if (reportOpen && NowMilliseconds() - start > WATCH_MILLISECONDS) {
            close(report);
            reportOpen = false;
        }
    }
}

}  // namespace

// Runs `program` with `words` (argv[0] first) detached from us: a first child starts the
// watcher and exits at once, so that neither the watcher nor the program ever lingers
// here as a zombie; the watcher starts the program in a session of its own. True when the
// exec succeeded; a close-on-exec pipe carries the exec's errno back otherwise.
bool Spawn(const std::string& program, const std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (const std::string& w : words) argv.push_back(const_cast<char*>(w.c_str()));
    argv.push_back(nullptr);
    const char* name = words.empty() ? program.c_str() : words.front().c_str();
    if (const char* slash = std::strrchr(name, '/')) name = slash + 1;
    int exec[2], report[2];
    if (pipe2(exec, O_CLOEXEC) != 0) return false;
    if (pipe2(report, O_CLOEXEC) != 0) {
        close(exec[0]);
        close(exec[1]);
        return false;
    }
    pid_t child = fork();
    if (child == 0) {
        pid_t watcher = fork();
        if (watcher != 0) _exit(watcher < 0 ? 1 : 0);
        setsid();  // its own session: it outlives our terminal like any desktop program
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        signal(SIGPIPE, SIG_IGN);  // we may be gone before the report is written
        signal(SIGCHLD, SIG_DFL);
        close(exec[0]);
        close(report[0]);
        CloseAllBut(exec[1], report[1]);
        int errors[2];
        pid_t started = -1;
        if (pipe(errors) == 0) started = fork();
        if (started == 0) {
            signal(SIGPIPE, SIG_DFL);
            dup2(errors[1], 2);
            close(errors[0]);
            close(errors[1]);
            close(report[1]);
            execv(program.c_str(), argv.data());
            int error = errno;
            WriteAll(exec[1], reinterpret_cast<const char*>(&error), sizeof error);
            _exit(127);
        }
        if (started < 0) {
            int error = errno;
            WriteAll(exec[1], reinterpret_cast<const char*>(&error), sizeof error);
            _exit(1);
        }
        close(exec[1]);
        close(errors[1]);
        Watch(started, name, errors[0], report[1]);
        _exit(0);
    }
    close(exec[1]);
    close(report[1]);
    if (child < 0) {
        close(exec[0]);
        close(report[0]);
        return false;
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = read(exec[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    close(exec[0]);
    bool started = WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
    if (started) {
        fcntl(report[0], F_SETFL, O_NONBLOCK);
        watched.push_back(report[0]);
    } else {
        close(report[0]);
    }
    return started;
}

bool X11Platform::TakeStartedProgramFailure(std::string& message) {
    for (std::size_t i = 0; i < watched.size();) {
        char text[LINE_SIZE + 64];
        ssize_t got = read(watched[i], text, sizeof text);
        if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
            ++i;
            continue;
        }
        close(watched[i]);
        watched.erase(watched.begin() + std::ptrdiff_t(i));
        if (got > 0) {
            message.assign(text, std::size_t(got));
            return true;
        }
    }
    return false;
}

}  // namespace platform
