// What the main window asks of the application object: the document panes
// of the document kinds, the stored screen addresses, the online connection,
// the history after a navigation, the reader's name, the menu data and the
// configuration. The application object installs its own; without one the
// frame uses this base, whose answers suit a reader with no data, no network
// and no preferences.
//
// The frame does not own the services (gFrameServices is set by their owner).
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class ALineGetterCallBack;
class AppState;
class AStyleSheetSet;
class Frame1;
class SVPane;

class AFrameServices {
public:
    virtual ~AFrameServices() = default;

    // The id of the document pane that shows a document kind.
    virtual int16_t getDocKindPane(int16_t kind) {
        (void)kind;
        return 1201;
    }
    // A new state (owned by the caller) showing a web address, or null.
    virtual AppState* makeUrlNavState(Frame1& frame, const AString& address, int16_t kind, long value);
    // The address stored for screen (first, second); empty when none.
    virtual AString getScreenAddress(int16_t first, int16_t second);
    // True when the online service may be used now; else the reader was told why.
    virtual bool checkConnection(const char* address);
    virtual int16_t connectionState() { return 0; }
    virtual void openWebHome(int16_t full) { (void)full; }
    // The preferences dialog and the account wizard at a step; nothing by default.
    virtual void openPreferences() {}
    virtual void openNetDialog(int16_t step) { (void)step; }
    virtual void openNoteWindow(long docNo, long noteId, SVPane* owner);
    // The dossier window, with the element to select (reference -1: none).
    virtual void openDossierWindow(long reference, int16_t kind) { (void)reference, (void)kind; }
    virtual void saveHistoryIfWanted() {}
    virtual AString getCurrentUserName() { return AString(); }
    virtual bool workFolderExists() { return false; }
    virtual bool resultExportEnabled() { return false; }
    // Record `record` of table 1 of base 0: the text of one tool-bar menu. A
    // missing base is an assertion.
    virtual AString menuRecordText(long record);
    // A configuration value ("MAX_EXPORT_LIST"), empty when absent.
    virtual AString configString(const char* key);
    // A message text of the configuration ("MSG_..."), empty when absent.
    virtual AString configMessage(const char* key) { return configString(key); }
    // The application's style sheets, or null.
    virtual AStyleSheetSet* styleSheets() { return nullptr; }
    // The folder of "print.prf" and "export.prf": the reader's own in a
    // network installation; empty for the framework's default place.
    virtual AString printFilesFolder() { return AString(); }
    virtual void activateFrame();
    // The history rows' titles: a web document's page title (empty when
    // unknown), a room state's room title, and the text of a document's
    // record in table 0 (HDGLIB) of base 13 (empty when there is none).
    virtual AString webPageTitle(long docNo) {
        (void)docNo;
        return AString();
    }
    virtual AString roomTitle(AppState* state) {
        (void)state;
        return AString();
    }
    virtual AString docListRecord(long docNo) {
        (void)docNo;
        return AString();
    }
    // A new row format (the caller owns it) that draws a history row
    // "key TAB icon TAB title" as a row linking to its key; null keeps rows raw.
    virtual ALineGetterCallBack* makeHistoryRowFormat() { return nullptr; }
};

// The services the frame uses: gFrameServices when set, else a shared base instance.
AFrameServices& FrameServices();
extern AFrameServices* gFrameServices;
