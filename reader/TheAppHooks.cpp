// The application object's answers to the main window's hooks that act on its
// panes: the note of the tool bar, the page titles of the history rows, the
// filter-level picture and the result-list export.
#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "panes/content/article/DocKycfPane.h"

DocKycfPane* TheApp::shownArticle(Frame1& frame) {
    SVPane* pane = frame.paneSlots().docPane2;
    AComponent* found = pane ? pane->findDescendant(&DocKycfPane::classRecord, nullptr) : nullptr;
    if (!found && pane)
        found = pane;
    if (!found)
        found = frame.findDescendant(&DocKycfPane::classRecord, nullptr);
    return found ? static_cast<DocKycfPane*>(found->castTo(&DocKycfPane::classRecord)) : nullptr;
}

void TheApp::addNoteToArticle(Frame1& frame) {
    // The article's note callback opens "Mes notes" on the note it adds.
    if (DocKycfPane* article = shownArticle(frame))
        article->addNote();
}

void TheApp::showTextPosition(long position) {
    Frame1* frame = getFrame();
    if (!frame)
        return;
    // The document just asked for is laid out before the place is looked for.
    flushUpdates();
    if (DocKycfPane* article = shownArticle(*frame))
        article->goToPosition(position);
}

AString TheApp::webPageTitle(long docNo) {
    if (!docNet_ || docNo < 0)
        return AString();
    // An entry is "address;title": the title is the one stored for the address.
    std::string entry = docNet_->getEntry(docNo).c_str();
    return docNet_->getTitle(entry.substr(0, entry.find(';')).c_str());
}

int16_t TheApp::filterLevel() {
    return netInfo_ ? netInfo_->getFilterLevel() : 0;
}
