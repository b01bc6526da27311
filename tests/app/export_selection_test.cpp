// The --export list: the names it takes, and the refusals that end a run before any file.
#include "app/export_selection.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string asLetters(const ExportChoice& choice) {
    const ExportSelection& s = choice.selection;
    return std::string(s.geojson ? "j" : "-") + (s.kml ? "k" : "-") + (s.gpx ? "g" : "-") +
           (s.html ? "h" : "-");
}

const std::string kChoices = " (choose from geojson, kml, gpx, html, lines-csv, all) ***\n";

} // namespace

TEST(ExportSelection, NamesSelectTheirFormats) {
    EXPECT_EQ(asLetters(parseExportList(std::nullopt)), "----");
    EXPECT_EQ(asLetters(parseExportList("geojson")), "j---");
    EXPECT_EQ(asLetters(parseExportList("kml")), "-k--");
    EXPECT_EQ(asLetters(parseExportList("gpx")), "--g-");
    EXPECT_EQ(asLetters(parseExportList("html")), "---h");
    EXPECT_EQ(asLetters(parseExportList("all")), "jkgh");
    EXPECT_EQ(asLetters(parseExportList("html,kml")), "-k-h");
    // Repeats, any case and blanks around a name are taken as meant.
    EXPECT_EQ(asLetters(parseExportList("gpx,all,gpx")), "jkgh");
    EXPECT_EQ(asLetters(parseExportList(" GeoJSON ,\tKml")), "jk--");
    EXPECT_TRUE(parseExportList("html,kml").refusal.empty());
}

TEST(ExportSelection, UnknownAndEmptyNamesRefuseTheWholeList) {
    const ExportChoice unknown = parseExportList("geojson,xyz,kml");
    EXPECT_EQ(unknown.refusal, "*** UNKNOWN EXPORT FORMAT \"xyz\"" + kChoices);
    EXPECT_EQ(asLetters(unknown), "----");
    EXPECT_EQ(parseExportList("json").refusal, "*** UNKNOWN EXPORT FORMAT \"json\"" + kChoices);
    EXPECT_EQ(parseExportList("geo json").refusal,
              "*** UNKNOWN EXPORT FORMAT \"geo json\"" + kChoices);

    EXPECT_EQ(parseExportList("").refusal, "*** MISSING EXPORT FORMAT IN \"\"" + kChoices);
    EXPECT_EQ(parseExportList("kml,").refusal, "*** MISSING EXPORT FORMAT IN \"kml,\"" + kChoices);
    const ExportChoice gap = parseExportList("kml, ,gpx");
    EXPECT_EQ(gap.refusal, "*** MISSING EXPORT FORMAT IN \"kml, ,gpx\"" + kChoices);
    EXPECT_EQ(asLetters(gap), "----");
}

TEST(ExportSelection, RefusalsShowTheNameSafely) {
    EXPECT_EQ(parseExportList("k\x1b[2Jml").refusal,
              "*** UNKNOWN EXPORT FORMAT \"k?[2Jml\"" + kChoices);
    const std::string runaway(200, 'x');
    EXPECT_EQ(parseExportList(runaway).refusal,
              "*** UNKNOWN EXPORT FORMAT \"" + std::string(80, 'x') + "...\"" + kChoices);
}
