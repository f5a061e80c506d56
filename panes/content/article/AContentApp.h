// What the centre views ask of the application object: the documents'
// kinds and records, the bases, the note store, the renderers of their
// views, the media window, the online extended search, the main window's
// document operations and the configuration. The application installs its
// own; without one a process-wide default answers as for a reader with no
// data (tests install theirs).
//
// Not owned by the panes.
#pragma once

#include <cstdint>

#include "app/state/ADocRef.h"
#include "base/object/AString.h"

class AAppTextRenderer;
class ABitmapSupplier;
class AListRenderer;
class ANoteManager;
class APrefManager;
class AStyleSheet;
class ARendererView;
class ASearchBase;
class DockLCRPane;

class AContentApp {
public:
    AContentApp() = default;
    virtual ~AContentApp() = default;
    // The installed one, else the default.
    static AContentApp& current();
    // Null puts the default back.
    static void install(AContentApp* app);

    virtual bool docIsMedia(long docNo) {
        (void)docNo;
        return false;
    }
    virtual bool isTextDoc(long docNo) {
        (void)docNo;
        return false;
    }
    virtual int16_t getDocKind(long docNo, int16_t defaultKind) {
        (void)docNo;
        return defaultKind;
    }
    virtual int16_t getDocIconType(long docNo) { return docNo < 0 ? -1 : 0; }
    // Where the document's record lies (an empty record for an unknown document).
    virtual ADocRefInfo getDocRefInfo(long docNo) { return ADocRefInfo(docNo, -1, -1); }
    // Data base `index` of the data manager, or null.
    virtual ASearchBase* getBase(int16_t index) {
        (void)index;
        return nullptr;
    }
    virtual ANoteManager* notes() { return nullptr; }
    // The application's text renderer installed in the view (the view holds
    // it), with the supplier and style sheet `sheet`; null without one.
    virtual AAppTextRenderer* createTextRenderer(ARendererView* view, ABitmapSupplier* supplier, long sheet) {
        (void)view, (void)supplier, (void)sheet;
        return nullptr;
    }
    // A list renderer for a styled list (an outline), installed in the view; null without one.
    virtual AListRenderer* createStyledListRenderer(ARendererView* view, int16_t flags, int16_t sheet) {
        (void)view, (void)flags, (void)sheet;
        return nullptr;
    }
    virtual void openMediaWindow(long docNo, int16_t frame, int16_t forceNew) {
        (void)docNo, (void)frame, (void)forceNew;
    }
    virtual void openExtendedSearch(const char* text) { (void)text; }
    // The current document again, positioned at a text position.
    virtual void showDocumentAt(long position) { (void)position; }
    virtual void playDocument(long record) { (void)record; }
    virtual void openAuthor(long author, long docNo) { (void)author, (void)docNo; }
    // Sheet n of the application's style sheets, or null.
    virtual AStyleSheet* getStyleSheet(long n) {
        (void)n;
        return nullptr;
    }
    // The reader's preferences, or null.
    virtual APrefManager* prefManager() { return nullptr; }
    // A configuration value, empty when absent.
    virtual AString configString(const char* key) {
        (void)key;
        return AString();
    }
    // The centre document switcher, registered when it attaches (null: none).
    void setDocumentSwitcher(DockLCRPane* pane) { switcher_ = pane; }
    DockLCRPane* documentSwitcher() const { return switcher_; }

private:
    DockLCRPane* switcher_ = nullptr;  // not owned
};
