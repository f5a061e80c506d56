// The frame tests' services, probe pane, counted states and fixture.
#include "tests/app/frame/FrameTestSupport.h"

#include <new>

#include "app/popup/PopupTree.h"
#include "app/state/ABaseState.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(ProbePane, 0, SVPane)

std::string ProbePane::log;
int CountedState::live = 0;

AString TestServices::menuRecordText(long record) {
    auto it = menus.find(record);
    if (it != menus.end())
        return AString(it->second.c_str());
    return AString(("menu " + std::to_string(record)).c_str());
}

AString TestServices::configString(const char* key) {
    auto it = config.find(key);
    return AString(it == config.end() ? "" : it->second.c_str());
}

AString TestServices::getScreenAddress(int16_t first, int16_t second) {
    auto it = addresses.find(std::to_string(first) + "_" + std::to_string(second));
    return AString(it == addresses.end() ? "" : it->second.c_str());
}

bool TestServices::checkConnection(const char* address) {
    (void)address;
    return connected;
}

AppState* TestServices::makeUrlNavState(Frame1& frame, const AString& address, int16_t kind, long value) {
    (void)value;
    urls += std::string(address.c_str()) + ";";
    return frame.makeNavState(0, 0, 0, 0, -1, kind, 4);
}

void ProbePane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "probe", 1);
}

void ProbePane::updatePane() {
    log += std::to_string(id()) + ":update;";
    if (askDuringUpdate) {
        AppState* s = askDuringUpdate;
        askDuringUpdate = nullptr;
        goToState(s);
    }
    SVPane::updatePane();
}

void ProbePane::setPaneVisible(int16_t visible) {
    log += std::to_string(id()) + (visible ? ":show;" : ":hide;");
    SVPane::setPaneVisible(visible);
}

void ProbePane::saveState(ABaseState* part) {
    log += std::to_string(id()) + ":save;";
    part->fUserInfo.slot(id()) = 1;
}

CountedState::CountedState(int16_t screenMode, int16_t pane)
    : AppState(screenMode, pane, new ADocState(1201), nullptr, nullptr, nullptr, -1) {
    ++live;
}

void FrameTest::SetUp() {
    ClusterTest::SetUp();
    // The main window is a child of the application's frame window.
    makeApp(0, true);
    gFrameServices = &services;
    CountedState::live = 0;
    ProbePane::log.clear();
}

void FrameTest::TearDown() {
    if (frame) {
        AComponent* c = frame;
        DeleteComponent(c);
    }
    frame = nullptr;
    EXPECT_EQ(0, CountedState::live) << "states leaked";
    gFrameServices = nullptr;
    gPartPaneHooks = {nullptr, nullptr};
    ClusterTest::TearDown();
}

Frame1* FrameTest::openFrame(const char* layout) {
    AComponent* made = AComponent::loadLayout(app, layout, 0);
    frame = made ? static_cast<Frame1*>(made->castTo(&Frame1::classRecord)) : nullptr;
    return frame;
}

ProbePane* FrameTest::pane(int16_t id) {
    AComponent* c = frame->findById(id, 0);
    // Ids 1201 name both a holder and a document pane: take the pane.
    if (c && !c->castTo(&ProbePane::classRecord)) {
        AComponent* content = frame->findById(1002, 0);
        c = content ? content->findById(id, 0) : nullptr;
    }
    return c ? static_cast<ProbePane*>(c->castTo(&ProbePane::classRecord)) : nullptr;
}

PopupTree* FrameTest::lastPopup() const {
    PopupTree* popup = nullptr;
    Alist& children = app->children();
    for (ALink* l = children.firstLink(); l != children.sentinel(); l = l->next)
        if (auto* p = dynamic_cast<PopupTree*>(ChildOf(l)))
            popup = p;
    return popup;
}

CountedState* FrameTest::step(long docNo) {
    auto* s = new CountedState();
    s->setDocNo(docNo);
    frame->goToState(s, 1);
    return s;
}
