// Sorted lists of answers, one per corner.
#include "survey/corner_sight.h"

#include <algorithm>

std::optional<bool> CornerSight::find(std::uint32_t a, std::uint32_t b) const {
    const std::vector<std::uint32_t>& list = known_[a];
    const auto at = std::lower_bound(list.begin(), list.end(), b << 1);
    if (at == list.end() || (*at >> 1) != b) {
        return std::nullopt;
    }
    return (*at & 1) != 0;
}

void CornerSight::keep(std::uint32_t a, std::uint32_t b, bool sees) {
    for (const auto& [self, other] : {std::pair{a, b}, std::pair{b, a}}) {
        std::vector<std::uint32_t>& list = known_[self];
        const std::uint32_t entry = other << 1 | (sees ? 1 : 0);
        const auto at = std::lower_bound(list.begin(), list.end(), other << 1);
        if (at != list.end() && (*at >> 1) == other) {
            *at = entry;
        } else {
            list.insert(at, entry);
        }
    }
}
