// The candidates a GIS file offers, gathered in file order: lines and areas as they come,
// and single points joined into one run, which is a route only where the file has no line.
#pragma once

#include "input/source_document.h"

#include <cstddef>
#include <string>
#include <vector>

struct FeatureCandidates {
    std::vector<SourceFeature> features; // lines, point sequences and areas in file order
    SourceFeature points;                // the single points, in file order
    std::size_t pointsAt = 0;            // where the first point stood among the features
};

// A single point (a pin, a waypoint mark) joins the run.
void addPoint(FeatureCandidates& candidates, const SourcePoint& point);

// The lines and areas of one feature of the file, named after it: "name (part 2 of 3)"
// where it holds several.
void addParts(FeatureCandidates& candidates, const std::string& name,
              std::vector<SourceFeature>& parts);

// Every candidate in file order. Points alone are a route in the order they were placed;
// beside a line they mark places along it and are not a route of their own.
std::vector<SourceFeature> finishCandidates(FeatureCandidates& candidates,
                                            const std::string& pointsKind);
