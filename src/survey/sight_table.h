// Whether two places of the water see each other, as found so far, by a number for the pair:
// a search of ways asks it millions of times, mostly of pairs already known, and a table of
// one array with no node per entry answers from one place in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class SightTable {
  public:
    // The answer kept for the pair, if any; pairs are numbers below 2^63 - 1.
    std::optional<bool> find(std::uint64_t pair) const;
    void keep(std::uint64_t pair, bool sees);
    std::size_t size() const { return count_; }

  private:
    std::size_t slotOf(std::uint64_t pair) const;
    void grow();

    // Each slot holds pair + 1 (0: empty) with the answer in the lowest bit.
    std::vector<std::uint64_t> slots_;
    std::size_t count_ = 0;
    int shift_ = 64; // the slot is the top bits of the spread pair: 64 less log2(slots)
};
