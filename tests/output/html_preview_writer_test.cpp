// The HTML preview: the map's fit and projection, the drawing of a route, thinning of dense
// routes, the table of legs and the totals, and that nothing is fetched from the network.
#include "export_fixture.h"
#include "output/html_preview_writer.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string html(const WaypointList& route, const RouteTotals& totals) {
    std::ostringstream out;
    writeHtmlPreview(out, "2020_189_155.html", route, totals);
    return out.str();
}

std::string between(const std::string& text, const std::string& from, const std::string& to) {
    const std::size_t start = text.find(from);
    if (start == std::string::npos) {
        return "(missing " + from + ")";
    }
    const std::size_t end = text.find(to, start);
    return text.substr(start, end == std::string::npos ? end : end + to.size() - start);
}

std::size_t occurrences(const std::string& text, const std::string& piece) {
    std::size_t count = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos;
         at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

// Points along the meridian 0, 0.001 degrees apart.
void fillStraightRoute(WaypointList& route, int points) {
    for (int i = 0; i < points; ++i) {
        WaypointNode* node = appendNode(route, 0.001 * i, 0.0);
        node->wptNumber = i;
        node->legDistance = i + 1 < points ? 111.19 : 0.0;
        node->legHeading = i + 1 < points ? 360.0 : 0.0;
        node->legTime = node->legDistance;
    }
}

} // namespace

// Worked apart from the program on the sphere of 6371 km: the route's longitudes span
// 2122.401 m at its middle latitude and its latitudes 687.954 m, so the 880 by 550 map
// area is filled across.
TEST(HtmlPreview, MapIsFittedAndCentredOnTheRoute) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    const MapFrame frame = fitMapFrame(route);
    EXPECT_NEAR(frame.midLon, -121.81052147612851, 1e-12);
    EXPECT_NEAR(frame.midLat, 36.81840654032872, 1e-12);
    EXPECT_NEAR(frame.pixelsPerMeter, 880.0 / 2122.4009764348225, 1e-12);
    const double lons[] = {-121.82244295225705, -121.8171, -121.7986};
    const double lats[] = {36.81531308065744, 36.8167, 36.8215};
    const double xs[] = {40.0, 237.199, 920.0};
    const double ys[] = {497.621, 433.679, 212.379};
    for (int i = 0; i < 3; ++i) {
        const MapPoint at = projectOnMap(frame, lons[i], lats[i]);
        EXPECT_NEAR(at.x, xs[i], 1e-3) << i; // page units
        EXPECT_NEAR(at.y, ys[i], 1e-3) << i;
    }
}

// A survey's area reaches beyond its lines: the map takes in its outer ring too, which
// would otherwise run under the legend above the map area.
TEST(HtmlPreview, MapTakesInTheAreasGiven) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    GeoArea area;
    area.outer = {{36.80, -121.83}, {36.84, -121.83}, {36.84, -121.79}, {36.80, -121.79}};
    const MapFrame frame = fitMapFrame(route, {area});
    for (const GeoPoint& corner : area.outer) {
        const MapPoint at = projectOnMap(frame, corner.lon, corner.lat);
        EXPECT_GE(at.x, kMapLeft - 1e-9);
        EXPECT_LE(at.x, kMapLeft + kMapWidth + 1e-9);
        EXPECT_GE(at.y, kMapTop - 1e-9);
        EXPECT_LE(at.y, kMapTop + kMapHeight + 1e-9);
    }
    // The area, 0.04 degrees high, sets the scale: 550 units for 0.04 degrees of latitude.
    EXPECT_NEAR(frame.pixelsPerMeter, kMapHeight / (0.04 * kMapMetersPerDegree), 1e-12);
}

TEST(HtmlPreview, ScaleBarsAreRoundLengths) {
    EXPECT_EQ(scaleBarMeters(530.6), 500.0);
    EXPECT_EQ(scaleBarMeters(26653.97), 20000.0);
    EXPECT_EQ(scaleBarMeters(1000.0), 1000.0);
    EXPECT_EQ(scaleBarMeters(4.99), 2.0);
    EXPECT_EQ(scaleBarMeters(1.99), 1.0);
    EXPECT_DOUBLE_EQ(scaleBarMeters(0.3), 0.2);
}

// Across the antimeridian the route is one line from the left edge of the map area (x 40)
// to its right edge (x 920): x = 480 + (longitude - 180) * 880, at the middle height 355.
// Split points are drawn first, under the rest; then the launch point, the last point and
// the waypoints of the file in their order, which is also the order of the numbers.
// The scale bar: a quarter of the map is 26654 m, so 20 km, 165.1 page units long.
TEST(HtmlPreview, AntimeridianRouteMapWhole) {
    WaypointList route;
    fillAntimeridianRoute(route);
    EXPECT_EQ(
        between(html(route, antimeridianTotals()), "<polyline", "</g>\n"),
        "<polyline class=\"route\" points=\"40.0,355.0 260.0,355.0 700.0,355.0 920.0,355.0\"/>\n"
        "<path class=\"dir\" d=\"M40.0 355.0 L150.0 355.0 L260.0 355.0\"/>\n"
        "<path class=\"dir\" d=\"M260.0 355.0 L480.0 355.0 L700.0 355.0\"/>\n"
        "<path class=\"dir\" d=\"M700.0 355.0 L810.0 355.0 L920.0 355.0\"/>\n"
        "<path class=\"split\" d=\"M700.0 350.0 L705.0 355.0 L700.0 360.0 L695.0 355.0 Z\"/>\n"
        "<path class=\"launch\" d=\"M40.0 347.0 L47.0 360.0 L33.0 360.0 Z\"/>\n"
        "<circle class=\"waypoint\" cx=\"920.0\" cy=\"355.0\" r=\"5\"/>\n"
        "<circle class=\"waypoint\" cx=\"260.0\" cy=\"355.0\" r=\"5\"/>\n"
        "<text class=\"label\" x=\"47.0\" y=\"348.0\">0</text>\n"
        "<text class=\"label\" x=\"927.0\" y=\"348.0\">3</text>\n"
        "<text class=\"label\" x=\"267.0\" y=\"348.0\">1</text>\n"
        "<text class=\"label\" x=\"707.0\" y=\"348.0\">2</text>\n"
        "<g class=\"scale\"><path d=\"M40.0 669.0 L40.0 675.0 L205.1 675.0 L205.1 669.0\"/>"
        "<text x=\"213.1\" y=\"679.0\">20 km</text></g>\n");
}

TEST(HtmlPreview, TableOfLegsAndTotalsAsTheCsvGivesThem) {
    WaypointList route;
    fillTwoPointExportRoute(route);
    const std::string text = html(route, twoPointTotals());
    EXPECT_EQ(between(text, "<tbody>", "</p>\n"),
              "<tbody>\n"
              "<tr class=\"launch\"><td>0</td><td class=\"kind\">launch</td><td>36.8153131</td>"
              "<td>-121.8224430</td><td>72.0</td><td>500.0</td><td>650.0</td><td>0.0</td>"
              "<td>0.0</td></tr>\n"
              "<tr class=\"waypoint\"><td>1</td><td class=\"kind\">waypoint</td>"
              "<td>36.8167000</td><td>-121.8171000</td><td>72.0</td><td>1731.1</td>"
              "<td>1731.1</td><td>500.0</td><td>650.0</td></tr>\n"
              "<tr class=\"waypoint\"><td>2</td><td class=\"kind\">waypoint</td>"
              "<td>36.8215000</td><td>-121.7986000</td><td>0.0</td><td>0.0</td><td>0.0</td>"
              "<td>2231.1</td><td>2381.1</td></tr>\n"
              "</tbody>\n</table>\n"
              "<p class=\"totals\">Expected survey line 2231.1 meters<br/>Expected mission time "
              "2381.1 seconds<br/>0 hours 39 minutes</p>\n");
    EXPECT_NE(text.find("<title>Route 2020_189_155.html</title>"), std::string::npos);
    EXPECT_NE(text.find("<p>3 route points: 1 launch, 2 from the waypoint file, 0 split. North "
                        "is up.</p>"),
              std::string::npos);
}

TEST(HtmlPreview, WorksOfflineAndEndsWhole) {
    WaypointList route;
    fillAntimeridianRoute(route);
    const std::string text = html(route, antimeridianTotals());
    EXPECT_EQ(occurrences(text, "http"), 2u); // the XHTML and SVG namespace names only
    EXPECT_NE(text.find("<html xmlns=\"http://www.w3.org/1999/xhtml\""), std::string::npos);
    EXPECT_NE(text.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
    EXPECT_EQ(occurrences(text, "<script"), 0u);
    EXPECT_EQ(occurrences(text, "url("), occurrences(text, "url(#arrow)"));
    EXPECT_EQ(text.substr(text.size() - 16), "</body>\n</html>\n");

    WaypointList empty;
    const std::string none = html(empty, RouteTotals{});
    EXPECT_EQ(occurrences(none, "<polyline"), 0u);
    EXPECT_NE(none.find("<tbody>\n</tbody>"), std::string::npos);
    EXPECT_EQ(none.substr(none.size() - 16), "</body>\n</html>\n");
}

// 601 waypoints 0.001 degrees apart fill the map's 550 units of height: 550 / 600 units
// apart. The first and the last point are marked first; then a symbol needs 3 units from
// every other, so every fourth point has one (0, 4, ..., 596, then 600), and a number needs
// 14 units, so every sixteenth point that has a symbol is numbered (0, 16, ..., 576: 592
// stands 7.3 units from 600), 38 in all.
TEST(HtmlPreview, CrowdedPointsAreMarkedWhereThereIsRoomAndTheTableListsAll) {
    WaypointList route;
    fillStraightRoute(route, 601);
    const std::string text = html(route, RouteTotals{});
    const std::string map = between(text, "<svg", "</svg>");
    EXPECT_EQ(occurrences(map, "<circle class=\"waypoint\""), 151u + 1u); // and the legend's
    EXPECT_EQ(occurrences(text, "<text class=\"label\""), 38u);
    EXPECT_NE(map.find(">576</text>"), std::string::npos);
    EXPECT_EQ(map.find(">592</text>"), std::string::npos);
    EXPECT_NE(map.find(">600</text>"), std::string::npos);
    EXPECT_NE(text.find(" Where points crowd together the map marks or numbers only some of "
                        "them; the table lists them all.</p>"),
              std::string::npos);
    EXPECT_EQ(occurrences(text, "<tr class=\"waypoint\">"), 601u);
    // The legs are 550 / 600 units long: after the first leg's arrow the next stands 66 legs
    // on (the first multiple of a leg past 60 units), legs 0, 66, ..., 594.
    EXPECT_EQ(occurrences(text, "<path class=\"dir\""), 10u + 1u); // and the legend's
}

// Waypoint 1 at 0.01 degrees north of the launch point and the last at 0.02, with 99 split
// points 0.0001 degrees (2.75 units) apart between them. The three chosen points are marked
// and numbered first. A split point then needs 10 units from every symbol: every fourth has
// one (4, 8, ..., 96, counted from waypoint 1), and a number needs 14 units, so every eighth
// is numbered (8, 16, ..., 88; 96 stands 11 units from the last point).
TEST(HtmlPreview, WaypointsOfTheFileComeBeforeSplitPoints) {
    WaypointList route;
    appendNode(route, 0.0, 0.0)->kind = WaypointKind::launch;
    appendNode(route, 0.01, 0.0)->wptNumber = 1;
    for (int k = 1; k <= 99; ++k) {
        WaypointNode* split = appendNode(route, 0.01 + 0.0001 * k, 0.0);
        split->kind = WaypointKind::splitPoint;
        split->wptNumber = 1 + k;
    }
    appendNode(route, 0.02, 0.0)->wptNumber = 101;
    const std::string text = between(html(route, RouteTotals{}), "<svg", "</svg>");
    EXPECT_EQ(occurrences(text, "<path class=\"launch\""), 1u + 1u); // and the legend's
    EXPECT_EQ(occurrences(text, "<circle class=\"waypoint\""), 2u + 1u);
    EXPECT_EQ(occurrences(text, "<path class=\"split\""), 24u + 1u);
    EXPECT_EQ(occurrences(text, "<text class=\"label\""), 3u + 11u);
    for (const char* number : {">0<", ">1<", ">101<", ">9<", ">89<"}) {
        EXPECT_NE(text.find(number), std::string::npos) << number;
    }
    EXPECT_EQ(text.find(">97<"), std::string::npos);
    // Split points are drawn first, so that the waypoints of the file lie on top.
    EXPECT_LT(text.find("<path class=\"split\" d=\"M480.0"), text.find("<circle class="));
}

// Legs of 880 units back and forth across the map, a thousand of them: the arrows stand
// 880000 / 300 units apart, so on every fourth leg (4 * 880 is the first multiple past it
// from the middle of an arrowed leg), 250 in all.
TEST(HtmlPreview, LongRoutesHaveArrowsSpreadOut) {
    WaypointList route;
    for (int i = 0; i <= 1000; ++i) {
        appendNode(route, 0.0, i % 2 == 0 ? 0.0 : 1.0);
    }
    const std::string text = html(route, RouteTotals{});
    EXPECT_EQ(occurrences(text, "<path class=\"dir\""), 250u + 1u);
    EXPECT_NE(text.find("<path class=\"dir\" d=\"M40.0 355.0 L480.0 355.0 L920.0 355.0\"/>"),
              std::string::npos);
}

// A thousand points within a centimetre of the first, then one a degree north: the line
// needs only its two ends, at the bottom and the top of the map area.
TEST(HtmlPreview, PointsOnTheSameSpotAreDrawnOnce) {
    WaypointList route;
    appendNode(route, 0.0, 0.0);
    for (int i = 1; i <= 1000; ++i) {
        appendNode(route, 1e-10 * i, 0.0);
    }
    appendNode(route, 1.0, 0.0);
    EXPECT_EQ(between(html(route, RouteTotals{}), "<polyline", "/>"),
              "<polyline class=\"route\" points=\"480.0,630.0 480.0,80.0\"/>");
}
