// Shared set-up of the browser tests: a real application object, the runtime
// layer started in scratch folders, a test window holding an AMozillaView,
// a handler that records every event as text, and the pages of the sv_net
// fixture's static route.
#pragma once

#include "tests/framework/clusters/ClusterTestSupport.h"
#include "tests/platform/webrt/RuntimeFolders.h"

#include "web/browser/AMozillaView.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Records "Name" or "Name(fields)" for each event it is given; answers `answer`.
class RecordingHandler : public AMozillaHandler {
public:
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
    // "UpdateProgress(0,100)", "UpdateUrl(http://...,1)", "UpdateTitle(t)",
    // "StatusChange()", "Loaded", "Observe(topic,data)".
    static std::string describe(AMozillaEvent* event);
    std::vector<std::string> events;
    int16_t answer = 1;
};

class BrowserTest : public ClusterTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // A shown window of the size with a view over its client area; false without a display.
    bool openView(int width = 640, int height = 480);
    // Runs the runtime's events and the window messages until the handler saw
    // "Loaded" count times (true) or 20 s passed (false).
    bool waitLoaded(RecordingHandler* handler, size_t count = 1);
    // Pumps messages and events for a short while (for what follows a click).
    void settle(int milliseconds = 200);
    // Runs the runtime's events and the window messages until done answers true (true) or the time passed.
    bool pumpUntil(int milliseconds, const std::function<bool()>& done);
    // Opens a view whose recorder takes every event and loads the fixture's
    // test page: "" once it is loaded, else why the test cannot run.
    std::string loadServed(const char* page, std::string& url);
    // "http://127.0.0.1:PORT/static/ROOT/REST"; empty when the fixture did not run.
    static std::string staticUrl(const char* root, const char* rest);
    // Whether the gimp-help-fr pages are there to be served.
    static bool haveGimpPages();
    // Saves the client pixels of w (null: the test window) as build/artifacts/<name>.png.
    void screenshot(const char* name, HWND w = nullptr);

    std::unique_ptr<RuntimeFolders> folders;
    nsPtr<TableProvider> provider;
    TestWindow* window = nullptr;
    AMozillaView* view = nullptr;
    RecordingHandler* recorder = nullptr;  // one reference held by the test
};

// The runtime's content window of a view (its browser's main widget).
HWND ContentWindow(AMozillaView* view);
// Clicks the content window at a point of its client area.
void Click(HWND content, int x, int y);
// Clicks the link whose text starts the paragraph index (links sit at the left margin).
void ClickParagraph(HWND content, int index);
