#pragma once

#include "resource/NameMapper.h"

namespace Velta {

/// Maps names into one data directory: `directory` + "\" + the name with
/// every slash turned into a backslash. No check is made that the file exists.
class VELTA_EXPORT FileNameMapper : public NameMapper {
public:
    explicit FileNameMapper(const std::string& directory) : mDirectory(directory) {}

    ResourceInfo map(const std::string& name) const override;

    const std::string& getDirectory() const { return mDirectory; }

private:
    std::string mDirectory;
};

} // namespace Velta
