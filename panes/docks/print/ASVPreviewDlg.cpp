// The reader's print preview.
#include "panes/docks/print/ASVPreviewDlg.h"

#include <string>

#include "base/procedural/AError.h"
#include "framework/clusters/AStaticItem.h"
#include "panes/docks/print/ASVPrintOptionsDlg.h"

SV_IMPLEMENT_CLASS(ASVPreviewDlg, 0, APreviewDlg)

void ASVPreviewDlg::setUpItems() {
    APreviewDlg::setUpItems();
    AComponent* found = findById(kPageLabel, 0);
    label_ = CheckAlloc(found ? static_cast<AStaticText*>(found->castTo(&AStaticText::classRecord)) : nullptr,
                        "appclass", 410);
    setMargins(APoint(10, 10));
    setBackground(RGB(0xC0, 0xC0, 0xC0));
    for (int16_t id : {kPageLabel, kWholePageBox})
        if (auto* item = dynamic_cast<ADisplayComponent*>(findById(id, 0)))
            item->setOffscreen(true, false);
    countPages();
    // The check box starts checked: the view starts on the whole page to match it.
    setZoom(-1);
    goToPage(0, 0);
}

void ASVPreviewDlg::detachItems() {
    label_ = nullptr;
    APreviewDlg::detachItems();
}

void ASVPreviewDlg::bindActions() {
    APreviewDlg::bindActions();
    addAction(kWholePageBox, this, kWholePageBox, nullptr);
}

ACommand* ASVPreviewDlg::doCommand(int16_t id, long argument) {
    switch (id) {
    case kPrintCommand:
        perform(APreviewDlg::doCommand(id, argument));
        return closeWindow();
    case kWholePageBox:
        toggleWholePage();
        return noChangeCommand();
    default:
        return APreviewDlg::doCommand(id, argument);
    }
}

int16_t ASVPreviewDlg::commandStatus(int16_t id, long argument) {
    switch (id) {
    case kOptionsCommand:
        return 1;
    case kWholePageBox:
        return wholePage_ ? 5 : 1;
    default:
        return APreviewDlg::commandStatus(id, argument);
    }
}

long ASVPreviewDlg::frameChanged(const APoint& size) {
    // The whole-page word stays: the check box keeps what the reader chose last.
    if (view())
        setZoom(-1);
    return APreviewDlg::frameChanged(size);
}

void ASVPreviewDlg::pageShown(int16_t number) {
    if (!label_)
        return;
    std::string text = "Page " + std::to_string(number) + " sur " + std::to_string(pageCount());
    label_->setText(text.c_str());
}

AString ASVPreviewDlg::pageLabel() const {
    return label_ ? label_->getText() : AString();
}

void ASVPreviewDlg::toggleWholePage() {
    if (zoom() == 100) {
        setZoom(-1);
        wholePage_ = 1;
    } else {
        setZoom(100);
        wholePage_ = 0;
    }
    RequestItemUpdate(this);
}
