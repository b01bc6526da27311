// GDAL made ready for the process: no network, no files written beside the input, and
// only the drivers tavra uses.
#pragma once

// Turns GDAL's and PROJ's network off and sets GDAL's configuration; done once, cheap, and
// called by the app at start whatever the run reads.
void lockGdalNetwork();

// lockGdalNetwork, then registers the drivers tavra uses and no other. Safe to call before
// every use; the work is done on the first call.
void prepareGdal();
