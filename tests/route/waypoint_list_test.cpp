// Tests of the route's linked list: linking, the diagnostic texts and release.
#include "route/waypoint_list.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

// Walks next from head, checking every prev, and returns the number of nodes seen.
std::size_t linkedCount(const WaypointList& list) {
    std::size_t seen = 0;
    const WaypointNode* before = nullptr;
    for (const WaypointNode* node = list.head; node != nullptr; before = node, node = node->next) {
        EXPECT_EQ(node->prev, before);
        ++seen;
    }
    EXPECT_EQ(before, list.tail);
    return seen;
}

} // namespace

TEST(WaypointList, AppendInsertAndPrependKeepTheLinks) {
    WaypointList list;
    WaypointNode* first = appendNode(list, 36.8167, -121.8171);
    EXPECT_EQ(list.head, first);
    EXPECT_EQ(linkedCount(list), 1u);
    WaypointNode* last = appendNode(list, 36.8215, 1e300); // stored unchanged
    EXPECT_EQ(last->lon, 1e300);
    EXPECT_EQ(last->kind, WaypointKind::fromFile);

    first->legHeading = 72.5;
    WaypointNode* middle = insertAfter(list, first, 250.5);
    ASSERT_NE(middle, nullptr);
    EXPECT_EQ(linkedCount(list), 3u);
    EXPECT_EQ(first->next, middle);
    EXPECT_EQ(list.tail, last);
    EXPECT_EQ(middle->lat + middle->lon + middle->legTime + middle->wptNumber, 0.0);
    EXPECT_EQ(middle->legDistance, 250.5);
    EXPECT_EQ(middle->legHeading, 72.5);
    EXPECT_EQ(middle->kind, WaypointKind::splitPoint);

    // Nothing may follow the tail, and an empty list has nothing to insert after.
    EXPECT_EQ(insertAfter(list, last, 1.0), nullptr);
    WaypointList empty;
    EXPECT_EQ(insertAfter(empty, nullptr, 1.0), nullptr);
    EXPECT_TRUE(empty.empty());

    WaypointNode* front = prependNode(list, 7.0, 8.0);
    EXPECT_EQ(list.head, front);
    EXPECT_EQ(list.tail, last);
    EXPECT_EQ(linkedCount(list), 4u);
    EXPECT_EQ(prependNode(empty, 1.0, 2.0), empty.tail);
}

TEST(WaypointList, DisplayTextsAreExact) {
    WaypointList list;
    std::ostringstream empty;
    displayFwd(empty, list);
    displayRev(empty, list);
    EXPECT_EQ(displayNode(empty, nullptr), 1);
    EXPECT_EQ(empty.str(), "dll is empty\ndll is empty\nNo such node\n");

    WaypointNode* first = appendNode(list, 36.8167, -121.8170);
    const std::string firstText =
        "\n\nLat 36.8167 \nLon -121.8170 \nDistance: 0.0 \nHead 0.0 \nTime 0 \nwptNumber 0 ";
    std::ostringstream one;
    EXPECT_EQ(displayNode(one, first), 0);
    displayRev(one, list);
    EXPECT_EQ(one.str(), firstText + firstText);

    WaypointNode* second = appendNode(list, -0.00004, 1.23456);
    second->legDistance = 1731.15;
    second->legHeading = 359.96;
    second->legTime = 2.5; // rounds to even
    second->wptNumber = -7;
    const std::string secondText =
        "\n\nLat -0.0000 \nLon 1.2346 \nDistance: 1731.2 \nHead 360.0 \nTime 2 \nwptNumber -7 ";
    std::ostringstream both;
    displayFwd(both, list);
    displayRev(both, list);
    EXPECT_EQ(both.str(), firstText + secondText + secondText + firstText);
}

TEST(WaypointList, FreeAllNodesLeavesAnEmptyReusableList) {
    WaypointList list;
    WaypointNode* first = appendNode(list, 1.0, 1.0);
    appendNode(list, 2.0, 2.0);
    insertAfter(list, first, 3.0);
    freeAllNodes(list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.tail, nullptr);
    EXPECT_EQ(list.size(), 0u);
    appendNode(list, 4.0, 4.0);
    EXPECT_EQ(linkedCount(list), 1u);
}
