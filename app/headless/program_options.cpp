#include "headless/program_options.hpp"

namespace zelo::headless {
namespace {

// "--name=value" or "--name value": the value, or nothing when it is missing.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name,
               std::string& value, std::string& error) {
    const std::string& argument = arguments[i];
    if (argument.size() > name.size() && argument.compare(0, name.size() + 1, name + "=") == 0) {
        value = argument.substr(name.size() + 1);
    } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
    } else {
        error = "option " + name + " needs a value";
        return false;
    }
    if (value.empty()) {
        error = "option " + name + " needs a value";
        return false;
    }
    return true;
}

bool Named(const std::string& argument, const std::string& name) {
    return argument == name || argument.rfind(name + "=", 0) == 0;
}

}  // namespace

ProgramOptions ParseProgramOptions(const std::vector<std::string>& arguments) {
    ProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            options.rest.insert(options.rest.end(), arguments.begin() + static_cast<long>(i) + 1,
                                arguments.end());
            break;
        }
        if (argument.empty() || argument[0] != '-') {
            // The command line begins: everything from here is the view's.
            options.rest.insert(options.rest.end(), arguments.begin() + static_cast<long>(i),
                                arguments.end());
            break;
        }
        if (argument == "--version" || argument == "-V") {
            options.version = true;
        } else if (argument == "--list-ports") {
            options.listPorts = true;
        } else if (argument == "--quiet" || argument == "-q") {
            options.quiet = true;
        } else if (argument == "--verbose" || argument == "-v") {
            options.verbose = true;
        } else if (Named(argument, "--port")) {
            if (!TakeValue(arguments, i, "--port", options.port, options.error)) return options;
        } else if (argument == "-C" || Named(argument, "--directory")) {
            const std::string name = argument == "-C" ? "-C" : "--directory";
            if (!TakeValue(arguments, i, name, options.directory, options.error)) return options;
        } else if (argument == "--poll-data" && i + 1 < arguments.size()) {
            options.rest.push_back(argument);  // the command-line reader's own option
            options.rest.push_back(arguments[++i]);
        } else {
            options.rest.push_back(argument);  // --help, or one the reader refuses
        }
    }
    if (options.quiet && options.verbose)
        options.error = "--quiet and --verbose exclude each other";
    return options;
}

std::string VersionText(int libraryVersion) {
    return std::string("zelo32 ") + ZELO_PROGRAM_VERSION + "\nlibzelodll " +
           std::to_string(libraryVersion) + "\n";
}

}  // namespace zelo::headless
