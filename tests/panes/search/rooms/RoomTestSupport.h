// Support of the room panes' tests: a room pane that refreshes as the letter
// panes do (levels from the rooms base, then its lists), the links records
// of the installation for the lists, and a fixture that loads a main window
// around the pane over the small installation or the sample.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "panes/search/rooms/DockLeftSallePane.h"
#include "tests/panes/search/left/LeftDockTestSupport.h"

class AppDataManager;
class LRSalle_DVD;
class LRSalle_NET;
class SalleIndexPrec;

class TestSallePane : public DockLeftSallePane {
    SV_DECLARE_CLASS(TestSallePane)
public:
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void arrangeClients() override;
    // Fresh states read their levels as rooms A, B, C and D do; restored
    // states take the saved key text and levels.
    void updatePane() override;
    int refreshes = 0;
    bool readLevels = true;  // false: refreshes keep the levels as they are
};

// The installation's links records (the application's own reading).
class RoomListApp : public TestListApp {
public:
    AString getLinkRecord(long n, long m) override;
};

class RoomPaneTest : public ClusterTest {
protected:
    // The installation's folder ("" skips the test).
    virtual std::string folder();
    void SetUp() override;
    void TearDown() override;
    // Opens tab of room (from 0) as the movie's page would; the state shown.
    AppState* openRoom(int room, const char* tab);
    void clickRow(ListPane* list, long row);
    std::string picture(const char* name);

    ADataLocation location;
    AppDataManager* data = nullptr;
    RoomListApp listApp;
    TestPanesApp panesApp;
    TestFrame* frame = nullptr;
    TestSallePane* pane = nullptr;
    SalleIndexPrec* index = nullptr;
    LRSalle_DVD* disc = nullptr;
    LRSalle_NET* net = nullptr;
    TestCentre* centre = nullptr;
    std::string skipReason;
};
