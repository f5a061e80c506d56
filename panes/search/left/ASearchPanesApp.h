// What the search panes ask of the application object about documents and
// windows: a document's kind and whether it is a media document, the
// document an online address stands for, the media window, the beep and the
// list positions. The application installs its own while it lives; without
// one a default answers (no media, no known address, nothing opened).
//
// Not owned by the panes.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class ARendererView;
class ASVLoSearchState;

class ASearchPanesApp {
public:
    virtual ~ASearchPanesApp() = default;

    // The installed one, else the default.
    static ASearchPanesApp& current();
    // Null puts the default back.
    static void install(ASearchPanesApp* app);

    virtual bool docIsMedia(long docNo) { (void)docNo; return false; }
    virtual int16_t getDocKind(long docNo, int16_t defaultKind) { (void)docNo; return defaultKind; }
    // The document registered for an address (its part before ';'), or -1.
    virtual long getUrlDocNo(const char* address) { (void)address; return -1; }
    virtual void openMediaWindow(long docNo, int16_t first, int16_t second) { (void)docNo, (void)first, (void)second; }
    virtual void beep() {}
    // Runs the online search of a search part for an index entry (0: a plain
    // text search) with the action ("text" or "index") and the row's id, and
    // answers the name of its stored result, "" when the service gave nothing.
    virtual AString searchOnline(ASVLoSearchState* search, long entry, const char* action, long id) {
        (void)search, (void)entry, (void)action, (void)id;
        return AString();
    }
    // Shows the result list in the centre of the main window.
    virtual void goToListView() {}
    // Digit n of the document's information flags (0 when unknown).
    virtual int16_t docInfoDigit(long docNo, int16_t n) { (void)docNo, (void)n; return 0; }
    // Selects first .. last in the view and centres them when they are out of sight.
    virtual void centerListLine(ARendererView* view, long first, long last);
    virtual void setPlainListShown(int16_t shown);

    // The advanced search's questions to the application: its stop words,
    // proximity option, ligatures, query character filter, configured
    // messages and the sound-alike proposal step (the chosen form, "" for none).
    virtual bool isStopWordQuery(const char* query) { (void)query; return false; }
    virtual AString proximityOption() { return AString(); }
    virtual AString expandLigatures(const char* text) { return AString(text); }
    virtual AString filterQuery(const char* query) { return AString(query); }
    virtual AString configMessage(const char* key) { return AString(key); }
    virtual AString proposeSoundAlike(const char* query) { (void)query; return AString(); }
};
