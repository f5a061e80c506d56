// Shared set-up of the frame tests: services the tests drive, a probe pane
// that logs what the walks do to it, counted states, and a fixture that opens
// the probe frame.
#pragma once

#include <map>
#include <string>

#include "app/frame/AFrameServices.h"
#include "app/frame/Frame1.h"
#include "app/frame/SVPane.h"
#include "app/lists/AListApp.h"
#include "app/state/AppState.h"
#include "tests/framework/clusters/ClusterTestSupport.h"

class PopupTree;

class TestServices : public AFrameServices {
public:
    int16_t getDocKindPane(int16_t kind) override { return static_cast<int16_t>(1300 + kind); }
    AString menuRecordText(long record) override;
    AStyleSheetSet* styleSheets() override { return sheets; }
    AString configString(const char* key) override;
    AString getScreenAddress(int16_t first, int16_t second) override;
    bool checkConnection(const char* address) override;
    AppState* makeUrlNavState(Frame1& frame, const AString& address, int16_t kind, long value) override;
    int16_t connectionState() override { return connection; }
    bool workFolderExists() override { return workFolder; }
    bool resultExportEnabled() override { return resultExport; }
    void saveHistoryIfWanted() override { ++historySaves; }
    void activateFrame() override {}
    void stopMediaWindows() override { ++mediaStops; }

    std::map<std::string, std::string> config;
    std::map<std::string, std::string> addresses;  // "first_second" to address
    std::string urls;                              // the addresses made into states
    bool connected = false;
    int16_t connection = 0;
    bool workFolder = false;
    bool resultExport = false;
    int historySaves = 0;
    int mediaStops = 0;
    AStyleSheetSet* sheets = nullptr;     // not owned
    std::map<long, std::string> menus;  // menu records by number; "menu N" otherwise
};

// Logs "id:step;" for each update, visibility change and save.
class ProbePane : public SVPane {
    SV_DECLARE_CLASS(ProbePane)
public:
    void readFrom(AMemoryStream& stream) override;
    void updatePane() override;
    int16_t isPaneWanted() override { return wanted; }
    void setPaneVisible(int16_t visible) override;
    void saveState(ABaseState* part) override;
    bool canCopy() override { return selection; }
    bool takesEditCommands() override { return editable; }
    ACommand* findText(const char* text) override;
    void syncLeftDockSize() override { ++dockSyncs; }
    AString printedContents() override { return AString(contents.c_str()); }
    int dockSyncs = 0;
    std::string contents;
    // A state the pane asks for while it is updated (taken over by the frame).
    AppState* askDuringUpdate = nullptr;

    static std::string log;
    int16_t wanted = 1;
    bool selection = false;
    bool editable = false;
};

// An AppState that counts the live ones.
class CountedState : public AppState {
public:
    explicit CountedState(int16_t screenMode = 1, int16_t pane = 2);
    CountedState(const CountedState&) = delete;
    ~CountedState() override { --live; }
    static int live;
};

class FrameTest : public ClusterTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Loads a frame layout; null without a display.
    Frame1* openFrame(const char* layout = "ProbeFrame");
    ProbePane* pane(int16_t id);
    // A new counted state of screen mode 1, pane 2, with a document part, shown.
    CountedState* step(long docNo = -1);
    // The popup tree opened last under the application, or null.
    PopupTree* lastPopup() const;

    // The main window's result lists colour their count lines from sheet 3.
    class SheetListApp : public AListApp {
    public:
        SheetListApp();
        ~SheetListApp() override;
        AStyleSheet* getStyleSheet(long n) override { return n == 3 ? sheet : nullptr; }
        AStyleSheet* sheet;
    };

    TestServices services;
    SheetListApp listApp;
    Frame1* frame = nullptr;
};
