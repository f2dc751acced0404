// SPDX-License-Identifier: GPL-3.0-or-later
// What the cloud writers do with a device that holds links, has no room to tell, or is read-only.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "cloud_test_fixture.h"
#include "core/catalogue/cloud_catalogue.h"
#include "core/cloud/catalogue_sync.h"
#include "core/cloud/cloud_song.h"
#include "core/cloud/midi_pack.h"
#include "support/cloud_catalogue_fixture.h"
#include "support/tmpfs_mount.h"
#include "support/song_samples.h"

namespace songloader::test {
namespace {

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A device folder (root/songs) and a folder outside it that a link on the device points to.
class DeviceLinksTest : public CloudTest {
protected:
    DeviceLinksTest() {
        std::filesystem::create_directories(root / "songs");
        std::filesystem::create_directories(outside);
        Serve("500002.mp4", Pattern(3000));
        WriteCloudCatalogue(cloud / "Msong.db", {{500002, 0, "New Song", "Someone"}});
        Serve("MgList.dat", ListBytes({{500002, 0, "New Song", "Someone", "", ""}}));
        for (const MidiPackFile& file : MidiPackFiles) Serve(file.remoteName, Pattern(100));
    }
    const std::filesystem::path root = local / "STICK";
    const std::filesystem::path outside = local / "outside";
};

TEST_F(DeviceLinksTest, NoWriterWritesThroughALinkOnTheDevice) {
    struct Case {
        const char* name;
        const char* linked;                  // below the root
        std::function<std::string()> write;  // why it failed; empty when it wrote
    };
    const std::vector<Case> cases = {
        {"fetch into a linked song folder", "songs/500",
         [this] {
             const CloudSongFetch fetch = FetchCloudSong(client, root / "songs", CloudSong(500002));
             return fetch.outcome.ok() ? std::string() : DetailOf(fetch.outcome);
         }},
        {"MIDI pack into a linked midi folder", "midi",
         [this] {
             const MidiPackUpdate update = UpdateMidiPack(client, root);
             for (const MidiPackFetch& fetch : update.fetched) {
                 if (fetch.file->inMidiFolder && !fetch.outcome.ok()) return DetailOf(fetch.outcome);
             }
             return std::string();
         }},
        {"cloud catalogue into a linked songs folder", "songs",
         [this] {
             CloudCatalogue catalogue;
             const CatalogueFetch fetch = FetchCloudCatalogue(client, root / "songs", catalogue);
             return fetch.list.ok() ? std::string() : DetailOf(fetch.list);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(outside);
        std::filesystem::create_directories(outside);
        WriteBytes(outside / "500002.mp4", "the user's own file");
        WriteBytes(outside / "sglist.dat", "the user's own list");
        WriteBytes(outside / "MgList.dat", "the user's own catalogue");
        const std::vector<std::string> before = ListFiles(outside);
        const std::filesystem::path link = root / c.linked;
        std::filesystem::remove_all(link);
        std::filesystem::create_directory_symlink(outside, link);

        const std::string why = c.write();
        EXPECT_TRUE(Has(why, "is a symbolic link")) << why;
        EXPECT_EQ(ListFiles(outside), before);
        EXPECT_EQ(ReadBytes(outside / "500002.mp4"), "the user's own file");
        EXPECT_EQ(ReadBytes(outside / "sglist.dat"), "the user's own list");
        EXPECT_EQ(ReadBytes(outside / "MgList.dat"), "the user's own catalogue");
        std::filesystem::remove(link);
        std::filesystem::create_directories(root / "songs");
    }
}

TEST_F(DeviceLinksTest, ACloudSongNumberedZeroIsRefused) {
    Serve("0.mp4", Pattern(10));
    const CloudSongFetch fetch = FetchCloudSong(client, root / "songs", CloudSong(0));
    EXPECT_FALSE(fetch.outcome.ok());
    EXPECT_TRUE(Has(DetailOf(fetch.outcome), "no cloud song has the number 0")) << DetailOf(fetch.outcome);
    EXPECT_TRUE(ListFiles(root / "songs").empty());
}

TEST_F(DeviceLinksTest, FetchOnAReadOnlyStickSaysSo) {
    const std::filesystem::path stick = local / "RO";
    TmpfsMount mount(stick, 1 << 20);
    if (!mount.mounted()) GTEST_SKIP() << mount.why_not();
    std::filesystem::create_directories(stick / "songs");
    ASSERT_EQ(::mount(nullptr, stick.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    const CloudSongFetch fetch = FetchCloudSong(client, stick / "songs", CloudSong(500002));
    EXPECT_EQ(FailureKind(fetch.outcome), DownloadStatus::WriteFailure);
    EXPECT_TRUE(Has(DetailOf(fetch.outcome), "Read-only file system")) << DetailOf(fetch.outcome);
}

TEST_F(DeviceLinksTest, ACloudDatabaseWithoutTheSearchColumnsReplacesNothing) {
    const std::filesystem::path songs = root / "songs";
    WriteCloudCatalogue(songs / "Msong.db", {{100001, 0, "Old Song", "Someone"}});
    WriteBytes(songs / "MgList.dat", ListBytes({{100001, 0, "Old Song", "Someone", "", ""}}));
    const std::string oldDatabase = ReadBytes(songs / "Msong.db");
    const std::string oldList = ReadBytes(songs / "MgList.dat");
    std::filesystem::remove(cloud / "Msong.db");
    ExecuteSql(cloud / "Msong.db",
               "create table songlist (idx integer, lang integer, cls integer, name text);"
               "insert into songlist values (500002, 0, 0, 'New Song');");
    CloudCatalogue catalogue;
    const CatalogueFetch fetch = FetchCloudCatalogue(client, songs, catalogue);
    EXPECT_EQ(FailureKind(fetch.database), DownloadStatus::Rejected);
    EXPECT_EQ(ReadBytes(songs / "Msong.db"), oldDatabase);
    EXPECT_EQ(ReadBytes(songs / "MgList.dat"), oldList);
    EXPECT_EQ(ListFiles(songs), (std::vector<std::string>{"MgList.dat", "Msong.db"}));
}

// A server that answers every request with a status line and then one header line every 100 ms,
// never ending its headers.
class TricklingServer {
public:
    TricklingServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 8);
        socklen_t length = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~TricklingServer() {
        stop_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        thread_.join();
    }
    std::string baseUrl() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

private:
    void Serve() {
        while (!stop_) {
            const int connection = ::accept(listener_, nullptr, nullptr);
            if (connection < 0) return;
            char request[4096];
            (void)::recv(connection, request, sizeof request, 0);
            std::string line = "HTTP/1.1 200 OK\r\n";
            for (int i = 0; !stop_ && i < 600; ++i) {
                if (::send(connection, line.data(), line.size(), MSG_NOSIGNAL) < 0) break;
                line = "X-Line-" + std::to_string(i) + ": still coming\r\n";
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            ::close(connection);
        }
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(HeaderDeadline, HeadersTricklingInEndEveryRequest) {
    TricklingServer server;
    DownloadProgress progress;
    CloudClient client(server.baseUrl(), progress);
    // Everything else generous: only the header limit can end these requests.
    client.SetTimeouts({.connect = std::chrono::milliseconds(2000),
                        .stall = std::chrono::milliseconds(60000),
                        .minimumRate = 1,
                        .headers = std::chrono::milliseconds(1000)});
    TempDir local;
    const struct {
        const char* name;
        std::function<std::string()> request;
    } cases[] = {
        {"size probe",
         [&] {
             const Result<> reached = client.ProbeNetwork();
             return reached ? std::string() : reached.message();
         }},
        {"catalogue", [&] { return DetailOf(client.DownloadFile("MgList.dat", local / "MgList.dat")); }},
        {"song", [&] { return DetailOf(client.DownloadSong("900001", local / "900001")); }},
        {"MIDI", [&] { return DetailOf(client.DownloadFile("230midisglist.dat", local / "sglist.dat")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        const std::string why = c.request();
        EXPECT_TRUE(Has(why, "headers were not complete within 1000 ms")) << why;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    }
    EXPECT_TRUE(ListFiles(local.path()).empty());
}

}  // namespace
}  // namespace songloader::test
