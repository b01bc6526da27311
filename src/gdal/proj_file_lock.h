// PROJ's files narrowed to its own data: a coordinate system in an input that names a grid
// file elsewhere, or a pipe, is not opened, and PROJ writes nothing.
#pragma once

// Finds PROJ's folders of data and locks PROJ's default context, once; every context made
// after (GDAL makes its own, one per thread) is locked as it is made. A locked context opens
// only plain files in PROJ's folders of data.
void lockProjFiles();
