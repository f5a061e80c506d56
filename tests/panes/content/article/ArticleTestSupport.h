// Support of the centre views' tests: the real reader (its application
// object and main window) started in-process on the sample encyclopedia,
// with helpers to pump its messages, reach its panes and take pictures.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "reader/TheApp.h"
#include "panes/content/article/AContentApp.h"
#include "base/object/ARect.h"
#include "tests/support/TestHooks.h"

class DocKycfPane;
class Frame1;

// Every answer of the real services, for tests to override a few.
class ForwardingContent : public AContentApp {
public:
    explicit ForwardingContent(AContentApp& real) : real_(real) {}
    bool docIsMedia(long docNo) override { return real_.docIsMedia(docNo); }
    bool isTextDoc(long docNo) override { return real_.isTextDoc(docNo); }
    int16_t getDocKind(long docNo, int16_t defaultKind) override { return real_.getDocKind(docNo, defaultKind); }
    int16_t getDocIconType(long docNo) override { return real_.getDocIconType(docNo); }
    ADocRefInfo getDocRefInfo(long docNo) override { return real_.getDocRefInfo(docNo); }
    ASearchBase* getBase(int16_t index) override { return real_.getBase(index); }
    ANoteManager* notes() override { return real_.notes(); }
    AAppTextRenderer* createTextRenderer(ARendererView* view, ABitmapSupplier* supplier, long sheet) override {
        return real_.createTextRenderer(view, supplier, sheet);
    }
    AListRenderer* createStyledListRenderer(ARendererView* view, int16_t flags, int16_t sheet) override {
        return real_.createStyledListRenderer(view, flags, sheet);
    }
    void openMediaWindow(long docNo, int16_t frame, int16_t forceNew) override {
        real_.openMediaWindow(docNo, frame, forceNew);
    }
    void openExtendedSearch(const char* text) override { real_.openExtendedSearch(text); }
    void showDocumentAt(long position) override { real_.showDocumentAt(position); }
    void playDocument(long record) override { real_.playDocument(record); }
    void openAuthor(long author, long docNo) override { real_.openAuthor(author, docNo); }
    ASelContextMenuCallBack* selContextMenu(bool findInText) override { return real_.selContextMenu(findInText); }
    AStyleSheet* getStyleSheet(long n) override { return real_.getStyleSheet(n); }
    APrefManager* prefManager() override { return real_.prefManager(); }
    AString configString(const char* key) override { return real_.configString(key); }
    AString makeMediaPage(const char* key, const AMediaPageValues& values) override {
        return real_.makeMediaPage(key, values);
    }
    AString templatePath(const char* key) override { return real_.templatePath(key); }
    void registerTempFile(const char* path) override { real_.registerTempFile(path); }
    AString windowTitle() override { return real_.windowTitle(); }
    AString roomsFolder() override { return real_.roomsFolder(); }
    AString lastConnection() override { return real_.lastConnection(); }
    AString extractRecord(int16_t base, int16_t table, long record, const char* extension) override {
        return real_.extractRecord(base, table, record, extension);
    }
    AString getDocTitle(long docNo) override { return real_.getDocTitle(docNo); }
    long resolveDocLink(const char* name) override { return real_.resolveDocLink(name); }
    long findDocByKey(const char* key) override { return real_.findDocByKey(key); }
    AString guidePageUrl(long n) override { return real_.guidePageUrl(n); }
    int16_t findBaseField(int16_t base, const char* name) override { return real_.findBaseField(base, name); }
    AString webEntry(long n) override { return real_.webEntry(n); }
    long webDocNo(const char* entry) override { return real_.webDocNo(entry); }
    AString message(const char* key) override { return real_.message(key); }
    AString escapeChars(const char* text, const char* set) override { return real_.escapeChars(text, set); }

private:
    AContentApp& real_;
};

class SampleReaderTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Delivers pending messages and change notices.
    void pump();
    // Layouts, updates and paints delivered before a picture.
    void settle();
    DocKycfPane* articlePane();
    // A press and release of the left button at a screen point, as the mouse
    // gives them to the window there, each delivered.
    void clickAt(const APoint& screen);
    // The main window as the screen shows it, as build/artifacts/<name>.png;
    // answers the count of pixels that are not white inside `inside` (window
    // coordinates; none when null).
    int saveShot(const char* name, const ARect* inside = nullptr);
    // Runs a test body, failing with the report of a framework error or fatal end.
    void guarded(const std::function<void()>& body);
    void searchedArticle();
    void shownArticlePixels();

    TheApp* app = nullptr;
    Frame1* frame = nullptr;  // null when the sample or the display is missing (skipReason says which)
    std::string skipReason;
    CaptureStream errors;
    // The start loads the movie layer (beside the test) as the reader's own does.
    bool withMovies = false;

private:
    void start();
    // The frame at 0,0-1024,768 with its client at 1000 x 700; false when it
    // was there already.
    bool placeFrame();
    char previousFolder_[260] = "";
};
