#include "app/GameOptions.h"

#include <cstdlib>
#include <functional>
#include <sstream>

#ifndef RIPPLEJET_VERSION
#define RIPPLEJET_VERSION "unknown"
#endif

namespace Ripplejet {

namespace {

/// How an option takes its value.
enum class Value {
    NONE,     ///< a switch
    REQUIRED, ///< the next argument, or after '='
    OPTIONAL  ///< only after '='
};

/// One row of the table. `apply` answers an empty string when the value is
/// good, else what is wrong with it.
struct Option {
    const char* name;
    Value value;
    const char* valueName;
    const char* help;
    std::function<std::string(GameOptions&, const std::string&)> apply;
};

/// A whole decimal number in [min, max]; false for anything else.
bool parseInt(const std::string& text, int min, int max, int& out)
{
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < min || value > max) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

/// "WxH" with both at least 1 and at most 16384 (the largest texture side
/// the engine accepts, and far beyond any screen).
bool parseSize(const std::string& text, int& width, int& height)
{
    const std::size_t x = text.find('x');
    return x != std::string::npos && parseInt(text.substr(0, x), 1, 16384, width) &&
           parseInt(text.substr(x + 1), 1, 16384, height);
}

const std::vector<Option>& table()
{
    static const std::vector<Option> options = {
        {"--windowed", Value::NONE, "", "play in a window (800 x 600 unless --size says otherwise)",
         [](GameOptions& o, const std::string&) {
             o.fullscreen = false;
             if (!o.sizeGiven) {
                 o.width = 800;
                 o.height = 600;
             }
             return std::string();
         }},
        {"--fullscreen", Value::NONE, "", "play full screen (the default, 1024 x 768)",
         [](GameOptions& o, const std::string&) {
             o.fullscreen = true;
             if (!o.sizeGiven) {
                 o.width = 1024;
                 o.height = 768;
             }
             return std::string();
         }},
        {"--size", Value::REQUIRED, "WxH",
         "the window's size; full screen takes the nearest mode the display offers",
         [](GameOptions& o, const std::string& v) {
             if (!parseSize(v, o.width, o.height)) {
                 return "the size must be WIDTHxHEIGHT, each from 1 to 16384, not '" + v + "'";
             }
             o.sizeGiven = true;
             return std::string();
         }},
        {"--mute", Value::NONE, "", "no sound: no audio device is opened",
         [](GameOptions& o, const std::string&) {
             o.mute = true;
             return std::string();
         }},
        {"--fps-limit", Value::REQUIRED, "N", "at most N frames a second (0: no limit, the default)",
         [](GameOptions& o, const std::string& v) {
             if (!parseInt(v, 0, 1000, o.fpsLimit)) {
                 return "the frame limit must be a whole number from 0 to 1000, not '" + v + "'";
             }
             return std::string();
         }},
        {"--data", Value::REQUIRED, "DIR", "look for the game's data in DIR when the working directory has none",
         [](GameOptions& o, const std::string& v) {
             if (v.empty()) {
                 return std::string("the data directory must not be empty");
             }
             o.dataDir = v;
             return std::string();
         }},
        {"--benchmark", Value::OPTIONAL, "short",
         "let the autopilot race, print the frame times and quit (=short: only the first stretch)",
         [](GameOptions& o, const std::string& v) {
             if (!v.empty() && v != "short") {
                 return "the benchmark's only form is --benchmark=short, not '" + v + "'";
             }
             o.benchmark = true;
             o.shortBenchmark = !v.empty();
             return std::string();
         }},
        {"--autopilot", Value::NONE, "", "let the autopilot steer the duck; every key still works",
         [](GameOptions& o, const std::string&) {
             o.autopilot = true;
             return std::string();
         }},
        {"--record", Value::REQUIRED, "FILE", "write the race's input and frame times to FILE",
         [](GameOptions& o, const std::string& v) {
             if (v.empty()) {
                 return std::string("the file to record to must be named");
             }
             o.recordFile = v;
             return std::string();
         }},
        {"--replay", Value::REQUIRED, "FILE", "play a recorded race back",
         [](GameOptions& o, const std::string& v) {
             if (v.empty()) {
                 return std::string("the file to replay must be named");
             }
             o.replayFile = v;
             return std::string();
         }},
        {"--help", Value::NONE, "", "print this help and quit",
         [](GameOptions& o, const std::string&) {
             o.help = true;
             return std::string();
         }},
        {"--version", Value::NONE, "", "print the version and quit",
         [](GameOptions& o, const std::string&) {
             o.version = true;
             return std::string();
         }},
    };
    return options;
}

const Option* find(const std::string& name)
{
    for (const Option& option : table()) {
        if (name == option.name) {
            return &option;
        }
    }
    return nullptr;
}

/// Options that cannot go together; empty when these can.
std::string checkCombination(const GameOptions& o)
{
    if (!o.replayFile.empty() && !o.recordFile.empty()) {
        return "--record and --replay cannot be used together";
    }
    if (o.autopilot && !o.replayFile.empty()) {
        return "--autopilot cannot steer a replayed race";
    }
    if (o.benchmark && !o.replayFile.empty()) {
        return "--benchmark drives the duck itself and cannot replay a race";
    }
    return "";
}

} // namespace

GameOptionParser::Result GameOptionParser::parse(const std::vector<std::string>& arguments)
{
    Result result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const Option* option = find(name);
        if (!option) {
            result.error = "unknown option '" + argument + "'";
            return result;
        }
        std::string value;
        if (equals != std::string::npos) {
            if (option->value == Value::NONE) {
                result.error = "the option " + name + " takes no value";
                return result;
            }
            value = argument.substr(equals + 1);
        } else if (option->value == Value::REQUIRED) {
            if (i + 1 >= arguments.size()) {
                result.error = "the option " + name + " needs a value (" + option->valueName + ")";
                return result;
            }
            value = arguments[++i];
        }
        const std::string problem = option->apply(result.options, value);
        if (!problem.empty()) {
            result.error = problem;
            return result;
        }
    }
    result.error = checkCombination(result.options);
    return result;
}

std::string GameOptionParser::usage()
{
    std::ostringstream text;
    text << "Usage: ripplejet [OPTION]...\n"
         << "Steer a duck down the river against the clock.\n\n";
    for (const Option& option : table()) {
        std::string left = std::string("  ") + option.name;
        if (option.value == Value::REQUIRED) {
            left += std::string(" ") + option.valueName;
        } else if (option.value == Value::OPTIONAL) {
            left += std::string("[=") + option.valueName + "]";
        }
        if (left.size() < 24) {
            left.resize(24, ' ');
        } else {
            left += "  ";
        }
        text << left << option.help << '\n';
    }
    return text.str();
}

std::string GameOptionParser::version()
{
    return std::string("Ripplejet ") + RIPPLEJET_VERSION;
}

std::vector<std::string> GameOptionParser::optionNames()
{
    std::vector<std::string> names;
    for (const Option& option : table()) {
        names.emplace_back(option.name);
    }
    return names;
}

} // namespace Ripplejet
