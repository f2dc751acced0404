// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/test_cloud_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>

namespace songloader::test {

namespace {

constexpr const char* kHopPrefix = "/__hop/";
constexpr std::size_t kBodyChunkBytes = 1 << 20;

// A served file, read piece by piece so that big files never sit in memory.
struct FileBody {
    int fd = -1;
    std::vector<char> buffer;
    ~FileBody() {
        if (fd >= 0) ::close(fd);
    }
};

const char* ReasonOf(int status) {
    switch (status) {
        case 400: return "Bad Request";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        case 503: return "Service Unavailable";
        default: return "Error";
    }
}

// "/__hop/N/name" -> (N, "name"); "/name" -> (-1, "name").
std::pair<int, std::string> SplitHop(const std::string& path) {
    if (path.rfind(kHopPrefix, 0) == 0) {
        const std::size_t start = std::char_traits<char>::length(kHopPrefix);
        const std::size_t slash = path.find('/', start);
        if (slash != std::string::npos) {
            return {std::stoi(path.substr(start, slash - start)), path.substr(slash + 1)};
        }
    }
    return {-1, path.empty() ? path : path.substr(1)};
}

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

int BoundSocket(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    sockaddr_in address = Loopback(0);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("bind to 127.0.0.1 failed");
    }
    port = ntohs(address.sin_port);
    return fd;
}

}  // namespace

TestCloudServer::TestCloudServer(std::filesystem::path root)
    : root_(std::move(root)), server_(std::make_unique<httplib::Server>()) {
    server_->Get(".*",
                 [this](const httplib::Request& request, httplib::Response& response) { Handle(request, response); });
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("the test cloud server cannot bind to 127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestCloudServer::~TestCloudServer() { Stop(); }

void TestCloudServer::Stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopped_) return;
        stopped_ = true;
    }
    stopping_.notify_all();
    server_->stop();
    if (thread_.joinable()) thread_.join();
}

std::string TestCloudServer::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

void TestCloudServer::SetBehaviour(const std::string& name, PathBehaviour behaviour) {
    std::lock_guard lock(mutex_);
    behaviours_[name] = std::move(behaviour);
}

void TestCloudServer::ClearBehaviours() {
    std::lock_guard lock(mutex_);
    behaviours_.clear();
}

std::vector<CloudRequest> TestCloudServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t TestCloudServer::CountRequests(std::string_view method, std::string_view path) const {
    std::lock_guard lock(mutex_);
    return static_cast<std::size_t>(std::count_if(requests_.begin(), requests_.end(), [&](const CloudRequest& r) {
        return r.method == method && r.path == path;
    }));
}

void TestCloudServer::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

std::string TestCloudServer::ErrorPage(int status) {
    const std::string title = std::to_string(status) + " " + ReasonOf(status);
    return "<html><head><title>" + title + "</title></head><body><h1>" + title + "</h1></body></html>\n";
}

PathBehaviour TestCloudServer::BehaviourFor(const std::string& name) const {
    std::lock_guard lock(mutex_);
    auto it = behaviours_.find(name);
    return it == behaviours_.end() ? PathBehaviour{} : it->second;
}

bool TestCloudServer::PauseUnlessStopped(std::chrono::milliseconds pause) {
    std::unique_lock lock(mutex_);
    return !stopping_.wait_for(lock, pause, [this] { return stopped_; });
}

void TestCloudServer::Handle(const httplib::Request& request, httplib::Response& response) {
    CloudRequest seen{request.method, request.path, ""};
    if (auto mark = request.target.find('?'); mark != std::string::npos) seen.query = request.target.substr(mark + 1);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(seen);
    }
    const auto [hopsLeft, name] = SplitHop(request.path);
    const PathBehaviour behaviour = BehaviourFor(name);
    if (behaviour.onRequest) behaviour.onRequest(seen);

    const int remaining = hopsLeft < 0 ? behaviour.redirects : hopsLeft;
    if (remaining > 0) {
        std::string location = kHopPrefix + std::to_string(remaining - 1) + "/" + name;
        if (!seen.query.empty()) location += "?" + seen.query;
        response.set_redirect(location, 302);
        return;
    }
    auto answerError = [&](int status) {
        response.status = status;
        response.set_content(ErrorPage(status), "text/html");
    };
    if (behaviour.errorStatus != 0) return answerError(behaviour.errorStatus);

    const std::filesystem::path file = root_ / name;
    std::error_code error;
    if (name.empty() || name.find("..") != std::string::npos || !std::filesystem::is_regular_file(file, error)) {
        return answerError(404);
    }
    const std::size_t size = static_cast<std::size_t>(std::filesystem::file_size(file, error));
    if (request.method == "HEAD" && behaviour.headWithoutLength) {
        // A chunked answer announces no length; HEAD sends no body at all.
        response.set_chunked_content_provider("application/octet-stream", [](std::size_t, httplib::DataSink& sink) {
            sink.done();
            return true;
        });
        return;
    }
    if (request.method == "HEAD" && behaviour.headLength) {
        response.set_content(std::string(*behaviour.headLength, '\0'), "application/octet-stream");
        return;
    }
    if (behaviour.body && request.method != "HEAD") {
        response.set_content(*behaviour.body, "text/html");
        return;
    }
    if (size == 0) {
        response.set_content("", "application/octet-stream");  // still announces its length, 0
        return;
    }
    auto body = std::make_shared<FileBody>();
    body->fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (body->fd < 0) return answerError(403);
    auto provide = [this, body, behaviour, size](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        if (behaviour.closeAfter && offset >= *behaviour.closeAfter) return false;
        if (behaviour.stallAfter && offset >= *behaviour.stallAfter) {
            while (PauseUnlessStopped(std::chrono::milliseconds(50))) {
            }
            return false;
        }
        // Past the file only a misbehaving answer goes on: by a few bytes, or until the server stops.
        auto sendExcess = [&] {
            std::string more(behaviour.endless ? kBodyChunkBytes / 16 : behaviour.extraBytes, 'x');
            while (sink.write(more.data(), more.size()) && behaviour.endless && PauseUnlessStopped({})) {
            }
            return false;  // hang up
        };
        if (offset >= size) return sendExcess();
        std::size_t chunk = std::min(length, kBodyChunkBytes);
        if (behaviour.slowChunkBytes > 0) {
            chunk = std::min(chunk, behaviour.slowChunkBytes);
            if (!PauseUnlessStopped(behaviour.slowChunkDelay)) return false;
        }
        if (behaviour.closeAfter) chunk = std::min(chunk, *behaviour.closeAfter - offset);
        if (behaviour.stallAfter) chunk = std::min(chunk, *behaviour.stallAfter - offset);
        body->buffer.resize(chunk);
        const ssize_t got = ::pread(body->fd, body->buffer.data(), chunk, static_cast<off_t>(offset));
        if (got <= 0) return false;
        if (!sink.write(body->buffer.data(), static_cast<std::size_t>(got))) return false;
        if (offset + static_cast<std::size_t>(got) < size) return true;
        if (behaviour.endless || behaviour.extraBytes > 0) return sendExcess();
        if (behaviour.withoutLength) sink.done();
        return true;
    };
    if (behaviour.withoutLength && request.method != "HEAD") {
        response.set_content_provider("application/octet-stream",
                                      [size, provide](std::size_t offset, httplib::DataSink& sink) {
                                          return provide(offset, size > offset ? size - offset : 1, sink);
                                      });
    } else {
        response.set_content_provider(size, "application/octet-stream", provide);
    }
}

SilentServer::SilentServer() {
    fd_ = BoundSocket(port_);
    if (::listen(fd_, 64) != 0) {
        ::close(fd_);
        throw std::runtime_error("listen failed");
    }
}

SilentServer::~SilentServer() { ::close(fd_); }

std::string SilentServer::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

RefusedPort::RefusedPort() { fd_ = BoundSocket(port_); }

RefusedPort::~RefusedPort() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace songloader::test
