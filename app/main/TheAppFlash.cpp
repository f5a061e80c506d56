// What the Flash panes ask of the application: link texts, the links base,
// document kinds and the document shown in a new state.
#include <new>

#include "app/main/TheApp.h"
#include "base/object/AError.h"

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
    bool showDocument(SVPane& pane, long docNo) override {
        (void)pane;
        app_.showDocument(docNo);
        return true;
    }

private:
    TheApp& app_;
};

}  // namespace

AString TheApp::getLinkFsText(const char* name) {
    auto it = linkTexts_.find(name ? name : "");
    return it == linkTexts_.end() ? AString() : it->second;
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
