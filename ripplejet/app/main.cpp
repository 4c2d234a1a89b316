#include "core/VeltaCore.h"
#include "cpplib/Vector.h"
#include "app/DataLocator.h"
#include "app/DisplayCheck.h"
#include "app/RipplejetApp.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    // --data: the options table hands its directory here.
    Ripplejet::DataLocator data = Ripplejet::DataLocator::forThisProgram("");
    if (!data.enter()) {
        std::cerr << "Ripplejet cannot start: " << data.getProblem() << std::endl;
        return 1;
    }
    // Said first; the engine's own lines about it follow as details.
    const std::string displayProblem = Ripplejet::DisplayCheck::findProblem();
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
        if (app.init(args) && displayProblem.empty()) {
            app.run();
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
