// The top dock tests' application answers, views and fixture.
#include "tests/panes/docks/top/TopDockTestSupport.h"

#include "app/state/ABaseState.h"
#include "app/state/ASVLoSearchState.h"
#include "framework/display/ADisplayComponent.h"
#include "panes/docks/top/DockTopAtlasPane.h"
#include "panes/docks/top/DockTopKycfPane.h"
#include "panes/docks/top/DockTopLeftImgPane.h"
#include "panes/docks/top/DockTopLeftRechPane.h"
#include "panes/docks/top/DockTopTitlePane.h"

bool Shown(AComponent* c) {
    return c && (static_cast<ADisplayComponent*>(c)->displayFlags() & ADisplayComponent::kShown);
}

ASVLoSearchState* TestTopDockApp::runFullTextSearch(int16_t offerOnline, const char* query, int16_t noPhonetic) {
    (void)offerOnline, (void)noPhonetic;
    ++searches;
    auto it = found.find(query ? query : "");
    if (it == found.end())
        return nullptr;
    auto* search = new ASVLoSearchState();
    search->setQuery(it->second.c_str());
    setSearchStateTexts(search, 0, it->second.c_str(), it->second.c_str());
    return search;
}

AString TestTopDockApp::getDocTitle(long docNo) {
    auto it = titles.find(docNo);
    return AString(it == titles.end() ? "" : it->second.c_str());
}

AString TestTopDockApp::getSalleTitle(int16_t room, AppState* state) {
    (void)state;
    return AString(("Salle " + std::to_string(room)).c_str());
}

int16_t TestTopDockApp::getDocIconType(long docNo) {
    auto it = iconTypes.find(docNo);
    return it == iconTypes.end() ? 0 : it->second;
}

ADocRefInfo TestTopDockApp::getDocRefInfo(long docNo) {
    ADocRefInfo info(docNo, 13, 1);
    auto it = infoRecords.find(docNo);
    info.parse(it == infoRecords.end() ? "000000000000000\t0\t0\t0\t0\t\t0\t" : it->second.c_str());
    info.fRecord = docNo;
    return info;
}

void TestTopDockApp::fillDocDates(AppState* state) {
    log += "dates" + std::to_string(state->getDocNo()) + ";";
}

void TestTopDockApp::openMediaWindow(long docNo, int16_t first, int16_t second) {
    (void)first, (void)second;
    log += "media" + std::to_string(docNo) + ";";
}

AStyleSheet* TestTopDockApp::getStyleSheet(long number) {
    return sheets ? sheets->getSheet(number) : nullptr;
}

void TestArticleView::changeFontSize(int16_t step) {
    if (step == 0)
        font = 0;
    else if ((step > 0 && canEnlargeFont()) || (step < 0 && canReduceFont()))
        font = static_cast<int16_t>(font + step);
}

namespace {

template <class T>
T* PaneIn(Frame1* frame, int16_t slot) {
    AComponent* holder = frame->findById(slot, 0);
    AComponent* c = holder ? holder->findDescendant(&T::classRecord, nullptr) : nullptr;
    return c ? static_cast<T*>(c->castTo(&T::classRecord)) : nullptr;
}

}  // namespace

void TopDockTest::SetUp() {
    FrameTest::SetUp();
    ATopDockApp::install(&dock);
}

void TopDockTest::TearDown() {
    FrameTest::TearDown();
    ATopDockApp::install(nullptr);
}

bool TopDockTest::open() {
    if (!openFrame("TopDockFrame"))
        return false;
    rech = PaneIn<DockTopLeftRechPane>(frame, 1255);
    img = PaneIn<DockTopLeftImgPane>(frame, 1256);
    kycf = PaneIn<DockTopKycfPane>(frame, 1252);
    flash = PaneIn<DockTopFlashPane>(frame, 1253);
    atlas = PaneIn<DockTopAtlasPane>(frame, 1254);
    html = PaneIn<DockTopHtmlPane>(frame, 1257);
    return rech && img && kycf && flash && atlas && html;
}

AppState* TopDockTest::show(int16_t screenMode, int16_t docType, int16_t leftMode, long docNo) {
    ADocState* doc = nullptr;
    if (docType >= 0) {
        doc = new ADocState(1201);
        doc->fDocType = docType;
    }
    ALeftState* left = nullptr;
    if (leftMode >= 0) {
        left = new ALeftState();
        left->fMode = leftMode;
    }
    auto* state = new AppState(screenMode, 2, doc, left, nullptr, nullptr, docNo);
    frame->goToState(state, 1);
    return state;
}

std::string TopDockTest::shownPanes() {
    std::string s;
    const std::pair<const char*, SVPane*> panes[] = {{"rech", rech}, {"img", img},   {"kycf", kycf},
                                                     {"html", html}, {"atlas", atlas}, {"flash", flash}};
    for (const auto& p : panes) {
        if (Shown(p.second) && Shown(p.second->getParent()))
            s += std::string(s.empty() ? "" : " ") + p.first;
    }
    return s;
}
