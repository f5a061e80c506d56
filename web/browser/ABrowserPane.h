// A small web browser built from layouts: a browser view (8025) with an
// optional address field (8003), alert, stop and reload buttons, a progress
// bar (8054), a status line (8053) and a find field (8055) around it. The
// pane turns its commands into calls of the view and shows the view's status,
// progress and address events through its handler.
//
// The items belong to the component tree; the pane keeps plain pointers to
// them from setUpItems to detachItems (not owned). A layout without the view
// 8025, or whose 8025 is no AMozillaView, is an assertion ("kyMozillaPane");
// every other item is optional and what needs a missing one does nothing.
#pragma once

#include "framework/clusters/ALocalCluster.h"
#include "web/browser/AMozillaEvent.h"

class AEditBox;
class AMozillaView;
class AProgressBar;
class AStaticText;
class ABrowserPaneHandler;

class ABrowserPane : public ALocalCluster {
    SV_DECLARE_CLASS(ABrowserPane)
public:
    enum : int16_t {
        kLoad = 8002,
        kAddressField = 8003,
        kBack = 8004,
        kForward = 8005,
        kStop = 8007,
        kReload = 8008,
        kView = 8025,
        kAlert = 8027,
        kFetch = 8051,
        kStatusText = 8053,
        kProgressBar = 8054,
        kFindField = 8055,
    };
    // Written into the address field at set-up; nothing loads it.
    static const char* const kDefaultAddress;

    ABrowserPane() = default;

    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    // The view's loading state changed (kind 6): the command states are asked again.
    void linkChanged(AComponent* source, const AKindSet& kinds) override;

    // For the handler; each does nothing while the pane is not visible.
    void showStatus(const char* text);
    void showUrl(const char* url);
    void showProgress(int32_t current, int32_t maximum);

    AMozillaView* view() const { return view_; }
    AEditBox* addressField() const { return addressField_; }
    AStaticText* statusText() const { return statusText_; }
    AProgressBar* progressBar() const { return progressBar_; }
    AEditBox* findField() const { return findField_; }

private:
    AMozillaView* view_ = nullptr;            // not owned
    AEditBox* addressField_ = nullptr;        // not owned
    AStaticText* statusText_ = nullptr;       // not owned
    AProgressBar* progressBar_ = nullptr;     // not owned
    AEditBox* findField_ = nullptr;           // not owned
    ABrowserPaneHandler* handler_ = nullptr;  // one reference, to cut it off at detach
};

// Shows a view's "StatusChange", "UpdateProgress" and "UpdateUrl" events in
// its pane. The view's handler list owns it; the pane is not counted, and
// cuts it off when it detaches, so that a view outliving its pane raises
// its events into nothing.
class ABrowserPaneHandler : public AMozillaHandler {
public:
    explicit ABrowserPaneHandler(ABrowserPane* pane) : pane_(pane) {}
    // 1 for the three events it shows, else 0.
    int16_t onEvent(AMozillaView* view, AMozillaEvent* event) override;
    void detachPane() { pane_ = nullptr; }

private:
    ABrowserPane* pane_;  // not owned
};
