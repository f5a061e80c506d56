// Support of the left dock's tests.
#include "tests/panes/search/left/LeftDockTestSupport.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "app/data/AppBaseTables.h"
#include "app/data/AppDataManager.h"
#include "app/state/ASVLoSearchState.h"
#include "app/state/AppState.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ADisplayServices.h"
#include "panes/search/left/DockLeftPane.h"
#include "panes/search/left/DockLeftRechSIPane.h"
#include "panes/search/left/LR_DVD.h"
#include "panes/search/left/LR_NET.h"
#include "panes/search/left/RechIndexPrec.h"
#include "search/facade/ALoVect.h"
#include "tests/app/lists/ListRowClick.h"
#include "tests/reader/AppMainTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

SV_IMPLEMENT_CLASS(TestFrame, 0, Frame1)
SV_IMPLEMENT_CLASS(TestCentre, 0, SVPane)

TinyInstall& Install() {
    static TinyInstall* install = new TinyInstall;
    return *install;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void TestFrame::readFrom(AMemoryStream& stream) {
    Frame1::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "test", 1);
}

// Only the window's own steps: the frame's need the tool bar.
void TestFrame::attachItems() {
    AWindow::attachItems();
}

void TestFrame::setUpItems() {
    AWindow::setUpItems();
}

void TestCentre::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "test", 2);
}

void TestCentre::updatePane() {
    AppState* state = currentState();
    if (state && state->getDocNo() >= 0)
        shown += std::to_string(state->getDocNo()) + ";";
}

TestListApp::TestListApp() : sheet(new AStyleSheet) {
    sheet->addRef();
    sheet->setColor(10, RGB(200, 0, 0));
}

TestListApp::~TestListApp() {
    sheet->release();
}

AString TestListApp::getLinkRecord(long n, long m) {
    (void)n;
    switch (m) {
    case 1:
        return AString("1:4:2");
    case 2:
        return AString("3:4:0,1,2");
    default:
        return AString("0:4:");
    }
}

AFileSpec TestListApp::getTempDir() {
    return AFileSpec(Install().dir().c_str());
}

long TestPanesApp::getUrlDocNo(const char* address) {
    asked += std::string(address ? address : "") + "|";
    const char prefix[] = "http://doc/";
    if (!address || std::strncmp(address, prefix, sizeof prefix - 1) != 0)
        return -1;
    return std::atol(address + sizeof prefix - 1);
}

void TestPanesApp::openMediaWindow(long docNo, int16_t first, int16_t second) {
    log += "media " + std::to_string(docNo) + " " + std::to_string(first) + " " + std::to_string(second) + ";";
}

AString TestPanesApp::searchOnline(ASVLoSearchState* search, long entry, const char* action, long id) {
    (void)search;
    log += std::string("online ") + action + ";";
    onlineAsked += std::to_string(entry) + " " + std::to_string(id) + ";";
    return AString(onlineName.c_str());
}

std::string LeftDockTest::dataFolder() {
    return Install().dir();
}

void LeftDockTest::SetUp() {
    ClusterTest::SetUp();
    ASSERT_EQ("", Install().error());
    std::string folder = dataFolder();
    ASSERT_EQ(0, location.open((folder + "\\sv.sgm").c_str(), nullptr, folder.c_str()))
        << location.getLastError().c_str();
    gBaseDescriptors = SingleDiscBaseTable();
    data = new AppDataManager(&location, nullptr);
    data->loadPrefFile();
    AListApp::install(&listApp);
    ASearchPanesApp::install(&panesApp);
    makeApp(0, true);
    AComponent* loaded = AComponent::loadLayout(app, frameLayout(), 0);
    if (!loaded)
        GTEST_SKIP() << "no display";
    frame = dynamic_cast<TestFrame*>(loaded);
    ASSERT_TRUE(frame);
    dock = dynamic_cast<DockLeftPane*>(frame->findById(1202, 0));
    searchPane = dynamic_cast<DockLeftRechSIPane*>(frame->findById(2100, 0));
    centre = dynamic_cast<TestCentre*>(frame->findById(1203, 0));
    ASSERT_TRUE(dock && searchPane && centre);
    prec = searchPane->getPrecList();
    disc = searchPane->getDiscList();
    net = searchPane->getNetList();
    Frame1::PaneSlots slots;
    slots.leftPane = dock;
    slots.docPane1 = centre;
    frame->setPaneSlots(slots);
    frame->showUpdate();
    ADisplayServices::current().flushLayouts();
    // The reader starts on its home screen: a search is never the first state.
    frame->goToState(new AppState(0, 1, nullptr, nullptr, nullptr, nullptr, -1), 1);
}

void LeftDockTest::TearDown() {
    if (frame) {
        AComponent* c = frame;
        DeleteComponent(c);
    }
    ASearchPanesApp::install(nullptr);
    AListApp::install(nullptr);
    ClusterTest::TearDown();
    delete data;
}

AppState* LeftDockTest::newSearch(ALo* results, int16_t netSearch) {
    auto* search = new ASVLoSearchState;
    search->addRef();
    if (results)
        search->setTextResults(static_cast<ALoScore*>(results));
    search->setNetSearch(netSearch);
    auto* left = new ALeftState;
    left->fMode = 1;
    left->fExpand = 1;
    left->fNew = 1;
    auto* doc = new ADocState(1203);
    doc->fDocType = 1;
    auto* state = new AppState(1, 2, doc, left, new ARightState(1205, -1), search, -1);
    search->release();
    state->setNew(1);
    frame->goToState(state, 1);
    Pump();
    return frame->currentState();
}

void LeftDockTest::clickRow(ListPane* list, long row) {
    app->flushUpdates();
    Pump();
    ClickListRow(list, row, [] { Pump(); });
}

std::string WindowPicture(HWND window, const char* name) {
    UpdateWindow(window);
    Canvas canvas(900, 600);
    HDC dc = GetDC(window);
    BitBlt(canvas.dc(), 0, 0, 900, 600, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return canvas.savePng(name);
}

std::string LeftDockTest::picture(const char* name) {
    app->flushUpdates();
    Pump();
    return WindowPicture(frame->getHWnd(), name);
}
