#include "cpplib/CowMemPtr.h"
#include "cpplib/SharedPtr.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>

using CppLib::CowMemPtr;
using CppLib::SharedPtr;

namespace {

struct Tracked {
    explicit Tracked(int& deaths) : mDeaths(deaths) {}
    virtual ~Tracked() { ++mDeaths; }
    int& mDeaths;
};

struct Derived : Tracked {
    using Tracked::Tracked;
};

/// Owns a pointer to the next node, so that assigning a node its own
/// successor releases the node that holds the source of the assignment.
struct Chain {
    explicit Chain(int& deaths) : mDeaths(deaths) {}
    ~Chain() { ++mDeaths; }
    int& mDeaths;
    SharedPtr<Chain> mNext;
};

} // namespace

TEST(SharedPtr, EachObjectIsDeletedOnceByItsLastOwnerAndSelfAssignmentChangesNothing)
{
    int deaths = 0;
    Tracked* object = new Tracked(deaths);
    SharedPtr<Tracked> owner(object);
    {
        SharedPtr<Tracked> second(owner);
        EXPECT_EQ(second.getUseCount(), 2u);
    }
    EXPECT_EQ(deaths, 0);
    SharedPtr<Tracked>& alias = owner;
    owner = alias;
    owner = object;
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(owner.getUseCount(), 1u);
    EXPECT_EQ(owner.get(), object);

    SharedPtr<Tracked> other(owner);
    owner = new Tracked(deaths);
    EXPECT_EQ(deaths, 0) << "the first object still has an owner";
    EXPECT_EQ(owner.getUseCount(), 1u);
    other.setNull();
    EXPECT_EQ(deaths, 1);
    owner.setNull();
    EXPECT_EQ(deaths, 2);
}

TEST(SharedPtr, EmptyPointersShareNothingAndAllocateNothing)
{
    SharedPtr<Tracked> empty;
    VeltaTest::AllocationCounter allocations;
    SharedPtr<Tracked> copy(empty);
    SharedPtr<Tracked> fromNull(static_cast<Tracked*>(nullptr));
    EXPECT_TRUE(copy.isNull());
    EXPECT_TRUE(fromNull.isNull());
    EXPECT_EQ(copy.getUseCount(), 0u);
    EXPECT_EQ(allocations.getCount(), 0u);
}

TEST(SharedPtr, ConversionToABaseSharesTheCountAndDeletesAsTheDynamicType)
{
    int deaths = 0;
    {
        SharedPtr<Derived> derived(new Derived(deaths));
        SharedPtr<Tracked> base(derived);
        EXPECT_EQ(derived.getUseCount(), 2u);
        derived.setNull();
        EXPECT_EQ(base.getUseCount(), 1u);
        SharedPtr<Derived> back = SharedPtr<Derived>::dynamicCast(base);
        EXPECT_FALSE(back.isNull());
        EXPECT_EQ(base.getUseCount(), 2u);
    }
    EXPECT_EQ(deaths, 1);
}

TEST(SharedPtr, CopyingOrMovingFromAPointerOwnedByTheReleasedObjectIsSafe)
{
    int deaths = 0;
    SharedPtr<Chain> head(new Chain(deaths));
    head->mNext = SharedPtr<Chain>(new Chain(deaths));
    head = head->mNext;
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(head.getUseCount(), 1u);

    SharedPtr<Chain> moved(std::move(head));
    EXPECT_TRUE(head.isNull());
    EXPECT_EQ(moved.getUseCount(), 1u);
    moved->mNext = SharedPtr<Chain>(new Chain(deaths));
    moved = std::move(moved->mNext);
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(moved.getUseCount(), 1u);
    EXPECT_TRUE(moved->mNext.isNull());
    moved.setNull();
    EXPECT_EQ(deaths, 3);
}

namespace {

CowMemPtr<void> blockOf(const char* text, unsigned int size)
{
    CowMemPtr<void> block;
    block.alloc(size);
    std::memcpy(block.get(), text, size);
    return block;
}

const void* read(const CowMemPtr<void>& block)
{
    return block.get();
}

} // namespace

TEST(CowMemPtr, ReadersShareAndWritingThroughACopyDetachesItLeavingTheSiblingIntact)
{
    CowMemPtr<void> original = blockOf("abcdefgh", 8);
    CowMemPtr<void> copy;
    copy = original;
    EXPECT_EQ(read(copy), read(original));
    EXPECT_EQ(original.getShareCount(), 2u);
    EXPECT_EQ(copy.get(), copy.get()) << "the second write needs no further copy";
    static_cast<char*>(copy.get())[0] = 'X';

    EXPECT_EQ(std::memcmp(read(original), "abcdefgh", 8), 0);
    EXPECT_EQ(original.getShareCount(), 1u);
    EXPECT_EQ(copy.getShareCount(), 1u);
    EXPECT_EQ(static_cast<const char*>(read(copy))[0], 'X');

    const CowMemPtr<void>& same = original;
    original = same;
    EXPECT_EQ(original.getShareCount(), 1u);
    EXPECT_EQ(std::memcmp(read(original), "abcdefgh", 8), 0);
}

TEST(CowMemPtr, ResizingKeepsTheCommonPrefixAndLeavesSiblingsAlone)
{
    const char bytes[17] = "0123456789abcdef";
    CowMemPtr<void> original = blockOf(bytes, 16);
    for (unsigned int size : {32u, 8u}) {
        CowMemPtr<void> resized(original);
        ASSERT_TRUE(resized.resize(size));
        EXPECT_EQ(resized.getByteSize(), size);
        EXPECT_EQ(std::memcmp(resized.get(), bytes, std::min(size, 16u)), 0) << size;
    }
    EXPECT_EQ(original.getByteSize(), 16u);
    EXPECT_EQ(original.getShareCount(), 1u);
    EXPECT_EQ(std::memcmp(read(original), bytes, 16), 0);

    ASSERT_TRUE(original.resize(1000)); // a sole owner
    EXPECT_EQ(std::memcmp(original.get(), bytes, 16), 0);
}

TEST(CowMemPtr, NullBlockRefusesResizeAndAHeldBlockRefusesAlloc)
{
    CowMemPtr<void> block;
    EXPECT_EQ(block.getByteSize(), 0u);
    EXPECT_FALSE(block.resize(4));
    EXPECT_EQ(block.get(), nullptr);

    ASSERT_TRUE(block.alloc(4));
    EXPECT_FALSE(block.alloc(8));
    EXPECT_EQ(block.getByteSize(), 4u);

    CowMemPtr<void> sibling(block);
    block.setNull();
    EXPECT_EQ(sibling.getShareCount(), 1u);
    EXPECT_EQ(sibling.getByteSize(), 4u);
}

namespace {

struct Declared;
SharedPtr<Declared> makeDeclared(int& deaths);

} // namespace

TEST(SharedPtr, CopiesAndReleasesWhereTheTypeIsOnlyDeclared)
{
    int deaths = 0;
    {
        SharedPtr<Declared> first = makeDeclared(deaths);
        SharedPtr<Declared> second(first);
        EXPECT_EQ(second.getUseCount(), 2u);
    }
    EXPECT_EQ(deaths, 1);
}

namespace {

struct Declared {
    explicit Declared(int& deaths) : mDeaths(deaths) {}
    ~Declared() { ++mDeaths; }
    int& mDeaths;
};

SharedPtr<Declared> makeDeclared(int& deaths)
{
    return SharedPtr<Declared>(new Declared(deaths));
}

} // namespace
