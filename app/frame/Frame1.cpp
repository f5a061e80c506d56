// The main window: its tool bar, its commands and their statuses, the
// tool-bar menus' data, and the panes active for printing and export.
#include "app/frame/Frame1.h"

#include <cstdlib>

#include "app/frame/AFrameServices.h"
#include "app/frame/APopupTreeCallBackHisto.h"
#include "app/frame/APopupTreeCallBackMenu.h"
#include "app/frame/SVPane.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/export/AExportOptions.h"
#include "docengine/styles/AStyleSheet.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "framework/app/AApp.h"
#include "framework/app/AppServices.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/AComponent.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "framework/display/ASizerGroup.h"
#include "framework/printing/APrinterOptions.h"

SV_IMPLEMENT_CLASS(Frame1, 0, AWindow)

namespace {

// The tooltips of the tool bar: entry of string list 6007 by item id.
const int16_t kTooltipList = 6007;
struct Tooltip {
    int16_t id;
    int16_t entry;
};
const Tooltip kTooltips[] = {{1040, 13}, {1041, 14}, {1042, 15}, {1043, 16}, {1044, 17}, {1045, 18},
                             {1046, 19}, {1047, 20}, {1048, 36}, {1049, 37}, {3017, 27}, {3125, 29},
                             {3126, 30}};
const int16_t kStaticIds[] = {1015, 1016, 1200};
// The buttons kept, in buttons_ order.
const int16_t kButtonIds[] = {1040, 1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048, 1049};
// The buttons whose popup menus are data records 0 to 3 of table 1 of base 0.
const int16_t kMenuButtons[] = {1041, 1042, 1046, 1047};
// The commands bound from the frame to itself.
const int16_t kBoundIds[] = {1015, 1040, 1041, 1042, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 3125, 3126, 3017};

const int16_t kStatusEnabled = 1;
const int16_t kStatusDisabled = 2;

int16_t Status(bool enabled) {
    return enabled ? kStatusEnabled : kStatusDisabled;
}

bool IsShown(SVPane* pane) {
    return pane && (pane->displayFlags() & ADisplayComponent::kShown);
}

}  // namespace

Frame1::Frame1() = default;

Frame1::~Frame1() {
    // detachItems released the chain; a frame destroyed without detaching
    // (a failed load) still frees what it owns.
    deleteChain();
}

void Frame1::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "frame1", 70);
}

template <class T>
T* Frame1::findTool(int16_t id, long line) {
    AClusterItem* item = findItem(id, false);
    return CheckAlloc(item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr, "frame1", line);
}

void Frame1::attachItems() {
    AWindow::attachItems();
    gPartPaneHooks.isPaneWanted = [](APane* pane) {
        auto* p = static_cast<SVPane*>(pane->castTo(&SVPane::classRecord));
        return !p || p->isPaneWanted() != 0;
    };
    gPartPaneHooks.setPaneVisible = [](APane* pane, int16_t visible) {
        if (auto* p = static_cast<SVPane*>(pane->castTo(&SVPane::classRecord)))
            p->setPaneVisible(visible);
    };
    loadMenuTexts();
}

void Frame1::setUpItems() {
    AWindow::setUpItems();
    for (int i = 0; i < 3; ++i) {
        statics_[i] = findTool<AStaticItem>(kStaticIds[i], 94);
        statics_[i]->setTransparent(true);
        statics_[i]->setEraseBackground(false);
    }
    for (int i = 0; i < 10; ++i)
        buttons_[i] = findTool<AIconButton>(kButtonIds[i], 99);
    connectImage_ = findTool<AStaticImage>(1050, 100);
    filterImage_ = findTool<AStaticImage>(1051, 101);
    for (const Tooltip& t : kTooltips) {
        AString text;
        auto* button = findTool<AClusterItem>(t.id, 104);
        button->setHelpText(GetListString(text, kTooltipList, t.entry).c_str(), 0);
        // A command unavailable here greys its button: the bar keeps its places.
        button->clearItemFlags(AClusterItem::kShownByState);
        button->setVisible(true);
    }
    statusText_ = findTool<AStaticText>(1295, 107);
    // Only the frame's own child: a sizer group deeper down (a browser pane's
    // bars) belongs to its pane, and hiding it as progress would hide that pane's parts.
    sizerGroup_ = nullptr;
    for (ALink* link = children().firstLink(); link != children().sentinel() && !sizerGroup_; link = link->next) {
        if (ChildOf(link)->isKindOf(&ASizerGroup::classRecord))
            sizerGroup_ = static_cast<ASizerGroup*>(ChildOf(link)->castTo(&ASizerGroup::classRecord));
    }
    hideProgress();
    long lines = std::atol(FrameServices().configString("MAX_EXPORT_LIST").c_str());
    maxExportLines_ = lines > 0 ? lines : 100;
    fillPaneSlots();
}

namespace {

// The pane of the id at any depth of panes below the component, or null.
SVPane* NestedPane(AComponent* component, int16_t id) {
    for (SVPane* pane : ASVPaneList(component)) {
        if (pane->id() == id)
            return pane;
        if (SVPane* found = NestedPane(pane, id))
            return found;
    }
    return nullptr;
}

}  // namespace

void Frame1::fillPaneSlots() {
    // The content layout 1002 holds the panes the parts of a state go to.
    AClusterItem* item = findItem(1002, false);
    auto* content = item ? static_cast<AItemCluster*>(item->castTo(&AItemCluster::classRecord)) : nullptr;
    auto pane = [content](int16_t id) -> SVPane* {
        AClusterItem* c = content ? content->findItem(id, false) : nullptr;
        SVPane* found = c ? static_cast<SVPane*>(c->castTo(&SVPane::classRecord)) : nullptr;
        // Panes inside panes (the reading screen's docks) are in their own clusters.
        return found || !content ? found : NestedPane(content, id);
    };
    // A slot a pane registered itself in while attaching is kept when the
    // content layout has no pane of that id.
    auto fill = [&pane](SVPane*& slot, int16_t id) {
        if (SVPane* found = pane(id))
            slot = found;
    };
    fill(slots_.leftPane, 1202);
    fill(slots_.rightPane, 1205);
    fill(slots_.docPane1, 1203);
    fill(slots_.docPane2, 1201);
    fill(slots_.docPane3, 1204);
    fill(slots_.editPane, 1206);
}

void Frame1::detachItems() {
    deleteChain();
    releaseMediaTempFile();
    freeMenuTexts();
    for (SVPane** p : {&activePrintPane_, &activeExportPane_, &activeListPane_})
        setActive(*p, nullptr);
    releaseOptionFiles();
    AWindow::detachItems();
}

void Frame1::bindActions() {
    AWindow::bindActions();
    for (int16_t id : kBoundIds)
        addAction(id, this, id, ownActionTable());
}

void Frame1::loadMenuTexts() {
    for (int i = 0; i < 4; ++i)
        menuTexts_[kMenuButtons[i]] = FrameServices().menuRecordText(i);
}

AString Frame1::menuText(int16_t buttonId) const {
    auto it = menuTexts_.find(buttonId);
    return it == menuTexts_.end() ? AString() : it->second;
}

void Frame1::makeMenuParams(PopupTreeParams& params, int16_t style) {
    AStyleSheetSet* sheets = FrameServices().styleSheets();
    AStyleSheet* sheet = sheets ? sheets->getSheet(style) : nullptr;
    if (!sheet)
        ThrowAssert("frame1", 152);
    params = PopupTreeParams(sheet, sheet->getColor(2), sheet->getColor(2), sheet->getColor(3), sheet->getColor(1),
                             sheet->getColor(0), 15, 5, sheet->getColor(0), " /5", "/5");
}

ACommand* Frame1::doCommand(int16_t id, long argument) {
    switch (id) {
    case 1015:
        return noChangeCommand();
    case 1040:
        doMenuAction(0, 0);
        return noChangeCommand();
    case 1041:
    case 1042:
    case 1046:
    case 1047:
        showMenuPopup(id, findTool<AIconButton>(id, 175), 0, 1);
        return noChangeCommand();
    case 1043:
        goBack(1);
        return noChangeCommand();
    case 1044:
        showHistoryPopup(findTool<AIconButton>(id, 181));
        return noChangeCommand();
    case 1045:
        goForward();
        return noChangeCommand();
    case 1048:
        addCurrentToDossier(curState_);
        return noChangeCommand();
    case 1049:
        OpenDossier(-1, 0);
        return noChangeCommand();
    case 3125:
        addNoteToArticle();
        return noChangeCommand();
    case 3126:
        FrameServices().openNoteWindow(curState_ ? curState_->getDocNo() : -1, -1, slots_.docPane2);
        return noChangeCommand();
    case 3017:
        return printCommand(1);
    default:
        return AWindow::doCommand(id, argument);
    }
}

int16_t Frame1::commandStatus(int16_t id, long argument) {
    switch (id) {
    case 1015:
        showFilterLevel();
        showConnectionState();
        return kStatusEnabled;
    case 1040:
    case 1041:
    case 1042:
    case 1046:
    case 1047:
    case 1049:
    case 3126:
        return kStatusEnabled;
    case 1043:
        return Status(canGoBack());
    case 1044:
        return Status(hasHistory());
    case 1045:
        return Status(canGoForward());
    case 1048:
        return Status(curState_ && curState_->getScreenMode() != 0 && curState_->getScreenMode() != 3 &&
                      curState_->getDocState() && curState_->getDocNo() >= 0);
    case 3125:
        return Status(curState_ && IsShown(slots_.docPane2) && curState_->getDocNo() >= 0);
    case 3017:
        return Status(acceptsEditCommands());
    default:
        return AWindow::commandStatus(id, argument);
    }
}

int16_t Frame1::menuItemEnabled(int16_t buttonId, int16_t line) {
    if (buttonId == 1046) {
        switch (line) {
        case 1:
        case 2:
        case 3:
        case 7:
        case 8:
            return 1;
        case 4:
            // The shown web or HTML page is exported by saving it.
            return (activeExportPane_ && activeExportPane_->answersEditCommands()) || IsShown(htmlPane_);
        case 5:
            return activeListPane_ && activeListPane_->answersEditCommands() && FrameServices().resultExportEnabled();
        case 6:
            return acceptsEditCommands();
        case 9: {
            ADocState* doc = currentDocState();
            return doc && (doc->fDocType == 0 || doc->fDocType == 1 || doc->fDocType == 8);
        }
        case 10:
        case 11:
            return FrameServices().workFolderExists();
        default:
            return 0;
        }
    }
    if (buttonId == 1047) {
        int16_t connection = FrameServices().connectionState();
        switch (line) {
        case 2:
        case 3:
            return connection == 4;
        case 4:
            return 1;
        case 5:
            return connection != 4;
        default:
            return 0;
        }
    }
    return 1;
}

int16_t Frame1::menuItemIsCurrent(int16_t buttonId, int16_t line) {
    switch (buttonId) {
    case 1041: {
        ALeftState* left = currentLeftState();
        return curState_ && curState_->getScreenMode() == 1 && left && line == menuActionToLine(1, left->fMode);
    }
    case 1042:
        return curState_ && (curState_->getScreenMode() == 3 || curState_->getScreenMode() == 4) &&
               line == menuActionToLine(2, curState_->fSalle);
    case 1044:
    case 1046:
    case 1047:
        return 0;
    default:
        return 1;
    }
}

bool Frame1::relink(SVPane*& slot, SVPane* pane) {
    if (slot == pane)
        return false;
    if (slot)
        removeLink(slot);
    slot = pane;
    if (pane)
        addLink(pane);
    return true;
}

void Frame1::setActive(SVPane*& slot, SVPane* pane) {
    if (relink(slot, pane))
        redraw(true);
}

void Frame1::componentDeleted(AComponent* component) {
    // A pane that goes away is forgotten: a link tells the frame nothing of it.
    for (SVPane** p : {&activePrintPane_, &activeExportPane_, &activeListPane_, &flashPane_, &htmlPane_, &findPane_,
                       &timeStripPane_, &dockPane_, &slots_.leftPane, &slots_.rightPane, &slots_.docPane1, &slots_.docPane2,
                       &slots_.docPane3, &slots_.editPane, &slots_.quickSearchPane, &slots_.webComplementPane}) {
        if (*p == component)
            *p = nullptr;
    }
    for (AComponent** view : {&documentView_, &textView_})
        if (*view == component)
            *view = nullptr;
    if (component == dicoWin_)
        dicoWin_ = nullptr;
    if (component == auteurWin_)
        auteurWin_ = nullptr;
    AWindow::componentDeleted(component);
}

void Frame1::linkChanged(AComponent* source, const AKindSet& kinds) {
    AWindow::linkChanged(source, kinds);
    if (source && (source == activePrintPane_ || source == activeExportPane_))
        refreshPrintMenus(source);
}

void Frame1::setPrintMenus(AFrameMenu* print, AFrameMenu* exportMenu, AFrameMenu* third) {
    printMenu_ = print;
    exportMenu_ = exportMenu;
    thirdMenu_ = third;
}

void Frame1::refreshPrintMenus(AComponent* source) {
    if (!source)
        redraw(true);
    if (toolPane_)
        toolPane_->refreshMenus();
    redraw(true);
}

void Frame1::updatePrintMenus() {
    struct Menu {
        AFrameMenu* menu;
        SVPane* pane;
    } const menus[] = {{printMenu_, activePrintPane_}, {exportMenu_, activeExportPane_}};
    for (const Menu& m : menus) {
        if (!m.menu)
            continue;
        m.menu->clear();
        m.menu->addEntry(printMenuText0_, m.pane != nullptr);
        m.menu->addEntry(printMenuText1_, m.pane && m.pane->canCopy());
    }
}


bool Frame1::acceptsEditCommands() {
    return curState_ && curState_->getScreenMode() != 0 && curState_->getScreenMode() != 3 &&
           curState_->getDocNo() >= 0 && (IsShown(slots_.docPane2) || IsShown(slots_.editPane));
}

void Frame1::findInText(const char* text) {
    if (findPane_)
        findPane_->findText(text);
}

void Frame1::showInfo(const char* text, const char* title) {
    if (AApp* app = AApp::current())
        app->messageBox(text, title, 0x40, this);
}

ALeftState* Frame1::currentLeftState() const {
    return curState_ ? curState_->getLeftState() : nullptr;
}

ADocState* Frame1::currentDocState() const {
    return curState_ ? curState_->getDocState() : nullptr;
}

ARightState* Frame1::currentRightState() const {
    return curState_ ? curState_->getRightState() : nullptr;
}

void Frame1::OpenDossier(long reference, int16_t kind) {
    FrameServices().openDossierWindow(reference, kind);
}
