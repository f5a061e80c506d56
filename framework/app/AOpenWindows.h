// Windows loaded under a component take their id in its nearest cluster, so a
// second copy of a window already open there would repeat that id.
#pragma once
#include <cstdint>

class AClass;
class AComponent;
class AWindow;

// The window of class cls already open with this id where a window loaded
// under parent takes its id, selected (brought to the front); null when none.
AWindow* SelectOpenWindow(AComponent* parent, int16_t id, const AClass* cls);
