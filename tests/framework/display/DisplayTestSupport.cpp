// Shared pieces of the display component tests.
#include "tests/framework/display/DisplayTestSupport.h"

#include "framework/graphics/ADisplayLock.h"

void Probe::note(const std::string& what) {
    if (!log)
        return;
    if (!log->empty())
        *log += ' ';
    *log += what + ":" + std::to_string(id());
}

void Probe::relayout() {
    ++relayouts;
    if (victim && *victim) {
        AComponent* gone = *victim;
        *victim = nullptr;
        DeleteComponent(gone);
    }
    ADisplayComponent::relayout();
}

long Probe::drawContent(const ARect& rect) {
    note("draw");
    ADisplayContext* context = ADisplayContext::existing();
    if (!context || !context->current()->isDrawable())
        return 1;
    ARect area = rect;
    if (halfOnly) {
        ARect bounds = getLocalBounds();
        area.intersect(ARect(bounds.left(), bounds.top(), bounds.left() + bounds.width() / 2, bounds.bottom()));
    }
    context->current()->FillRect(area, color);
    return 1;
}

void Probe::eraseBackground(const ARect& rect) {
    if (!halfOnly)
        ADisplayComponent::eraseBackground(rect);
}

long Probe::frameChanged(const APoint& size) {
    (void)size;
    ++frameChanges;
    return 7;
}

ACommand* Probe::mouseDown(AMouseEvent& event) {
    lastPoint = event.where;
    note("down");
    return pressAnswer ? pressAnswer : passThroughCommand();
}

void Probe::offscreenInvalidate(const ARegion& region) {
    note("offscreen[" + Describe(region.ownerBounds()) + "]");
}

ACommand* Probe::printWithDialog(ADisplayComponent* component) {
    note("print-" + std::to_string(component->id()));
    return noChangeCommand();
}

ACommand* Probe::mouseMove(AMouseEvent& event) {
    lastPoint = event.where;
    note("move");
    return passThroughCommand();
}

void DisplayTest::TearDown() {
    ADisplayServices::install(nullptr);
    ADisplayServices& services = ADisplayServices::current();
    services.setLookOptions(0);
    services.endTracking();
    services.setHoverComponent(nullptr);
    GraphicsTest::TearDown();
}

Probe* DisplayTest::make(AComponent* parent, int16_t id, const ASizeSpec& rule) {
    auto* p = new Probe(parent, id, rule);
    p->log = &log;
    AObject::completeNew(p);
    return p;
}

Probe* DisplayTest::makeRoot(const ARect& frame) {
    Probe* root = make(app, 1, ASizeSpec(frame));
    root->windowed = true;
    root->changeFrame(frame);
    root->show(false);
    return root;
}

Probe* DisplayTest::makeWindowRoot(PaintWindow& window) {
    if (!window.hwnd)
        return nullptr;
    RECT r;
    GetClientRect(window.hwnd, &r);
    Probe* root = makeRoot(ARect(0, 0, r.right, r.bottom));
    root->setNativeWindow(window.hwnd);
    window.root = root;
    return root;
}

std::string Describe(const ARect& r) {
    return std::to_string(r.left()) + "," + std::to_string(r.top()) + "," + std::to_string(r.right()) + "," +
           std::to_string(r.bottom());
}

AEdge Edge(int32_t value, uint16_t mode, uint16_t aux) {
    AEdge e;
    e.set(value, mode, aux);
    return e;
}

namespace {

LRESULT CALLBACK PaintProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PaintWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message == WM_ERASEBKGND)
        return 1;
    if (message == WM_PAINT && self && self->root) {
        // No exception may cross the window procedure.
        try {
            ABeginPaintLock lock(self->root);
            self->root->draw(lock.region());
        } catch (...) {
            ValidateRect(hwnd, nullptr);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

const char* PaintClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = PaintProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SvDisplayTestWindow";
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        registered = RegisterClassA(&wc) != 0;
    }
    return "SvDisplayTestWindow";
}

}  // namespace

PaintWindow::PaintWindow(int width, int height) {
    hwnd = CreateWindowExA(0, PaintClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    if (hwnd)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PaintWindow::~PaintWindow() {
    if (root)
        root->setNativeWindow(nullptr);
    if (hwnd)
        DestroyWindow(hwnd);
}

void PaintWindow::grab(Canvas& canvas) {
    RECT r;
    GetClientRect(hwnd, &r);
    HDC dc = GetDC(hwnd);
    BitBlt(canvas.dc(), 0, 0, r.right, r.bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
}
