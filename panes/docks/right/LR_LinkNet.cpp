// The web-link list: its one row and the links page it opens.
#include "panes/docks/right/LR_LinkNet.h"

#include <cstring>
#include <new>
#include <string>

#include "app/lines/StandardLineGetter.h"
#include "app/lists/AListApp.h"
#include "docengine/render/ARenderer.h"
#include "docengine/render/ARendererViews.h"
#include "framework/components/ALayoutLoader.h"
#include "panes/docks/right/ARightDockApp.h"
#include "panes/docks/right/RightDockText.h"

SV_IMPLEMENT_CLASS(LR_LinkNet, 0, LRExtPane)

namespace {

const long kLinkHit = 3;

}  // namespace

LR_LinkNet::LR_LinkNet() {
    selFirstKey = 2020;
    selLastKey = 2021;
}

void LR_LinkNet::readFrom(AMemoryStream& stream) {
    LRExtPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "LR_LinkNet", 40);
}

void LR_LinkNet::updatePane() {
    LRExtPane::updatePane();
    setIcon(kIcon);
}

AString LR_LinkNet::makeLinkRow(const char* label, const char* key, long width) {
    std::string row = "/&TABLE:100%:N0:[[-20,0,0,0,0:0|/!" + std::to_string(19 + 4) + "!/*";
    row += std::to_string(width) + ",0,0,0,0:0|";
    row += ARightDockApp::current().escapeMarkup(label, kRowLabelEscapes).c_str();
    row += "]]&/#@";
    row += key ? key : "";
    return AString(row.c_str());
}

void LR_LinkNet::loadList(const char* key) {
    if (!key || !*key || std::strcmp(key, " ") == 0)
        return;
    ARightDockApp& app = ARightDockApp::current();
    AString row = makeLinkRow(app.getMessage("LINKNET_LIBEL").c_str(), key, 100);
    // One row, as the family's lists hold theirs: the list's selection reads its line count.
    auto* getter = CheckAlloc(new (std::nothrow) BufferedLineGetter(row.c_str(), -1), "LR_LinkNet", 70);
    setLineGetter(getter);
    if (ARenderer* renderer = listView ? listView->renderer() : nullptr) {
        AListApp::setRowSpacing(renderer, 15, 5);
        renderer->setSourceModel(getter, nullptr);
        renderer->enableTables('*');
    }
    restoreSelection();
    showSelection();
}

void LR_LinkNet::selectionChanged(ARenderer* renderer) {
    if (!renderer || renderer->getHitKind() != kLinkHit)
        return;
    AString name = renderer->getHitName();
    if (name.empty() || name.c_str()[0] != '@')
        return;
    if (dock)
        dock->collapseOthers(this);
    ARightDockApp::current().openLinkComplements(name.c_str() + 1);
    queueUpdate(0);
}
