// The base-descriptor table of the sample encyclopedia's installation, until
// the application's data manager brings the installations' own tables.
#pragma once

#include "app/data/ADataManager.h"

// Fourteen entries at the indexes the screens name (1 the full-text base, 3
// the index base, 4 LINKS, ..., 13 HDFILES). The sample has the bases TEXT and
// HDFILES: the other entries name bases it lacks, which open as none.
const BaseDescriptor* SampleBaseTable();
