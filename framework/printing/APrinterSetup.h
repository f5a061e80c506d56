// A printer set-up: the printer's device context with its DEVMODE and
// DEVNAMES, the printer's and the reference screen's resolutions, and the
// application's current set-up that printing uses when a component names none.
//
// The set-up owns its three handles; PrinterHandles carries them from a print
// dialog into a set-up and frees what nobody took. The graphic display is told
// when the set-up's DC is replaced or goes. Resolutions are pixels per inch;
// rectangles are printer pixels. Misuse is an assertion ("fprinter").
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/object/ARect.h"
#include "framework/graphics/AGraphicDisplay.h"

struct PrinterHandles {
    HDC dc = nullptr;
    HGLOBAL devMode = nullptr;
    HGLOBAL devNames = nullptr;

    // Deletes the DC, frees DEVNAMES, then DEVMODE (each when set) and clears them.
    void release();
};

class APrinterSetup {
public:
    enum : int16_t { kKeep = 0, kPortrait = 1, kLandscape = 2 };

    APrinterSetup();
    ~APrinterSetup();
    APrinterSetup(const APrinterSetup&) = delete;
    APrinterSetup& operator=(const APrinterSetup&) = delete;

    bool isLandscape() const;
    int16_t orientation() const { return isLandscape() ? kLandscape : kPortrait; }
    // Sets the DEVMODE's orientation and makes a new DC for it; nothing
    // without a DEVMODE or when the orientation is already the wish.
    void PrinterCreateDC(bool landscape);
    // 1 when the orientation (kKeep, kPortrait, kLandscape) is now in force.
    int16_t applyOrientation(int16_t o);
    // The same, through the running job when there is one (it may end its document).
    int16_t requestOrientation(int16_t o);
    // {0, 0, HORZRES, VERTRES} and the paper around it; both assert a DC.
    ARect PrinterPageSize() const;
    ARect PrinterPaperRect() const;
    // Takes the dialog's handles (all with force, else those set), measures,
    // and releases what is left in handles (the replaced DC among them).
    void adopt(PrinterHandles& handles, bool force);
    void measure();

    HDC dc() const { return handles_.dc; }
    HGLOBAL devMode() const { return handles_.devMode; }
    HGLOBAL devNames() const { return handles_.devNames; }
    APoint printerResolution() const { return info_.resA; }
    APoint screenResolution() const { return info_.resB; }
    // What printing displays need of this set-up (null without a DC).
    const APrinterInfo* info();

    // The application's current set-up, made for the default printer on the
    // first call that finds one; null when there is no printer.
    static APrinterSetup* current();
    // Takes setup (owned; null for none) as the current one, deleting the old.
    static void setCurrent(APrinterSetup* setup);

private:
    // Tells the graphic display that the set-up's DC changed.
    static void dcReplaced(HDC oldDC, HDC newDC);

    PrinterHandles handles_;  // owned
    APrinterInfo info_;

    static APrinterSetup* current_;  // owned
};
