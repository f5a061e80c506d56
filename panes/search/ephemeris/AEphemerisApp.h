// What the ephemeris panes and the caption panes ask of the application
// object: today's date, the documents' icons, titles, kinds and records, the
// caption field of a base, markup escaping, their text renderers and the main
// window's state (whose search the captions highlight). The application
// installs its own while it lives; without one a default answers as for a
// reader with no data (tests install theirs).
//
// Not owned by the panes.
#pragma once

#include <cstdint>

#include "app/state/ADocRef.h"
#include "base/object/AString.h"

class AAppTextRenderer;
class AppState;
class ARenderer;
class ARendererView;

class AEphemerisApp {
public:
    AEphemerisApp() = default;
    virtual ~AEphemerisApp() = default;
    // The installed one, else the default.
    static AEphemerisApp& current();
    // Null puts the default back.
    static void install(AEphemerisApp* app);

    // "DD-MM-YY" of today (the default reads the local clock).
    virtual AString todayText();
    virtual int16_t getDocIconType(long docNo) {
        (void)docNo;
        return 0;
    }
    virtual AString getDocTitle(long docNo) {
        (void)docNo;
        return AString();
    }
    virtual bool isTextDoc(long docNo) { return docNo >= 0; }
    // Where the document's record lies (an empty record for an unknown document).
    virtual ADocRefInfo getDocRefInfo(long docNo) { return ADocRefInfo(docNo, -1, -1); }
    // The table of the base named fieldName, or -1.
    virtual long findBaseField(int16_t base, const char* fieldName);
    // text with a backslash before each character of set.
    virtual AString escapeMarkup(const char* text, const char* set);
    // A text renderer installed in the view with style sheet n; null without one.
    virtual AAppTextRenderer* createTextRenderer(ARendererView* view, long sheet) {
        (void)view, (void)sheet;
        return nullptr;
    }
    // Gives the renderer the application's selection context menu.
    virtual void setSelectionMenu(ARenderer* renderer) { (void)renderer; }
    // The main window's current state, or null.
    virtual AppState* mainState() { return nullptr; }
};
