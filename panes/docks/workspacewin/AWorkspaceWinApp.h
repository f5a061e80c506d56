// What the dossier and note windows ask of the application object: the
// document information of the bases, the media window, the online pages'
// titles, markup escapes, message boxes and the main frame. The application
// installs its own; without one a process-wide default answers as for a
// reader with no data (tests install theirs).
//
// Not owned by the windows.
#pragma once
#include <cstdint>

#include "base/object/AString.h"
class ADossierManager;
class ANoteManager;
class ASearchBase;
class ARenderer;
class ARendererView;
class Frame1;

class AWorkspaceWinApp {
public:
    AWorkspaceWinApp() = default;
    virtual ~AWorkspaceWinApp() = default;
    // The installed one, else the default.
    static AWorkspaceWinApp& current();
    // Null puts the default back.
    static void install(AWorkspaceWinApp* app);

    // The document-information base (base 13), or null.
    virtual ASearchBase* documentBase() { return nullptr; }
    virtual int16_t getDocIconType(long docNo) { return docNo < 0 ? -1 : 0; }
    virtual AString getDocTitle(long docNo) {
        (void)docNo;
        return AString();
    }
    virtual bool docIsMedia(long docNo) {
        (void)docNo;
        return false;
    }
    virtual void openMediaWindow(long docNo, int16_t first, int16_t second) { (void)docNo, (void)first, (void)second; }
    virtual int16_t getDocKind(long docNo, int16_t defaultKind) {
        (void)docNo;
        return defaultKind;
    }
    // The navigation kind of a document when no document state gives one.
    virtual int16_t defaultDocKind() { return 1; }
    // The record of an online page in the online-document store; empty when
    // the store has none (or is not there).
    virtual AString onlinePageRecord(long number) {
        (void)number;
        return AString();
    }
    // The text with a backslash before each markup character.
    virtual AString escapeMarkup(const char* text);
    // The framework's message box (the application's, else none: 1).
    virtual int messageBox(const char* text, const char* caption, unsigned flags);
    virtual Frame1* frame() { return nullptr; }
    virtual ADossierManager* dossiers() { return nullptr; }
    virtual ANoteManager* notes() { return nullptr; }
    // The application's text renderer installed in the view, or null.
    virtual ARenderer* createTextRenderer(ARendererView* view) {
        (void)view;
        return nullptr;
    }
    // Shows a text position in the main window's article view, when there is one.
    virtual void showTextPosition(long position) { (void)position; }
};
