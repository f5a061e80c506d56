// The installations' base-descriptor tables: 18 entries for a single-disc
// installation, 25 for the CD set (whose bases may lie on any disc).
#pragma once

#include "app/data/ADataManager.h"

const BaseDescriptor* SingleDiscBaseTable();
const BaseDescriptor* CDSetBaseTable();
