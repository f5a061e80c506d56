// Support of the left dock's tests: a main window laid out as the reader's
// without its tool bar, a centre pane that records the documents it is asked
// to show, the application's answers for the lists and the search panes, and
// a fixture that loads the window and finds the dock and its panes.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/frame/Frame1.h"
#include "app/frame/SVPane.h"
#include "app/lists/AListApp.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "search/facade/ADataLocation.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

class ALo;
class AppDataManager;
class AppState;
class AStyleSheet;
class DockLeftPane;
class DockLeftRechSIPane;
class ListPane;
class LR_DVD;
class LR_NET;
class RechIndexPrec;

class TestFrame : public Frame1 {
    SV_DECLARE_CLASS(TestFrame)
public:
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
};

// The centre: records "docNo;" for every state shown with a document.
class TestCentre : public SVPane {
    SV_DECLARE_CLASS(TestCentre)
public:
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;
    std::string shown;
};

// LINKS records "count:max:docs" by record number, style sheet 3, and the
// installation's folder as the temporary folder.
class TestListApp : public AListApp {
public:
    TestListApp();
    ~TestListApp() override;
    AStyleSheet* getStyleSheet(long n) override { return n == 3 ? sheet : nullptr; }
    AString getLinkRecord(long n, long m) override;
    AFileSpec getTempDir() override;
    AStyleSheet* sheet;
};

// Records the media windows opened and the beeps; document 4 (a figure) is
// the media document; addresses "http://doc/N" stand for document N.
class TestPanesApp : public ASearchPanesApp {
public:
    bool docIsMedia(long docNo) override { return docNo == 4; }
    long getUrlDocNo(const char* address) override;
    void openMediaWindow(long docNo, int16_t first, int16_t second) override;
    void beep() override { log += "beep;"; }
    AString searchOnline(ASVLoSearchState* search, long entry, const char* action, long id) override;
    std::string log;
    std::string onlineName;  // what the online search answers
    std::string asked;       // the addresses asked for
    std::string onlineAsked;  // "entry id;" of each online search
};

class LeftDockTest : public ClusterTest {
protected:
    // The installation the data manager reads (its folder, with "sv.sgm").
    virtual std::string dataFolder();
    // The test main window's layout.
    virtual const char* frameLayout() { return "LeftDockFrame"; }
    void SetUp() override;
    void TearDown() override;
    // A new search of screen 1, left mode 1 (fNew), with the text results (a
    // reference is taken), shown by the frame; the state.
    // netSearch: the search found nothing on the disc (the online flag).
    AppState* newSearch(ALo* results, int16_t netSearch = 0);
    // Clicks row n of a list's view as the reader would.
    void clickRow(ListPane* list, long row);
    // A picture of the window under build/artifacts; its path.
    std::string picture(const char* name);

    ADataLocation location;
    AppDataManager* data = nullptr;
    TestListApp listApp;
    TestPanesApp panesApp;
    TestFrame* frame = nullptr;
    DockLeftPane* dock = nullptr;
    DockLeftRechSIPane* searchPane = nullptr;
    RechIndexPrec* prec = nullptr;
    LR_DVD* disc = nullptr;
    LR_NET* net = nullptr;
    TestCentre* centre = nullptr;
};

void Pump();
// A 900 x 600 picture of the window under build/artifacts; its path.
std::string WindowPicture(HWND window, const char* name);

// The small installation (articles 0 to 2, figures 3 and 4), built once.
class TinyInstall& Install();
