// What GDAL may reach in this run, set once at its start.
#include "app/gdal_access.h"
#include "gdal/gdal_gate.h"
#include "gdal/gdal_setup.h"

void setGdalAccess(const CommandLine& commandLine) {
    lockGdalNetwork();
    allowGdalVrt(commandLine.allowVrt);
}
