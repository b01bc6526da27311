// The route as a doubly linked list of waypoints, each carrying the leg that leaves it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <ostream>

// What put a node on the route; planning and the exports tell the kinds apart by this,
// never by the node's position.
enum class WaypointKind : std::uint8_t { fromFile, splitPoint, launch };

struct WaypointNode {
    WaypointNode* prev = nullptr;
    double lat = 0.0;         // decimal degrees, north positive
    double lon = 0.0;         // decimal degrees, east positive
    double legDistance = 0.0; // meters, leg from this node to next
    double legHeading = 0.0;  // degrees clockwise from north, of that leg
    double legTime = 0.0;     // seconds, of that leg
    std::int32_t wptNumber = 0;
    WaypointNode* next = nullptr;
    WaypointKind kind = WaypointKind::fromFile;
};

// Nodes live in block storage owned by the list: a node keeps its address for the
// list's whole life, so planning may hold a node while it inserts after it.
struct WaypointList {
    WaypointNode* head = nullptr;
    WaypointNode* tail = nullptr;
    std::deque<WaypointNode> storage;

    WaypointList() = default;
    WaypointList(const WaypointList&) = delete;
    WaypointList& operator=(const WaypointList&) = delete;
    WaypointList(WaypointList&&) = default;
    WaypointList& operator=(WaypointList&&) = default;

    bool empty() const { return head == nullptr; }
    std::size_t size() const { return storage.size(); }
};

// Links a new node at the tail.
WaypointNode* appendNode(WaypointList& list, double lat, double lon);

// Links a new split point between node and its next.
// Returns nullptr and changes nothing on an empty list or when node has no next (the tail).
WaypointNode* insertAfter(WaypointList& list, WaypointNode* node, double legDistance);

// Links a new node in front of head (the launch waypoint).
WaypointNode* prependNode(WaypointList& list, double lat, double lon);

// Diagnostic displays; a run calls none of them.
int displayNode(std::ostream& out, const WaypointNode* node);
void displayFwd(std::ostream& out, const WaypointList& list);
void displayRev(std::ostream& out, const WaypointList& list);

// Releases every node and leaves the list empty.
void freeAllNodes(WaypointList& list);
