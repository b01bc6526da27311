// PROJ's files narrowed to its own data: a coordinate system in an input that names a grid
// file elsewhere, or a pipe, is not opened, and PROJ writes nothing.
#pragma once

// Puts the lock on PROJ's default context, once, before GDAL makes the contexts it uses
// (they start as copies of it): PROJ opens only plain files in its own folders of data.
void lockProjFiles();
