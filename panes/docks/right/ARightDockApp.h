// What the right dock and its lists ask of the application object: the
// documents' information records, titles and extension fields, the records of
// the global and document-information bases, the configuration's messages,
// markup escaping and the online links page. The
// application installs its own; without one a process-wide default answers
// as for a reader with no data (tests install theirs).
//
// Not owned by the panes.
#pragma once

#include <cstdint>

#include "app/state/ADocRef.h"
#include "base/object/AString.h"

class AAppTextRenderer;
class ARendererView;

class ARightDockApp {
public:
    // Bases and tables the lists read.
    enum : int16_t { kGlobalBase = 1, kLinksBase = 4, kInfoBase = 13 };
    enum : int16_t { kSetTable = 5, kThemeTable = 6, kTitleTable = 0 };

    ARightDockApp() = default;
    virtual ~ARightDockApp() = default;
    // The installed one, else the default.
    static ARightDockApp& current();
    // Null puts the default back.
    static void install(ARightDockApp* app);

    // Where the document's record lies (an empty record for an unknown document).
    virtual ADocRefInfo getDocRefInfo(long docNo) { return ADocRefInfo(docNo, -1, -1); }
    virtual AString getDocTitle(long docNo) {
        (void)docNo;
        return AString();
    }
    // The "EXT" field of the document's own base; "" when the base has none.
    virtual AString getDocExt(long docNo) {
        (void)docNo;
        return AString();
    }
    // Record of a table of a data base as text; "" outside the table.
    virtual AString getRecordText(int16_t base, int16_t table, long record) {
        (void)base, (void)table, (void)record;
        return AString();
    }
    // Record r of table HDG of the links base (t is the group kind).
    virtual AString getLinkRecord(int16_t t, long r) {
        (void)t, (void)r;
        return AString();
    }
    // A configuration message, "" when absent.
    virtual AString getMessage(const char* key) {
        (void)key;
        return AString();
    }
    // text with a backslash before each character of set.
    virtual AString escapeMarkup(const char* text, const char* set);
    // The online links page of a web-link key (after the connection check).
    virtual void openLinkComplements(const char* reference) { (void)reference; }
    // A text renderer installed in the view with the style sheet; null without one.
    virtual AAppTextRenderer* createTextRenderer(ARendererView* view, long sheet) {
        (void)view, (void)sheet;
        return nullptr;
    }
};
