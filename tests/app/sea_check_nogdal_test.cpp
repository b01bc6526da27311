// Tests of a build without GDAL: a run that asks for a sea check hears that there are none.
#include "app/sea_check.h"

#include <gtest/gtest.h>

TEST(SeaCheck, ABuildWithoutGdalSaysItHasNoSeaChecks) {
    EXPECT_TRUE(prepareSeaChecks(CommandLine{}, nullptr).ok);
    for (int option = 0; option < 3; ++option) {
        CommandLine commandLine;
        if (option == 0) {
            commandLine.bathymetry = "gebco.nc";
        } else if (option == 1) {
            commandLine.keepOut = {"land.json"};
        } else {
            commandLine.opRegion = "permit.kml";
        }
        const SeaPreparation preparation = prepareSeaChecks(commandLine, nullptr);
        EXPECT_FALSE(preparation.ok);
        EXPECT_EQ(preparation.error, "*** this build of tavra has no sea checks: --bathymetry, "
                                     "--keepOut and --opRegion need GDAL ***");
    }
}
