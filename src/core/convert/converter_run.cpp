// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/convert/converter_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace songloader {

namespace {

// What the converter writes on standard error is kept up to this much (the end of it).
constexpr std::size_t kErrorTextBytes = 256 * 1024;
constexpr int kPollMilliseconds = 50;

class Pipe {
public:
    Pipe() {
        if (::pipe2(fds_, O_CLOEXEC) != 0) fds_[0] = fds_[1] = -1;
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    bool ok() const { return fds_[0] >= 0; }
    int read() const { return fds_[0]; }
    int write() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }

private:
    static void Close(int& fd) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
    int fds_[2];
};

// "out_time_us=1234567" lines of the progress output, as seconds.
void TakeProgressLines(std::string& pending, const std::function<void(double)>& onSeconds) {
    std::size_t end;
    while ((end = pending.find('\n')) != std::string::npos) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        constexpr std::string_view kKey = "out_time_us=";
        if (line.rfind(kKey, 0) != 0 || !onSeconds) continue;
        char* after = nullptr;
        const long long micro = std::strtoll(line.c_str() + kKey.size(), &after, 10);
        if (after != line.c_str() + kKey.size() && micro >= 0) onSeconds(static_cast<double>(micro) / 1e6);
    }
}

std::string LastLine(const std::string& text) {
    std::string trimmed = text;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r' || trimmed.back() == ' '))
        trimmed.pop_back();
    const auto start = trimmed.find_last_of('\n');
    return start == std::string::npos ? trimmed : trimmed.substr(start + 1);
}

}  // namespace

Result<std::string> RunConverter(const std::filesystem::path& program, const std::vector<std::string>& args,
                                 const std::function<void(double seconds)>& onSeconds, const std::atomic<bool>& stop) {
    if (stop.load()) return Fail(kConversionStoppedMessage);
    Pipe progress, errors;
    if (!progress.ok() || !errors.ok()) return Fail(std::string("cannot start the converter: ") + std::strerror(errno));
    // Everything the child needs is made before fork: after it, only calls safe in a child of a
    // threaded program.
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const int nullFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        if (nullFd >= 0) ::close(nullFd);
        return Fail(std::string("cannot start the converter: ") + std::strerror(error));
    }
    if (child == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) ::_exit(127);
        ::setpgid(0, 0);
        if (nullFd >= 0) ::dup2(nullFd, STDIN_FILENO);
        ::dup2(progress.write(), STDOUT_FILENO);
        ::dup2(errors.write(), STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    // Also here, so that a stop right away finds the group made.
    ::setpgid(child, child);
    if (nullFd >= 0) ::close(nullFd);
    progress.CloseWrite();
    errors.CloseWrite();

    std::string pending, errorText;
    bool progressOpen = true, errorsOpen = true, stopped = false;
    char buffer[16384];
    while (progressOpen || errorsOpen) {
        if (!stopped && stop.load()) {
            ::kill(-child, SIGKILL);  // its whole group: a script's own children too
            stopped = true;
        }
        pollfd fds[2] = {{progressOpen ? progress.read() : -1, POLLIN, 0},
                         {errorsOpen ? errors.read() : -1, POLLIN, 0}};
        const int ready = ::poll(fds, 2, kPollMilliseconds);
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0) continue;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) {
                (i == 0 ? progressOpen : errorsOpen) = false;
                continue;
            }
            if (i == 0) {
                pending.append(buffer, static_cast<std::size_t>(got));
                if (!stopped) TakeProgressLines(pending, onSeconds);
            } else {
                errorText.append(buffer, static_cast<std::size_t>(got));
                if (errorText.size() > kErrorTextBytes) errorText.erase(0, errorText.size() - kErrorTextBytes);
            }
        }
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        if (!stopped && stop.load()) {
            ::kill(-child, SIGKILL);  // its whole group: a script's own children too
            stopped = true;
        }
    }
    if (stopped || stop.load()) return Fail(kConversionStoppedMessage);
    if (WIFSIGNALED(status)) {
        return Fail("the converter crashed (" + std::string(::strsignal(WTERMSIG(status))) + ")");
    }
    if (!WIFEXITED(status)) return Fail("the converter ended without a result");
    if (WEXITSTATUS(status) == 127 && errorText.empty())
        return Fail("the converter " + program.string() + " could not be started");
    if (WEXITSTATUS(status) != 0) {
        const std::string line = LastLine(errorText);
        return Fail("the converter failed" + (line.empty() ? std::string() : ": " + line));
    }
    return errorText;
}

}  // namespace songloader
