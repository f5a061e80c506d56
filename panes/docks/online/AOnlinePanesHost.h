// What the web complement pane, the account wizard and the preferences
// dialog ask of the application object: its service pages and requests, its
// configuration texts, its settings stores, its message box, beep and log,
// and the main window's opening of the wizard. The application installs its
// own; without one a process-wide default answers as an application with no
// service, no settings and no windows (tests install theirs).
//
// Not owned by the panes.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class ANetInfo;
class ARenderer;
class ARendererView;
class APrefManager;
class ASVNetDlg;

class AOnlinePanesHost {
public:
    AOnlinePanesHost() = default;
    virtual ~AOnlinePanesHost() = default;
    // The installed one, else the default.
    static AOnlinePanesHost& current();
    // Null puts the default back.
    static void install(AOnlinePanesHost* host);

    // The address of the service's start page (online, or the local copy or disc page).
    virtual AString getNetStatusPage(int16_t check) {
        (void)check;
        return AString();
    }
    virtual void saveWebPageCopy() {}
    virtual void openWebHome(int16_t full) { (void)full; }
    virtual void showWebPage(const char* address, int16_t full, int16_t second) {
        (void)address, (void)full, (void)second;
    }
    // True when the service may be used (the reader is told otherwise).
    virtual bool checkConnection() { return false; }
    virtual AString makeServiceUrl(const char* page, const char* name, const char* value) {
        (void)page, (void)name, (void)value;
        return AString();
    }
    virtual AString configString(const char* key) {
        (void)key;
        return AString();
    }
    virtual AString configMessage(const char* key) { return configString(key); }
    // One account exchange with the service (2 log in, 4 change the password, 5 forgotten password).
    virtual void serviceAccountRequest(int16_t kind, ANetInfo* settings) { (void)kind, (void)settings; }
    virtual void setupConnectionStatus() {}
    // The main window's wizard at a step; null when it cannot be opened.
    virtual ASVNetDlg* openNetDialog(int16_t step) {
        (void)step;
        return nullptr;
    }
    virtual bool isNetworkInstall() { return false; }
    virtual ANetInfo* netInfo() { return nullptr; }
    virtual APrefManager* prefManager() { return nullptr; }
    // The application's message box (none: 1, OK).
    virtual int messageBox(const char* text, const char* caption, unsigned flags);
    virtual void beep() {}
    // A text renderer installed in the view (the view's layer holds it), or null.
    virtual ARenderer* createTextRenderer(ARendererView* view);
    // Appends the lines to the application log when its log flag is on, then flushes it.
    virtual void logLines(const char* text) { (void)text; }
};
