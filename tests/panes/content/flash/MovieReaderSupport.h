// Support of the movie panes' tests in the real reader on the sample: the
// application's answers with the pages asked for recorded and a few
// configuration values overridden, and the movie stand-in of a browser view
// (its state and a click on one of its hotspots).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "app/frame/Frame1.h"
#include "panes/content/article/AContentApp.h"
#include "tests/panes/content/article/ArticleTestSupport.h"

class AMozillaView;

// Records "key WxH" of each page asked for and the media windows opened;
// configuration values and link names can be given their own answers.
class RecordingContent : public ForwardingContent {
public:
    using ForwardingContent::ForwardingContent;
    AString configString(const char* key) override {
        auto it = config.find(key);
        return it != config.end() ? AString(it->second.c_str()) : ForwardingContent::configString(key);
    }
    AString makeMediaPage(const char* key, const AMediaPageValues& values) override {
        pages += std::string(key) + " " + std::to_string(values.width) + "x" + std::to_string(values.height) + ";";
        return ForwardingContent::makeMediaPage(key, values);
    }
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
    // The first pane of class T in the main window, or null.
    template <class T>
    T* paneOf() {
        AComponent* found = frame->findDescendant(&T::classRecord, nullptr);
        return found ? static_cast<T*>(found->castTo(&T::classRecord)) : nullptr;
    }

    std::unique_ptr<RecordingContent> recorder;
};
