#pragma once

#include <cstddef>

namespace VeltaTest {

/// Counts calls of the global operator new while a scope is open. The test
/// executables replace operator new and delete to feed it; everything else
/// allocates as usual.
class AllocationCounter {
public:
    AllocationCounter();
    ~AllocationCounter();

    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    /// Allocations made since this scope opened.
    std::size_t getCount() const;

private:
    std::size_t mStart;
};

} // namespace VeltaTest
