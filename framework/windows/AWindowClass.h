// Registrable window classes of the framework: one static descriptor per
// class, linked newest first, registered on first use and counted.
//
// register raises the count and registers the class once; release lowers it;
// unregister acts only at count 0. A class whose library (bwcc32.dll) cannot
// be loaded is registered without it on its fallback procedure. Broken
// invariants are assertions ("wxwins").
#pragma once

#include <windows.h>

class AWindowClass {
public:
    // baseName "" for a class of the framework's own; library null for none;
    // procName: the library's entry that replaces the fallback procedure.
    AWindowClass(const char* baseName, const char* name, const char* library, WNDPROC fallback,
                 const char* procName = nullptr);
    ~AWindowClass();
    AWindowClass(const AWindowClass&) = delete;
    AWindowClass& operator=(const AWindowClass&) = delete;

    void registerClass(HINSTANCE instance, WNDPROC procedure);
    void release();
    void unregister();

    const char* className() const { return className_; }
    WNDPROC defaultProc() const { return defaultProc_; }
    long registrations() const { return registrations_; }
    bool registered() const { return instance_ != nullptr; }
    // Extra bytes of the class's windows; the last 4 hold the ANativeWindow.
    int windowExtra() const { return windowExtra_; }

    static AWindowClass* first() { return head(); }
    AWindowClass* next() const { return next_; }

    // The built-in descriptors.
    static AWindowClass& plainWindow();        // "KY_Window"
    static AWindowClass& frameWindow();        // "KY_MDIFrameWindow"
    static AWindowClass& mdiChildWindow();     // "KY_MdiChildWindow"
    static AWindowClass& borWindow();          // "KY_BorWindow"
    static AWindowClass& mdiBorChildWindow();  // "KY_MdiBorChildWindow"

private:
    static AWindowClass*& head();

    const char* baseName_;
    const char* className_;
    const char* library_;
    const char* procName_;  // null: none
    WNDPROC defaultProc_;
    WNDPROC fallback_;
    long registrations_ = 0;
    HMODULE libraryHandle_ = nullptr;
    HINSTANCE instance_ = nullptr;
    int windowExtra_ = 4;
    AWindowClass* next_ = nullptr;
};

// Unregisters every descriptor whose count is 0 (the application's end).
void UnregisterAllWindowClasses();
