// Window class descriptors: registration counting, superclassing and the
// built-in classes with their default procedures.
#include "framework/windows/AWindowClass.h"

#include "base/procedural/AError.h"
#include "framework/windows/ANativeWindow.h"

namespace {

LRESULT CALLBACK FrameDefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefFrameProcA(hwnd, GetMdiClientWindow(), message, wParam, lParam);
}

}  // namespace

AWindowClass*& AWindowClass::head() {
    static AWindowClass* list = nullptr;
    return list;
}

AWindowClass::AWindowClass(const char* baseName, const char* name, const char* library, WNDPROC fallback,
                           const char* procName)
    : baseName_(baseName),
      className_(name),
      library_(library),
      procName_(procName),
      defaultProc_(fallback),
      fallback_(fallback),
      next_(head()) {
    head() = this;
}

AWindowClass::~AWindowClass() {
    AWindowClass** at = &head();
    while (*at && *at != this)
        at = &(*at)->next_;
    if (*at)
        *at = next_;
    // The process is ending: an assertion here would have no one to report to.
    if (registrations_ == 0)
        unregister();
}

void AWindowClass::registerClass(HINSTANCE instance, WNDPROC procedure) {
    if (registrations_ == 0 && !instance_) {
        if (library_) {
            // Absent (always under Wine): the class goes on with its fallback procedure.
            libraryHandle_ = LoadLibraryA(library_);
            FARPROC own = libraryHandle_ && procName_ ? GetProcAddress(libraryHandle_, procName_) : nullptr;
            if (own)
                defaultProc_ = reinterpret_cast<WNDPROC>(reinterpret_cast<void*>(own));
        }
        WNDCLASSA wc{};
        if (*baseName_ == '\0') {
            if (!defaultProc_)
                ThrowAssert("wxwins", 353);
            wc.style = CS_DBLCLKS;
            wc.cbWndExtra = 4;
        } else {
            if (!GetClassInfoA(libraryHandle_, baseName_, &wc) && !GetClassInfoA(nullptr, baseName_, &wc))
                ThrowAssert("wxwins", 360);
            defaultProc_ = wc.lpfnWndProc;
            wc.style = (wc.style & ~CS_GLOBALCLASS) | CS_DBLCLKS;
            wc.cbWndExtra += 4;
        }
        windowExtra_ = wc.cbWndExtra;
        wc.lpfnWndProc = procedure;
        wc.lpszMenuName = nullptr;
        wc.lpszClassName = className_;
        wc.hInstance = instance;
        if (!RegisterClassA(&wc))
            ThrowAssert("wxwins", 373);
        instance_ = instance;
    }
    ++registrations_;
}

void AWindowClass::release() {
    if (registrations_ > 0)
        --registrations_;
}

void AWindowClass::unregister() {
    if (registrations_ != 0 || !instance_)
        return;
    UnregisterClassA(className_, instance_);
    if (libraryHandle_)
        FreeLibrary(libraryHandle_);
    libraryHandle_ = nullptr;
    instance_ = nullptr;
    // The library's procedure goes with the library.
    if (procName_)
        defaultProc_ = fallback_;
}

AWindowClass& AWindowClass::plainWindow() {
    static AWindowClass c("", "KY_Window", nullptr, DefWindowProcA);
    return c;
}

AWindowClass& AWindowClass::frameWindow() {
    static AWindowClass c("", "KY_MDIFrameWindow", nullptr, FrameDefaultProc);
    return c;
}

AWindowClass& AWindowClass::mdiChildWindow() {
    static AWindowClass c("", "KY_MdiChildWindow", nullptr, DefMDIChildProcA);
    return c;
}

// With bwcc32.dll these two take its default procedures; without, the standard ones.
AWindowClass& AWindowClass::borWindow() {
    static AWindowClass c("", "KY_BorWindow", "bwcc32.dll", DefWindowProcA, "BWCCDefWindowProc");
    return c;
}

AWindowClass& AWindowClass::mdiBorChildWindow() {
    static AWindowClass c("", "KY_MdiBorChildWindow", "bwcc32.dll", DefMDIChildProcA, "BWCCDefMDIChildProc");
    return c;
}

void UnregisterAllWindowClasses() {
    for (AWindowClass* c = AWindowClass::first(); c; c = c->next())
        c->unregister();
}
