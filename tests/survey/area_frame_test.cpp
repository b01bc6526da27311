// Tests of the area's azimuthal equidistant frame against PROJ's geodesics on WGS 84.
#include "survey/area_frame.h"
#include "survey_checks.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace survey_checks;

// The point lies at the geodesic's distance and azimuth from the centre, within 1 mm; and
// comes back to within 1e-9 degrees.
TEST(AreaFrame, DistancesFromTheCentreAreGeodesic) {
    for (const GeoPoint centre : {GeoPoint{0.0, 10.0}, GeoPoint{36.8, -121.95},
                                  GeoPoint{70.0, 25.0}, GeoPoint{-45.0, 179.9}}) {
        const FrameResult frame = makeFrame(centre);
        ASSERT_TRUE(frame.ok) << frame.error;
        for (const double azimuth : {0.0, 37.0, 90.0, 181.5, 300.0}) {
            for (const double meters : {1.0, 5000.0, 100'000.0}) {
                GeoPoint p;
                geod_direct(&wgs84(), centre.lat, centre.lon, azimuth, meters, &p.lat, &p.lon,
                            nullptr);
                std::vector<PlanePoint> plane;
                ASSERT_TRUE(toPlane(frame.frame, {p}, plane));
                const double radians = azimuth * M_PI / 180.0;
                EXPECT_NEAR(plane[0].x, meters * std::sin(radians), 1e-3);
                EXPECT_NEAR(plane[0].y, meters * std::cos(radians), 1e-3);
                const GeoPoint back = toGeo(frame.frame, plane[0]);
                EXPECT_NEAR(back.lat, p.lat, 1e-9);
                EXPECT_NEAR(std::remainder(back.lon - p.lon, 360.0), 0.0, 1e-9);
            }
        }
    }
}

TEST(AreaFrame, CentreSpansTheShortWayRound) {
    const struct {
        GeoRing ring;
        GeoPoint centre;
        double span;
    } cases[] = {
        {{{10, 10}, {10, 20}, {20, 20}}, {15, 15}, 10},
        {{{-1, 179.5}, {-1, -179.5}, {1, -179.5}, {1, 179.5}}, {0, -180}, 1},
        {{{0, -179.5}, {0, 179.0}, {2, -178.0}}, {1, -179.5}, 3},
        // Written eastwards past 180: the same area.
        {{{0, 181.5}, {0, 179.0}, {2, 182.0}}, {1, -179.5}, 3},
    };
    for (const auto& c : cases) {
        GeoArea area;
        area.outer = c.ring;
        const GeoPoint centre = areaCentre(area);
        EXPECT_NEAR(centre.lat, c.centre.lat, 1e-12);
        EXPECT_NEAR(centre.lon, c.centre.lon, 1e-12);
        EXPECT_NEAR(longitudeSpan(area), c.span, 1e-12);
    }
}
