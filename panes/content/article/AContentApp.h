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
class AKeyIndex;
class ABitmapSupplier;
class AListRenderer;
class ANoteManager;
class APrefManager;
class AStyleSheet;
class ARendererView;
class ASearchBase;
class ASelContextMenuCallBack;
class DockLCRPane;

// The values a movie page template receives (TheApp::makeMediaPage).
struct AMediaPageValues {
    AString file;        // the movie's address
    AString title;       // accepted, not used by the templates
    AString stop;        // the movie's stop script
    AString align;
    long width = 0;      // only written when above 0
    long height = 0;
    long frame = -1;
    AString background;
    AString pageTitle;   // HTML-escaped when written
    AString legend;      // HTML-escaped when written
};

// The size of a movie of design size w x h fitted into a view of vw x vh,
// keeping its proportions (each side truncated). A design side of 0 or less
// counts as a scale of 1: the movie keeps its own size.
inline void FitMovie(long vw, long vh, long w, long h, long& outW, long& outH) {
    if (w <= 0 || h <= 0) {
        outW = w > 0 ? w : 0;
        outH = h > 0 ? h : 0;
        return;
    }
    double rx = double(vw) / double(w), ry = double(vh) / double(h);
    double s = ry < rx ? ry : rx;
    outW = static_cast<long>(w * s);
    outH = static_cast<long>(h * s);
}

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
    // The menu a right click on selected text shows (findInText: with "find in
    // the text"); not owned. Null: no menu, as a reader without tools has none.
    virtual ASelContextMenuCallBack* selContextMenu(bool findInText) {
        (void)findInText;
        return nullptr;
    }
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
    // A page written from the template of the configuration key (a
    // registered temporary file); its path, empty when it could not be written.
    virtual AString makeMediaPage(const char* key, const AMediaPageValues& values) {
        (void)key, (void)values;
        return AString();
    }
    // The path of the template file of a configuration key, empty when none.
    virtual AString templatePath(const char* key) {
        (void)key;
        return AString();
    }
    virtual void registerTempFile(const char* path) { (void)path; }
    // Registers a generated file, when it exists, and empties the path.
    void releaseTempFile(AString& path);
    virtual AString windowTitle() { return AString(); }
    // The folder holding the rooms base's data file (the room movies' folder).
    virtual AString roomsFolder() { return AString(); }
    // The date text of the last connection to the online service, empty when never.
    virtual AString lastConnection() { return AString(); }
    // The record's data as a registered temporary file with the extension
    // (".swf"); its path, empty when it could not be had.
    virtual AString extractRecord(int16_t base, int16_t table, long record, const char* extension) {
        (void)base, (void)table, (void)record, (void)extension;
        return AString();
    }
    virtual AString getDocTitle(long docNo) {
        (void)docNo;
        return AString();
    }
    // Document n (-1: the current one) in a new navigation state; the second
    // only when the current state has a document part.
    virtual void showDocument(long docNo) { (void)docNo; }
    virtual void showDocumentIfOpen(long docNo) { (void)docNo; }
    // text with a backslash before each character of set.
    virtual AString escapeMarkup(const char* text, const char* set);
    // The keyed index the configuration registers under key, for the caller
    // to delete (DeleteDataAccessAndNull); null when there is none.
    virtual AKeyIndex* openIndex(const char* key) {
        (void)key;
        return nullptr;
    }
    // The document a link name leads to, or -1.
    virtual long resolveDocLink(const char* name) {
        (void)name;
        return -1;
    }

    // The document of an identifier (upper-cased first), or -1.
    virtual long findDocByKey(const char* key) {
        (void)key;
        return -1;
    }
    // The "File:///" address of help guide page n, empty when it is not there.
    virtual AString guidePageUrl(long n) {
        (void)n;
        return AString();
    }
    // The position of a field name in a base's table list, -1 when absent.
    virtual int16_t findBaseField(int16_t base, const char* name) {
        (void)base, (void)name;
        return -1;
    }
    // The web document entry ("address;title") of document n, empty when none.
    virtual AString webEntry(long n) {
        (void)n;
        return AString();
    }
    // The document number of a web entry, registered when new; -1 when none.
    virtual long webDocNo(const char* entry) {
        (void)entry;
        return -1;
    }
    // A copy of the text with a backslash before every character of the set.
    virtual AString escapeChars(const char* text, const char* set) {
        (void)set;
        return AString(text ? text : "");
    }
    // The message text of a key of the installation's messages.
    virtual AString message(const char* key) { return AString(key); }

    // The centre document switcher, registered when it attaches (null: none).
    void setDocumentSwitcher(DockLCRPane* pane) { switcher_ = pane; }
    DockLCRPane* documentSwitcher() const { return switcher_; }

private:
    DockLCRPane* switcher_ = nullptr;  // not owned
};
