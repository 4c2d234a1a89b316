#include "support/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

std::size_t gAllocations = 0;
int gOpenScopes = 0;

void* allocate(std::size_t size)
{
    if (gOpenScopes > 0) {
        ++gAllocations;
    }
    if (void* block = std::malloc(size ? size : 1)) {
        return block;
    }
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace VeltaTest {

AllocationCounter::AllocationCounter() : mStart(gAllocations)
{
    ++gOpenScopes;
}

AllocationCounter::~AllocationCounter()
{
    --gOpenScopes;
}

std::size_t AllocationCounter::getCount() const
{
    return gAllocations - mStart;
}

} // namespace VeltaTest
