// Legs and areas for the tests of the keep-out areas and the operating region.
#pragma once

#include "route/geo_area.h"
#include "route/geodesy.h"
#include "route/sea_survey.h"
#include "sea/sea_zones.h"

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>
#include <string>
#include <vector>

constexpr double kPi = 3.14159265358979323846;
// Meters of a degree of a great circle on tavra's sphere.
constexpr double kDegree = 6371000.0 * kPi / 180.0;

inline SurveyLeg legFrom(GeoPoint from, GeoPoint to, std::size_t index = 0) {
    SurveyLeg leg;
    leg.leg = index;
    leg.fromNumber = static_cast<std::int32_t>(index);
    leg.toNumber = static_cast<std::int32_t>(index + 1);
    leg.from = from;
    leg.to = to;
    leg.length = greatCircleDistance(from.lat, from.lon, to.lat, to.lon);
    return leg;
}

// A route through the places in order.
inline std::vector<SurveyLeg> routeThrough(const std::vector<GeoPoint>& places) {
    std::vector<SurveyLeg> legs;
    double run = 0.0;
    for (std::size_t i = 0; i + 1 < places.size(); ++i) {
        legs.push_back(legFrom(places[i], places[i + 1], i));
        legs.back().routeStart = run;
        run += legs.back().length;
    }
    return legs;
}

inline GeoArea box(const std::string& name, double south, double west, double north, double east) {
    return GeoArea{name, {{south, west}, {south, east}, {north, east}, {north, west}}, {}};
}

inline ZoneSource keepOut(std::vector<GeoArea> areas, const std::string& file = "zones.geojson") {
    return ZoneSource{ZoneKind::keepOut, file, std::move(areas)};
}

// The polygons of a vector file, read with OGR apart from tavra's readers: each polygon of
// each feature one area, named by its feature's number.
inline std::vector<GeoArea> areasInFile(const std::string& path) {
    GDALAllRegister();
    std::vector<GeoArea> areas;
    GDALDatasetUniquePtr dataset(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
    EXPECT_TRUE(dataset) << path;
    if (!dataset) {
        return areas;
    }
    int feature = 0;
    for (const auto& row : dataset->GetLayer(0)) {
        ++feature;
        const OGRGeometry* geometry = row->GetGeometryRef();
        for (GeoArea& area : areasOf(*geometry, std::to_string(feature))) {
            areas.push_back(std::move(area));
        }
    }
    return areas;
}

inline std::string seaData(const std::string& name) {
    return std::string(TAVRA_TEST_DATA_DIR) + "/sea/" + name;
}
