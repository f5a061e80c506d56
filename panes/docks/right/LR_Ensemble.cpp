// The set list: its rows from the set record and the members' records.
#include "panes/docks/right/LR_Ensemble.h"

#include <new>
#include <string>

#include "app/lines/StandardLineGetter.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/docks/right/ARightDockApp.h"
#include "panes/docks/right/RightDockText.h"

SV_IMPLEMENT_CLASS(LR_Ensemble, 0, LRExtPane)

LR_Ensemble::LR_Ensemble() {
    selFirstKey = 2010;
    selLastKey = 2011;
}

void LR_Ensemble::readFrom(AMemoryStream& stream) {
    LRExtPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "LR_Ensemble", 40);
}

void LR_Ensemble::updatePane() {
    LRExtPane::updatePane();
    setIcon(kIcon);
}

AString LR_Ensemble::makeHeadingRow(const char* title, const char* number) {
    AString escaped = ARightDockApp::current().escapeMarkup(title, kRowLabelEscapes);
    return AString(HeadingRow(escaped.c_str(), number ? number : "").c_str());
}

AString LR_Ensemble::formatDocumentRow(const char* title, long docNo, const char* info) {
    std::string label = title ? title : "";
    label.erase(0, label.find_first_not_of('\t') == std::string::npos ? label.size() : label.find_first_not_of('\t'));
    std::string link = PieceOf(info ? info : "", '\t', 0);
    // A link name that is no document number would open the wrong document.
    if (NumberOr(link, -1) < 0)
        link = std::to_string(docNo);
    long style = NumberOr(PieceOf(info ? info : "", '\t', 1), 0) + 4;
    AString escaped = ARightDockApp::current().escapeMarkup(label.c_str(), kRowLabelEscapes);
    return AString(MemberRow(style, escaped.c_str(), link).c_str());
}

AString LR_Ensemble::buildRows(const char* record) {
    ARightDockApp& app = ARightDockApp::current();
    std::string rows;
    for (const std::string& line : SplitText(record ? record : "", "\r\n")) {
        if (line.empty())
            continue;
        std::string title = PieceOf(line, '#', 0), number = PieceOf(line, '#', 1);
        long doc = NumberOr(number, -1);
        if (number.empty() || doc < 0) {
            rows += makeHeadingRow(title.c_str(), number.c_str()).c_str();
        } else {
            AString info = app.getRecordText(ARightDockApp::kInfoBase, ARightDockApp::kTitleTable, doc);
            rows += formatDocumentRow(title.c_str(), doc, info.c_str()).c_str();
        }
        rows += "\n";
    }
    return AString(rows.c_str());
}

void LR_Ensemble::loadListHook(long n) {
    AString rows = buildRows(
        ARightDockApp::current().getRecordText(ARightDockApp::kGlobalBase, ARightDockApp::kSetTable, n).c_str());
    auto* getter = CheckAlloc(new (std::nothrow) BufferedLineGetter(rows.c_str(), -1), "LR_Ensemble", 95);
    setLineGetter(getter);
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr) {
        renderer->setSourceModel(getter, nullptr);
        renderer->enableTables('*');
    }
    restoreSelection();
    showSelection();
}
