#pragma once

#include "VeltaExport.h"
#include "core/Process.h"
#include "core/Subsystem.h"
#include "cpplib/IdMap.h"

#include <vector>

namespace Velta {

class InputDevice;
class InputEvent;
class InputProcessor;
class InputProvider;

/// Subsystem 1: polls the input providers once per frame and offers each of
/// their events to the input processors in registration order until one
/// consumes it. Hands out provider, processor and device ids (101, 102, …,
/// one sequence per kind, never reused).
///
/// Providers and processors are borrowed: each unregisters itself when it is
/// destroyed, and the manager forgets them all when it goes, so either side
/// may outlive the other.
class VELTA_EXPORT InputManager : public Subsystem {
public:
    /// The process that polls one provider each frame; owned by the manager.
    class VELTA_EXPORT PollingAdapter : public Process {
    public:
        explicit PollingAdapter(InputProvider& provider) : mProvider(&provider) {}

        /// Polls the provider when it is enabled and needs polling; answers 0.
        int run(long long timestamp) override;

        InputProvider& getProvider() const { return *mProvider; }

    private:
        InputProvider* mProvider;
    };

    InputManager();
    ~InputManager() override;

    InputManager(const InputManager&) = delete;
    InputManager& operator=(const InputManager&) = delete;

    /// Lists the provider under its id and adds its polling process at the
    /// end of the process list. Registering it again changes nothing; false
    /// when another provider holds the id or it is registered elsewhere.
    bool registerInputProvider(InputProvider& provider);

    /// Forgets the provider and removes its polling process; false when it
    /// was not registered here.
    bool unregisterInputProvider(InputProvider& provider);

    /// Lists the processor under its id, after those registered before it.
    /// Registering it again changes nothing; false when another processor
    /// holds the id or it is registered elsewhere.
    bool registerInputProcessor(InputProcessor& processor);

    /// Forgets the processor; safe during a dispatch, which then goes on with
    /// the processors after it. False when it was not registered here.
    bool unregisterInputProcessor(InputProcessor& processor);

    /// Offers `event` to the enabled processors in registration order until
    /// one consumes it; an event no one consumes is dropped. Processors
    /// registered during the dispatch are offered the event too.
    void triggerInputEvent(InputEvent& event);

    int createProviderId() { return mProviders.createId(); }
    int createProcessorId() { return mProcessors.createId(); }
    int createDeviceId() { return mDevices.createId(); }

    /// One polling process per registered provider, in registration order.
    std::vector<Process*>* getProcessList() override { return &mProcessList; }

private:
    void removeUnregisteredProcessors();

    CppLib::IdMap<InputProvider*, int> mProviders;
    /// Null values mark processors unregistered during a dispatch; they are
    /// removed when the outermost dispatch ends, so positions hold still
    /// while it walks them.
    CppLib::IdMap<InputProcessor*, int> mProcessors;
    CppLib::IdMap<InputDevice*, int> mDevices; ///< id source only
    std::vector<Process*> mProcessList;
    int mDispatchDepth = 0;
    bool mHasUnregistered = false;
};

} // namespace Velta
