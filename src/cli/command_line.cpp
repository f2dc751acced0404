// SPDX-License-Identifier: GPL-3.0-or-later
#include "command_line.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <iostream>
#include <sstream>

#include "cli_text.h"
#include "core/common/translatable.h"
#include "songloader_version.h"

namespace songloader::cli {

namespace {

constexpr const char* kProgramDescription =
    SL_TRANSLATE_NOOP("Cli",
                      "Manages the songs on the USB stick of a karaoke player: the device's song list, its catalogue,\n"
                      "user songs, the cloud catalogue and the MIDI song pack.\n");

// Written so that no line reads as a command of the list above it.
constexpr const char* kProgramFooter = SL_TRANSLATE_NOOP(
    "Cli",
    "DEVICE is the device root, the folder that holds songs/ (for a stick, its mount point).\n"
    "Without DEVICE the stick is found as the window's \"Auto-Check USB Drive\" finds it (see\n"
    "`songloader-cli devices`), and named on standard error. A folder inside a removable or USB\n"
    "volume stands for the volume's mount point. A bare number is never taken as DEVICE.\n"
    "\n"
    "Settings, strongest first:\n"
    "  --cloud-url, SONGLOADER_CLOUD_URL, the settings file's cloud-url, the built-in address;\n"
    "  --encoding, the settings file's encoding, the code page the locale implies.\n"
    "The settings file is $XDG_CONFIG_HOME/songloader/songloader.conf (~/.config/songloader/ when\n"
    "XDG_CONFIG_HOME is unset), lines of \"key = value\"; `songloader-cli config` shows what is in effect.\n"
    "SONGLOADER_MOUNTINFO, SONGLOADER_SYSFS and SONGLOADER_MOUNT_ROOTS (folders separated by \":\")\n"
    "replace /proc/self/mountinfo, /sys and /media:/run/media:/mnt for tests and diagnosis.\n"
    "\n"
    "Results go to standard output, messages to standard error; progress is shown on standard\n"
    "error when it is a terminal (--quiet turns it off). Exit status: 0 done, 1 failed, 2 usage error.\n");

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

}  // namespace

std::ostream& Console::Fail() const { return err << kProgramName << ": "; }

struct CommandSet::Entry {
    std::string name;
    std::string operands;
    CLI::App* app = nullptr;
    CommandRun run;
    std::vector<std::string> words;

    // Splits the words as the operands name them; throws UsageError when they do not fit.
    Operands Split() const {
        std::vector<std::string> shape = Words(operands);
        const bool takesDevice = !shape.empty() && shape.front() == "[DEVICE]";
        if (takesDevice) shape.erase(shape.begin());
        const bool variadic =
            !shape.empty() && shape.back().size() > 3 && shape.back().compare(shape.back().size() - 3, 3, "...") == 0;
        const auto required = static_cast<std::size_t>(
            std::count_if(shape.begin(), shape.end(), [](const std::string& s) { return s.front() != '['; }));
        const std::size_t most = shape.size();

        Operands split;
        std::size_t first = 0;
        if (takesDevice && !words.empty() && !AllDigits(words.front()) &&
            (variadic ? words.size() > required : words.size() > most)) {
            split.device = words.front();
            first = 1;
        }
        split.rest.assign(words.begin() + static_cast<std::ptrdiff_t>(first), words.end());
        if (split.rest.size() < required || (!variadic && split.rest.size() > most)) {
            throw UsageError{operands.empty() ? "this command takes no operands" : "expected " + operands};
        }
        return split;
    }
};

// Help and usage from the description: the usage line first (the completion reads it), then the
// summary, the options and the command's own text.
// The headings of the help's lists: CLI11's own group of options, and the commands' group.
[[maybe_unused]] constexpr const char* kOptionsGroup = SL_TRANSLATE_NOOP("Cli", "Options");
constexpr const char* kCommandsGroup = SL_TRANSLATE_NOOP("Cli", "Commands");

class CommandSet::Formatter : public CLI::Formatter {
public:
    std::map<const CLI::App*, std::string> operands;

    // The help's texts in the user's language (CliText); the usage lines stay as they are, as
    // the bash completion reads them.
    std::string make_description(const CLI::App* app) const override {
        const std::string text = CliText(app->get_description());
        return text.empty() ? std::string() : text + "\n";
    }
    std::string make_footer(const CLI::App* app) const override {
        const std::string text = CliText(app->get_footer());
        return text.empty() ? std::string() : text + "\n";
    }
    std::string make_option_desc(const CLI::Option* option) const override {
        return CliText(option->get_description());
    }
    std::string make_group(std::string group, bool positional, std::vector<const CLI::Option*> options) const override {
        return CLI::Formatter::make_group(CliText(group), positional, std::move(options));
    }
    std::string make_subcommand(const CLI::App* command) const override {
        std::stringstream out;
        CLI::detail::format_help(out, command->get_display_name(true), CliText(command->get_description()),
                                 column_width_);
        return out.str();
    }
    std::string make_subcommands(const CLI::App* app, CLI::AppFormatMode mode) const override {
        std::string list = CLI::Formatter::make_subcommands(app, mode);
        const std::string heading = std::string("\n") + kCommandsGroup + ":\n";
        if (const std::size_t at = list.find(heading); at != std::string::npos) {
            list.replace(at, heading.size(), "\n" + CliText(kCommandsGroup) + ":\n");
        }
        return list;
    }

    std::string make_usage(const CLI::App* app, std::string) const override {
        std::ostringstream out;
        if (!app->get_parent()) {
            out << "usage: " << kProgramName << " COMMAND [ARGS]\n       " << kProgramName
                << " help COMMAND | --help | --version\n";
            return out.str();
        }
        out << "usage: " << kProgramName << " " << app->get_name();
        if (auto it = operands.find(app); it != operands.end() && !it->second.empty()) out << " " << it->second;
        for (const CLI::Option* option : app->get_options()) {
            if (option->get_positional() || option == app->get_help_ptr()) continue;
            std::string text = "--" + option->get_lnames().front();
            if (!option->get_type_name().empty()) text += " " + option->get_type_name();
            out << " " << (option->get_required() ? text : "[" + text + "]");
        }
        out << "\n";
        return out.str();
    }

    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override {
        if (mode == CLI::AppFormatMode::Sub) return make_expanded(app);
        std::ostringstream out;
        std::string description = CliText(app->get_description());
        if (description.back() != '\n') description += "\n";
        out << make_usage(app, name) << "\n"
            << description << make_groups(app, mode) << make_subcommands(app, mode) << "\n"
            << make_footer(app);
        return out.str();
    }
};

CommandSet::CommandSet() : app_(kProgramDescription, kProgramName), formatter_(std::make_shared<Formatter>()) {
    formatter_->column_width(24);
    app_.formatter(formatter_);
    app_.footer(kProgramFooter);
    app_.set_help_flag("-h,--help", SL_TRANSLATE_NOOP("Cli", "print this help"));
    app_.require_subcommand(1);
    Add("help", SL_TRANSLATE_NOOP("Cli", "describe a command"), "[COMMAND]",
        SL_TRANSLATE_NOOP("Cli",
                          "Prints the help of COMMAND, the same text as `songloader-cli COMMAND --help`;\n"
                          "without COMMAND the help of the program.\n"),
        [this](const Operands& operands, Console& console) {
            if (operands.rest.empty()) {
                console.out << HelpOf("");
                return kExitOk;
            }
            if (!Find(operands.rest.front())) throw UsageError{"unknown command '" + operands.rest.front() + "'"};
            console.out << HelpOf(operands.rest.front());
            return kExitOk;
        });
}

CommandSet::~CommandSet() = default;

CLI::App& CommandSet::Add(const char* name, const char* summary, const char* operands, const char* details,
                          CommandRun run) {
    auto entry = std::make_unique<Entry>();
    entry->name = name;
    entry->operands = operands;
    entry->run = std::move(run);
    entry->app = app_.add_subcommand(name, summary);
    entry->app->group(kCommandsGroup);
    entry->app->footer(details);
    entry->app->add_option("operands", entry->words)->group("");
    formatter_->operands[entry->app] = operands;
    entries_.push_back(std::move(entry));
    return *entries_.back()->app;
}

void CommandSet::ShowsProgress(CLI::App& command) {
    command.add_flag("-q,--quiet", quiet_, SL_TRANSLATE_NOOP("Cli", "show no progress"));
}

CommandSet::Entry* CommandSet::Find(const std::string& name) {
    for (auto& entry : entries_) {
        if (entry->name == name) return entry.get();
    }
    return nullptr;
}

std::string CommandSet::HelpOf(const std::string& name) {
    // The formatter itself: App::help() would answer with the help of the command being run.
    Entry* entry = Find(name);
    return formatter_->make_help(entry ? entry->app : &app_, "", CLI::AppFormatMode::Normal);
}

int CommandSet::UsageFailure(const std::string& name, const std::string& message, Console& console) {
    const Entry* entry = Find(name);
    console.Fail() << (entry ? name + ": " : "") << message << "\n"
                   << formatter_->make_usage(entry ? entry->app : &app_, "") << "Try '" << kProgramName << " help"
                   << (entry ? " " + name : "") << "' for more.\n";
    return kExitUsage;
}

int CommandSet::RunCommand(Entry& entry, Console& console) {
    console.progress = !quiet_ && ::isatty(STDERR_FILENO) == 1;
    try {
        return entry.run(entry.Split(), console);
    } catch (const UsageError& e) {
        return UsageFailure(entry.name, e.message, console);
    }
}

int CommandSet::Run(int argc, char** argv, Console& console) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        console.err << HelpOf("");
        return kExitUsage;
    }
    if (args.front() == "--version") {
        console.out << kProgramName << " " << SONGLOADER_VERSION << "\n";
        return kExitOk;
    }
    if (args.front() == "--help" || args.front() == "-h") {
        console.out << HelpOf("");
        return kExitOk;
    }
    Entry* entry = Find(args.front());
    if (!entry) {
        return UsageFailure("",
                            args.front().rfind('-', 0) == 0 ? "unknown option " + args.front()
                                                            : "unknown command '" + args.front() + "'",
                            console);
    }
    try {
        app_.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        console.out << HelpOf(entry->name);
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        return UsageFailure(entry->name, e.what(), console);
    }
    return RunCommand(*entry, console);
}

void AddEncodingOption(CLI::App& command, std::string& encoding) {
    command
        .add_option("--encoding", encoding,
                    SL_TRANSLATE_NOOP("Cli",
                                      "the device's code page, e.g. CP936; default: the settings file's encoding, "
                                      "else the one the locale implies"))
        ->type_name("NAME");
}

void AddCloudUrlOption(CLI::App& command, std::string& cloudUrl) {
    command
        .add_option("--cloud-url", cloudUrl,
                    SL_TRANSLATE_NOOP("Cli",
                                      "the cloud server's base address; default: SONGLOADER_CLOUD_URL, else the "
                                      "settings file's cloud-url, else the built-in one"))
        ->type_name("URL");
}

}  // namespace songloader::cli
