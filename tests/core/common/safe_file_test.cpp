// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/safe_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <functional>

#include "support/temp_dir.h"

namespace songloader {
namespace {

// Files may grow only to `bytes` while it lives; a longer write fails instead of killing the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit saved_{};
    void (*previous_)(int) = SIG_DFL;
};

TEST(SafeFileWriter, ACompleteWriteReplacesTheTarget) {
    test::TempDir dir;
    test::WriteBytes(dir / "list.dat", "old");
    {
        SafeFileWriter writer(dir / "list.dat");
        ASSERT_TRUE(writer.Write("new ") && writer.Write(std::string("bytes")));
        EXPECT_EQ(test::ReadBytes(dir / "list.dat"), "old") << "nothing shows before the commit";
        ASSERT_TRUE(writer.Commit()) << writer.status().message();
    }
    EXPECT_EQ(test::ReadBytes(dir / "list.dat"), "new bytes");
    EXPECT_EQ(test::ListFiles(dir.path()), std::vector<std::string>{"list.dat"});
}

// Whichever step fails, the old target stands as it was and no temporary file is left.
TEST(SafeFileWriter, AFailureAtAnyStepKeepsTheOldFileAndLeavesNoTemporary) {
    struct Case {
        const char* step;
        std::function<bool(test::TempDir&)> run;  // what the caller's writer reports
        std::vector<std::string> files;
    };
    const std::vector<Case> cases = {
        {"create",
         [](test::TempDir& dir) { return SafeFileWriter(dir / "gone" / "list.dat").status().ok(); },
         {"list.dat"}},
        {"write",
         [](test::TempDir& dir) {
             SafeFileWriter writer(dir / "list.dat");
             FileSizeLimit limit(4);
             return writer.Write(std::string(100, 'x')) && writer.Commit();
         },
         {"list.dat"}},
        {"abandoned",
         [](test::TempDir& dir) {
             SafeFileWriter writer(dir / "list.dat");
             (void)writer.Write("half");
             return false;
         },
         {"list.dat"}},
        {"finished, not published",
         [](test::TempDir& dir) {
             SafeFileWriter writer(dir / "list.dat");
             (void)writer.Write("whole");
             (void)writer.Finish();
             return false;
         },
         {"list.dat"}},
        {"publish",
         [](test::TempDir& dir) {
             // A folder with something in it cannot be replaced by a file.
             test::WriteBytes(dir / "busy" / "inside", "x");
             SafeFileWriter writer(dir / "busy");
             return writer.Write("whole") && writer.Commit();
         },
         {"busy/inside", "list.dat"}},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        test::WriteBytes(dir / "list.dat", "old");
        EXPECT_FALSE(c.run(dir)) << c.step;
        EXPECT_EQ(test::ReadBytes(dir / "list.dat"), "old") << c.step;
        EXPECT_EQ(test::ListFiles(dir.path()), c.files) << c.step;
    }
}

}  // namespace
}  // namespace songloader

namespace songloader {
namespace {

// Where the kernel cannot copy between the two (here: from a pipe), the bytes go through a buffer.
TEST(SafeFileWriter, CopyFallsBackToReadAndWrite) {
    test::TempDir dir;
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const std::string bytes(50000, 'p');
    ASSERT_EQ(::write(pipeEnds[1], bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::close(pipeEnds[1]);
    SafeFileWriter out(dir / "copy");
    std::size_t total = 0;
    for (;;) {
        const Result<std::size_t> n = out.CopyFrom(pipeEnds[0], 1 << 20);
        ASSERT_TRUE(n) << n.message();
        if (*n == 0) break;
        total += *n;
    }
    ::close(pipeEnds[0]);
    EXPECT_EQ(total, bytes.size());
    ASSERT_TRUE(out.Commit()) << out.status().message();
    EXPECT_EQ(test::ReadBytes(dir / "copy"), bytes);
}

}  // namespace
}  // namespace songloader
