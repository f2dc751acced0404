// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/run_program.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "support/temp_dir.h"

extern char** environ;

namespace songloader::test {

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment) {
    TempDir streams;
    const auto outFile = streams / "out";
    const auto errFile = streams / "err";
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.push_back(*e);
    // An entry replaces the inherited one of the same name (the first of a name is the one read).
    for (const std::string& entry : environment) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        std::erase_if(env, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
        env.push_back(entry);
    }

    pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (auto& e : env) envp.push_back(e.data());
        envp.push_back(nullptr);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ProgramRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = ReadBytes(outFile);
    run.err = ReadBytes(errFile);
    return run;
}

}  // namespace songloader::test
