#include "app/FreedMemory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

using Ripplejet::FreedMemory;

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * 4;
}

/// Big blocks with small ones that outlive them in between, the way a race
/// leaves its geometry between the nodes of what stays.
struct Interleaved {
    std::vector<void*> big;
    std::vector<void*> small;

    Interleaved(int count, std::size_t bigSize)
    {
        for (int i = 0; i < count; ++i) {
            big.push_back(std::malloc(bigSize));
            std::memset(big.back(), 1, bigSize);
            // Bigger than the library's caches of small blocks take, so
            // that each comes from the heap's end, after its big one.
            small.push_back(std::malloc(4096));
        }
    }
    void freeBig()
    {
        for (void* block : big) {
            std::free(block);
        }
        big.clear();
    }
    ~Interleaved()
    {
        freeBig();
        for (void* block : small) {
            std::free(block);
        }
    }
};

bool heapIsTheCLibrarys()
{
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
    return true;
#else
    return false;
#endif
}

TEST(FreedMemory, BigBlocksGoBackToTheSystemRaceAfterRace)
{
    if (!heapIsTheCLibrarys()) {
        GTEST_SKIP() << "the sanitizers' allocator keeps its own heap";
    }
    FreedMemory::mapLargeBlocksApart();
    // The first race's blocks, freed; by default that let later ones into
    // the shared heap, where freeing them gave nothing back.
    Interleaved(16, FreedMemory::OWN_MAPPING_FROM * 2).freeBig();
    Interleaved second(64, FreedMemory::OWN_MAPPING_FROM * 2);
    const long before = residentKiB();
    second.freeBig();
    EXPECT_LT(residentKiB(), before - 12 * 1024);
}

TEST(FreedMemory, GiveBackReturnsTheHeapsFreePages)
{
    if (!heapIsTheCLibrarys()) {
        GTEST_SKIP() << "the sanitizers' allocator keeps its own heap";
    }
    FreedMemory::mapLargeBlocksApart();
    // Blocks below the mapping size, freed between ones that stay: the heap
    // cannot shrink past those, so the pages stay resident until handed back.
    Interleaved blocks(256, FreedMemory::OWN_MAPPING_FROM / 2);
    blocks.freeBig();
    const long before = residentKiB();
    FreedMemory::giveBack();
    EXPECT_LT(residentKiB(), before - 8 * 1024);
}

} // namespace
