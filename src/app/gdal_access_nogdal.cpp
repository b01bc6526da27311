// A build without GDAL opens nothing through it: there is nothing to set.
#include "app/gdal_access.h"

void setGdalAccess(const CommandLine&) {}
