#include "cpplib/CowMemPtr.h"
#include "cpplib/SharedPtr.h"
#include "support/AllocationCounter.h"

#include <gtest/gtest.h>

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

TEST(SharedPtr, LastOwnerDeletesTheObjectExactlyOnce)
{
    int deaths = 0;
    {
        SharedPtr<Tracked> first(new Tracked(deaths));
        {
            SharedPtr<Tracked> second(first);
            EXPECT_EQ(second.getUseCount(), 2u);
        }
        EXPECT_EQ(deaths, 0);
        EXPECT_EQ(first.getUseCount(), 1u);
    }
    EXPECT_EQ(deaths, 1);
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

TEST(SharedPtr, SelfAssignmentAndReassigningTheSamePointerChangeNothing)
{
    int deaths = 0;
    Tracked* object = new Tracked(deaths);
    SharedPtr<Tracked> owner(object);
    SharedPtr<Tracked>& alias = owner;
    owner = alias;
    owner = object;
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(owner.getUseCount(), 1u);
    EXPECT_EQ(owner.get(), object);
}

TEST(SharedPtr, ResetReleasesTheOldObjectAndCountsTheNewOne)
{
    int deaths = 0;
    SharedPtr<Tracked> owner(new Tracked(deaths));
    SharedPtr<Tracked> other(owner);
    owner = new Tracked(deaths);
    EXPECT_EQ(deaths, 0) << "the first object still has an owner";
    EXPECT_EQ(owner.getUseCount(), 1u);
    other.setNull();
    EXPECT_EQ(deaths, 1);
    EXPECT_TRUE(other.isNull());
    owner.setNull();
    EXPECT_EQ(deaths, 2);
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

TEST(SharedPtr, AssigningFromAPointerOwnedByTheReleasedObjectIsSafe)
{
    int deaths = 0;
    SharedPtr<Chain> head(new Chain(deaths));
    head->mNext = SharedPtr<Chain>(new Chain(deaths));
    head = head->mNext;
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(head.getUseCount(), 1u);
    head.setNull();
    EXPECT_EQ(deaths, 2);
}

TEST(SharedPtr, MovingHandsOverTheShareAndIsSafeFromAPointerTheReleasedObjectOwns)
{
    int deaths = 0;
    SharedPtr<Chain> head(new Chain(deaths));
    SharedPtr<Chain> moved(std::move(head));
    EXPECT_TRUE(head.isNull());
    EXPECT_EQ(moved.getUseCount(), 1u);

    moved->mNext = SharedPtr<Chain>(new Chain(deaths));
    moved = std::move(moved->mNext);
    EXPECT_EQ(deaths, 1);
    EXPECT_EQ(moved.getUseCount(), 1u);
    EXPECT_TRUE(moved->mNext.isNull());
    moved.setNull();
    EXPECT_EQ(deaths, 2);
}

namespace {

CowMemPtr<void> blockOf(const char* text, unsigned int size)
{
    CowMemPtr<void> block;
    block.alloc(size);
    std::memcpy(block.get(), text, size);
    return block;
}

} // namespace

TEST(CowMemPtr, WritingThroughACopyDetachesItAndLeavesTheSiblingIntact)
{
    CowMemPtr<void> original = blockOf("abcdefgh", 8);
    CowMemPtr<void> copy(original);
    EXPECT_EQ(original.getShareCount(), 2u);
    EXPECT_EQ(copy.get(), copy.get()) << "the second write needs no further copy";
    static_cast<char*>(copy.get())[0] = 'X';

    const CowMemPtr<void>& reader = original;
    EXPECT_EQ(std::memcmp(reader.get(), "abcdefgh", 8), 0);
    EXPECT_EQ(original.getShareCount(), 1u);
    EXPECT_EQ(copy.getShareCount(), 1u);
    EXPECT_EQ(static_cast<const char*>(static_cast<const CowMemPtr<void>&>(copy).get())[0], 'X');
}

TEST(CowMemPtr, ReadersShareWithoutCopying)
{
    CowMemPtr<void> original = blockOf("abcd", 4);
    CowMemPtr<void> copy;
    copy = original;
    const CowMemPtr<void>& reader = copy;
    EXPECT_EQ(reader.get(), static_cast<const CowMemPtr<void>&>(original).get());
    EXPECT_EQ(copy.getShareCount(), 2u);
}

TEST(CowMemPtr, ResizingASharedBlockCopiesTheCommonPrefixOnly)
{
    const char bytes[17] = "0123456789abcdef";
    CowMemPtr<void> original = blockOf(bytes, 16);

    CowMemPtr<void> grown(original);
    ASSERT_TRUE(grown.resize(32));
    EXPECT_EQ(grown.getByteSize(), 32u);
    EXPECT_EQ(std::memcmp(grown.get(), bytes, 16), 0);

    CowMemPtr<void> shrunk(original);
    ASSERT_TRUE(shrunk.resize(8));
    EXPECT_EQ(shrunk.getByteSize(), 8u);
    EXPECT_EQ(std::memcmp(shrunk.get(), bytes, 8), 0);

    EXPECT_EQ(original.getByteSize(), 16u);
    EXPECT_EQ(original.getShareCount(), 1u);
    EXPECT_EQ(std::memcmp(static_cast<const CowMemPtr<void>&>(original).get(), bytes, 16), 0);
}

TEST(CowMemPtr, ResizingASoleOwnerKeepsItsBytes)
{
    CowMemPtr<void> block = blockOf("wxyz", 4);
    ASSERT_TRUE(block.resize(1000));
    EXPECT_EQ(std::memcmp(block.get(), "wxyz", 4), 0);
    EXPECT_EQ(block.getShareCount(), 1u);
}

TEST(CowMemPtr, NullBlockRefusesResizeAndAHeldBlockRefusesAlloc)
{
    CowMemPtr<void> block;
    EXPECT_TRUE(block.isNull());
    EXPECT_EQ(block.getByteSize(), 0u);
    EXPECT_FALSE(block.resize(4));
    EXPECT_EQ(block.get(), nullptr);

    ASSERT_TRUE(block.alloc(4));
    EXPECT_FALSE(block.alloc(8));
    EXPECT_EQ(block.getByteSize(), 4u);

    CowMemPtr<void> sibling(block);
    block.setNull();
    EXPECT_TRUE(block.isNull());
    EXPECT_EQ(sibling.getShareCount(), 1u);
    EXPECT_EQ(sibling.getByteSize(), 4u);
}

TEST(CowMemPtr, SelfAssignmentKeepsTheBlock)
{
    CowMemPtr<void> block = blockOf("ab", 2);
    const CowMemPtr<void>& same = block;
    block = same;
    EXPECT_EQ(block.getShareCount(), 1u);
    EXPECT_EQ(std::memcmp(block.get(), "ab", 2), 0);
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
