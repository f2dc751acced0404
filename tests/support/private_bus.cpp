// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/private_bus.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "support/run_program.h"

namespace songloader::test {

PrivateBus::PrivateBus() {
    FILE* out = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    if (!out) return;
    char line[512];
    if (std::fgets(line, sizeof line, out)) address_ = std::string(line, std::strcspn(line, "\n"));
    if (std::fgets(line, sizeof line, out)) daemon_ = std::atoi(line);
    ::pclose(out);
}

PrivateBus::~PrivateBus() {
    if (mock_ > 0) {
        ::kill(mock_, SIGTERM);
        ::waitpid(mock_, nullptr, 0);
    }
    if (daemon_ > 0) ::kill(daemon_, SIGTERM);
}

bool PrivateBus::StartMock(const std::string& addressVariable, const std::vector<std::string>& arguments,
                           const std::string& serviceName) {
    const std::string bus = addressVariable + "=" + address_;
    std::vector<std::string> command{"python3", "-m", "dbusmock"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    mock_ = ::fork();
    if (mock_ == 0) {
        ::putenv(const_cast<char*>(bus.c_str()));
        std::freopen("/dev/null", "w", stdout);
        ::execv("/usr/bin/python3", argv.data());
        ::_exit(127);
    }
    for (int i = 0; i < 100; ++i) {
        const ProgramRun owner =
            RunProgram("/usr/bin/dbus-send",
                       {"--bus=" + address_, "--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                        "org.freedesktop.DBus.NameHasOwner", "string:" + serviceName});
        if (owner.out.find("boolean true") != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace songloader::test
