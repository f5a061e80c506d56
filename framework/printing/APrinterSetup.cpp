// Printer set-ups and the handles that move from dialogs into them.
#include "framework/printing/APrinterSetup.h"

#include "base/procedural/AError.h"
#include "framework/printing/APrintDialog.h"
#include "framework/printing/APrintJob.h"

APrinterSetup* APrinterSetup::current_ = nullptr;

namespace {

// A locked global block for a scope (null when the lock fails).
class GlobalView {
public:
    explicit GlobalView(HGLOBAL handle) : handle_(handle), p_(handle ? GlobalLock(handle) : nullptr) {}
    ~GlobalView() {
        if (p_)
            GlobalUnlock(handle_);
    }
    GlobalView(const GlobalView&) = delete;
    GlobalView& operator=(const GlobalView&) = delete;
    template <class T>
    T* as() const {
        return static_cast<T*>(p_);
    }

private:
    HGLOBAL handle_;
    void* p_;
};

HDC ContextPrinter() {
    ADisplayContext* context = ADisplayContext::existing();
    const APrinterInfo* info = context ? context->printer() : nullptr;
    return info ? info->dc : nullptr;
}

}  // namespace

void PrinterHandles::release() {
    if (dc)
        DeleteDC(dc);
    if (devNames)
        GlobalFree(devNames);
    if (devMode)
        GlobalFree(devMode);
    dc = nullptr;
    devNames = nullptr;
    devMode = nullptr;
}

APrinterSetup::APrinterSetup() : info_{nullptr, APoint(72, 72), APoint(72, 72)} {}

APrinterSetup::~APrinterSetup() {
    if (handles_.dc) {
        if (ContextPrinter() == handles_.dc)
            ADisplayContext::instance().setPrinter(nullptr);
        AGraphicDisplay::deviceReleased(handles_.dc);
    }
    handles_.release();
}

bool APrinterSetup::isLandscape() const {
    GlobalView mode(handles_.devMode);
    const DEVMODEA* dm = mode.as<DEVMODEA>();
    return dm && dm->dmOrientation == DMORIENT_LANDSCAPE;
}

void APrinterSetup::PrinterCreateDC(bool landscape) {
    if (!handles_.devMode || isLandscape() == landscape)
        return;
    GlobalView mode(handles_.devMode);
    auto* dm = mode.as<DEVMODEA>();
    if (!dm)
        return;
    if (!handles_.devNames)
        ThrowAssert("fprinter", 556);
    GlobalView names(handles_.devNames);
    const auto* dn = names.as<DEVNAMES>();
    if (!dn)
        return;
    short before = dm->dmOrientation;
    DWORD fields = dm->dmFields;
    dm->dmOrientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    dm->dmFields |= DM_ORIENTATION;
    const char* base = reinterpret_cast<const char*>(dn);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    const char* driver = version.dwPlatformId == VER_PLATFORM_WIN32_NT ? base + dn->wDriverOffset : nullptr;
    HDC made = CreateDCA(driver, base + dn->wDeviceOffset, nullptr, dm);
    if (!made) {
        // A printer that cannot be reached keeps its DC and its orientation:
        // the caller sees the orientation refused, never a set-up without a DC.
        dm->dmOrientation = before;
        dm->dmFields = fields;
        return;
    }
    HDC old = handles_.dc;
    handles_.dc = made;
    dcReplaced(old, made);
    if (old)
        DeleteDC(old);
    measure();
}

int16_t APrinterSetup::applyOrientation(int16_t o) {
    if (o == kKeep || o == orientation())
        return 1;
    PrinterCreateDC(o == kLandscape);
    return orientation() == o ? 1 : 0;
}

int16_t APrinterSetup::requestOrientation(int16_t o) {
    if (o == kKeep || o == orientation())
        return 1;
    if (APrintJob* job = APrintJob::current())
        return job->changeOrientation(o);
    return applyOrientation(o);
}

ARect APrinterSetup::PrinterPageSize() const {
    if (!handles_.dc)
        ThrowAssert("fprinter", 600);
    return ARect(0, 0, GetDeviceCaps(handles_.dc, HORZRES), GetDeviceCaps(handles_.dc, VERTRES));
}

ARect APrinterSetup::PrinterPaperRect() const {
    if (!handles_.dc)
        ThrowAssert("fprinter", 610);
    int32_t x = GetDeviceCaps(handles_.dc, PHYSICALOFFSETX);
    int32_t y = GetDeviceCaps(handles_.dc, PHYSICALOFFSETY);
    return ARect(-x, -y, GetDeviceCaps(handles_.dc, PHYSICALWIDTH) - x, GetDeviceCaps(handles_.dc, PHYSICALHEIGHT) - y);
}

void APrinterSetup::adopt(PrinterHandles& handles, bool force) {
    // A dialog hands back the blocks it was given or ones it made in their
    // place (freeing ours itself), so the old blocks are never freed here.
    if (force || handles.devNames) {
        handles_.devNames = handles.devNames;
        handles.devNames = nullptr;
    }
    if (force || handles.devMode) {
        handles_.devMode = handles.devMode;
        handles.devMode = nullptr;
    }
    if (force || handles.dc) {
        if (handles.dc != handles_.dc) {
            dcReplaced(handles_.dc, handles.dc);
            HDC old = handles_.dc;
            handles_.dc = handles.dc;
            handles.dc = old;
        } else {
            handles.dc = nullptr;
        }
    }
    measure();
    handles.release();
}

void APrinterSetup::measure() {
    info_.dc = handles_.dc;
    info_.resA = APoint(72, 72);
    info_.resB = APoint(72, 72);
    if (!handles_.dc)
        return;
    info_.resA = APoint(GetDeviceCaps(handles_.dc, LOGPIXELSX), GetDeviceCaps(handles_.dc, LOGPIXELSY));
    if (AGraphicDisplay::printScalingMode != 0)
        return;
    HDC screen = CreateCompatibleDC(nullptr);
    info_.resB = APoint(GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY));
    DeleteDC(screen);
}

const APrinterInfo* APrinterSetup::info() {
    return handles_.dc ? &info_ : nullptr;
}

void APrinterSetup::dcReplaced(HDC oldDC, HDC newDC) {
    if (oldDC && ContextPrinter() == oldDC)
        ADisplayContext::instance().setPrinter(newDC);
    else if (oldDC)
        AGraphicDisplay::replaceDevice(oldDC, newDC);
}

APrinterSetup* APrinterSetup::current() {
    if (!current_) {
        ADefaultPrinterQuery query;
        if (APrinterSetup* made = query.makeSetup())
            setCurrent(made);
    }
    return current_;
}

void APrinterSetup::setCurrent(APrinterSetup* setup) {
    if (setup == current_)
        return;
    APrinterSetup* old = current_;
    current_ = setup;
    ADisplayContext::instance().setPrinter(setup ? setup->dc() : nullptr);
    delete old;
}
