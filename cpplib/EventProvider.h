#pragma once

namespace CppLib {

/// Base of objects that produce events.
class EventProvider {
public:
    virtual ~EventProvider() = default;
};

} // namespace CppLib
