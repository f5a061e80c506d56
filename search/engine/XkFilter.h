// The descriptor area's header under the path the reader's code still names.
#pragma once

#include "search/engine/descriptor/XkFilter.h"
