// Exact numbers, escaping and wrapped longitudes of the exports.
#include "output/export_common.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

std::string exact(double value) {
    std::string text;
    appendExact(text, value);
    return text;
}

} // namespace

TEST(ExportCommon, NumbersAreShortestExactAndNeverInExponentForm) {
    EXPECT_EQ(exact(36.8167), "36.8167");
    EXPECT_EQ(exact(-121.82244295225705), "-121.82244295225705");
    EXPECT_EQ(exact(500.0), "500");
    EXPECT_EQ(exact(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(exact(-0.0), "-0");
    EXPECT_EQ(exact(1e-7), "0.0000001");
    EXPECT_EQ(exact(1e21), "1000000000000000000000");
    const std::string tiny = exact(std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(tiny.size(), 2u + 324u); // "0." and 323 zeros before the 5
    EXPECT_EQ(tiny.back(), '5');
    EXPECT_EQ(exact(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(exact(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(exact(std::numeric_limits<double>::quiet_NaN()), "nan");
}

TEST(ExportCommon, EscapesEveryMarkupCharacter) {
    std::string text = "x";
    appendXmlEscaped(text, "a<b>&\"c'd");
    EXPECT_EQ(text, "xa&lt;b&gt;&amp;&quot;c&#39;d");
    text.clear();
    appendXmlEscaped(text, "2020_189_155.kml");
    EXPECT_EQ(text, "2020_189_155.kml");
}

TEST(ExportCommon, LongitudesWrapIntoTheHalfOpenRange) {
    // In range: untouched, bit for bit.
    EXPECT_EQ(wrappedLongitude(-121.82244295225705), -121.82244295225705);
    EXPECT_EQ(wrappedLongitude(-180.0), -180.0);
    EXPECT_EQ(wrappedLongitude(179.99999999999997), 179.99999999999997);
    // Out of range: the same meridian, exact for these binary fractions.
    EXPECT_EQ(wrappedLongitude(180.0), -180.0);
    EXPECT_EQ(wrappedLongitude(180.25), -179.75);
    EXPECT_EQ(wrappedLongitude(-180.5), 179.5);
    EXPECT_EQ(wrappedLongitude(540.0), -180.0);
    EXPECT_EQ(wrappedLongitude(719.75), -0.25);
    EXPECT_EQ(wrappedLongitude(-900.0), -180.0);
    const double huge = wrappedLongitude(1e308);
    EXPECT_TRUE(huge >= -180.0 && huge < 180.0) << huge;
    EXPECT_TRUE(std::isnan(wrappedLongitude(std::numeric_limits<double>::quiet_NaN())));
}
