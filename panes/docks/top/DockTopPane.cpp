// The top dock: the main window's refresh reaches it through SVPane.
#include "panes/docks/top/DockTopPane.h"

#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(DockTopPane, 0, SVPane)

void DockTopPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockTopPane", 14);
}
