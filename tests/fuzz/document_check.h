// What every GIS reader's result must satisfy, whatever bytes it was given.
#pragma once

#include "check.h"
#include "input/source_document.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

inline bool isSoundPosition(const SourcePoint& point, std::uint64_t lines) {
    return std::isfinite(point.lat) && std::isfinite(point.lon) && point.lat >= -90.0 &&
           point.lat <= 90.0 && point.lon >= -180.0 && point.lon <= 180.0 && point.line <= lines;
}

// A read either stops with one message and nothing else, or gives candidates whose every
// position is finite, in range and on a line of the input (0 where the reader cannot
// know it); areas have rings of at least
// three vertices.
inline void checkDocument(std::string_view bytes, const DocumentResult& result) {
    std::uint64_t lines = 1;
    for (char c : bytes) {
        lines += c == '\n' ? 1 : 0;
    }
    if (!result.ok) {
        FUZZ_CHECK(result.error.starts_with("*** "));
        FUZZ_CHECK(result.error.find('\n') == std::string::npos);
        FUZZ_CHECK(result.document.features.empty());
        return;
    }
    FUZZ_CHECK(result.error.empty());
    for (const SourceFeature& feature : result.document.features) {
        FUZZ_CHECK(!feature.kind.empty());
        FUZZ_CHECK(feature.line <= lines);
        if (feature.shape == FeatureShape::route) {
            FUZZ_CHECK(!feature.points.empty() && feature.rings.empty());
        } else {
            FUZZ_CHECK(!feature.rings.empty() && feature.points.empty());
        }
        for (const SourcePoint& point : feature.points) {
            FUZZ_CHECK(isSoundPosition(point, lines));
        }
        for (const auto& ring : feature.rings) {
            FUZZ_CHECK(ring.size() >= 3);
            for (const SourcePoint& point : ring) {
                FUZZ_CHECK(isSoundPosition(point, lines));
            }
        }
    }
}
