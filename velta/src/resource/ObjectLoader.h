#pragma once

#include "VeltaExport.h"
#include "cpplib/SharedPtr.h"
#include "resource/NameMapper.h"
#include "resource/ResourceLoader.h"

namespace Velta {

class ObjectFactory;

/// Reads model files into object factories, for the object manager.
///
/// A loader that answers canLoad() for a file is the one the manager asks to
/// load it; an empty result then is the file's answer (the manager asks no
/// other loader).
class VELTA_EXPORT ObjectLoader : public ResourceLoader {
public:
    /// Whether the file is this loader's to read (by its name, not its
    /// content).
    virtual bool canLoad(const NameMapper::ResourceInfo& info) const = 0;

    /// A factory for the model in the file; empty, with one line logged,
    /// when the file cannot be read or is not a model this loader reads.
    virtual CppLib::SharedPtr<ObjectFactory> load(const NameMapper::ResourceInfo& info) = 0;
};

} // namespace Velta
