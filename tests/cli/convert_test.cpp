// SPDX-License-Identifier: GPL-3.0-or-later
// Files the player plays only after conversion, converted by the ffmpeg program on their way onto
// the device, and even loudness.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>

#include "support/media_samples.h"
#include "support/run_program.h"
#include "support/song_samples.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

namespace fs = std::filesystem;
using test::ProgramRun;

class CliConvert : public ::testing::Test {
protected:
    void SetUp() override {
        device_ = dir_ / "stick";
        fs::create_directories(device_ / "songs");
        in_ = dir_ / "in";
        fs::create_directories(in_);
        fs::create_directories(work_);
    }
    ProgramRun Run(std::vector<std::string> args, std::vector<std::string> environment = {}) {
        environment.insert(environment.end(), {"LC_ALL=en_US.UTF-8", "XDG_CONFIG_HOME=" + (dir_ / "config").string(),
                                               "TMPDIR=" + work_.string()});
        return test::RunProgram(SONGLOADER_CLI_PATH, args, environment);
    }
    fs::path Take(const std::string& fixture) {
        fs::copy_file(test::MediaFixture(fixture), in_ / fixture);
        return in_ / fixture;
    }
    // What ffprobe reads of a file: "codec,codec,...|title|artist".
    static std::string Probe(const fs::path& file) {
        const ProgramRun codecs = test::RunProgram(
            "/usr/bin/ffprobe",
            {"-v", "error", "-show_entries", "stream=codec_name,profile", "-of", "csv=p=0", file.string()});
        const ProgramRun tags = test::RunProgram(
            "/usr/bin/ffprobe",
            {"-v", "error", "-show_entries", "format_tags=title,artist", "-of", "default=nw=1:nk=1", file.string()});
        std::string text = codecs.out + "|" + tags.out;
        for (char& c : text) {
            if (c == '\n') c = ' ';
        }
        return text;
    }
    // The integrated loudness of `file` in LUFS, as the converter's own meter reads it.
    static double Loudness(const fs::path& file) {
        const ProgramRun run = test::RunProgram(
            "/usr/bin/ffmpeg", {"-hide_banner", "-nostats", "-i", file.string(), "-af", "ebur128", "-f", "null", "-"});
        const auto summary = run.err.rfind("Integrated loudness:");
        const auto at = run.err.find("I:", summary);
        if (summary == std::string::npos || at == std::string::npos) return NAN;
        return std::atof(run.err.c_str() + at + 2);
    }
    bool WorkFolderEmpty() const {
        for (const auto& entry : fs::recursive_directory_iterator(work_)) {
            if (entry.is_regular_file()) return false;
        }
        return true;
    }
    // A stand-in converter that aborts on files whose name holds `marker` and runs ffmpeg otherwise.
    fs::path CrashingConverter(const std::string& marker) {
        const fs::path script = dir_ / "crashing-ffmpeg";
        test::WriteBytes(script,
                         "#!/bin/sh\ncase \"$*\" in *" + marker + "*) kill -ABRT $$ ;; esac\nexec ffmpeg \"$@\"\n");
        ::chmod(script.c_str(), 0755);
        return script;
    }

    test::TempDir dir_;
    fs::path device_;
    fs::path in_;
    fs::path work_ = dir_ / "work";
};

// Without --convert the files that need it are named and left out, the others added.
TEST_F(CliConvert, WithoutConvertNothingIsConverted) {
    const fs::path webm = Take("vp9-opus.webm");
    Take("tagged.mp4");
    const ProgramRun run = Run({"import", device_.string(), in_.string(), "--language", "EG"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "900000\tBlue Moon\tAnn Lee\t" + (in_ / "tagged.mp4").string() + "\n");
    EXPECT_NE(run.err.find(webm.string() + " plays only after conversion (a WebM file, vp9 video, opus audio); add "
                                           "--convert to convert it"),
              std::string::npos)
        << run.err;
    const ProgramRun add = Run({"add", device_.string(), webm.string(), "--title", "Gray Sky"});
    EXPECT_EQ(add.exitCode, 1);
    EXPECT_EQ(add.out, "");
    EXPECT_NE(add.err.find("add --convert to convert it"), std::string::npos) << add.err;
    EXPECT_FALSE(fs::exists(device_ / "songs/900/900001.mp4"));
}

// Each converted song is an MP4 of H.264 and AAC-LC with its tags; a song that plays stays as it is.
TEST_F(CliConvert, ImportConvertsWhatThePlayerCannotPlay) {
    for (const char* name : {"vp9-opus.webm", "av1.mp4", "hevc.mkv", "clip.mov", "tagged.mkv"}) Take(name);
    const ProgramRun run = Run({"import", device_.string(), in_.string(), "--language", "EG", "--convert"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // In byte order of the paths: av1, clip, hevc, tagged, vp9.
    const struct {
        const char* file;
        const char* probed;
    } stored[] = {
        {"songs/900/900000.mp4", "h264,High aac,LC |Gold Road Gus Tan "},
        {"songs/900/900001.mp4", "h264,High aac,LC |White Bay Ivy Ko "},
        {"songs/900/900002.mp4", "h264,High aac,LC |Pink Sand Hal Yu "},
        {"songs/900/900004.mp4", "h264,High aac,LC |Gray Sky Fay Lim "},
    };
    for (const auto& s : stored) EXPECT_EQ(Probe(device_ / s.file), s.probed) << s.file;
    EXPECT_EQ(test::ReadBytes(device_ / "songs/900/900003.mkv"), test::ReadBytes(in_ / "tagged.mkv"));
    EXPECT_TRUE(WorkFolderEmpty());
    const ProgramRun verify = Run({"verify", device_.string()});
    EXPECT_EQ(verify.exitCode, 0) << verify.out;
}

// A picture larger than the player shows, in a container whose headers leave its size out, is
// converted down to the player's size; the work folder a killed run left goes on the way.
TEST_F(CliConvert, AnOversizePictureIsConvertedDown) {
    test::WriteBytes(work_ / "songloader-convert-killed" / "half.mp4", "half a song");
    const fs::path ts = Take("h264-2560x1440.ts");
    const ProgramRun refused = Run({"import", device_.string(), in_.string(), "--language", "EG"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(ts.string() + " plays only after conversion (2560x1440 video)"), std::string::npos)
        << refused.err;
    const ProgramRun run = Run({"import", device_.string(), in_.string(), "--language", "EG", "--convert"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const ProgramRun size = test::RunProgram(
        "/usr/bin/ffprobe", {"-v", "error", "-select_streams", "v", "-show_entries", "stream=codec_name,width,height",
                             "-of", "csv=p=0", (device_ / "songs/900/900000.mp4").string()});
    EXPECT_EQ(size.out, "h264,1920,1080\n");
    EXPECT_FALSE(fs::exists(work_ / "songloader-convert-killed"));
    EXPECT_TRUE(WorkFolderEmpty());
}

// verify names the songs the player will not play.
TEST_F(CliConvert, VerifyNamesSongsThatWillNotPlay) {
    ASSERT_EQ(Run({"import", device_.string(), Take("tagged.mp4").string(), "--language", "EG"}).exitCode, 0);
    fs::copy_file(test::MediaFixture("hevc.mkv"), device_ / "songs/900/900000.mp4",
                  fs::copy_options::overwrite_existing);
    const ProgramRun verify = Run({"verify", device_.string()});
    EXPECT_EQ(verify.exitCode, 1);
    EXPECT_EQ(verify.out, "will not play\t900000\tBlue Moon\ta Matroska (MKV) file named .mp4, hevc video\n");
}

// Every song ends within 1 LU of -16 LUFS; one already there is copied as it is.
TEST_F(CliConvert, LoudnessIsSetToOneTarget) {
    Take("quiet.mp4");
    Take("loud.mp4");
    ASSERT_GT(std::fabs(Loudness(in_ / "quiet.mp4") + 16), 5);
    ASSERT_GT(std::fabs(Loudness(in_ / "loud.mp4") + 16), 5);
    const ProgramRun run = Run({"import", device_.string(), in_.string(), "--language", "EG", "--loudness"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* file : {"songs/900/900000.mp4", "songs/900/900001.mp4"}) {
        EXPECT_NEAR(Loudness(device_ / file), -16.0, 1.0) << file;
        EXPECT_EQ(Probe(device_ / file).substr(0, 16), "h264,High aac,LC") << file;
    }
    // Already even: copied byte for byte.
    const fs::path even = dir_ / "even.mp4";
    fs::copy_file(device_ / "songs/900/900000.mp4", even);
    const ProgramRun again = Run({"add", device_.string(), even.string(), "--title", "Again", "--loudness"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(test::ReadBytes(device_ / "songs/900/900002.mp4"), test::ReadBytes(even));
    EXPECT_TRUE(WorkFolderEmpty());
}

// A converter that crashes on one file costs that file only, with a clear message.
TEST_F(CliConvert, ACrashingConverterCostsOneFile) {
    Take("hevc.mkv");
    Take("av1.mp4");
    const fs::path converter = CrashingConverter("hevc");
    const ProgramRun run = Run({"import", device_.string(), in_.string(), "--language", "EG", "--convert"},
                               {"SONGLOADER_FFMPEG=" + converter.string()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "900000\tGold Road\tGus Tan\t" + (in_ / "av1.mp4").string() + "\n");
    EXPECT_NE(run.err.find((in_ / "hevc.mkv").string() + ": the converter crashed (Aborted)"), std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(device_ / "songs/900/900001.mp4"));
    EXPECT_TRUE(WorkFolderEmpty());
    // A converter that is not there is named with the package to install.
    const ProgramRun missing = Run({"add", device_.string(), (in_ / "hevc.mkv").string(), "--title", "T", "--convert"},
                                   {"PATH=" + (dir_ / "nothing").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("install the package ffmpeg"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace songloader
