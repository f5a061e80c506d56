// The application's factories (printer, preview and print-options dialogs),
// its splash screen, the help engine's calls, the MDI window counts and the
// small settings that subclasses read.
#include "framework/app/AApp.h"

#include <windows.h>

#include "base/procedural/AError.h"
#include "framework/app/ACursor.h"
#include "framework/app/AWindow.h"
#include "framework/components/ACommand.h"
#include "framework/components/AKindSet.h"
#include "framework/graphics/AUpdateWatch.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ASizing.h"
#include "framework/graphics/AFont.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/resources/AResource.h"

namespace {

int CallWinHelp(void* window, const char* file, unsigned command, uintptr_t data) {
    return WinHelpA(static_cast<HWND>(window), file, command, static_cast<ULONG_PTR>(data));
}

AApp::HelpEngine g_helpEngine = CallWinHelp;

// A layout's window under the printed component, or null without the layout.
AComponent* LoadDialog(ADisplayComponent* printed, const char* layout) {
    if (!printed || !AResource(kLayoutType, AResourceRef(layout)).exists())
        return nullptr;
    return AComponent::loadLayout(printed, layout, 0);
}

}  // namespace

ADisplayComponent* AApp::makePrinter() {
    AObject* made = AClass::createByName("APrinter");
    auto* printer = dynamic_cast<ADisplayComponent*>(made);
    if (!printer) {
        delete made;
        return nullptr;
    }
    AObject::completeNew(printer);
    return printer;
}

AComponent* AApp::makePreviewDialog(ADisplayComponent* printed) {
    return LoadDialog(printed, "AStandardPreviewDlg");
}

AComponent* AApp::makePrintOptionsDialog(ADisplayComponent* printed) {
    return LoadDialog(printed, "AStandardPrintOptionDlg");
}

ASizingContext* AApp::makeResizeRecord() {
    return new ASizingContext;
}

// Splash screen.

AFileSpec AApp::splashFile() {
    AString name = splashScreen();
    return name.empty() ? AFileSpec() : AFileSpec(name.c_str());
}

bool AApp::showSplash(int16_t flag, long unused) {
    (void)flag;
    (void)unused;
    AFileSpec file = splashFile();
    if (file.empty() || !file.exists())
        return false;
    AObject* made = AClass::createByName("AGoAwayBitmap");
    auto* window = dynamic_cast<AComponent*>(made);
    auto* picture = dynamic_cast<ASplashPicture*>(made);
    if (!window || !picture) {
        delete made;
        return false;
    }
    AObject::completeNew(window);
    picture->display(file, 0);
    return true;
}

// Help.

void AApp::setHelpEngine(HelpEngine engine) {
    g_helpEngine = engine ? engine : CallWinHelp;
}

void AApp::callHelp(unsigned command, uintptr_t data) {
    g_helpEngine(frameWindow_, helpFileName_.c_str(), command, data);
}

void AApp::forceHelpFile() {
    callHelp(HELP_FORCEFILE, 0);
}

ACommand* AApp::helpContext(int16_t context, int16_t popup) {
    if (!frameWindow_ || !hasHelp())
        ThrowAssert("fappli", 1210);
    AWaitCursor wait;
    forceHelpFile();
    callHelp(popup ? HELP_CONTEXTPOPUP : HELP_CONTEXT, static_cast<uint16_t>(context));
    return noChange();
}

ACommand* AApp::helpContents() {
    if (!frameWindow_ || !hasHelp())
        ThrowAssert("fappli", 1228);
    AWaitCursor wait;
    forceHelpFile();
    callHelp(HELP_CONTENTS, 0);
    return noChange();
}

ACommand* AApp::helpSearch(const char* key) {
    if (!frameWindow_ || !hasHelp())
        ThrowAssert("fappli", 1245);
    AWaitCursor wait;
    forceHelpFile();
    callHelp(HELP_PARTIALKEY, reinterpret_cast<uintptr_t>(key ? key : ""));
    return noChange();
}

void AApp::closeHelp() {
    if (hasHelp())
        callHelp(HELP_QUIT, 0);
}

// Folders, fonts and small settings.

AFileSpec AApp::workFolderOrCurrent() {
    return workFolder_.empty() ? currentFolder() : workFolder_;
}

AFileSpec AApp::workFolderOrWindows() {
    if (!workFolder_.empty())
        return workFolder_;
    char folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
    return length && length < MAX_PATH ? AFileSpec(folder) : currentFolder();
}

AFont* AApp::systemFontAlt() {
    if (!systemFontAlt_)
        systemFontAlt_ = CheckAlloc(new AFont(AFontSpec::fromStock(SYSTEM_FONT)), "fappli", 1012);
    return systemFontAlt_;
}

void AApp::setTargetMode(uint16_t mode) {
    targetIsCurrent_ = mode;
    if (messageTarget_)
        messageTarget_->queueUpdate(13);
    hoverCheck();
    setCursor(-4);
}

// Windows.

void AApp::refreshWindows() {
    AUpdateWatch::touch();
    for (AWindowManager::Walk walk : {AWindowManager::kTopLevel, AWindowManager::kFrontToBack}) {
        for (AWindow* w = windowManager_.firstWindow(walk); w; w = windowManager_.nextWindow(walk, w)) {
            if (HWND h = w->getHWnd())
                RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
}

void AApp::countDocumentWindows(int& shown, int& minimised) {
    shown = minimised = 0;
    for (AWindow* w = windowManager_.firstWindow(AWindowManager::kFrontToBack); w;
         w = windowManager_.nextWindow(AWindowManager::kFrontToBack, w)) {
        if (!w->getHWnd() || !IsWindowVisible(w->getHWnd()))
            continue;
        ++shown;
        if (w->isMinimized())
            ++minimised;
    }
}
