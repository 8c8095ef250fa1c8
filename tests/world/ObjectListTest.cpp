#include "ObjectList.h"

#include "LogManager.h"
#include "Object.h"
#include "ObjectListIterator.h"
#include "WorldManager.h"

#include "LogReader.h"
#include "TempWorkDir.h"

#include <gtest/gtest.h>

#include <vector>

using bw::Object;
using bw::ObjectList;
using bw::ObjectListIterator;

namespace {

const std::string RANGE_WARNING = "WARNING: ObjectList[index] out of range";

/// The entries of a list, walked with the iterator's first/isDone/next protocol.
std::vector<Object*> entries(const ObjectList& list) {
    std::vector<Object*> result;
    ObjectListIterator it(&list);
    for (it.first(); !it.isDone(); it.next()) result.push_back(it.currentObject());
    return result;
}

class ObjectListTest : public ::testing::Test {
protected:
    void SetUp() override {
        log.setLogLevel(-1);
        ASSERT_EQ(log.startUp(), 0);
        bw::WorldManager::getInstance().startUp();
    }
    void TearDown() override { log.shutDown(); }

    TempWorkDir dir;
    bw::LogManager& log = bw::LogManager::getInstance();
    Object a, b, c, d;
};

TEST_F(ObjectListTest, InsertAppendsUntilFull) {
    ObjectList list;
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(list.isFull());
    EXPECT_EQ(list.insert(&a), 0);
    EXPECT_EQ(list.insert(&b), 0);
    EXPECT_FALSE(list.isEmpty());
    EXPECT_EQ(entries(list), (std::vector<Object*>{&a, &b}));

    // The same pointer may be held many times.
    for (int i = 2; i < bw::MAX_OBJECTS; ++i) ASSERT_EQ(list.insert(&c), 0) << i;
    EXPECT_EQ(list.getCount(), 5000);
    EXPECT_TRUE(list.isFull());
    EXPECT_EQ(list.insert(&d), -1);
    EXPECT_EQ(list.getCount(), 5000);
    EXPECT_FALSE(list.contains(&d));
    EXPECT_EQ(list[4999], &c);
    EXPECT_FALSE(logHasLineStartingWith("WARNING:")); // a full list refuses silently
}

TEST_F(ObjectListTest, RemoveTakesTheFirstOccurrenceAndKeepsOrder) {
    ObjectList list;
    list.insert(&a);
    list.insert(&b);
    list.insert(&c);
    EXPECT_TRUE(list.remove(&b));
    EXPECT_EQ(entries(list), (std::vector<Object*>{&a, &c}));
    EXPECT_FALSE(list.contains(&b));

    EXPECT_FALSE(list.remove(&d));
    EXPECT_FALSE(list.remove(&b));
    EXPECT_EQ(entries(list), (std::vector<Object*>{&a, &c}));

    list.insert(&b);
    list.insert(&a);
    // (a, c, b, a): only the first a goes.
    EXPECT_TRUE(list.remove(&a));
    EXPECT_EQ(entries(list), (std::vector<Object*>{&c, &b, &a}));
    EXPECT_TRUE(list.contains(&a));
    EXPECT_TRUE(list.remove(&a));
    EXPECT_EQ(entries(list), (std::vector<Object*>{&c, &b}));
    EXPECT_FALSE(list.contains(&a));

    // The last entry, then an empty list.
    EXPECT_TRUE(list.remove(&b));
    EXPECT_TRUE(list.remove(&c));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_FALSE(list.remove(&c));
    EXPECT_FALSE(logHasLineStartingWith("WARNING:"));
}

TEST_F(ObjectListTest, ClearEmptiesAndTheListIsUsableAgain) {
    ObjectList list;
    list.insert(&a);
    list.insert(&b);
    list.clear();
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(list.getCount(), 0);
    EXPECT_FALSE(list.contains(&a));
    EXPECT_EQ(list[0], nullptr);
    list.insert(&c);
    EXPECT_EQ(entries(list), (std::vector<Object*>{&c}));
}

TEST_F(ObjectListTest, IndexOutsideTheEntriesWarnsAndGivesNull) {
    ObjectList list;
    list.insert(&a);
    list.insert(&b);
    EXPECT_EQ(list[0], &a);
    EXPECT_EQ(list[1], &b);
    EXPECT_EQ(countLogLines(RANGE_WARNING), 0);

    EXPECT_EQ(list[-1], nullptr);
    EXPECT_EQ(countLogLines(RANGE_WARNING), 1);
    EXPECT_EQ(list[2], nullptr);
    EXPECT_EQ(countLogLines(RANGE_WARNING), 2);
    // An entry that was removed is outside too, though its slot once held a pointer.
    list.remove(&b);
    EXPECT_EQ(list[1], nullptr);
    EXPECT_EQ(countLogLines(RANGE_WARNING), 3);

    // The warning is a level 1 line.
    log.setLogLevel(0);
    EXPECT_EQ(list[7], nullptr);
    EXPECT_EQ(countLogLines(RANGE_WARNING), 3);
}

TEST_F(ObjectListTest, IteratorWalksInOrderAndStopsAtTheCurrentCount) {
    ObjectList empty;
    ObjectListIterator none(&empty);
    EXPECT_TRUE(none.isDone());
    EXPECT_EQ(none.currentObject(), nullptr);
    EXPECT_TRUE(empty.begin() == empty.end());

    ObjectList list;
    list.insert(&a);
    list.insert(&b);
    ObjectListIterator it(&list);
    EXPECT_EQ(it.currentObject(), &a);
    it.next();
    EXPECT_EQ(it.currentObject(), &b);
    it.next();
    EXPECT_TRUE(it.isDone());
    EXPECT_EQ(it.currentObject(), nullptr);
    EXPECT_EQ(countLogLines(RANGE_WARNING), 0); // done is not an index error

    // Done means the list's count now: a list that grows lets the iterator go on.
    list.insert(&c);
    EXPECT_FALSE(it.isDone());
    EXPECT_EQ(it.currentObject(), &c);
    it.first();
    EXPECT_EQ(it.currentObject(), &a);

    std::vector<Object*> walked;
    for (Object* object : list) walked.push_back(object);
    EXPECT_EQ(walked, (std::vector<Object*>{&a, &b, &c}));

    // Iterators differ when they stand at different places or walk different lists.
    ObjectList copy = list;
    EXPECT_TRUE(list.begin() == list.begin());
    EXPECT_TRUE(list.begin() != copy.begin());
    auto second = list.begin();
    ++second;
    EXPECT_TRUE(second != list.begin());
    EXPECT_EQ(*second, &b);
}

TEST_F(ObjectListTest, CopiesAreIndependentSnapshots) {
    ObjectList original;
    original.insert(&a);
    original.insert(&b);
    original.insert(&c);

    ObjectList copy(original);
    original.remove(&a);
    original.insert(&d);
    EXPECT_EQ(entries(copy), (std::vector<Object*>{&a, &b, &c}));
    copy.remove(&c);
    EXPECT_EQ(entries(original), (std::vector<Object*>{&b, &c, &d}));

    // Assigning a shorter list leaves nothing of the longer one behind.
    ObjectList longer;
    for (Object* object : {&d, &c, &b, &a}) longer.insert(object);
    ObjectList shorter;
    shorter.insert(&a);
    longer = shorter;
    EXPECT_EQ(entries(longer), (std::vector<Object*>{&a}));
    EXPECT_EQ(longer[1], nullptr);
    EXPECT_FALSE(longer.contains(&d));
    shorter.insert(&b);
    EXPECT_EQ(longer.getCount(), 1);

    // Assigning a longer list brings all of it.
    shorter = original;
    EXPECT_EQ(entries(shorter), (std::vector<Object*>{&b, &c, &d}));
    original.clear();
    EXPECT_EQ(shorter.getCount(), 3);
}

} // namespace
