#pragma once

#include "VeltaExport.h"

namespace Velta {

/// A built-in back end: when registered it creates its back-end objects and
/// hands them to the managers that use them. A plug-in owns what it created;
/// the core frees plug-ins after every manager is gone.
class VELTA_EXPORT Plugin {
public:
    virtual ~Plugin() = default;

    virtual int registerPlugin() = 0;
    virtual int unregisterPlugin() = 0;
};

} // namespace Velta
