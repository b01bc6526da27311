// Whether two corners of the water see each other, as found so far, kept beside each corner:
// a search asks it of every leg from a corner as the corner is settled, and the answers for
// one corner then lie together in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class CornerSight {
  public:
    // Room for corners numbered below the count, each below 2^31.
    explicit CornerSight(std::size_t corners = 0) : known_(corners) {}
    std::optional<bool> find(std::uint32_t a, std::uint32_t b) const;
    // Kept under both corners.
    void keep(std::uint32_t a, std::uint32_t b, bool sees);

  private:
    // Per corner, the other corner's number doubled, plus 1 where they see each other, in
    // increasing order.
    std::vector<std::vector<std::uint32_t>> known_;
};
