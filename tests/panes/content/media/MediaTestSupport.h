// Support of the media window tests: a test main window, the media services
// answering from tables the tests fill, the right dock's records, a fake
// video and the fixture that loads the window from the reader's layouts.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/frame/Frame1.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "docengine/render/ARendererViews.h"
#include "framework/bitmaps/ABitmapLayer.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ADisplayServices.h"
#include "panes/content/media/AMediaApp.h"
#include "panes/content/media/MediaDockRightPane.h"
#include "panes/docks/right/ARightDockApp.h"
#include "panes/content/media/MediaImagePane.h"
#include "panes/content/media/MediaPane.h"
#include "panes/content/media/MediaWin.h"
#include "panes/content/media/MediaWinLongDic.h"
#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

// A main window without the tool bar: only the window's own steps run.
class MediaTestReader : public Frame1 {
    SV_DECLARE_CLASS(MediaTestReader)
public:
    void readFrom(AMemoryStream& stream) override {
        Frame1::readFrom(stream);
        ALayoutLoader::readEndMark(stream, "test", 1);
    }
    void attachItems() override { AWindow::attachItems(); }
    void setUpItems() override { AWindow::setUpItems(); }
};

inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A 24-bit bitmap file of w x h: a red square in the top left quarter over blue.
inline std::string BitmapFile(int w, int h) {
    auto word = [](uint32_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
        return out;
    };
    const int row = (w * 3 + 3) & ~3;
    std::string pixels;
    for (int y = h - 1; y >= 0; --y) {
        std::string line;
        for (int x = 0; x < w; ++x) {
            bool red = x < w / 2 && y < h / 2;
            line += red ? std::string("\x00\x00\xFF", 3) : std::string("\xC0\x40\x00", 3);
        }
        line.resize(row, '\0');
        pixels += line;
    }
    std::string info = word(40, 4) + word(w, 4) + word(h, 4) + word(1, 2) + word(24, 2) + word(0, 4) +
                       word(static_cast<uint32_t>(pixels.size()), 4) + word(2835, 4) + word(2835, 4) + word(0, 8);
    return "BM" + word(static_cast<uint32_t>(14 + info.size() + pixels.size()), 4) + word(0, 4) + word(54, 4) + info +
           pixels;
}

// Documents from tables the tests fill; the dictionary of windows.
class MediaTestApp : public AMediaApp {
public:
    MediaTestApp() { AMediaApp::install(this); }
    ~MediaTestApp() override { AMediaApp::install(nullptr); }

    ADocRefInfo getDocRefInfo(long docNo) override {
        ADocRefInfo info(docNo, 13, 1);
        auto found = infos.find(docNo);
        info.parse(found == infos.end() ? "000000000000000\t1\t0\t0\t0" : found->second.c_str());
        return info;
    }
    int16_t getDocIconType(long docNo) override { return docNo < 0 ? -1 : icons.count(docNo) ? icons[docNo] : 2; }
    AString getDocTitle(long docNo) override { return AString(("Image " + std::to_string(docNo)).c_str()); }
    AString getDocCredit(long docNo) override { return AString(("Droits " + std::to_string(docNo)).c_str()); }
    bool getDocDimensions(long docNo, long* w, long* h) override {
        auto found = dims.find(docNo);
        *w = found == dims.end() ? 0 : found->second.first;
        *h = found == dims.end() ? 0 : found->second.second;
        return found != dims.end();
    }
    AString extractPicture(long docNo) override {
        auto found = pictures.find(docNo);
        if (found == pictures.end())
            return AString();
        char temp[MAX_PATH], name[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        GetTempFileNameA(temp, "svi", 0, name);
        std::ofstream(name, std::ios::binary) << found->second;
        made.push_back(name);
        return AString(name);
    }
    AString configString(const char* key) override {
        std::string k = key;
        return AString(k == "IMAGE_SCALES" ? scales.c_str() : k == "FLASH_SCALES" ? flashScales.c_str() : "");
    }
    // Fields by "docNo:name"; every field's data file lies in fieldFolder.
    bool getDocField(long docNo, const char* field, AString* text, AString* folder) override {
        *text = *folder = AString();
        auto found = fields.find(std::to_string(docNo) + ":" + field);
        if (found == fields.end())
            return false;
        *text = AString(found->second.c_str());
        *folder = AString(fieldFolder.c_str());
        return true;
    }
    AString extractMovie(long docNo) override { return tempFile("svm", "movie " + std::to_string(docNo)); }
    // Records "key file|stop|frame|background" and writes the values as the page.
    AString makeMediaPage(const char* key, const AMediaPageValues& v) override {
        std::string line = std::string(key) + " " + v.file.c_str() + "|" + v.stop.c_str() + "|" +
                           std::to_string(v.frame) + "|" + v.background.c_str();
        pages.push_back(line);
        return tempFile("svp", line);
    }
    AString fillVideoTemplate(const char* pageKey, const char* launcherKey, const AString& video,
                              const AString& director, const AString& title) override {
        (void)launcherKey;
        return tempFile("svd", std::string(pageKey) + "\n" +
                                   FillVideoPage(videoTemplate, video.c_str(), director.c_str(), "launcher", title.c_str()));
    }
    AString tempFile(const char* prefix, const std::string& text) {
        char temp[MAX_PATH], name[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        GetTempFileNameA(temp, prefix, 0, name);
        std::ofstream(name, std::ios::binary) << text;
        made.push_back(name);
        return AString(name);
    }
    void registerTempFile(const char* path) override { registered.push_back(path); }
    void forgetMediaWindow(MediaWin* window) override {
        // Still whole when it leaves the dictionary.
        forgotWhole += window->mediaPane() ? 1 : 0;
        windows.forget(window);
    }
    void message(const char* text) override { messages += std::string(text) + ";"; }

    std::map<long, std::string> infos;
    std::map<long, int16_t> icons;
    std::map<long, std::pair<long, long>> dims;
    std::map<long, std::string> pictures;
    std::string scales = "25,50,100,200,400";
    std::string flashScales = "50,200,300";
    std::map<std::string, std::string> fields;
    std::string fieldFolder;
    std::vector<std::string> pages;
    std::string videoTemplate = "<html><head><title>x</title></head><body>"
                                "<VIDEO_FILENAME_TO_REPLACE>|<DCR_FILENAME_TO_REPLACE>|<LAUNCHER_FILENAME_TO_REPLACE>"
                                "</body></html>";
    std::vector<std::string> registered, made;
    std::string messages;
    int forgotWhole = 0;
    MediaWinLongDic windows;
};

// The right dock's records: the information flags of the tests' documents.
class MediaDockTestApp : public ARightDockApp {
public:
    MediaDockTestApp() { ARightDockApp::install(this); }
    ~MediaDockTestApp() override { ARightDockApp::install(nullptr); }
    ADocRefInfo getDocRefInfo(long docNo) override {
        ADocRefInfo info(docNo, 13, 1);
        auto found = infos.find(docNo);
        info.parse(found == infos.end() ? "000000000000000\t1\t0" : found->second.c_str());
        return info;
    }
    std::map<long, std::string> infos;
};

// A video that answers as told.
class FakeVideo : public AMediaVideoControl {
public:
    void play() override { log += "play;"; }
    void pause() override { log += "pause;"; }
    void stop() override { log += "stop;"; }
    void rewind() override { log += "rewind;"; }
    void fastForward() override { log += "forward;"; }
    bool isStopped() override { return !playing; }
    bool isPlaying() override { return playing; }
    bool canRewind() override { return time > 0; }
    bool canStop() override { return time > 0; }
    bool canFastForward() override { return time < 100; }
    bool playing = false;
    long time = 0;
    std::string log;
};

class MediaWindowTest : public ClusterTest {
protected:
    void SetUp() override {
        ClusterTest::SetUp();
        makeTestApp();
        AComponent* loaded = AComponent::loadLayout(app, "MediaTestReader", 0);
        if (!loaded)
            GTEST_SKIP() << "no display";
        reader = dynamic_cast<MediaTestReader*>(loaded);
        ASSERT_TRUE(reader);
        for (long n = 0; n < 8; ++n)
            testApp.pictures[n] = BitmapFile(80, 60);
    }
    void TearDown() override {
        while (!testApp.windows.windows().empty()) {
            MediaWin* window = testApp.windows.windows().begin()->second;
            window->perform(window->closeWindow());
        }
        if (reader) {
            AComponent* c = reader;
            DeleteComponent(c);
        }
        for (const std::string& path : testApp.made)
            DeleteFileA(path.c_str());
        ClusterTest::TearDown();
    }
    // The application the window runs under: a framed one.
    virtual void makeTestApp() { makeApp(0, true); }
    MediaWin* open(long docNo, int16_t frame = 0, int16_t forceNew = 0) {
        MediaWin* window = testApp.windows.open(reader, docNo, frame, forceNew);
        settle();
        return window;
    }
    void settle() {
        app->flushUpdates();
        Pump();
        ADisplayServices::current().flushLayouts();
    }
    static MediaPane* pane(MediaWin* window) { return window ? window->mediaPane() : nullptr; }

    MediaTestApp testApp;
    MediaDockTestApp dockApp;
    MediaTestReader* reader = nullptr;
};

