// The base marker callback.
#include "docengine/hilite/AMarkerCallBack.h"

#include <cstdio>

#include "docengine/model/AHiliteRangeMap.h"
#include "framework/app/AApp.h"

namespace {

void ShowMarkerBox(const char* what, long value) {
    AApp* app = AApp::current();
    if (!app)
        return;
    char text[64];
    snprintf(text, sizeof text, "%s%02ld", what, value);
    app->messageBox(text, "Application callback", 0, nullptr);
}

}  // namespace

long AMarkerCallBack::newMarker(AHiliteRangeMap* map, long) {
    return map ? map->count() : 0;
}

void AMarkerCallBack::editMarker(long value) {
    ShowMarkerBox("Edition du postit :", value);
}

void AMarkerCallBack::deleteMarker(long value) {
    ShowMarkerBox("Suppression du postit :", value);
}
