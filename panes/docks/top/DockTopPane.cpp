// The top dock: registers with the main window, whose refresh reaches it.
#include "panes/docks/top/DockTopPane.h"

#include "app/frame/Frame1.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(DockTopPane, 0, SVPane)

void DockTopPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockTopPane", 14);
}

void DockTopPane::attachItems() {
    SVPane::attachItems();
    getFrame()->setDockPane(this);
}
