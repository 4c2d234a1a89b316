#include "core/VeltaCore.h"
#include "cpplib/Vector.h"
#include "app/DataLocator.h"
#include "app/DisplayCheck.h"
#include "app/FreedMemory.h"
#include "app/GameOptions.h"
#include "app/RaceReplay.h"
#include "app/RipplejetApp.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char** argv)
{
    Ripplejet::FreedMemory::mapLargeBlocksApart();

    // The options are read before anything starts: a mistyped one changes
    // nothing and opens no window.
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const Ripplejet::GameOptionParser::Result parsed = Ripplejet::GameOptionParser::parse(arguments);
    if (!parsed.ok()) {
        std::cerr << "ripplejet: " << parsed.error << "\n\n" << Ripplejet::GameOptionParser::usage();
        return 2;
    }
    if (parsed.options.help) {
        std::cout << Ripplejet::GameOptionParser::usage();
        return 0;
    }
    if (parsed.options.version) {
        std::cout << Ripplejet::GameOptionParser::version() << std::endl;
        return 0;
    }

    // So is a recorded race: one that cannot be replayed starts nothing.
    Ripplejet::RaceReplay replay;
    if (!parsed.options.replayFile.empty() && !replay.load(parsed.options.replayFile)) {
        std::cerr << "ripplejet: " << replay.getError() << std::endl;
        return 2;
    }

    // The data is read relative to the working directory, which may change
    // now: a recording goes where it was asked for from where the game began.
    Ripplejet::GameOptions options = parsed.options;
    if (!options.recordFile.empty()) {
        options.recordFile = std::filesystem::absolute(options.recordFile).string();
    }
    Ripplejet::DataLocator data = Ripplejet::DataLocator::forThisProgram(options.dataDir);
    if (!data.enter()) {
        std::cerr << "Ripplejet cannot start: " << data.getProblem() << std::endl;
        return 1;
    }
    // Said first; the engine's own lines about it follow as details.
    // Held open while the game runs (see DisplayCheck).
    Ripplejet::DisplayCheck displayCheck;
    const std::string displayProblem = displayCheck.findProblem();
    if (!displayProblem.empty()) {
        std::cerr << "Ripplejet cannot start: " << displayProblem << std::endl;
    }

    Velta::VeltaCore& core = CppLib::Singleton<Velta::VeltaCore>::getSingleton();
    core.startup();

    int status = 0;
    {
        Ripplejet::RipplejetApp app;
        CppLib::Vector<std::string> args;
        for (int i = 0; i < argc; ++i) {
            args.append(argv[i]);
        }
        app.setReplay(std::move(replay));
        if (app.init(args, options) && displayProblem.empty()) {
            status = app.run();
        } else {
            if (displayProblem.empty()) {
                std::cerr << "Ripplejet cannot start: " << app.getStartupProblem() << std::endl;
            }
            status = 1;
        }
        app.shutdown();
    }
    return status;
}
