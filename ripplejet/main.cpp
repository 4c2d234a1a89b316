#include "core/ConfigManager.h"
#include "core/VeltaCore.h"
#include "cpplib/Vector.h"

#include <string>

int main(int argc, char** argv)
{
    Velta::VeltaCore& core = CppLib::Singleton<Velta::VeltaCore>::getSingleton();
    core.startup();

    CppLib::Vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(argv[i]);
    }
    core.getConfigManager().parseArguments(arguments, false);
    core.setup(true);

    core.shutdown();
    return 0;
}
