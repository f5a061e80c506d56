// The theme list: the tree of a theme record and its rows.
#include "panes/docks/right/LR_Theme.h"

#include <new>

#include "app/lists/AListApp.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/docks/right/ARightDockApp.h"
#include "panes/docks/right/ASVThmRightLineGetter.h"
#include "panes/docks/right/RightDockText.h"

SV_IMPLEMENT_CLASS(LR_Theme, 0, LRExtPane)

LR_Theme::LR_Theme() {
    selFirstKey = 2040;
    selLastKey = 2041;
}

void LR_Theme::readFrom(AMemoryStream& stream) {
    LRExtPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "LR_Theme", 30);
}

void LR_Theme::updatePane() {
    LRExtPane::updatePane();
    setIcon(kIcon);
}

std::string LR_Theme::buildTree(const char* record, std::map<long, std::string>* labels) {
    ARightDockApp& app = ARightDockApp::current();
    std::string tree;
    std::vector<std::string> lines = SplitText(record ? record : "", "\r\n");
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty())
            continue;
        long group = static_cast<long>(i) + 1;
        (*labels)[group] = PieceOf(lines[i], '#', 0) + "#-1";
        if (!tree.empty())
            tree += ",";
        tree += "-" + std::to_string(group);
        std::string reference = PieceOf(lines[i], '#', 1);
        long t = NumberOr(PieceOf(reference, ':', 0), 0), r = NumberOr(PieceOf(reference, ':', 1), -1);
        if (r < 0)
            continue;
        std::string list = app.getLinkRecord(static_cast<int16_t>(t), r).c_str();
        size_t first = list.find(':');
        size_t second = first == std::string::npos ? first : list.find(':', first + 1);
        if (second == std::string::npos)
            continue;
        for (const std::string& doc : SplitText(list.substr(second + 1), ","))
            if (NumberOr(doc, -1) >= 0)
                tree += "," + doc;
    }
    return tree;
}

void LR_Theme::loadListHook(long n) {
    std::map<long, std::string> labels;
    std::string tree = buildTree(
        ARightDockApp::current().getRecordText(ARightDockApp::kGlobalBase, ARightDockApp::kThemeTable, n).c_str(),
        &labels);
    auto* lines = CheckAlloc(new (std::nothrow) ASVThmRightLineGetter(tree.c_str(), ','), "LR_Theme", 70);
    lines->setLabels(std::move(labels));
    ARefHold<ASVThmRightLineGetter> holdLines(lines);
    auto* rows = CheckAlloc(new (std::nothrow) ASVThemeExtLineGetter(lines), "LR_Theme", 73);
    rows->setOption(1);
    setLineGetter(rows);
    ARenderer* renderer = listView ? listView->renderer() : nullptr;
    if (renderer) {
        renderer->setSourceModel(rows, nullptr);
        renderer->enableTables('*');
    }
    restoreSelection();
    showSelection();
    if (selLast >= 0 && listView)
        AListApp::current().centerListLine(listView, selFirst, selLast);
}
