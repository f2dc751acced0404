// SPDX-License-Identifier: GPL-3.0-or-later
// What users of command-line tools rely on: help from one description, usage errors, settings
// precedence, and progress only on a terminal.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/media_samples.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace songloader {
namespace {

using test::ProgramRun;

constexpr const char* kBuiltInProfileLines =
    "player-video-codecs\tmpeg1video, mpeg2video, mpeg4, h264\tbuilt in\n"
    "player-audio-codecs\tmp3, mp2, aac-lc, ac3\tbuilt in\n"
    "player-max-size\t1920x1080\tbuilt in\n";

class CliConventions : public ::testing::Test {
protected:
    ProgramRun Run(std::vector<std::string> args, std::vector<std::string> environment = {}) {
        environment.insert(environment.begin(), {"LANGUAGE=", "LC_ALL=en_US.UTF-8",
                                                 "XDG_CONFIG_HOME=" + Config().string(), "SONGLOADER_CLOUD_URL="});
        return test::RunProgram(SONGLOADER_CLI_PATH, args, environment);
    }
    std::filesystem::path Config() const { return dir_ / "config"; }

    test::TempDir dir_;
};

TEST_F(CliConventions, HelpOfEveryCommandIsOneTextAndUsageErrorsExitTwo) {
    const ProgramRun help = Run({"--help"});
    ASSERT_EQ(help.exitCode, 0);
    EXPECT_EQ(Run({"help"}).out, help.out);
    for (const char* command : {"devices", "list", "add", "revise", "rebuild", "cloud-sync", "fetch", "config"}) {
        EXPECT_NE(help.out.find(std::string("\n  ") + command + "  "), std::string::npos) << command;
        const ProgramRun own = Run({command, "--help"});
        EXPECT_EQ(own.exitCode, 0) << command;
        EXPECT_EQ(own.out, Run({"help", command}).out) << command;
        EXPECT_EQ(own.out.rfind(std::string("usage: songloader-cli ") + command, 0), 0u) << command;
    }
    // Settings are documented where they are used.
    EXPECT_NE(Run({"list", "--help"}).out.find("--encoding NAME"), std::string::npos);
    EXPECT_NE(Run({"fetch", "--help"}).out.find("SONGLOADER_CLOUD_URL"), std::string::npos);

    const ProgramRun bad = Run({"revise", dir_.path().string(), "900000", "--language", "XX"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("\nusage: songloader-cli revise [DEVICE] NUMBER"), std::string::npos) << bad.err;
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(Run({"help", "frobnicate"}).exitCode, 2);
    EXPECT_EQ(Run({"config", "extra"}).exitCode, 2);
}

TEST_F(CliConventions, HelpSpeaksTheUsersLanguageAndKeepsItsUsageLines) {
    const std::string english = Run({"--help"}).out;
    const std::string usage = english.substr(0, english.find("\n\n"));
    struct Case {
        std::vector<std::string> environment;
        std::string heading;  // of the command list; empty: the English help
    };
    const Case cases[] = {
        {{"LANGUAGE=es"}, "\nÓrdenes:\n"},
        {{"LANGUAGE=fil"}, "\nMga utos:\n"},
        {{"LANGUAGE=de:es"}, "\nÓrdenes:\n"},
        {{"LC_ALL=tl_PH.UTF-8"}, "\nMga utos:\n"},
        {{"LANGUAGE=en:es"}, ""},
        {{"LANGUAGE=", "LC_ALL=C"}, ""},
    };
    for (const Case& c : cases) {
        const ProgramRun help = Run({"--help"}, c.environment);
        const std::string what = c.environment.back();
        EXPECT_EQ(help.exitCode, 0) << what;
        if (c.heading.empty()) {
            EXPECT_EQ(help.out, english) << what;
            continue;
        }
        EXPECT_NE(help.out.find(c.heading), std::string::npos) << what;
        EXPECT_EQ(help.out.rfind(usage, 0), 0u) << what;  // the completion reads it
        EXPECT_NE(help.out.find("\n  cloud-sync  "), std::string::npos) << what;
    }
    const ProgramRun list = Run({"list", "--help"}, {"LANGUAGE=es"});
    EXPECT_EQ(list.out.rfind("usage: songloader-cli list", 0), 0u);
    EXPECT_NE(list.out.find("Muestra las canciones del dispositivo"), std::string::npos) << list.out;
}

TEST_F(CliConventions, SettingsFollowFlagThenEnvironmentThenFileThenDefault) {
    struct Case {
        std::string file;  // songloader.conf, none when empty
        std::vector<std::string> environment;
        std::vector<std::string> flags;
        std::string expected;  // the config lines of cloud-url and encoding
    };
    const std::string file = (Config() / "songloader" / "songloader.conf").string();
    const std::vector<Case> cases = {
        {"", {}, {}, "cloud-url\t" SONGLOADER_CLOUD_URL "\tbuilt in\nencoding\tCP1252\tlocale (en_US.UTF-8)\n"},
        {"# mine\ncloud-url = http://file/\nencoding = CP936\n",
         {},
         {},
         "cloud-url\thttp://file/\tsettings file (" + file + ")\nencoding\tCP936\tsettings file (" + file + ")\n"},
        {"cloud-url = http://file/\n",
         {"SONGLOADER_CLOUD_URL=http://env/"},
         {},
         "cloud-url\thttp://env/\tenvironment (SONGLOADER_CLOUD_URL)\nencoding\tCP1252\tlocale (en_US.UTF-8)\n"},
        {"cloud-url = http://file/\nencoding = CP936\n",
         {"SONGLOADER_CLOUD_URL=http://env/"},
         {"--cloud-url", "http://flag/", "--encoding", "CP1258"},
         "cloud-url\thttp://flag/\tcommand line (--cloud-url)\nencoding\tCP1258\tcommand line (--encoding)\n"},
        {"encoding =\n",
         {"LC_ALL=ru_RU.UTF-8"},
         {},
         "cloud-url\t" SONGLOADER_CLOUD_URL "\tbuilt in\nencoding\tCP1251\tlocale (ru_RU.UTF-8)\n"},
    };
    // No converter on PATH: the conversion's lines are the built-in ones (their own cases below).
    const std::string conversion = std::string(kBuiltInProfileLines) + "converter\t-\tbuilt in\n";
    for (const Case& c : cases) {
        std::filesystem::remove_all(Config());
        if (!c.file.empty()) test::WriteBytes(file, c.file);
        std::vector<std::string> args = {"config"};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        std::vector<std::string> environment = c.environment;
        environment.insert(environment.end(), {"PATH=" + dir_.path().string(), "SONGLOADER_FFMPEG="});
        const ProgramRun run = Run(args, environment);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, c.expected + conversion + "settings-file\t" + file + "\n") << c.file;
    }
    // A setting the device cannot use is named with where it came from.
    test::WriteBytes(file, "encoding = NOPE\n");
    const ProgramRun bad = Run({"list", dir_.path().string()});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err.rfind("songloader-cli: unknown encoding NOPE (from " + file + "); use one of CP1252 ", 0), 0u)
        << bad.err;
}

// The player profile's keys and the converter: each value in effect, from the environment, the
// settings file or built in; a value that cannot be used is named and config exits 1.
TEST_F(CliConventions, ConfigShowsTheConversionSettings) {
    const std::filesystem::path bin = dir_ / "bin";
    std::filesystem::create_directories(bin);
    const std::string converter = (bin / "ffmpeg").string();
    test::WriteBytes(converter, "#!/bin/sh\n");
    std::filesystem::permissions(converter, std::filesystem::perms::owner_all);
    const std::string file = (Config() / "songloader" / "songloader.conf").string();
    struct Case {
        std::string file;
        std::vector<std::string> environment;
        std::string lines;    // from player-video-codecs to converter
        std::string problem;  // on standard error, exit 1; empty: exit 0
    };
    const std::vector<Case> cases = {
        {"",
         {"PATH=" + bin.string()},
         std::string(kBuiltInProfileLines) + "converter\t" + converter + "\tbuilt in\n",
         ""},
        {"player-video-codecs = h264,mpeg4\nplayer-max-size = 1280x720\nconverter = " + converter + "\n",
         {"PATH=/nowhere"},
         "player-video-codecs\th264, mpeg4\tsettings file (" + file +
             ")\nplayer-audio-codecs\tmp3, mp2, aac-lc, ac3\tbuilt in\nplayer-max-size\t1280x720\tsettings file (" +
             file + ")\nconverter\t" + converter + "\tsettings file (" + file + ")\n",
         ""},
        {"player-audio-codecs = mp3\nconverter = /nowhere/ffmpeg\n",
         {"SONGLOADER_FFMPEG=" + converter},
         "player-video-codecs\tmpeg1video, mpeg2video, mpeg4, h264\tbuilt in\nplayer-audio-codecs\tmp3\tsettings file "
         "(" +
             file + ")\nplayer-max-size\t1920x1080\tbuilt in\nconverter\t" + converter +
             "\tenvironment (SONGLOADER_FFMPEG)\n",
         ""},
        {"player-max-size = big\n",
         {"SONGLOADER_FFMPEG=/nowhere/ffmpeg"},
         "player-video-codecs\tmpeg1video, mpeg2video, mpeg4, h264\tbuilt in\nplayer-audio-codecs\tmp3, mp2, aac-lc, "
         "ac3\tbuilt in\nplayer-max-size\tbig\tsettings file (" +
             file + ")\nconverter\t/nowhere/ffmpeg\tenvironment (SONGLOADER_FFMPEG)\n",
         "songloader-cli: " + file +
             ": player-max-size must be a width and height like 1920x1080, not \"big\"\n"
             "songloader-cli: The converter /nowhere/ffmpeg (from SONGLOADER_FFMPEG) is not a program that can be "
             "run.\n"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(Config());
        if (!c.file.empty()) test::WriteBytes(file, c.file);
        std::vector<std::string> environment = {"SONGLOADER_FFMPEG="};
        environment.insert(environment.end(), c.environment.begin(), c.environment.end());
        const ProgramRun run = Run({"config"}, environment);
        EXPECT_EQ(run.exitCode, c.problem.empty() ? 0 : 1) << c.file;
        const auto from = run.out.find("player-video-codecs\t");
        const auto to = run.out.find("settings-file\t");
        ASSERT_TRUE(from != std::string::npos && to != std::string::npos) << run.out;
        EXPECT_EQ(run.out.substr(from, to - from), c.lines) << c.file;
        EXPECT_EQ(run.err, c.problem) << c.file;
    }
}

// Runs the program with standard error on a terminal (a pseudo-terminal) or on a pipe, and gives
// what came on standard error.
std::string ErrorOutput(const std::vector<std::string>& args, bool terminal) {
    int errPipe[2] = {-1, -1};
    int master = -1;
    pid_t child;
    if (terminal) {
        child = ::forkpty(&master, nullptr, nullptr, nullptr);
    } else {
        if (::pipe(errPipe) != 0) return "pipe failed";
        child = ::fork();
    }
    if (child == 0) {
        if (!terminal) {
            ::dup2(errPipe[1], STDERR_FILENO);
            ::close(errPipe[0]);
        }
        // Standard output stays off the terminal: only standard error is looked at.
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        std::vector<char*> argv{const_cast<char*>(SONGLOADER_CLI_PATH)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::setenv("LC_ALL", "en_US.UTF-8", 1);
        ::execv(SONGLOADER_CLI_PATH, argv.data());
        ::_exit(127);
    }
    int reading = terminal ? master : errPipe[0];
    if (!terminal) ::close(errPipe[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(reading, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
    ::close(reading);
    int status = 0;
    ::waitpid(child, &status, 0);
    return text;
}

TEST_F(CliConventions, ProgressGoesToStandardErrorOnlyOnATerminal) {
    const std::filesystem::path device = dir_ / "stick";
    std::filesystem::create_directories(device);
    test::WriteMediaSample(dir_ / "clip.mp4", 3 * 1048576 + 5);
    const std::vector<std::string> add = {"add", device.string(), (dir_ / "clip.mp4").string(), "--title", "T"};

    const std::string shown = ErrorOutput(add, true);
    EXPECT_NE(shown.find("copying clip.mp4"), std::string::npos) << shown;
    EXPECT_NE(shown.find("3.0 MiB of 3.0 MiB  100%"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Added successfully"), std::string::npos) << shown;

    EXPECT_EQ(ErrorOutput(add, false), "Added successfully\n");
    std::vector<std::string> quiet = add;
    quiet.push_back("--quiet");
    EXPECT_EQ(ErrorOutput(quiet, true).find("copying"), std::string::npos);
}

}  // namespace
}  // namespace songloader
