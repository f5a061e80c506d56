// The application's side of the centre views: their services, the styled
// list renderer, the online extended search and the media window request.
#include <cctype>
#include <new>
#include <string>

#include "app/frame/Frame1.h"
#include "reader/ASVSelContextMenuCallBack.h"
#include "reader/TheApp.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"
#include "base/procedural/AError.h"
#include "base/procedural/AOutStream.h"
#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"
#include "docengine/render/ATextRenderer.h"
#include "docengine/styles/AStyleSheet.h"
#include "framework/app/AppServices.h"

namespace {

// What the centre views ask of the application object.
class TheAppContent : public AContentApp {
public:
    explicit TheAppContent(TheApp& app) : app_(app) {}
    bool docIsMedia(long docNo) override { return app_.getDataManager() && app_.docIsMedia(docNo); }
    bool isTextDoc(long docNo) override { return app_.getDataManager() && app_.isTextDoc(docNo); }
    int16_t getDocKind(long docNo, int16_t defaultKind) override { return app_.getDocKind(docNo, defaultKind); }
    int16_t getDocIconType(long docNo) override { return app_.getDocIconType(docNo); }
    ADocRefInfo getDocRefInfo(long docNo) override { return app_.getDataManager()->getDocRefInfo(docNo); }
    ASearchBase* getBase(int16_t index) override {
        AppDataManager* data = app_.getDataManager();
        return data && index >= 0 ? data->getBase(index) : nullptr;
    }
    ANoteManager* notes() override { return app_.getNoteManager(); }
    AAppTextRenderer* createTextRenderer(ARendererView* view, ABitmapSupplier* supplier, long sheet) override {
        AAppTextRenderer* renderer = app_.createTextRenderer(view, sheet);
        renderer->setBitmapSupplier(supplier);
        return renderer;
    }
    AListRenderer* createStyledListRenderer(ARendererView* view, int16_t flags, int16_t sheet) override {
        return app_.createStyledListRenderer(view, flags, sheet);
    }
    void openMediaWindow(long docNo, int16_t frame, int16_t forceNew) override {
        app_.openMediaWindow(docNo, frame, forceNew);
    }
    void openExtendedSearch(const char* text) override { app_.openExtendedSearch(text); }
    void showDocumentAt(long position) override { app_.showDocumentAt(position); }
    // An article's "S" link plays its sound and its "A" link opens the author
    // window, both through the main window (nothing before it opens).
    void playDocument(long record) override {
        if (Frame1* frame = app_.getFrame())
            frame->playDocument(record);
    }
    void openAuthor(long author, long docNo) override {
        if (Frame1* frame = app_.getFrame())
            frame->openAuthor(author, docNo);
    }
    void showDocument(long docNo) override { app_.showDocument(docNo); }
    ASelContextMenuCallBack* selContextMenu(bool findInText) override { return app_.getSelContextMenu(findInText); }
    AKeyIndex* openIndex(const char* key) override {
        if (!gDataLocation)
            return nullptr;
        try {
            return gDataLocation->openIndex(key);
        } catch (const AError&) {
            // A descriptor without the index: the list stays empty.
            return nullptr;
        }
    }
    void showDocumentIfOpen(long docNo) override { app_.showDocumentIfOpen(docNo); }
    AString escapeMarkup(const char* text, const char* set) override { return app_.escapeMarkup(text, set); }
    AString configString(const char* key) override { return app_.configString(key); }
    AStyleSheet* getStyleSheet(long n) override { return app_.getStyleSheet(n); }
    APrefManager* prefManager() override { return app_.getPrefManager(); }
    AString makeMediaPage(const char* key, const AMediaPageValues& values) override {
        if (templatePath(key).empty())
            return AString();
        return app_.makeMediaPage(key, values);
    }
    // An installation without the template (key or file) gives no page rather
    // than stopping the start.
    AString templatePath(const char* key) override { return app_.findTemplateFile(key); }
    void registerTempFile(const char* path) override { app_.registerTempFile(path); }
    AString windowTitle() override { return app_.getWindowTitle(); }
    AString roomsFolder() override {
        ASearchBase* rooms = getBase(8);
        return rooms ? rooms->getFileSpec(0).parent(false).path() : AString();
    }
    AString extractRecord(int16_t base, int16_t table, long record, const char* extension) override {
        return app_.extractRecordToTemp(base, table, record, extension);
    }
    AString getDocTitle(long docNo) override { return app_.getDataManager()->getDocTitle(docNo); }
    long resolveDocLink(const char* name) override { return app_.resolveDocLink(name); }
    long findDocByKey(const char* key) override { return app_.findDocByKey(key); }
    AString guidePageUrl(long n) override {
        AppDataManager* data = app_.getDataManager();
        return data ? data->getGuideUrl(n) : AString();
    }
    int16_t findBaseField(int16_t base, const char* name) override {
        return static_cast<int16_t>(app_.findBaseField(base, name));
    }
    AString webEntry(long n) override {
        ADocNetManager* docNet = app_.getDocNetManager();
        return docNet && n >= 0 ? docNet->getEntry(n) : AString();
    }
    long webDocNo(const char* entry) override { return app_.getUrlDocNo(entry); }
    AString message(const char* key) override { return app_.configMessage(key); }
    AString escapeChars(const char* text, const char* set) override { return TheApp::escapeChars(text, set); }
    AString lastConnection() override {
        ANetInfo* info = app_.netInfo();
        return info ? info->getLastConnection() : AString();
    }

private:
    TheApp& app_;
};

}  // namespace

long TheApp::findDocByKey(const char* key) {
    AppDataManager* data = getDataManager();
    long field = findBaseField(1, "D10");
    ASearchBase* glb = data && field >= 0 ? data->getBase(1) : nullptr;
    if (!glb || !key || !*key)
        return -1;
    std::string wanted = key;
    for (char& c : wanted)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    short position = static_cast<short>(field);
    long count = glb->getRecordCount(position);
    for (long n = 0; n < count; ++n) {
        if (wanted == glb->getText(position, n, 1).c_str())
            return n;
    }
    return -1;
}

void TheApp::installContentServices() {
    content_.reset(CheckAlloc(new (std::nothrow) TheAppContent(*this), "theapp", __LINE__));
    AContentApp::install(content_.get());
}

void TheApp::removeContentServices() {
    if (content_ && &AContentApp::current() == content_.get())
        AContentApp::install(nullptr);
    content_.reset();
}

AListRenderer* TheApp::createStyledListRenderer(ARendererView* view, int16_t flags, int16_t sheet) {
    AListRenderer* renderer = createListRenderer(view, flags, sheet);
    if (!renderer)
        return nullptr;
    if (AStyleSheet* style = getStyleSheet(sheet)) {
        renderer->selectedColour = style->getColor(7);
        renderer->separatorColour = style->getColor(8);
    }
    renderer->separatorLeftInset = renderer->separatorRightInset = 0;
    renderer->setCursors(3, 310, 310);
    renderer->setCursors(2, 311, 311);
    return renderer;
}

void TheApp::openExtendedSearch(const char* text) {
    if (!checkConnection(nullptr))
        return;
    // The service's own page of its search for the words, shown whole as the other service pages are.
    showWebPage(makeServiceUrl("recherche", "text", text ? text : "").c_str(), 1, 1);
}

