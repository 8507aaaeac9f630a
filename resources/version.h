// The version of Plimsett, named once. The version resource (plimsett.rc)
// takes it from here, scripts/dist reads PLIMSETT_VERSION_TEXT for the names
// of the release zips, and the version dialog shows it.
//
// Read by windres and by C++ alike: plain #defines only, each on one line.
#pragma once

#define PLIMSETT_VERSION_TEXT "1.08h"

// The same version as the four numbers of FILEVERSION and PRODUCTVERSION.
#define PLIMSETT_VERSION_MAJOR 1
#define PLIMSETT_VERSION_MINOR 8
#define PLIMSETT_VERSION_PATCH 0
#define PLIMSETT_VERSION_BUILD 0
