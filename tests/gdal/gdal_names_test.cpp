// Tests of how a name handed to GDAL is classified: only a plain path is a file on disk.
#include "gdal/gdal_names.h"

#include <gtest/gtest.h>
#include <string>

TEST(GdalNames, OnlyPlainPathsAreFiles) {
    using enum GdalNameKind;
    const struct {
        std::string name;
        GdalNameKind kind;
    } cases[] = {
        {"grid.tif", file},
        {"./PG:dbname=x", file}, // the folder first: GDAL opens the file
        {"/data/gebco.nc", file},
        {"data/a:b.tif", file}, // a colon past a folder is part of a file name
        {"grid.v1:2.tif", file},
        {"C:\\grids\\gebco.nc", file}, // a Windows drive
        {"C:/grids/gebco.nc", file},
        {"/vsicurl/http://127.0.0.1/x.tif", virtualFile},
        {"/vsizip/grids.zip/x.tif", virtualFile},
        {"/VSIS3/bucket/x.tif", virtualFile},
        {"\\vsicurl\\x", virtualFile},
        {"http://127.0.0.1/x.tif", url},
        {"WMS:http://127.0.0.1/wms", url},
        {"file:///etc/passwd", url},
        {"PG:dbname=x host=127.0.0.1", connection},
        {"MySQL:db,host=127.0.0.1", connection},
        {"NETCDF:\"gebco.nc\":elevation", connection},
        {"ESRI Shapefile:x", connection},
        {"C:x", connection}, // no separator after the letter: a driver named C
        {":x", connection},
        {"", connection},
        {std::string("grid.tif\0.vrt", 13), connection},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(classifyGdalName(c.name), c.kind) << c.name;
        EXPECT_EQ(gdalNameRefusal(c.name).empty(), c.kind == file) << c.name;
    }
    EXPECT_EQ(gdalNameRefusal("PG:host=x\x1b[2J"),
              "a GDAL connection string (PG:), not a file on disk; tavra connects to no database "
              "or server");
}
