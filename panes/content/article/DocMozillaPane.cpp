// The browser document container: shown for every document part but a text's.
#include "panes/content/article/DocMozillaPane.h"

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/content/article/DockLCRPane.h"

SV_IMPLEMENT_CLASS(DocMozillaPane, 0, SVPane)

void DocMozillaPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DocMozillaPane", 30);
}

void DocMozillaPane::attachItems() {
    SVPane::attachItems();
    getFrame()->setBrowserDocPane(this);
    switcher_ = CheckAlloc(DockLCRPane::around(this), "DocMozillaPane", 55);
}

void DocMozillaPane::setUpItems() {
    SVPane::setUpItems();
    for (int i = 0; i < 2; ++i) {
        AClusterItem* item = findItem(static_cast<int16_t>(1245 + i), false);
        items_[i] = CheckAlloc(item ? static_cast<AStaticItem*>(item->castTo(&AStaticItem::classRecord)) : nullptr,
                               "DocMozillaPane", 64);
        // Frames only: erasing would paint over the panes of the other frame.
        items_[i]->setTransparentFlag(true);
    }
}

int16_t DocMozillaPane::isPaneWanted() {
    ADocState* doc = docState();
    return doc && doc->fDocType != 0;
}

void DocMozillaPane::setPaneVisible(int16_t visible) {
    SVPane::setPaneVisible(visible);
    for (SVPane* pane : ASVPaneList(this)) {
        if (!pane)
            ThrowAssert("DocMozillaPane", 100);
        pane->setPaneVisible(visible);
    }
}

void DocMozillaPane::updatePane() {
    ADocState* doc = docState();
    SVPane::updatePane();
    if (doc)
        doc->clearFlags();
}
