#pragma once

namespace CppLib {

/// Base of what handling an event answers.
class EventResult {
public:
    virtual ~EventResult() = default;
};

} // namespace CppLib
