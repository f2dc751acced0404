// SPDX-License-Identifier: GPL-3.0-or-later
// songloader-demo-cloud: the demo cloud of `songloader --demo`. A program of its own, with nothing but
// the C library, so that neither the window nor the package needs an HTTP server library.
//   songloader-demo-cloud FOLDER [--remove-on-exit DEMO_FOLDER]
// Serves the files of FOLDER (GET and HEAD, HTTP/1.1, one request per connection) on 127.0.0.1 at a
// free port and prints its address ("http://127.0.0.1:PORT/") as the first line of standard output.
// It runs until its standard input ends, which is when the window closes the pipe or ends in any
// way (killed included); then it removes DEMO_FOLDER when given, so no demo is left behind.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>

namespace {

constexpr std::size_t kMaxRequestBytes = 16 * 1024;

int Usage() {
    std::fprintf(stderr, "usage: songloader-demo-cloud FOLDER [--remove-on-exit DEMO_FOLDER]\n");
    return 2;
}

bool SendAll(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void SendStatus(int socket, const char* status) {
    SendAll(socket, std::string("HTTP/1.1 ") + status + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The file a request target names below the served folder; empty when it names none (a folder,
// "..", a NUL byte, a bad escape).
std::string RelativeFile(std::string_view target) {
    target = target.substr(0, target.find('?'));
    if (!target.starts_with('/')) return {};
    std::string decoded;
    for (std::size_t i = 1; i < target.size(); ++i) {
        char c = target[i];
        if (c == '%') {
            if (i + 2 >= target.size() || HexValue(target[i + 1]) < 0 || HexValue(target[i + 2]) < 0) return {};
            c = static_cast<char>(HexValue(target[i + 1]) * 16 + HexValue(target[i + 2]));
            i += 2;
        }
        if (c == '\0') return {};
        decoded += c;
    }
    for (const auto& part : std::filesystem::path(decoded)) {
        if (part == ".." || part == "." || part.empty()) return {};
    }
    return decoded;
}

void Serve(int socket, const std::filesystem::path& root) {
    const timeval timeout{30, 0};
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequestBytes) {
        const ssize_t got = recv(socket, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    // "METHOD TARGET HTTP/1.x"
    const std::string line = request.substr(0, request.find("\r\n"));
    const auto first = line.find(' ');
    const auto second = first == std::string::npos ? first : line.find(' ', first + 1);
    if (second == std::string::npos) return SendStatus(socket, "400 Bad Request");
    const std::string method = line.substr(0, first);
    if (method != "GET" && method != "HEAD") return SendStatus(socket, "405 Method Not Allowed");
    const std::string relative = RelativeFile(std::string_view(line).substr(first + 1, second - first - 1));
    const int file =
        relative.empty() ? -1 : open((root / relative).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat facts {};
    if (file < 0 || fstat(file, &facts) != 0 || !S_ISREG(facts.st_mode)) {
        if (file >= 0) close(file);
        return SendStatus(socket, "404 Not Found");
    }
    const bool sent = SendAll(socket, "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                                          std::to_string(facts.st_size) + "\r\nConnection: close\r\n\r\n");
    off_t offset = 0;
    while (sent && method == "GET" && offset < facts.st_size) {
        const ssize_t moved = sendfile(socket, file, &offset, static_cast<std::size_t>(facts.st_size - offset));
        if (moved < 0 && errno == EINTR) continue;
        if (moved <= 0) break;
    }
    close(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) return Usage();
    const std::filesystem::path root = argv[1];
    std::filesystem::path removeOnExit;
    if (argc == 4) {
        if (std::string(argv[2]) != "--remove-on-exit") return Usage();
        removeOnExit = argv[3];
        // Only a demo folder the window made: never anything else given by mistake.
        if (!removeOnExit.filename().string().starts_with("songloader-demo-")) {
            std::fprintf(stderr, "songloader-demo-cloud: %s is no demo folder\n", argv[3]);
            return 2;
        }
    }
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        std::fprintf(stderr, "songloader-demo-cloud: %s: not a folder\n", root.c_str());
        return 1;
    }
    // The terminal's Ctrl+C and hang-up reach the window too; the window's end is seen on stdin.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);

    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 64) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::fprintf(stderr, "songloader-demo-cloud: cannot listen on 127.0.0.1\n");
        return 1;
    }
    std::printf("http://127.0.0.1:%d/\n", ntohs(address.sin_port));
    std::fflush(stdout);

    std::atomic<bool> ending{false};
    std::thread watch([&] {
        char ignored[256];
        while (true) {
            const ssize_t got = read(STDIN_FILENO, ignored, sizeof ignored);
            if (got == 0 || (got < 0 && errno != EINTR)) break;
        }
        ending = true;
        shutdown(listener, SHUT_RDWR);  // wakes accept()
    });
    while (!ending) {
        const int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            break;
        }
        std::thread([connection, root] {
            Serve(connection, root);
            close(connection);
        }).detach();
    }
    watch.join();
    if (!removeOnExit.empty()) std::filesystem::remove_all(removeOnExit, error);
    return 0;
}
