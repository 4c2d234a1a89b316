#pragma once

#include "VeltaExport.h"
#include "core/Plugin.h"

#include <memory>

namespace Velta {

class OpenALSoundEngine;

/// Installs the OpenAL sound engine for the sound manager. Owns the engine;
/// an engine that cannot start (no audio device) is not registered and is
/// dropped, and the game runs without sound.
class VELTA_EXPORT OpenALPlugin : public Plugin {
public:
    OpenALPlugin();
    ~OpenALPlugin() override;

    int registerPlugin() override;
    int unregisterPlugin() override { return 0; }

    /// The registered engine, or null.
    OpenALSoundEngine* getEngine() const { return mEngine.get(); }

private:
    std::unique_ptr<OpenALSoundEngine> mEngine;
};

} // namespace Velta
