#include "input/InputManager.h"

#include "input/InputProcessor.h"
#include "input/InputProvider.h"

#include <algorithm>

namespace Velta {

int InputManager::PollingAdapter::run(long long timestamp)
{
    if (mProvider->isEnabled() && mProvider->needsPolling()) {
        mProvider->pollEvents(timestamp);
    }
    return 0;
}

InputManager::InputManager()
{
    setSubsystemId(1);
}

InputManager::~InputManager()
{
    // Whoever outlives the manager must not reach back into it.
    for (unsigned int i = 0; i < mProviders.getSize(); ++i) {
        mProviders.getValue(i)->mInputManager = nullptr;
    }
    for (unsigned int i = 0; i < mProcessors.getSize(); ++i) {
        if (InputProcessor* processor = mProcessors.getValue(i)) {
            processor->mInputManager = nullptr;
        }
    }
    for (Process* adapter : mProcessList) {
        delete adapter;
    }
}

bool InputManager::registerInputProvider(InputProvider& provider)
{
    if (provider.mInputManager) {
        return provider.mInputManager == this;
    }
    if (mProviders.contains(provider.mProviderId)) {
        return false;
    }
    mProviders.put(provider.mProviderId, &provider);
    mProcessList.push_back(new PollingAdapter(provider));
    provider.mInputManager = this;
    return true;
}

bool InputManager::unregisterInputProvider(InputProvider& provider)
{
    if (provider.mInputManager != this) {
        return false;
    }
    provider.mInputManager = nullptr;
    mProviders.remove(provider.mProviderId);
    // The process manager tolerates a process list that shrinks while it
    // walks it, so this is safe from inside a frame as well.
    auto adapter = std::find_if(mProcessList.begin(), mProcessList.end(), [&provider](Process* process) {
        return &static_cast<PollingAdapter*>(process)->getProvider() == &provider;
    });
    if (adapter != mProcessList.end()) {
        delete *adapter;
        mProcessList.erase(adapter);
    }
    return true;
}

bool InputManager::registerInputProcessor(InputProcessor& processor)
{
    if (processor.mInputManager) {
        return processor.mInputManager == this;
    }
    InputProcessor** held = mProcessors.find(processor.mProcessorId);
    if (held && *held) {
        return false;
    }
    mProcessors.put(processor.mProcessorId, &processor);
    processor.mInputManager = this;
    return true;
}

bool InputManager::unregisterInputProcessor(InputProcessor& processor)
{
    if (processor.mInputManager != this) {
        return false;
    }
    processor.mInputManager = nullptr;
    if (mDispatchDepth > 0) {
        mProcessors.put(processor.mProcessorId, nullptr);
        mHasUnregistered = true;
    } else {
        mProcessors.remove(processor.mProcessorId);
    }
    return true;
}

void InputManager::triggerInputEvent(InputEvent& event)
{
    // The count is read again on every step: a processor may register others
    // while it handles the event. Unregistered ones leave a null behind until
    // the dispatch is over.
    ++mDispatchDepth;
    for (unsigned int i = 0; i < mProcessors.getSize(); ++i) {
        InputProcessor* processor = mProcessors.getValue(static_cast<int>(i));
        if (processor && processor->isEnabled() && processor->processInputEvent(event)) {
            break;
        }
    }
    --mDispatchDepth;
    if (mDispatchDepth == 0 && mHasUnregistered) {
        removeUnregisteredProcessors();
    }
}

void InputManager::removeUnregisteredProcessors()
{
    for (int i = static_cast<int>(mProcessors.getSize()) - 1; i >= 0; --i) {
        if (!mProcessors.getValue(i)) {
            mProcessors.removeAt(i);
        }
    }
    mHasUnregistered = false;
}

} // namespace Velta
