// The room tests' pane, list answers and window fixture.
#include "tests/panes/search/rooms/RoomTestSupport.h"

#include <cstdlib>

#include "app/data/AppBaseTables.h"
#include "app/data/AppDataManager.h"
#include "reader/TheApp.h"
#include "app/state/AppState.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ADisplayServices.h"
#include "panes/search/rooms/LRSalle_DVD.h"
#include "panes/search/rooms/LRSalle_NET.h"
#include "panes/search/rooms/SalleIndexPrec.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"
#include "tests/app/lists/ListRowClick.h"
#include "tests/reader/AppMainTestSupport.h"

SV_IMPLEMENT_CLASS(TestSallePane, 0, DockLeftSallePane)

namespace {

template <class T>
T* Item(AItemCluster* pane, int16_t id) {
    AClusterItem* item = pane->findItem(id, false);
    return item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr;
}

AString RoomText(long r) {
    ASearchBase* base = gDataManager ? gDataManager->getBase(8) : nullptr;
    return base && r >= 0 ? base->getText(1, r, 1) : AString();
}

}  // namespace

void TestSallePane::readFrom(AMemoryStream& stream) {
    DockLeftSallePane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "test", 3);
}

void TestSallePane::setUpItems() {
    DockLeftSallePane::setUpItems();
    getClients()->margin = 78;  // below the banner and the level texts
    getClients()->spacing = 6;
    indexList = Item<SalleIndexPrec>(this, kIndexId);
    discList = Item<LRSalle_DVD>(this, kDiscId);
    netList = Item<LRSalle_NET>(this, kNetId);
    levels[0].item = Item<AStaticText>(this, kFirstLevelId);
    levels[1].item = Item<AStaticText>(this, kFirstLevelId + 1);
}

void TestSallePane::arrangeClients() {
    ALayoutClientList* list = getClients();
    list->clear();
    list->addClient(indexList->getClient(), 0, 1, nullptr);
    list->addClient(discList->getClient(), 1, 1, nullptr);
    list->addClient(netList->getClient(), 1, 0, discList->getClient());
    restoreShownMask();
    list->layout();
}

void TestSallePane::updatePane() {
    ++refreshes;
    ALeftState* left = leftState();
    if (!left)
        return;
    savedMask = static_cast<uint32_t>(left->fUserInfo.slot(kMaskKey));
    arrangeClients();
    if (!readLevels) {
    } else if (left->fHisto || left->fClone) {
        setPaneText(left->getUserTxtInfo(kKeyKey).c_str());
        for (int k = 0; k < 2; ++k) {
            levels[k].label = left->getUserTxtInfo(static_cast<int16_t>(1150 + 4 * k));
            levels[k].value = left->getUserTxtInfo(static_cast<int16_t>(1151 + 4 * k));
        }
    } else {
        long r1 = left->fUserInfo.slot(1148);
        auto read = [](Level& l, long r, long line) {
            AString record = RoomText(r);
            l.label = TheApp::getLineLabel(record.c_str(), static_cast<int16_t>(line));
            l.value = TheApp::getLineValue(record.c_str(), static_cast<int16_t>(line));
        };
        switch (left->fSalleType) {
        case 'A':
            read(levels[0], r1, left->fUserInfo.slot(1149));
            read(levels[1], std::atol(levels[0].value.c_str()), left->fUserInfo.slot(1153));
            break;
        case 'D':
            read(levels[0], r1, left->fUserInfo.slot(1149));
            break;
        case 'C':
            setPaneText(("0:" + std::to_string(r1) + ":-1").c_str());
            break;
        default:
            levels[0].value = AString(std::to_string(r1).c_str());
            break;
        }
    }
    for (Level& l : levels)
        if (l.item)
            l.item->setText(l.label.c_str());
    SVPane::updatePane();
}

AString RoomListApp::getLinkRecord(long n, long m) {
    return AListApp::getLinkRecord(n, m);
}

std::string RoomPaneTest::folder() {
    return Install().dir();
}

void RoomPaneTest::SetUp() {
    ClusterTest::SetUp();
    std::string dir = folder();
    if (dir.empty()) {
        skipReason = "no sample (tools/sample/build.sh)";
        GTEST_SKIP() << skipReason;
    }
    ASSERT_EQ("", Install().error());
    ASSERT_EQ(0, location.open((dir + "\\sv.sgm").c_str(), nullptr, dir.c_str())) << location.getLastError().c_str();
    gDataLocation = &location;  // the room links read the tab numbers from it
    gBaseDescriptors = SingleDiscBaseTable();
    data = new AppDataManager(&location, nullptr);
    data->loadPrefFile();
    AListApp::install(&listApp);
    ASearchPanesApp::install(&panesApp);
    makeApp(0, true);
    AComponent* loaded = AComponent::loadLayout(app, "RoomFrame", 0);
    if (!loaded) {
        skipReason = "no display";
        GTEST_SKIP() << skipReason;
    }
    frame = dynamic_cast<TestFrame*>(loaded);
    ASSERT_TRUE(frame);
    pane = dynamic_cast<TestSallePane*>(frame->findById(2000, 0));
    centre = dynamic_cast<TestCentre*>(frame->findById(1203, 0));
    ASSERT_TRUE(pane && centre);
    index = pane->indexList;
    disc = pane->discList;
    net = pane->netList;
    ASSERT_TRUE(index && disc && net);
    Frame1::PaneSlots slots;
    slots.leftPane = pane;
    slots.docPane1 = centre;
    frame->setPaneSlots(slots);
    frame->showUpdate();
    ADisplayServices::current().flushLayouts();
    frame->goToState(new AppState(0, 1, nullptr, nullptr, nullptr, nullptr, -1), 1);
}

void RoomPaneTest::TearDown() {
    if (frame) {
        AComponent* c = frame;
        DeleteComponent(c);
    }
    ASearchPanesApp::install(nullptr);
    AListApp::install(nullptr);
    if (gDataLocation == &location)
        gDataLocation = nullptr;
    ClusterTest::TearDown();
    delete data;
}

AppState* RoomPaneTest::openRoom(int room, const char* tab) {
    std::string link = std::to_string(room) + ":" + tab;
    AppState* state = TheApp::makeRoomState(*frame, link.c_str());
    if (!state)
        return nullptr;
    state->setNew(1);
    frame->goToState(state, 1);
    Pump();
    return frame->currentState();
}

void RoomPaneTest::clickRow(ListPane* list, long row) {
    app->flushUpdates();
    Pump();
    ClickListRow(list, row, [] { Pump(); });
}

std::string RoomPaneTest::picture(const char* name) {
    app->flushUpdates();
    Pump();
    return WindowPicture(frame->getHWnd(), name);
}
