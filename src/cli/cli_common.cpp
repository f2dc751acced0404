#include "cli_common.h"

#include <algorithm>

namespace songloader::cli {

std::optional<std::string> Arguments::option(const std::string& name) const {
    auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

Arguments ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& valueOptions,
                         const std::vector<std::string>& flags) {
    Arguments parsed;
    auto contains = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyPositional || arg.size() < 2 || arg.rfind("--", 0) != 0) {
            if (arg == "-h" && !onlyPositional) {
                parsed.help = true;
                continue;
            }
            parsed.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositional = true;
            continue;
        }
        std::string name = arg.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (name == "help") {
            parsed.help = true;
        } else if (contains(flags, name)) {
            if (inlineValue) throw UsageError{"option --" + name + " takes no value"};
            parsed.options[name] = "";
        } else if (contains(valueOptions, name)) {
            if (inlineValue) {
                parsed.options[name] = *inlineValue;
            } else if (i + 1 < args.size()) {
                parsed.options[name] = args[++i];
            } else {
                throw UsageError{"option --" + name + " needs a value"};
            }
        } else {
            throw UsageError{"unknown option --" + name};
        }
    }
    return parsed;
}

}  // namespace songloader::cli
