#include "core/VeltaCore.h"
#include "cpplib/Vector.h"
#include "app/RipplejetApp.h"

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    Velta::VeltaCore& core = CppLib::Singleton<Velta::VeltaCore>::getSingleton();
    core.startup();

    int status = 0;
    {
        Ripplejet::RipplejetApp app;
        CppLib::Vector<std::string> args;
        for (int i = 0; i < argc; ++i) {
            args.append(argv[i]);
        }
        if (app.init(args)) {
            app.run();
        } else {
            std::cerr << "Ripplejet cannot start: " << app.getStartupProblem() << std::endl;
            status = 1;
        }
        app.shutdown();
    }
    return status;
}
