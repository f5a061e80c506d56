// The application object: construction, the quit path, names and texts.
#include "reader/TheApp.h"

#include <new>

#include "panes/content/media/AMediaApp.h"
#include "panes/docks/online/AOnlinePanesHost.h"

#include <windows.h>

#include <cstring>

#include "app/data/ADataManager.h"
#include "app/frame/AFramePrinting.h"
#include "app/frame/Frame1.h"
#include "reader/ADicoLibrary.h"
#include "reader/ASVSelContextMenuCallBack.h"
#include "reader/AppPrintServices.h"
#include "app/state/ASiReqSearch.h"
#include "app/online/ADocNetManager.h"
#include "app/online/ANetInfo.h"
#include "base/object/ATextOutStream.h"
#include "framework/app/AppServices.h"
#include "framework/files/AOptionsInfo.h"
#include "framework/printing/APrinterOptions.h"
#include "panes/docks/print/ASVPrintOptionsDlg.h"
#include "panes/docks/top/ATopDockApp.h"
#include "framework/graphics/AFont.h"
#include "panes/search/atlas/AAtlasApp.h"
#include "panes/search/dico/ADicoHost.h"
#include "panes/search/left/ASearchPanesApp.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/ALo.h"
#include "search/facade/KyTextMatch.h"
#include "web/browser/KyMozillaGetUrl.h"
#include "web/net/AppNetManager.h"

SV_IMPLEMENT_CLASS(TheApp, 1000, AQuickTimeApp)

namespace {

// KyBasicTextMatch reads the markers through this at each call.
void ReadMarkers(const char* markers[4]) {
    if (TheApp* app = TheApp::current()) {
        for (int i = 0; i < 4; ++i)
            markers[i] = app->matchMarker(i).c_str();
    }
}

// A result list's own file, left when the list goes: the next start deletes it.
void RegisterListFile(const AFileSpec& file) {
    if (TheApp* app = TheApp::current())
        app->registerTempFile(file.path().c_str());
}

}  // namespace

const ABitmapSpec* AppNamedBitmaps::find(const AString& name) const {
    auto at = bitmaps_.find(name.c_str());
    return at == bitmaps_.end() ? nullptr : &at->second;
}

// The name is the frame's title, by which a second copy finds the first.
// The help box shows the tooltips of the icon-only buttons.
TheApp::TheApp() : AQuickTimeApp(AString("Savantorium"), ARect(), AApp::kHelpBox, 0) {
    setSettingsMode(3);
    _AFont::textPlacementMode = 2;
    SetTextMatchMarkersHook(ReadMarkers);
    ALoSetTempFileHook(RegisterListFile);
    gFrameServices = this;
    printServices_.reset(new AppPrintServices(*this));
    framePrinting_.reset(new ASVFramePrinting(printServices_.get()));
    gFramePrinting = framePrinting_.get();
    AMediaPreviewApp::install(printServices_.get());
    ASVPrintOptionsDlg::setMainOptions([]() -> ALongDicInfo* {
        Frame1* frame = TheApp::current() ? TheApp::current()->getFrame() : nullptr;
        return frame ? frame->getPrintOptionsFile() : nullptr;
    });
    AListApp::install(this);
    AOnlineHost::setCurrent(this);
    installWorkspaceWindows();
    installTopDock();
    installContentServices();
    installMediaServices();
    installFlashServices();
    installAtlasServices();
    installRightDockServices();
    installEphemeris();
    installSearchPanes();
    installOnlinePanes();
    phon_.reset(CheckAlloc(new (std::nothrow) IPhonAbp(1, 11, 0), "theapp", __LINE__));
    IPhonAbp::setApplication(phon_.get());
}

TheApp::~TheApp() {
    if (tempListHold_ != INVALID_HANDLE_VALUE)
        CloseHandle(tempListHold_);
    if (gFrameServices == this)
        gFrameServices = nullptr;
    if (gFramePrinting == framePrinting_.get())
        gFramePrinting = nullptr;
    if (AMediaPreviewApp::current() == printServices_.get())
        AMediaPreviewApp::install(nullptr);
    ASVPrintOptionsDlg::setMainOptions(nullptr);
    if (&AListApp::current() == this)
        AListApp::install(nullptr);
    removeWorkspaceWindows();
    removeSearchPanes();
    phon_.reset();
    removeTopDock();
    removeMediaServices();
    removeContentServices();
    removeFlashServices();
    removeAtlasServices();
    closeDictionary();
    removeRightDockServices();
    removeEphemeris();
    if (AOnlineHost::current() == this)
        AOnlineHost::setCurrent(nullptr);
    removeOnlinePanes();
    SetTextMatchMarkersHook(nullptr);
    // Saved while the dossiers and the history can still say which pages they hold.
    releaseDocNet();
    releaseNetInfo();
    // The windows and their views are gone: the runtime can end.
    ownEngine_.reset();
    styleSheets_.reset();
    releaseNotes();
    releaseDossiers();
    // The history's states belong to the main window, gone by now.
    histoManager_.reset();
    prefManager_.reset();
    dataManager_.reset();
    if (gDataLocation == dataLocation_.get())
        gDataLocation = nullptr;
    dataLocation_.reset();
    KyMozillaSetNetLogFlag(nullptr);
    netManager_.reset();
}

TheApp* TheApp::current() {
    AApp* app = AApp::current();
    return app ? static_cast<TheApp*>(app->castTo(&TheApp::classRecord)) : nullptr;
}

void* TheApp::backgroundBrush() {
    return solidBrush(RGB(255, 255, 255));
}

// The quit path: "ValidQuit" is "0" while the reader is asked and "1" only
// once the quit is sure, so a run that ends any other way leaves "0".
ACommand* TheApp::quitRequest() {
    setValidIniValue("ValidQuit", "0");
    // The web documents are sorted while the main window still holds its states.
    saveDocNet();
    if (!closeAllWindowsChecked(1))
        return noChange();
    setValidIniValue("ValidQuit", "1");
    releaseNotes();
    releaseDossiers();
    return quit();
}

bool TheApp::closeAllWindowsChecked(int16_t flag) {
    if (flag && confirmQuit_ &&
        messageBox("Voulez-vous vraiment quitter ?", title().c_str(), MB_YESNO | MB_ICONQUESTION, nullptr) != IDYES)
        return false;
    return closeAllWindows(flag);
}

// Names and texts.

bool TheApp::isWindowsNT() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExA(&info) && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

AString& TheApp::getListString(AString& out, uint16_t list, short item, bool dollarBreaks) {
    AString raw;
    GetListString(raw, list, static_cast<short>(item - 1));
    if (!dollarBreaks) {
        out = raw;
        return out;
    }
    std::string text;
    for (const char* p = raw.c_str(); *p; ++p) {
        if (*p == '$')
            text += "\r\n";
        else
            text += *p;
    }
    out = AString(text.c_str());
    return out;
}

AString TheApp::expandLigatures(const AString& text) {
    if (!gDataLocation)
        ThrowAssert("theapp", __LINE__);
    return gDataLocation->expandLigatures(text);
}

AString TheApp::escapeMarkup(const char* text, const char* set) {
    return EscapeChars(text, set);
}

void TheApp::setMatchMarkers(const char* a, const char* b, const char* c, const char* d) {
    const char* texts[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i)
        markers_[i] = AString(texts[i] ? texts[i] : "");
}

void TheApp::netLog(const char* text) {
    ATextOutStream* log = getLogObject();
    if (netLogEnabled_ && log && log->file()) {
        log->writeString(text);
        KY_FileFlush(log->file());
    }
}
