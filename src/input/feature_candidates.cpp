// Candidates of a GIS file in file order, with the single points as one run.
#include "input/feature_candidates.h"

#include "input/document_text.h"

#include <algorithm>

void addPoint(FeatureCandidates& candidates, const SourcePoint& point) {
    if (candidates.points.points.empty()) {
        candidates.pointsAt = candidates.features.size();
        candidates.points.line = point.line;
    }
    candidates.points.points.push_back(point);
}

void addParts(FeatureCandidates& candidates, const std::string& name,
              std::vector<SourceFeature>& parts) {
    for (std::size_t part = 0; part < parts.size(); ++part) {
        parts[part].name = featurePartName(name, part + 1, parts.size());
        candidates.features.push_back(std::move(parts[part]));
    }
    parts.clear();
}

std::vector<SourceFeature> finishCandidates(FeatureCandidates& candidates,
                                            const std::string& pointsKind) {
    const bool hasRoute = std::any_of(
        candidates.features.begin(), candidates.features.end(),
        [](const SourceFeature& feature) { return feature.shape == FeatureShape::route; });
    if (!hasRoute && !candidates.points.points.empty()) {
        candidates.points.kind = pointsKind;
        candidates.features.insert(candidates.features.begin() +
                                       static_cast<std::ptrdiff_t>(candidates.pointsAt),
                                   std::move(candidates.points));
    }
    return std::move(candidates.features);
}
