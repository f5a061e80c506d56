// The current-map layout pane.
#include "panes/search/atlas/DockLeftAtlasCurrentMap.h"

#include "app/state/AppState.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/search/atlas/DockLeftAtlasPane.h"

SV_IMPLEMENT_CLASS(DockLeftAtlasCurrentMap, 0, ALayoutPane)

DockLeftAtlasCurrentMap::DockLeftAtlasCurrentMap()
    : AtlasListLayout("DockLeftAtlasCurrentMap", 2, kListId, 1060, 1061) {}

void DockLeftAtlasCurrentMap::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockLeftAtlasCurrentMap", 40);
}

bool DockLeftAtlasCurrentMap::wantedOnState(AppState* state) {
    return state->getUserInfo(DockLeftAtlasPane::kRoomPageKey) < 1;
}
