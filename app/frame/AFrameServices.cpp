// The base answers of the application's services to the main window.
#include "app/frame/AFrameServices.h"

#include "base/object/AError.h"
#include "framework/app/AApp.h"

AFrameServices* gFrameServices = nullptr;

AFrameServices& FrameServices() {
    static AFrameServices none;
    return gFrameServices ? *gFrameServices : none;
}

int16_t AFrameServices::getDocKindPane(int16_t kind) {
    // Text articles, lists and chronologies share the article pane; maps and
    // Flash documents the Flash pane; web pages the web pane; media the media pane.
    switch (kind) {
    case 2:
    case 3:
        return 1203;
    case 4:
    case 5:
        return 1206;
    case 8:
        return 1204;
    default:
        return 1201;
    }
}

AppState* AFrameServices::makeUrlNavState(Frame1& frame, const AString& address, int16_t kind, long value) {
    (void)frame;
    (void)address;
    (void)kind;
    (void)value;
    return nullptr;
}

AString AFrameServices::getScreenAddress(int16_t first, int16_t second) {
    (void)first;
    (void)second;
    return AString();
}

bool AFrameServices::checkConnection(const char* address) {
    (void)address;
    return false;
}

void AFrameServices::openNoteWindow(long docNo, long noteId, SVPane* owner) {
    (void)docNo;
    (void)noteId;
    (void)owner;
}

AString AFrameServices::menuRecordText(long record) {
    (void)record;
    ThrowAssert("frame1", 60);
}

AString AFrameServices::configString(const char* key) {
    (void)key;
    return AString();
}

void AFrameServices::activateFrame() {
    if (AApp* app = AApp::current())
        app->activateFrame();
}
