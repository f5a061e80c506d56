// What the atlas panes ask of the application object beyond the centre
// views' services: the place-name index, a map's size ("w:h") and its place
// list (table 7 of the maps base), and the target text a map name is
// registered under. The application installs its own; without one the
// default finds nothing (tests install theirs).
//
// Not owned by the panes.
#pragma once

#include "base/object/AString.h"

class AKeyIndex;

class AAtlasApp {
public:
    virtual ~AAtlasApp() = default;
    // The installed one, else the default.
    static AAtlasApp& current();
    // Null puts the default back.
    static void install(AAtlasApp* app);

    // The index registered under key; the caller deletes it. Null when the
    // installation has none.
    virtual AKeyIndex* openIndex(const char* key);
    // The map's width and height; false (0, 0) without them.
    virtual bool getDocDimensions(long docNo, long* width, long* height) {
        (void)docNo;
        *width = *height = 0;
        return false;
    }
    // The record numbers of the map's places (separated by ',' or ':'), empty when none.
    virtual AString placeList(long mapDoc);
    // The target text registered under a map name ("place_map"), empty when none.
    virtual AString getMapFsText(const char* name);
};
