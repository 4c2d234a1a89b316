#pragma once

#include "VeltaExport.h"
#include "core/Subsystem.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"

namespace Velta {

/// Subsystem 5: sound sources and channels, updated once per frame.
class VELTA_EXPORT SoundManager : public Subsystem {
public:
    SoundManager();
    ~SoundManager() override;

    void setSoundNameMapper(const CppLib::SharedPtr<NameMapper>& mapper) { mNameMapper = mapper; }
    const CppLib::SharedPtr<NameMapper>& getSoundNameMapper() const { return mNameMapper; }

    std::vector<Process*>* getProcessList() override { return &mProcessList; }

private:
    std::vector<Process*> mProcessList;
    CppLib::SharedPtr<NameMapper> mNameMapper;
};

} // namespace Velta
