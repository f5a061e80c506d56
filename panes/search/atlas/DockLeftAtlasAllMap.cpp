// The all-places layout pane.
#include "panes/search/atlas/DockLeftAtlasAllMap.h"

#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(DockLeftAtlasAllMap, 0, ALayoutPane)

DockLeftAtlasAllMap::DockLeftAtlasAllMap() : AtlasListLayout("DockLeftAtlasAllMap", 1, kListId, 1050, 1051) {}

void DockLeftAtlasAllMap::readFrom(AMemoryStream& stream) {
    ALayoutPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockLeftAtlasAllMap", 40);
}
