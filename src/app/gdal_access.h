// What GDAL may reach in this run, set once at its start: the network never, a VRT only
// with --allowVrt. Built with GDAL (gdal_access_gdal.cpp) or without (nothing to set).
#pragma once

#include "app/options.h"

void setGdalAccess(const CommandLine& commandLine);
