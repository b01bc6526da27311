// The route's doubly linked list: creating, linking, showing and releasing waypoint nodes.
#include "route/waypoint_list.h"

#include <cstdio>

namespace {

// The diagnostics read exactly as printf renders the numbers. 512 bytes hold any double
// in these formats: the widest, -DBL_MAX with four decimals, needs about 330.
template <typename Value> void printFormatted(std::ostream& out, const char* format, Value value) {
    char buffer[512];
    const int length = std::snprintf(buffer, sizeof buffer, format, value);
    if (length > 0 && static_cast<std::size_t>(length) < sizeof buffer) {
        out.write(buffer, length);
    }
}

} // namespace

WaypointNode* appendNode(WaypointList& list, double lat, double lon) {
    WaypointNode& node = list.storage.emplace_back();
    node.lat = lat;
    node.lon = lon;
    node.kind = WaypointKind::fromFile;
    node.prev = list.tail;
    if (list.tail == nullptr) {
        list.head = &node;
    } else {
        list.tail->next = &node;
    }
    list.tail = &node;
    return &node;
}

WaypointNode* insertAfter(WaypointList& list, WaypointNode* node, double legDistance) {
    // Splitting never reaches the tail; refusing it here keeps tail the last node of the
    // file even if a caller gets that wrong.
    if (list.empty() || node == nullptr || node->next == nullptr) {
        return nullptr;
    }
    WaypointNode& split = list.storage.emplace_back();
    split.legDistance = legDistance;
    split.legHeading = node->legHeading;
    split.kind = WaypointKind::splitPoint;
    split.prev = node;
    split.next = node->next;
    node->next->prev = &split;
    node->next = &split;
    return &split;
}

WaypointNode* prependNode(WaypointList& list, double lat, double lon) {
    WaypointNode& node = list.storage.emplace_back();
    node.lat = lat;
    node.lon = lon;
    node.next = list.head;
    if (list.head == nullptr) {
        list.tail = &node;
    } else {
        list.head->prev = &node;
    }
    list.head = &node;
    return &node;
}

int displayNode(std::ostream& out, const WaypointNode* node) {
    if (node == nullptr) {
        out << "No such node\n";
        return 1;
    }
    printFormatted(out, "\n\nLat %.4f ", node->lat);
    printFormatted(out, "\nLon %.4f ", node->lon);
    printFormatted(out, "\nDistance: %.1f ", node->legDistance);
    printFormatted(out, "\nHead %.1f ", node->legHeading);
    printFormatted(out, "\nTime %.0f ", node->legTime);
    printFormatted(out, "\nwptNumber %d ", static_cast<int>(node->wptNumber));
    return 0;
}

void displayFwd(std::ostream& out, const WaypointList& list) {
    if (list.empty()) {
        out << "dll is empty\n";
        return;
    }
    for (const WaypointNode* node = list.head; node != nullptr; node = node->next) {
        if (displayNode(out, node) == 1) {
            out << "\n\n***displayNode fail in displayFwd()***\n\n";
        }
    }
}

void displayRev(std::ostream& out, const WaypointList& list) {
    if (list.empty()) {
        out << "dll is empty\n";
        return;
    }
    for (const WaypointNode* node = list.tail; node != list.head; node = node->prev) {
        if (displayNode(out, node) == 1) {
            out << "\n\n***displayNode fail in displayRev()***\n\n";
        }
    }
    displayNode(out, list.head);
}

void freeAllNodes(WaypointList& list) {
    list.head = nullptr;
    list.tail = nullptr;
    list.storage.clear();
}
