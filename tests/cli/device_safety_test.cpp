// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>

#include "core/device/device_layout.h"
#include "core/device/device_write_session.h"
#include "support/media_samples.h"
#include "support/private_bus.h"
#include "support/run_program.h"
#include "support/temp_dir.h"
#include "support/tmpfs_mount.h"

namespace songloader {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ProgramRun;

constexpr const char* kPython = "/usr/bin/python3";

ProgramRun Cli(const std::vector<std::string>& args, const std::vector<std::string>& env = {}) {
    std::vector<std::string> environment{"LC_ALL=C.UTF-8"};
    environment.insert(environment.end(), env.begin(), env.end());
    return test::RunProgram(SONGLOADER_CLI_PATH, args, environment);
}

std::vector<std::string> ListedNumbers(const fs::path& device) {
    std::vector<std::string> numbers;
    const ProgramRun list = Cli({"list", device.string()});
    for (std::size_t at = 0; at < list.out.size();) {
        const auto end = list.out.find('\n', at);
        numbers.push_back(list.out.substr(at, 6));
        at = end == std::string::npos ? list.out.size() : end + 1;
    }
    return numbers;
}

TEST(CliDeviceLock, ConcurrentAddsAllLand) {
    test::TempDir dir;
    const fs::path device = dir / "stick";
    fs::create_directories(device);
    std::vector<std::thread> adds;
    std::vector<ProgramRun> runs(4);
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const fs::path clip = dir / ("clip" + std::to_string(i) + ".mp4");
        test::WriteMediaSample(clip, 200000 + i, static_cast<std::uint32_t>(i));
        adds.emplace_back([&, i, clip] {
            runs[i] = Cli({"add", device.string(), clip.string(), "--title", "Song " + std::to_string(i)});
        });
    }
    for (std::thread& add : adds) add.join();
    for (const ProgramRun& run : runs) EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(ListedNumbers(device), (std::vector<std::string>{"900000", "900001", "900002", "900003"}));
}

TEST(CliDeviceLock, WriterWaitsForTheLockHolder) {
    test::TempDir dir;
    const fs::path device = dir / "stick";
    fs::create_directories(SongFolderOf(device));
    test::WriteMediaSample(dir / "clip.mp4", 0);
    ProgramRun run;
    std::thread add;
    {
        const DeviceWriteLock held(SongFolderOf(device), 0ms);
        ASSERT_TRUE(held.locked());
        add = std::thread([&] { run = Cli({"add", device.string(), (dir / "clip.mp4").string(), "--title", "T"}); });
        std::this_thread::sleep_for(700ms);
        EXPECT_FALSE(fs::exists(SongFolderOf(device) / "SgList.dat")) << "written while another held the device";
    }
    add.join();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(SongFolderOf(device) / "SgList.dat"));
}

// A private message bus standing in for the system bus, with a mocked disk service on it.
class PrivateSystemBus {
public:
    bool ok() const { return bus_.ok(); }
    std::string environment() const { return "DBUS_SYSTEM_BUS_ADDRESS=" + bus_.address(); }

    // Starts the mocked UDisks2 with a stick mounted at `mountPoint`; false when it did not come up.
    bool StartUdisks(const fs::path& mountPoint, bool busy, const fs::path& log) {
        const std::string parameters = std::string("{\"mount_point\": \"") + mountPoint.string() +
                                       "\", \"busy\": " + (busy ? "true" : "false") + "}";
        const std::string tmpl = std::string(SONGLOADER_SOURCE_DIR) + "/tests/cli/fixtures/udisks2_mock.py";
        return bus_.StartMock("DBUS_SYSTEM_BUS_ADDRESS", {"--system", "-t", tmpl, "-p", parameters, "-l", log},
                              "org.freedesktop.UDisks2");
    }

private:
    test::PrivateBus bus_;
};

TEST(CliEject, ThroughTheDiskService) {
    if (test::RunProgram(kPython, {"-c", "import dbusmock"}).exitCode != 0) {
        GTEST_SKIP() << "python3-dbusmock is not installed";
    }
    enum class Service { Ready, Busy, Missing };
    struct Case {
        const char* name;
        Service service;
        bool songLoaderWriting;
        int exitCode;
        std::string says;  // "%m" stands for the mount point
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {"ejected", Service::Ready, false, 0, "The USB drive can now be removed safely.\n", {"Unmount", "PowerOff"}},
        {"in use", Service::Busy, false, 1, "%m is in use by another program\n", {"Unmount"}},
        {"no disk service", Service::Missing, false, 1, "UDisks2", {}},
        {"song loader writing", Service::Ready, true, 1, "The device is busy with another song loader command.\n", {}},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const fs::path stick = dir / "STICK";
        test::TmpfsMount mount(stick, 1 << 20);
        if (!mount.mounted()) GTEST_SKIP() << mount.why_not();
        PrivateSystemBus bus;
        if (!bus.ok()) GTEST_SKIP() << "cannot start a private dbus-daemon";
        const fs::path log = dir / "udisks.log";
        if (c.service != Service::Missing) {
            ASSERT_TRUE(bus.StartUdisks(stick, c.service == Service::Busy, log)) << c.name;
        }
        fs::create_directories(SongFolderOf(stick));
        std::optional<DeviceWriteLock> writer;
        if (c.songLoaderWriting) writer.emplace(SongFolderOf(stick), 0ms);

        const ProgramRun run = Cli({"eject", stick.string()}, {bus.environment()});
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name << ": " << run.err;
        std::string says = c.says;
        if (const auto at = says.find("%m"); at != std::string::npos) says.replace(at, 2, stick.string());
        EXPECT_NE((run.out + run.err).find(says), std::string::npos) << c.name << ": " << run.out << run.err;
        const std::string calls = fs::exists(log) ? test::ReadBytes(log) : "";
        for (const std::string& call : {std::string("Unmount"), std::string("PowerOff")}) {
            const bool expected = std::find(c.calls.begin(), c.calls.end(), call) != c.calls.end();
            EXPECT_EQ(calls.find(call) != std::string::npos, expected) << c.name << ": " << call << "\n" << calls;
        }
    }
}

}  // namespace
}  // namespace songloader
