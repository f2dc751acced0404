// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace songloader::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr const char* kProgramName = "songloader-cli";

// Where a command writes: results on `out`, messages and progress on `err`.
struct Console {
    std::ostream& out;
    std::ostream& err;
    bool progress = false;  // standard error is a terminal and --quiet was not given

    // Starts a failure message: "songloader-cli: ".
    std::ostream& Fail() const;
};

// A value on the command line the command cannot take: answered with its usage and exit 2.
struct UsageError {
    std::string message;
};

// The operands of a command as its usage names them, e.g. "[DEVICE] NUMBER".
struct Operands {
    std::optional<std::string> device;  // given when the usage starts with [DEVICE]
    std::vector<std::string> rest;      // the others, in order
};

using CommandRun = std::function<int(const Operands& operands, Console& console)>;

// Every command is described once, here: its name, the line the command list shows, its operands,
// its help text and its options (on the returned App). Parsing, usage lines, `--help` and
// `help COMMAND` all come from that description.
class CommandSet {
public:
    CommandSet();
    ~CommandSet();
    CommandSet(const CommandSet&) = delete;
    CommandSet& operator=(const CommandSet&) = delete;

    CLI::App& Add(const char* name, const char* summary, const char* operands, const char* details, CommandRun run);
    // Gives a long-running command --quiet, which turns its progress off.
    void ShowsProgress(CLI::App& command);
    int Run(int argc, char** argv, Console& console);

private:
    struct Entry;
    class Formatter;

    Entry* Find(const std::string& name);
    std::string HelpOf(const std::string& name);
    int UsageFailure(const std::string& name, const std::string& message, Console& console);
    int RunCommand(Entry& entry, Console& console);

    CLI::App app_;
    std::shared_ptr<Formatter> formatter_;
    std::vector<std::unique_ptr<Entry>> entries_;
    bool quiet_ = false;
};

enum class Progress { Hidden, Shown };

// A command whose options fill one `Options` value kept for its runs: `addOptions` declares them
// (after --quiet when it shows progress), `run` gets them with the operands. The description as
// for CommandSet::Add.
template <typename Options>
CLI::App& AddCommandWith(CommandSet& commands, const char* name, const char* summary, const char* operands,
                         const char* details, Progress progress,
                         std::function<int(const Options& options, const Operands& operands, Console& console)> run,
                         const std::function<void(CLI::App& command, Options& options)>& addOptions) {
    auto options = std::make_shared<Options>();
    CLI::App& command = commands.Add(name, summary, operands, details,
                                     [options, run = std::move(run)](const Operands& given, Console& console) {
                                         return run(*options, given, console);
                                     });
    if (progress == Progress::Shown) commands.ShowsProgress(command);
    addOptions(command, *options);
    return command;
}

// Options several commands share, with the help texts that name their settings.
void AddEncodingOption(CLI::App& command, std::string& encoding);
void AddCloudUrlOption(CLI::App& command, std::string& cloudUrl);

// Each command lives in its own file and is added once in main.cpp, in the order of the help.
void AddDevicesCommand(CommandSet& commands);
void AddListCommand(CommandSet& commands);
void AddExportCommand(CommandSet& commands);
void AddAddCommand(CommandSet& commands);
void AddImportCommand(CommandSet& commands);
void AddReviseCommand(CommandSet& commands);
void AddDeleteCommand(CommandSet& commands);
void AddRebuildCommand(CommandSet& commands);
void AddVerifyCommand(CommandSet& commands);
void AddSearchCommand(CommandSet& commands);
void AddPrintCommand(CommandSet& commands);
void AddCloudSyncCommand(CommandSet& commands);
void AddFetchCommand(CommandSet& commands);
void AddMidiCommand(CommandSet& commands);
void AddEjectCommand(CommandSet& commands);
void AddPublishCommand(CommandSet& commands);
void AddConfigCommand(CommandSet& commands);

}  // namespace songloader::cli
