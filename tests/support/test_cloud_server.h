// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace songloader::test {

// One request as the server saw it.
struct CloudRequest {
    std::string method;  // "GET", "HEAD"
    std::string path;    // as requested, e.g. "/900001.mp4" or "/__hop/3/MgList.dat"
    std::string query;   // the text after "?", e.g. "attname="
};

// How the server answers one path (named without its leading "/", e.g. "MgList.dat").
struct PathBehaviour {
    bool headWithoutLength = false;               // HEAD answered without a Content-Length
    int errorStatus = 0;                          // answer with this status and an HTML error page
    int redirects = 0;                            // redirect this many times before answering
    std::size_t slowChunkBytes = 0;               // send the body in chunks of this size...
    std::chrono::milliseconds slowChunkDelay{0};  // ...each after this pause
    std::optional<std::size_t> stallAfter{};      // send this many body bytes, then nothing until the server stops
    std::optional<std::size_t> closeAfter{};      // send this many body bytes of the announced length, then hang up
    // Misbehaviours of a server that must not be trusted:
    std::optional<std::string> body{};        // GET answers 200 with this text/html body instead of the file
    std::optional<std::size_t> headLength{};  // HEAD announces this length instead of the file's
    bool withoutLength = false;               // GET sends no Content-Length and ends the body by hanging up
    std::size_t extraBytes = 0;               // this many bytes more than the announced length follow the file
    bool endless = false;                     // after the file, bytes keep coming until the server stops
    std::function<void(const CloudRequest&)> onRequest{};  // runs on a server thread before answering
};

// A static file server on 127.0.0.1 with an ephemeral port, serving the files below `root`
// (a missing file is a 404 with an error page), with per-path misbehaviour for network tests.
class TestCloudServer {
public:
    explicit TestCloudServer(std::filesystem::path root);
    ~TestCloudServer();
    TestCloudServer(const TestCloudServer&) = delete;
    TestCloudServer& operator=(const TestCloudServer&) = delete;

    // Ends stalled answers and stops listening; waits for the server's threads.
    void Stop();

    int port() const { return port_; }
    // "http://127.0.0.1:PORT/"
    std::string baseUrl() const;
    const std::filesystem::path& root() const { return root_; }

    void SetBehaviour(const std::string& name, PathBehaviour behaviour);
    void ClearBehaviours();

    std::vector<CloudRequest> Requests() const;
    std::size_t CountRequests(std::string_view method, std::string_view path) const;
    void ClearRequests();

    // The body of the error page answered with `status`.
    static std::string ErrorPage(int status);

private:
    void Handle(const httplib::Request& request, httplib::Response& response);
    PathBehaviour BehaviourFor(const std::string& name) const;
    // Sleeps for `pause`, cut short when the server stops; false once it has stopped.
    bool PauseUnlessStopped(std::chrono::milliseconds pause);

    std::filesystem::path root_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = -1;

    mutable std::mutex mutex_;
    std::condition_variable stopping_;
    bool stopped_ = false;
    std::map<std::string, PathBehaviour> behaviours_;
    std::vector<CloudRequest> requests_;
};

// A server that takes connections and never answers: requests to it can only time out.
class SilentServer {
public:
    SilentServer();
    ~SilentServer();
    SilentServer(const SilentServer&) = delete;
    SilentServer& operator=(const SilentServer&) = delete;
    int port() const { return port_; }
    std::string baseUrl() const;

private:
    int fd_ = -1;
    int port_ = -1;
};

// A port on 127.0.0.1 where nothing listens: connections are refused. The port stays bound (but
// not listening) while the object lives, so no other server started meanwhile can take it.
class RefusedPort {
public:
    RefusedPort();
    ~RefusedPort();
    RefusedPort(const RefusedPort&) = delete;
    RefusedPort& operator=(const RefusedPort&) = delete;
    int port() const { return port_; }
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

private:
    int fd_ = -1;
    int port_ = -1;
};

}  // namespace songloader::test
