// ftvb-convert on POSIX systems: signals, and plain bytes on the standard
// streams.
#include <poll.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "app/console.h"

namespace ftvb::console {
namespace {

volatile std::sig_atomic_t gInterrupted = 0;

// How long a wait for standard error lasts before the interrupt flag is
// looked at again.
constexpr int kWaitStepMs = 50;

void onSignal(int) { gInterrupted = 1; }

}  // namespace

void prepare() {
    // A file-size limit must end in "File too large", not kill the run
    // with its temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
    // Nor may a reader that leaves (`| head`): a write to its pipe fails
    // with EPIPE, said like any other failure, and the temporary files go.
    std::signal(SIGPIPE, SIG_IGN);
}

std::vector<std::string> arguments(int argc, char** argv) { return std::vector<std::string>(argv + 1, argv + argc); }

std::vector<std::string> filesNamed(const std::string& argument) { return {argument}; }

// The shell has matched the patterns: "*.f" here is a file's own name.
bool isUnmatchedPattern(const std::string&) { return false; }

void catchInterrupts() {
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
}

bool interrupted() { return gInterrupted != 0; }

bool errorIsTerminal() { return isatty(2) != 0; }

bool errorIsConsole() { return false; }

void printError(std::initializer_list<std::string_view> pieces) {
    // In one write where the system takes it whole, so that messages of
    // two programs sharing a terminal do not mix.
    iovec parts[8];
    int count = 0;
    for (std::string_view piece : pieces) {
        if (count == 8) break;
        parts[count++] = {const_cast<char*>(piece.data()), piece.size()};
    }
    iovec* next = parts;
    while (count > 0) {
        // A standard error that nobody reads must not hold an interrupted
        // run for ever: once interrupted, what cannot go out is dropped.
        pollfd err{2, POLLOUT, 0};
        const int ready = ::poll(&err, 1, kWaitStepMs);
        if (ready == 0 || (ready < 0 && errno == EINTR)) {
            if (gInterrupted != 0) return;
            continue;
        }
        ssize_t n = ::writev(2, next, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        while (count > 0 && static_cast<std::size_t>(n) >= next->iov_len) {
            n -= static_cast<ssize_t>(next->iov_len);
            ++next;
            --count;
        }
        if (count > 0) {
            next->iov_base = static_cast<char*>(next->iov_base) + n;
            next->iov_len -= static_cast<std::size_t>(n);
        }
    }
}

void eraseLine() { printError({"\r\033[K"}); }

std::string printOut(const std::string& text) {
    errno = 0;
    std::fputs(text.c_str(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) return errno != 0 ? std::strerror(errno) : "write error";
    return {};
}

}  // namespace ftvb::console
