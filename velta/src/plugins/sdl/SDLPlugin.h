#pragma once

#include "VeltaExport.h"
#include "core/Plugin.h"

#include <memory>

namespace Velta {

class SDLInputProvider;
class SDLTimer;

/// Installs SDL input and the SDL timer.
class VELTA_EXPORT SDLPlugin : public Plugin {
public:
    SDLPlugin();
    ~SDLPlugin() override;

    int registerPlugin() override;
    int unregisterPlugin() override { return 0; }

private:
    std::unique_ptr<SDLInputProvider> mInputProvider;
    std::unique_ptr<SDLTimer> mTimer;
};

} // namespace Velta
