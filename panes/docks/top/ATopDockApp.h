// What the top dock's panes ask of the application object: the full-text
// search and its query history, document titles, icon types and information
// records, room titles, renderers, markup escapes, the media window and the
// search in the document. The application installs its own; without one a
// process-wide default answers as for a reader with no data (tests install
// theirs).
//
// Not owned by the panes. Search states are handed out new, with no
// reference taken: the navigation state they go into takes it.
#pragma once
#include <cstdint>

#include "app/state/ADocRef.h"
#include "base/object/AString.h"

class ARenderer;
class ARendererView;
class ASearchBase;
class ASearchState;
class ASiReqSearch;
class ASVLoSearchState;
class AStyleSheet;
class AppState;

class ATopDockApp {
public:
    ATopDockApp() = default;
    virtual ~ATopDockApp() = default;
    // The installed one, else the default.
    static ATopDockApp& current();
    // Null puts the default back.
    static void install(ATopDockApp* app);

    // A new search state (no reference taken) or null when nothing is
    // to be shown; the application has then said why.
    virtual ASVLoSearchState* runFullTextSearch(int16_t offerOnline, const char* query, int16_t noPhonetic) {
        (void)offerOnline, (void)query, (void)noPhonetic;
        return nullptr;
    }
    // The application's query history; the default keeps its own, unlimited.
    virtual ASiReqSearch& queryHistory();
    // The texts under keys 4 (the field's) and 3 (the effective query).
    virtual void setSearchStateTexts(ASearchState* search, long value, const char* text4, const char* text3);

    virtual AString getDocTitle(long docNo) {
        (void)docNo;
        return AString();
    }
    // Whether document titles come as "prefix:title".
    virtual bool titlesPrefixed() { return false; }
    // The title of a room (fSalle) for a state.
    virtual AString getSalleTitle(int16_t room, AppState* state) {
        (void)room, (void)state;
        return AString();
    }
    virtual int16_t getDocIconType(long docNo) { return docNo < 0 ? -1 : 0; }
    virtual bool isCurrentDocIconType26() { return false; }
    // The information record of a document (flags all 0 without data).
    virtual ADocRefInfo getDocRefInfo(long docNo) { return ADocRefInfo(docNo, 13, 1); }
    // Fills the document part's fDate and user-info entry 1190 of state.
    virtual void fillDocDates(AppState* state) { (void)state; }
    // The application's text renderer installed in the view with a style option, or null.
    virtual ARenderer* createTextRenderer(ARendererView* view, long option) {
        (void)view, (void)option;
        return nullptr;
    }
    virtual AStyleSheet* getStyleSheet(long number) {
        (void)number;
        return nullptr;
    }
    // Data base index of the data manager, or null.
    virtual ASearchBase* getBase(int16_t index) {
        (void)index;
        return nullptr;
    }
    // The text with a backslash before each markup character.
    virtual AString escapeMarkup(const char* text);
    virtual void openMediaWindow(long docNo, int16_t first, int16_t second) { (void)docNo, (void)first, (void)second; }
};
