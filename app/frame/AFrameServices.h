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
class AWindow;
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
    // Network installations: the reader's folder (empty when no reader is
    // named) and the folder of the reader's files in use.
    virtual AString userDirectory() { return AString(); }
    virtual AString userFilesFolder() { return AString(); }
    // Closes, and opens again from the reader's folder, the settings object of
    // one of the six work files (the index in Frame1::kWorkFiles).
    virtual void releaseWorkObject(int16_t index) { (void)index; }
    virtual void reloadWorkObject(int16_t index) { (void)index; }
    // Writes the history held in memory as "sv.histo" into folder; false when it could not.
    virtual bool writeHistoryIn(const AString& folder) {
        (void)folder;
        return false;
    }
    // The work-name, identification and password dialogs built from their
    // layouts, centred and shown; null when a layout is missing.
    virtual AWindow* openWorkNameDialog(Frame1& frame, int16_t mode, const AString& message, const AString& name);
    virtual AWindow* openIdentification(Frame1& frame, int16_t mode, const AString& message);
    virtual AWindow* openWorkPassword(Frame1& frame, const AString& message, const AString& expected);
    // Makes an existing reader (setUserName) or a new one (createUserName)
    // the current reader; false after telling the reader why not.
    virtual bool setUserName(const char* name) {
        (void)name;
        return false;
    }
    virtual bool createUserName(const char* name) {
        (void)name;
        return false;
    }
    // Closes the dossier window when it is open.
    virtual void closeDossierWindow() {}
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

    // Tools. The document's disc is in (a CD set may ask for it); false: not readable now.
    virtual bool ensureDocumentDisc(long docNo) {
        (void)docNo;
        return true;
    }
    virtual bool isCDInstall() const { return false; }
    // Adds path to the files the next start deletes.
    virtual void registerTempFile(const char* path) { (void)path; }
    // A new registered temporary copy (extension ".db") of record `record` of
    // table 0 of the base; empty when it cannot be written.
    virtual AString copyMediaToTemp(short base, long record) {
        (void)base, (void)record;
        return AString();
    }
    virtual void stopMediaWindows() {}
    virtual int16_t filterLevel() { return 0; }
    // Adds a note at the selection of the frame's shown article, which opens
    // the notes window on it; nothing without an article.
    virtual void addNoteToArticle(Frame1& frame) { (void)frame; }
    // Adds the state's document to the current dossier: the warning when the
    // dossier holds it already, else the dossier window on it. Nothing
    // without a dossier manager here.
    virtual void addToCurrentDossier(AppState* state) { (void)state; }
};

// The services the frame uses: gFrameServices when set, else a shared base instance.
AFrameServices& FrameServices();
extern AFrameServices* gFrameServices;
