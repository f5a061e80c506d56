// What the media window's panes ask of the application object: the media
// documents' records (title, credit, dimensions, picture), the renderers of
// their views, the installation's kind and folders, the window dictionary
// and the dossier. The application installs its own; without one a
// process-wide default answers as for a reader with no data (tests install
// theirs).
//
// Not owned by the panes.
#pragma once

#include <cstdint>
#include <string>

#include "app/state/ADocRef.h"
#include "panes/content/article/AContentApp.h"
#include "base/object/AString.h"

class AHighlighter;
class AHotspotRenderer;
class AppState;
class ARenderer;
class ARendererView;
class MediaWin;

class AMediaApp {
public:
    AMediaApp() = default;
    virtual ~AMediaApp() = default;
    // The installed one, else the default.
    static AMediaApp& current();
    // Null puts the default back.
    static void install(AMediaApp* app);

    virtual ADocRefInfo getDocRefInfo(long docNo) { return ADocRefInfo(docNo, -1, -1); }
    virtual int16_t getDocIconType(long docNo) { return docNo < 0 ? -1 : 0; }
    virtual AString getDocTitle(long docNo) {
        (void)docNo;
        return AString();
    }
    // The document's rights text, empty when none.
    virtual AString getDocCredit(long docNo) {
        (void)docNo;
        return AString();
    }
    // The stored "w:h" of the document; false (0, 0) without one.
    virtual bool getDocDimensions(long docNo, long* width, long* height) {
        (void)docNo;
        *width = *height = 0;
        return false;
    }
    // The document's picture as a registered temporary ".img" file; its
    // path, empty when the record could not be had.
    virtual AString extractPicture(long docNo) {
        (void)docNo;
        return AString();
    }
    // The document's movie record as a registered temporary ".swf" file; its
    // path, empty when the record could not be had.
    virtual AString extractMovie(long docNo) {
        (void)docNo;
        return AString();
    }
    // The text of the document's record in the named field of its base and
    // the folder holding that field's data file; false (both empty) when the
    // base has no such field.
    virtual bool getDocField(long docNo, const char* field, AString* text, AString* folder) {
        (void)docNo, (void)field;
        *text = *folder = AString();
        return false;
    }
    // A movie page from the template the key names, registered for deletion;
    // its path, empty when the template is missing.
    virtual AString makeMediaPage(const char* key, const AMediaPageValues& values) {
        (void)key, (void)values;
        return AString();
    }
    // The Director page from the templates the two keys name (below); its
    // path, empty when a template is missing.
    virtual AString fillVideoTemplate(const char* pageKey, const char* launcherKey, const AString& video,
                                      const AString& director, const AString& title) {
        (void)pageKey, (void)launcherKey, (void)video, (void)director, (void)title;
        return AString();
    }
    // Titles of the reference base read "prefix:rest".
    virtual bool hasReferenceBase() { return false; }
    virtual bool isNetworkInstall() { return false; }
    // The application's temporary folder.
    virtual AString tempFolder() { return AString(); }
    virtual AString configString(const char* key) {
        (void)key;
        return AString();
    }
    virtual void registerTempFile(const char* path) { (void)path; }
    // An existing file goes to registerTempFile; the path is emptied.
    void forgetTempFile(AString& path);
    // The application's text renderer installed in the view (which holds it), or null.
    virtual ARenderer* createTextRenderer(ARendererView* view, long sheet) {
        (void)view, (void)sheet;
        return nullptr;
    }
    // The application's hot-spot renderer installed in the view, or null.
    virtual AHotspotRenderer* createHotspotRenderer(ARendererView* view) {
        (void)view;
        return nullptr;
    }
    // A new highlighter of the main window's search words (no reference
    // taken) for the caption, or null without a search.
    virtual AHighlighter* newCaptionHighlighter() { return nullptr; }
    virtual void addToCurrentDossier(AppState* state) { (void)state; }
    // The reader's preference "hide the media's linked extensions" (1006).
    virtual bool hidesMediaExtensions() { return false; }
    virtual bool docIsMedia(long docNo) {
        (void)docNo;
        return false;
    }
    // Another media window on the document (a new one with forceNew).
    virtual void openMediaWindow(long docNo, int16_t frame, int16_t forceNew) { (void)docNo, (void)frame, (void)forceNew; }
    // The document in the main window.
    virtual void showDocument(long docNo) { (void)docNo; }
    // Takes the window out of the dictionary of media windows (it must be there).
    virtual void forgetMediaWindow(MediaWin* window) { (void)window; }
    // Shows a message box (never in tests: theirs records it).
    virtual void message(const char* text) { (void)text; }
};

// The percentage that fits a picture of pw x ph into a box of bw x bh, the
// smaller of the two ratios; 100 when they are equal or either is empty.
int16_t ComputeZoomPercent(long bw, long bh, long pw, long ph);

// The Director page's text: the page template with its three markers
// ("<VIDEO_FILENAME_TO_REPLACE>", "<DCR_FILENAME_TO_REPLACE>",
// "<LAUNCHER_FILENAME_TO_REPLACE>") replaced by the addresses given and its
// title element's text by the title (HTML-escaped).
std::string FillVideoPage(std::string page, const std::string& video, const std::string& director,
                          const std::string& launcher, const std::string& title);
