// What the Flash panes ask of the application: link texts, the links base,
// document kinds and the document shown in a new state.
#include <cerrno>
#include <cstdlib>
#include <new>
#include <string>

#include "app/frame/SVPane.h"
#include "reader/TheApp.h"
#include "base/procedural/AError.h"
#include "search/facade/ALoSimple.h"

namespace {

class AppFlashServices : public AFlashServices {
public:
    explicit AppFlashServices(TheApp& app) : app_(app) {}

    AString getLinkFsText(const char* name) override { return app_.getLinkFsText(name); }
    AString getMapFsText(const char* name) override { return app_.getMapFsText(name); }
    // A record number out of the base's range answers empty, as a missing record does.
    AString getLinkRecord(long record) override {
        try {
            return app_.getDataManager()->getLinkRecord(record);
        } catch (const AError&) {
            return AString();
        }
    }
    int16_t getDocKind(long docNo, int16_t defaultKind) override { return app_.getDocKind(docNo, defaultKind); }
    bool docIsMedia(long docNo) override { return app_.docIsMedia(docNo); }
    void openMediaWindow(long docNo, int16_t first, int16_t second) override {
        if (!app_.openMediaWindow(docNo, first, second))
            app_.beep(0);
    }
    bool showDocument(SVPane& pane, long docNo) override {
        (void)pane;
        app_.showDocument(docNo);
        return true;
    }
    AppState* makeRoomPageState(SVPane& pane, const char* page) override {
        return app_.makeRoomPageState(*pane.getFrame(), page);
    }

private:
    TheApp& app_;
};

}  // namespace

AString TheApp::getLinkFsText(const char* name) {
    auto it = linkTexts_.find(name ? name : "");
    return it == linkTexts_.end() ? AString() : it->second;
}

namespace {

// A whole decimal number of the text, or false.
bool WholeNumber(const std::string& text, long& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end && *end == 0;
}

}  // namespace

long TheApp::resolveDocLink(const char* name) {
    std::string text = getLinkFsText(name).c_str();
    size_t colon = text.find(':');
    long kind = -1, n = -1;
    if (colon == std::string::npos || !WholeNumber(text.substr(0, colon), kind) ||
        !WholeNumber(text.substr(colon + 1), n) || n < 0)
        return -1;
    if (kind == 0)
        return n;
    if (kind != 1 || !getDataManager())
        return -1;
    try {
        // The record: two key fields, then a document list "count:maxDoc:d1,d2,...".
        std::string record = getDataManager()->getLinkRecord(n).c_str();
        size_t first = record.find(':');
        size_t second = first == std::string::npos ? first : record.find(':', first + 1);
        if (second == std::string::npos)
            return -1;
        ARefHold<ALoSimple> list(
            CheckAlloc(new (std::nothrow) ALoSimple(record.substr(second + 1).c_str()), "theapp", __LINE__));
        return list->getCount() > 0 ? list->seek(0) : -1;
    } catch (const AError&) {
        return -1;  // no such record, or a damaged list
    }
}

void TheApp::setLinkFsText(const char* name, const char* text) {
    linkTexts_[name ? name : ""] = AString(text ? text : "");
}

void TheApp::installFlashServices() {
    flashServices_.reset(new AppFlashServices(*this));
    gFlashServices = flashServices_.get();
}

void TheApp::removeFlashServices() {
    if (gFlashServices == flashServices_.get())
        gFlashServices = nullptr;
    flashServices_.reset();
}
