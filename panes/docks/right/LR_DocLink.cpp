// The linked-document list: its keys and header picture.
#include "panes/docks/right/LR_DocLink.h"

#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(LR_DocLink, 0, LRExtPane)

LR_DocLink::LR_DocLink() {
    selFirstKey = 2050;
    selLastKey = 2051;
}

void LR_DocLink::readFrom(AMemoryStream& stream) {
    LRExtPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "LR_DocLink", 30);
}

void LR_DocLink::updatePane() {
    LRExtPane::updatePane();
    setIcon(kIcon);
}
