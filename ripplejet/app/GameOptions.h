#pragma once

#include <string>
#include <vector>

namespace Ripplejet {

/// What the player asked for on the command line. The defaults are the game
/// as it always starts: a 1024 × 768 full-screen window, sound on, no frame
/// limit, data found from the working directory.
struct GameOptions {
    bool fullscreen = true;
    /// Set by --size; the window's size otherwise follows the mode.
    bool sizeGiven = false;
    int width = 1024;
    int height = 768;
    /// No audio device is opened.
    bool mute = false;
    /// Frames a second at most; 0 for no limit.
    int fpsLimit = 0;
    /// Where to look for the data when the working directory has none.
    std::string dataDir;
    /// Race the autopilot to the finish and report the frame times.
    bool benchmark = false;
    /// Only the first sections of the course, for a quick check.
    bool shortBenchmark = false;
    /// The autopilot steers; every key still works.
    bool autopilot = false;
    std::string recordFile;
    std::string replayFile;
    bool help = false;
    bool version = false;
};

/// The command-line options, one table that both the parser and the help
/// text are made from. Options take their value as the next argument or
/// after '=' (`--size 800x600`, `--size=800x600`).
class GameOptionParser {
public:
    /// What parse() made of the arguments.
    struct Result {
        GameOptions options;
        /// Empty when every argument was understood; else one line saying
        /// what was not.
        std::string error;
        bool ok() const { return error.empty(); }
    };

    /// Parses the arguments after the program name.
    static Result parse(const std::vector<std::string>& arguments);

    /// The usage text: one line per option, from the same table.
    static std::string usage();

    /// "Ripplejet <version>".
    static std::string version();

    /// The long names of every option, in the table's order ("--size", ...).
    static std::vector<std::string> optionNames();
};

} // namespace Ripplejet
