// Support of the movie panes' tests in the real reader on the sample: the
// application's answers with the pages asked for recorded and a few
// configuration values overridden, and the movie stand-in of a browser view
// (its state and a click on one of its hotspots).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "panes/content/article/AContentApp.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

class AMozillaView;

// Forwards to the real services; records "key WxH" of each page asked for.
class RecordingContent : public AContentApp {
public:
    explicit RecordingContent(AContentApp& real) : real_(real) {}
    bool docIsMedia(long docNo) override { return real_.docIsMedia(docNo); }
    bool isTextDoc(long docNo) override { return real_.isTextDoc(docNo); }
    int16_t getDocKind(long docNo, int16_t defaultKind) override { return real_.getDocKind(docNo, defaultKind); }
    int16_t getDocIconType(long docNo) override { return real_.getDocIconType(docNo); }
    ADocRefInfo getDocRefInfo(long docNo) override { return real_.getDocRefInfo(docNo); }
    ASearchBase* getBase(int16_t index) override { return real_.getBase(index); }
    ANoteManager* notes() override { return real_.notes(); }
    AStyleSheet* getStyleSheet(long n) override { return real_.getStyleSheet(n); }
    APrefManager* prefManager() override { return real_.prefManager(); }
    AString configString(const char* key) override {
        auto it = config.find(key);
        return it != config.end() ? AString(it->second.c_str()) : real_.configString(key);
    }
    AString makeMediaPage(const char* key, const AMediaPageValues& values) override {
        pages += std::string(key) + " " + std::to_string(values.width) + "x" + std::to_string(values.height) + ";";
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
    void openMediaWindow(long docNo, int16_t frame, int16_t forceNew) override {
        media += std::to_string(docNo) + " " + std::to_string(frame) + " " + std::to_string(forceNew) + ";";
    }
    long resolveDocLink(const char* name) override {
        auto it = links.find(name ? name : "");
        return it == links.end() ? -1 : it->second;
    }

    std::map<std::string, std::string> config;  // values that replace the installation's
    std::map<std::string, long> links;          // link names and their documents
    std::string pages;
    std::string media;

private:
    AContentApp& real_;
};

// The reader on the sample with the recording services installed.
class MovieReaderTest : public SampleReaderTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // The stand-in inside the view ("" without one): DescribeFlashStandIn.
    std::string standIn(AMozillaView* view);
    // Pumps until the view holds a stand-in (a page has loaded), at most about 2 s.
    bool waitForStandIn(AMozillaView* view);
    // A click of the stand-in at the middle of the design rectangle
    // (x, y, w, h) of a movie of design size (mw, mh), fitted to its window.
    bool clickMovie(AMozillaView* view, long mw, long mh, long x, long y, long w, long h);

    std::unique_ptr<RecordingContent> recorder;
};
