// A table of open addressing for the sight of corners and line ends.
#include "survey/sight_table.h"

namespace {

// Fibonacci hashing: the pair's bits spread over the slot's number.
constexpr std::uint64_t kSpread = 0x9e3779b97f4a7c15ULL;
constexpr std::size_t kFirstSlots = 1024;

} // namespace

std::size_t SightTable::slotOf(std::uint64_t pair) const {
    return static_cast<std::size_t>((pair * kSpread) >> shift_);
}

std::optional<bool> SightTable::find(std::uint64_t pair) const {
    if (slots_.empty()) {
        return std::nullopt;
    }
    const std::uint64_t stored = pair + 1;
    for (std::size_t at = slotOf(pair);; at = (at + 1) & (slots_.size() - 1)) {
        const std::uint64_t slot = slots_[at];
        if (slot == 0) {
            return std::nullopt;
        }
        if ((slot >> 1) == stored) {
            return (slot & 1) != 0;
        }
    }
}

void SightTable::keep(std::uint64_t pair, bool sees) {
    if (2 * (count_ + 1) > slots_.size()) {
        grow();
    }
    const std::uint64_t stored = pair + 1;
    for (std::size_t at = slotOf(pair);; at = (at + 1) & (slots_.size() - 1)) {
        std::uint64_t& slot = slots_[at];
        if (slot == 0 || (slot >> 1) == stored) {
            count_ += slot == 0 ? 1 : 0;
            slot = stored << 1 | (sees ? 1 : 0);
            return;
        }
    }
}

void SightTable::grow() {
    std::vector<std::uint64_t> old = std::move(slots_);
    slots_.assign(old.empty() ? kFirstSlots : 2 * old.size(), 0);
    shift_ = 64;
    for (std::size_t size = slots_.size(); size > 1; size /= 2) {
        --shift_;
    }
    count_ = 0;
    for (const std::uint64_t slot : old) {
        if (slot != 0) {
            keep((slot >> 1) - 1, (slot & 1) != 0);
        }
    }
}
