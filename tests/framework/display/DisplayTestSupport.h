// Shared pieces of the display component tests: a component that records
// what is asked of it, a fixture that resets the display services, and a
// real window whose paints draw a component tree.
#pragma once

#include <windows.h>

#include <string>

#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "tests/framework/graphics/GraphicsTestSupport.h"

// Records layouts, drawing and frame changes into a log shared by a tree.
class Probe : public ADisplayComponent {
public:
    Probe(AComponent* parent, int16_t id, const ASizeSpec& rule) : ADisplayComponent(parent, id, rule) {}

    bool isWindowed() override { return windowed || getHWnd() != nullptr; }
    void relayout() override;
    long drawContent(const ARect& rect) override;
    void eraseBackground(const ARect& rect) override;
    long frameChanged(const APoint& size) override;
    ACommand* mouseDown(AMouseEvent& event) override;
    ACommand* printWithDialog(ADisplayComponent* component) override;
    void offscreenInvalidate(const ARegion& region) override;
    ACommand* mouseMove(AMouseEvent& event) override;
    void mouseEntered() override { note("enter"); }
    void mouseLeft() override { note("leave"); }
    bool clipsChildren() override { return clips; }
    long onActivate() override {
        ++activations;
        return 0;
    }

    void note(const std::string& what);

    std::string* log = nullptr;  // not owned
    bool windowed = false;       // a stand-in for a native window of its own
    COLORREF color = RGB(0, 0, 0);
    bool halfOnly = false;            // paints the left half of its bounds only, and erases nothing
    ACommand* pressAnswer = nullptr;  // not owned; null passes the press through
    APoint lastPoint;
    int relayouts = 0;
    int frameChanges = 0;
    int activations = 0;
    Probe** victim = nullptr;  // not owned: deleted (and cleared) by the next relayout
    bool clips = false;
};

class DisplayTest : public GraphicsTest {
protected:
    void TearDown() override;
    // A probe under parent, opened and logging into log.
    Probe* make(AComponent* parent, int16_t id, const ASizeSpec& rule);
    Probe* make(AComponent* parent, int16_t id, const ARect& frame) { return make(parent, id, ASizeSpec(frame)); }
    // A root standing for a window: placed at frame, settled and shown.
    Probe* makeRoot(const ARect& frame);
    // A root on window, which paints it; null without an X display.
    Probe* makeWindowRoot(class PaintWindow& window);

    std::string log;
};

// "left,top,right,bottom".
std::string Describe(const ARect& r);

// An edge from its three words.
AEdge Edge(int32_t value, uint16_t mode, uint16_t aux = 0);

// A top-level window whose paints draw its root; the root leaves the window with it.
class PaintWindow {
public:
    PaintWindow(int width, int height);
    ~PaintWindow();
    PaintWindow(const PaintWindow&) = delete;
    PaintWindow& operator=(const PaintWindow&) = delete;

    HWND hwnd = nullptr;
    ADisplayComponent* root = nullptr;  // not owned; set by makeWindowRoot
    // Copies the window's client area into a canvas of the same size.
    void grab(Canvas& canvas);
};
