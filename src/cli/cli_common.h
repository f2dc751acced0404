#pragma once

#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace songloader::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// A parsed command line: positional arguments and --name value options.
// Options named in `flags` take no value.
struct Arguments {
    std::vector<std::string> positional;
    std::map<std::string, std::string> options;
    bool help = false;

    std::optional<std::string> option(const std::string& name) const;
    bool has(const std::string& name) const { return options.count(name) != 0; }
};

struct UsageError {
    std::string message;
};

// Throws UsageError for an unknown option or a missing value.
Arguments ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                         const std::vector<std::string>& flags = {});

// Where a command writes: output for people on `out`, messages on `err`.
struct Console {
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    const char* name;
    const char* summary;
    const char* usage;  // full help text
    std::function<int(const std::vector<std::string>& args, Console& console)> run;
};

// Each command lives in its own file and is listed once in main.cpp.
int RunList(const std::vector<std::string>& args, Console& console);
int RunExport(const std::vector<std::string>& args, Console& console);
int RunAdd(const std::vector<std::string>& args, Console& console);
int RunDelete(const std::vector<std::string>& args, Console& console);
int RunRebuild(const std::vector<std::string>& args, Console& console);
int RunVerify(const std::vector<std::string>& args, Console& console);
int RunSearch(const std::vector<std::string>& args, Console& console);
int RunCloudSync(const std::vector<std::string>& args, Console& console);
int RunFetch(const std::vector<std::string>& args, Console& console);
int RunMidi(const std::vector<std::string>& args, Console& console);
int RunPublish(const std::vector<std::string>& args, Console& console);
int RunPrint(const std::vector<std::string>& args, Console& console);
int RunEject(const std::vector<std::string>& args, Console& console);

}  // namespace songloader::cli
