// The optional control library: loading, its entry points and freeing.
#include "framework/windows/AControlLibrary.h"

#include "base/procedural/SystemSeams.h"
#include "framework/display/ADisplayComponent.h"

namespace {

const char kLibrary[] = "bwcc32.dll";

struct Library {
    HMODULE module = nullptr;
    WNDPROC mdiChildProc = nullptr;
    WNDPROC windowProc = nullptr;
    bool told = false;  // the missing library was told once
};

Library& State() {
    static Library library;
    return library;
}

template <class T>
T Entry(HMODULE module, const char* name) {
    return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool AControlLibrary::load(HINSTANCE instance) {
    Library& s = State();
    if (s.module)
        return true;
    if (s.told)
        return false;
    s.module = LoadLibraryA(kLibrary);
    if (!s.module) {
        s.told = true;
        AString caption = FrameworkString(128, 8, "Librairie introuvable");
        SeamMessageBox(nullptr, kLibrary, caption.c_str(), MB_OK);
        return false;
    }
    s.mdiChildProc = Entry<WNDPROC>(s.module, "BWCCDefMDIChildProc");
    s.windowProc = Entry<WNDPROC>(s.module, "BWCCDefWindowProc");
    if (!s.mdiChildProc || !s.windowProc)
        MessageBeep(0xFFFFFFFF);
    using Register = BOOL(WINAPI*)(HINSTANCE);
    if (auto registerEntry = Entry<Register>(s.module, "BWCCRegister"))
        registerEntry(instance);
    else
        MessageBeep(0xFFFFFFFF);
    return true;
}

void AControlLibrary::unload() {
    Library& s = State();
    s.mdiChildProc = nullptr;
    s.windowProc = nullptr;
    if (s.module)
        FreeLibrary(s.module);
    s.module = nullptr;
}

bool AControlLibrary::loaded() {
    return State().module != nullptr;
}

WNDPROC AControlLibrary::mdiChildProc() {
    return State().mdiChildProc;
}

WNDPROC AControlLibrary::windowProc() {
    return State().windowProc;
}

void AControlLibrary::reset() {
    unload();
    State().told = false;
}
