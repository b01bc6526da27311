// Corners that lie in a pocket of their own shore: behind the straight way between two
// vertices of their ring on either side, so that a shortest way between two places outside
// the pocket never bends there.
#pragma once

#include "survey/plane.h"

#include <cstddef>
#include <optional>
#include <vector>

struct CornerPocket {
    std::size_t lidStart = 0; // ring numbers of the lid's ends, the corner between them
    std::size_t lidEnd = 0;
    PlanePoint low; // the box of the ring from one end of the lid to the other
    PlanePoint high;
};

// The deepest pocket that closes the ring's vertex `vertices[at]` with a lid between two of
// `vertices` (ring numbers in the ring's order) at most `reach` places away on either side,
// the vertex lying more than `depth` meters behind it (water is on the left of the ring's
// edges); none when the vertex stands out. Whether the lid itself runs through the water is
// for the caller to say.
std::optional<CornerPocket> cornerPocket(const PlaneRing& ring,
                                         const std::vector<std::size_t>& vertices, std::size_t at,
                                         std::size_t reach, double depth);
