// Picks the route or the area a run plans from what a file holds, by --feature where the
// file holds more than one.
#include "input/line_text.h"
#include "input/read_source.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr const char* kAreaUse = "--survey or --keepOut";
// What --feature takes for every area of the file.
constexpr const char* kEveryArea = "all";

// Plain and CSV files hold positions only: as an area they are its boundary.
bool holdsBarePositions(const SourceDocument& document) {
    return document.format == "plain" || document.format == "CSV";
}

// "3, "Leg B" (GPX route, line 40)": the number --feature takes, then the name.
std::string describe(const SourceDocument& document, std::size_t index) {
    const SourceFeature& feature = document.features[index];
    std::string text = std::to_string(index + 1) + ", ";
    if (feature.name.empty()) {
        text += "unnamed";
    } else {
        // Appended, not put in front of the name: GCC 12 would warn of an overlap (-Wrestrict).
        text += '"';
        text += displayableLine(feature.name);
        text += '"';
    }
    text += " (" + feature.kind;
    if (feature.line != 0) {
        text += ", line " + std::to_string(feature.line);
    }
    return text + ")";
}

std::string listing(const SourceDocument& document, const std::vector<std::size_t>& indices) {
    std::string text;
    for (std::size_t index : indices) {
        text += "\n  " + describe(document, index);
    }
    return text;
}

std::vector<std::size_t> featuresShaped(const SourceDocument& document, FeatureShape shape) {
    std::vector<std::size_t> indices;
    for (std::size_t i = 0; i < document.features.size(); ++i) {
        if (document.features[i].shape == shape) {
            indices.push_back(i);
        }
    }
    return indices;
}

const char* shapeName(FeatureShape shape) {
    return shape == FeatureShape::route ? "route" : "area";
}

std::string counted(std::size_t count, FeatureShape shape) {
    return std::to_string(count) + " " + shapeName(shape) + (count == 1 ? "" : "s");
}

bool isNumber(const std::string& text) {
    if (text.empty() || text.size() > 18) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// Nothing of the wanted shape: what the file holds instead, and what it is good for.
std::string noneOfShape(const SourceDocument& document, const std::string& fileName,
                        FeatureShape wanted) {
    const FeatureShape other =
        wanted == FeatureShape::route ? FeatureShape::area : FeatureShape::route;
    const std::vector<std::size_t> others = featuresShaped(document, other);
    std::string error = "*** " + fileName + " holds no " +
                        (wanted == FeatureShape::route ? "route" : "area (a polygon)");
    if (others.empty()) {
        return error + " ***";
    }
    error += ", only " + counted(others.size(), other);
    if (other == FeatureShape::area) {
        error += std::string(", used with ") + kAreaUse;
    }
    return error + " ***" + listing(document, others);
}

struct Pick {
    bool ok = false;
    std::string error;
    std::size_t index = 0;
};

// The one feature of the wanted shape, or the one --feature names: by its exact name
// first, then by its number in the file.
Pick pickFeature(const SourceDocument& document, const std::string& fileName,
                 const std::optional<std::string>& feature, FeatureShape wanted) {
    Pick pick;
    const std::vector<std::size_t> candidates = featuresShaped(document, wanted);
    if (!feature) {
        if (candidates.size() == 1) {
            pick.ok = true;
            pick.index = candidates.front();
        } else if (candidates.size() > 1) {
            pick.error = "*** " + fileName + " holds " + counted(candidates.size(), wanted) +
                         ": choose one with --feature NAME or --feature NUMBER ***" +
                         listing(document, candidates);
        } else {
            pick.error = noneOfShape(document, fileName, wanted);
        }
        return pick;
    }

    std::vector<std::size_t> named;
    std::vector<std::size_t> namedAndShaped;
    for (std::size_t i = 0; i < document.features.size(); ++i) {
        if (!document.features[i].name.empty() && document.features[i].name == *feature) {
            named.push_back(i);
            if (document.features[i].shape == wanted) {
                namedAndShaped.push_back(i);
            }
        }
    }
    if (namedAndShaped.size() > 1) {
        pick.error = "*** " + fileName + " holds " + counted(namedAndShaped.size(), wanted) +
                     " named \"" + displayableLine(*feature) +
                     "\": choose one with --feature NUMBER ***" + listing(document, namedAndShaped);
        return pick;
    }
    if (namedAndShaped.size() == 1) {
        pick.ok = true;
        pick.index = namedAndShaped.front();
        return pick;
    }
    if (named.empty() && isNumber(*feature)) {
        const unsigned long long number = std::stoull(*feature);
        if (number >= 1 && number <= document.features.size()) {
            named.push_back(static_cast<std::size_t>(number - 1));
        }
    }
    if (named.empty()) {
        std::string error = "*** " + fileName + " has no feature named or numbered \"" +
                            displayableLine(*feature) + "\" ***";
        if (!candidates.empty()) {
            error += "\nits " + std::string(shapeName(wanted)) +
                     (candidates.size() == 1 ? "" : "s") + ":" + listing(document, candidates);
        }
        pick.error = error;
        return pick;
    }
    const std::size_t index = named.front();
    if (document.features[index].shape == wanted) {
        pick.ok = true;
        pick.index = index;
        return pick;
    }
    pick.error = "*** " + fileName + ": feature " + describe(document, index) +
                 (wanted == FeatureShape::route
                      ? " is an area, not a route; an area is used with " + std::string(kAreaUse)
                      : std::string(" is a route, not an area (a polygon)")) +
                 " ***";
    return pick;
}

GeoRing ringOf(const std::vector<SourcePoint>& points) {
    GeoRing ring;
    ring.reserve(points.size());
    for (const SourcePoint& point : points) {
        ring.push_back(GeoPoint{point.lat, point.lon});
    }
    return ring;
}

GeoArea areaOf(const SourceFeature& feature, std::size_t index) {
    GeoArea area;
    area.name = feature.name.empty() ? std::to_string(index + 1) : feature.name;
    if (!feature.rings.empty()) {
        area.outer = ringOf(feature.rings.front());
        for (std::size_t k = 1; k < feature.rings.size(); ++k) {
            area.holes.push_back(ringOf(feature.rings[k]));
        }
    }
    return area;
}

// The positions of a plain or CSV file as the boundary of an area: a last position that
// repeats the first closes the ring and is no vertex of its own.
AreaSelection areaFromPositions(const SourceDocument& document, const std::string& fileName) {
    AreaSelection selection;
    const SourceFeature& positions = document.features.front();
    selection.area.name = std::to_string(1);
    selection.area.outer = ringOf(positions.points);
    GeoRing& ring = selection.area.outer;
    if (ring.size() > 1 && ring.front().lat == ring.back().lat &&
        ring.front().lon == ring.back().lon) {
        ring.pop_back();
    }
    if (ring.size() < 3) {
        selection.ok = false;
        selection.error = "*** " + fileName + ": an area needs at least 3 positions, found " +
                          std::to_string(ring.size()) + " ***";
    }
    return selection;
}

} // namespace

RouteSelection selectRoute(const SourceDocument& document, const std::string& fileName,
                           const std::optional<std::string>& feature) {
    RouteSelection selection;
    // A file with nothing in it has an empty route, which the run reports as such.
    if (document.features.empty() && !feature) {
        return selection;
    }
    const Pick pick = pickFeature(document, fileName, feature, FeatureShape::route);
    if (!pick.ok) {
        selection.ok = false;
        selection.error = pick.error;
        return selection;
    }
    selection.points = document.features[pick.index].points;
    return selection;
}

AreaSelection selectArea(const SourceDocument& document, const std::string& fileName,
                         const std::optional<std::string>& feature) {
    if (holdsBarePositions(document) && !document.features.empty()) {
        if (feature) {
            const Pick pick = pickFeature(document, fileName, feature, FeatureShape::route);
            if (!pick.ok) {
                AreaSelection refused;
                refused.ok = false;
                refused.error = pick.error;
                return refused;
            }
        }
        return areaFromPositions(document, fileName);
    }
    AreaSelection selection;
    const Pick pick = pickFeature(document, fileName, feature, FeatureShape::area);
    if (!pick.ok) {
        selection.ok = false;
        selection.error = pick.error;
        return selection;
    }
    selection.area = areaOf(document.features[pick.index], pick.index);
    return selection;
}

AreasSelection allAreas(const SourceDocument& document, const std::string& fileName) {
    AreasSelection selection;
    if (holdsBarePositions(document) && !document.features.empty()) {
        AreaSelection one = areaFromPositions(document, fileName);
        selection.ok = one.ok;
        selection.error = one.error;
        if (one.ok) {
            selection.areas.push_back(std::move(one.area));
        }
        return selection;
    }
    for (std::size_t i = 0; i < document.features.size(); ++i) {
        if (document.features[i].shape == FeatureShape::area) {
            selection.areas.push_back(areaOf(document.features[i], i));
        }
    }
    if (selection.areas.empty()) {
        selection.ok = false;
        selection.error = noneOfShape(document, fileName, FeatureShape::area);
    }
    return selection;
}

AreasSelection selectAreas(const SourceDocument& document, const std::string& fileName,
                           const std::vector<std::string>& features) {
    const bool fileHasAll =
        std::any_of(document.features.begin(), document.features.end(),
                    [](const SourceFeature& feature) { return feature.name == kEveryArea; });
    const bool every =
        !fileHasAll && std::find(features.begin(), features.end(), kEveryArea) != features.end();
    AreasSelection selection;
    if (features.empty()) {
        AreaSelection one = selectArea(document, fileName, std::nullopt);
        selection.ok = one.ok;
        selection.error = std::move(one.error);
        if (one.ok) {
            selection.areas.push_back(std::move(one.area));
        }
        return selection;
    }
    if (holdsBarePositions(document) && !document.features.empty()) {
        // The file holds one area: each name must pick it, and it is surveyed once.
        for (const std::string& feature : features) {
            AreaSelection one =
                selectArea(document, fileName,
                           every && feature == kEveryArea ? std::nullopt
                                                          : std::optional<std::string>(feature));
            if (!one.ok) {
                selection.ok = false;
                selection.error = one.error;
                selection.areas.clear();
                return selection;
            }
            if (selection.areas.empty()) {
                selection.areas.push_back(std::move(one.area));
            }
        }
        return selection;
    }
    std::vector<std::size_t> taken;
    for (const std::string& feature : features) {
        // Beside "all", a name still has to pick an area: a typing slip is not passed over.
        if (every && feature == kEveryArea) {
            continue;
        }
        const Pick pick = pickFeature(document, fileName, feature, FeatureShape::area);
        if (!pick.ok) {
            selection.ok = false;
            selection.error = pick.error;
            selection.areas.clear();
            return selection;
        }
        // Named twice (by name and by number, say), an area is still surveyed once.
        if (std::find(taken.begin(), taken.end(), pick.index) == taken.end()) {
            taken.push_back(pick.index);
            selection.areas.push_back(areaOf(document.features[pick.index], pick.index));
        }
    }
    return every ? allAreas(document, fileName) : selection;
}
