#include "cpplib/HashMap.h"
#include "cpplib/IdMap.h"
#include "cpplib/LinkedMap.h"
#include "cpplib/OrderedMap.h"
#include "cpplib/SharedPtr.h"
#include "cpplib/Stack.h"
#include "cpplib/Vector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

using CppLib::HashMap;
using CppLib::IdMap;
using CppLib::LinkedMap;
using CppLib::OrderedMap;
using CppLib::Vector;

TEST(Vector, AppendSetAndRemoveAtKeepIndicesAndOutOfRangeAccessChangesNothing)
{
    Vector<int> v;
    EXPECT_TRUE(v.isEmpty());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v.append(10 + i), i);
    }
    EXPECT_EQ(v.set(1, 21), 11);
    v.removeAt(0);
    EXPECT_EQ((std::vector<int>{v[0], v.get(1), v[2]}), (std::vector<int>{21, 12, 13}));

    EXPECT_EQ(v.get(-1), 0);
    EXPECT_EQ(v.get(3), 0);
    v[7] = 99; // writes to a scratch element, not past the array
    EXPECT_EQ(v[7], 0);
    EXPECT_EQ(v.set(3, 5), 0);
    v.removeAt(-1);
    v.removeAt(3);
    EXPECT_EQ(v.getSize(), 3u);
    EXPECT_EQ(v[0] + v[1] + v[2], 46);
    EXPECT_TRUE(Vector<CppLib::SharedPtr<int>>().get(0).isNull());

    CppLib::Stack<int> stack;
    stack.pop(); // ignored when empty
    EXPECT_EQ(stack.top(), 0);
    stack.push(1);
    stack.push(2);
    EXPECT_EQ(stack.top(), 2);
    stack.pop();
    EXPECT_EQ(stack.top(), 1);
    EXPECT_EQ(stack.getSize(), 1u);
}

template <typename M>
class MapContract : public testing::Test {};

using MapTypes = testing::Types<LinkedMap<int, std::string>, HashMap<int, std::string>, OrderedMap<int, std::string>>;
TYPED_TEST_SUITE(MapContract, MapTypes);

TYPED_TEST(MapContract, AbsentKeysReadAsDefaultWithGetAndAreUntouchedByContainsAndRemove)
{
    TypeParam map;
    EXPECT_TRUE(map.isEmpty());
    EXPECT_FALSE(map.contains(4));
    EXPECT_EQ(map.remove(4), "");
    EXPECT_EQ(map.getSize(), 0u);

    EXPECT_EQ(map.get(4), "") << "get of an absent key inserts the default";
    EXPECT_EQ(map.getSize(), 1u);
    EXPECT_TRUE(map.contains(4));

    EXPECT_EQ(map.put(4, "four"), "four");
    EXPECT_EQ(map.put(4, "FOUR"), "FOUR");
    EXPECT_EQ(map.getSize(), 1u);
    EXPECT_EQ(map.remove(4), "FOUR");
    EXPECT_TRUE(map.isEmpty());
}

TEST(LinkedMap, IteratesInAscendingKeyOrder)
{
    LinkedMap<int, int> map;
    for (int key : {5, 1, 9, 3}) {
        map.put(key, key * 10);
    }
    std::vector<int> keys;
    for (const auto& entry : map) {
        keys.push_back(entry.first);
    }
    EXPECT_EQ(keys, (std::vector<int>{1, 3, 5, 9}));
}

// Insertion order across removals is covered by the model test below.
TEST(OrderedMap, GetOfAnAbsentKeyKeepsSizeAndOrderInAgreementAndBadPositionsChangeNothing)
{
    OrderedMap<int, int> map;
    map.put(1, 10);
    map.get(2) = 20;
    EXPECT_EQ(map.getSize(), 2u);
    EXPECT_EQ(map.getKey(1), 2);
    EXPECT_EQ(map.getValue(1), 20);

    EXPECT_EQ(map.getKey(2), 0);
    EXPECT_EQ(map.getKey(-1), 0);
    EXPECT_EQ(map.getValue(5), 0);
    EXPECT_EQ(map.removeAt(2), 0);
    map.remove(2);
    EXPECT_EQ(map.getSize(), 1u);
    EXPECT_FALSE(map.contains(2));
    EXPECT_EQ(map.getValue(0), 10);
}

TEST(OrderedMap, RandomOperationsMatchAModelOfEntriesAndInsertionOrder)
{
    std::mt19937 random(20261206);
    OrderedMap<int, int> map;
    std::map<int, int> modelEntries;
    std::vector<int> modelOrder;

    for (int step = 0; step < 5000; ++step) {
        const int key = static_cast<int>(random() % 40);
        const int value = static_cast<int>(random() % 1000);
        switch (random() % 5) {
        case 0:
        case 1:
            map.put(key, value);
            if (!modelEntries.count(key)) {
                modelOrder.push_back(key);
            }
            modelEntries[key] = value;
            break;
        case 2: {
            const int read = map.get(key);
            if (!modelEntries.count(key)) {
                modelOrder.push_back(key);
            }
            ASSERT_EQ(read, modelEntries[key]);
            break;
        }
        case 3: {
            const int removed = map.remove(key);
            const auto found = modelEntries.find(key);
            ASSERT_EQ(removed, found == modelEntries.end() ? 0 : found->second);
            if (found != modelEntries.end()) {
                modelEntries.erase(found);
                modelOrder.erase(std::find(modelOrder.begin(), modelOrder.end(), key));
            }
            break;
        }
        default:
            if (!modelOrder.empty()) {
                const int pos = static_cast<int>(random() % modelOrder.size());
                ASSERT_EQ(map.removeAt(pos), modelEntries[modelOrder[pos]]);
                modelEntries.erase(modelOrder[pos]);
                modelOrder.erase(modelOrder.begin() + pos);
            }
            break;
        }
        ASSERT_EQ(map.getSize(), modelOrder.size());
        ASSERT_EQ(modelEntries.size(), modelOrder.size());
    }
    for (size_t pos = 0; pos < modelOrder.size(); ++pos) {
        EXPECT_EQ(map.getKey(static_cast<int>(pos)), modelOrder[pos]);
        EXPECT_EQ(map.getValue(static_cast<int>(pos)), modelEntries[modelOrder[pos]]);
    }
}

TEST(IdMap, HandsOutIdsFrom101AndNeverReusesThem)
{
    IdMap<std::string, unsigned long long> map;
    const auto first = map.createId();
    EXPECT_EQ(first, 101u);
    map.put(first, "a");
    map.returnId(first);
    map.remove(first);
    EXPECT_EQ(map.createId(), 102u);

    IdMap<std::string, unsigned long long> copy(map);
    EXPECT_EQ(copy.createId(), 103u) << "a copy carries the id counter";
    EXPECT_EQ(map.createId(), 103u);
}
