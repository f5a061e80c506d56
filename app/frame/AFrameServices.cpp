// The base answers of the application's services to the main window.
#include "app/frame/AFrameServices.h"

#include "base/procedural/AError.h"
#include "framework/app/AApp.h"

AFrameServices* gFrameServices = nullptr;

AFrameServices& FrameServices() {
    static AFrameServices none;
    return gFrameServices ? *gFrameServices : none;
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

AWindow* AFrameServices::openWorkNameDialog(Frame1& frame, int16_t mode, const AString& message, const AString& name) {
    (void)frame, (void)mode, (void)message, (void)name;
    return nullptr;
}

AWindow* AFrameServices::openIdentification(Frame1& frame, int16_t mode, const AString& message) {
    (void)frame, (void)mode, (void)message;
    return nullptr;
}

AWindow* AFrameServices::openWorkPassword(Frame1& frame, const AString& message, const AString& expected) {
    (void)frame, (void)message, (void)expected;
    return nullptr;
}
