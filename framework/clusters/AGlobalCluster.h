// Global clusters: item clusters that belong to the application as a whole
// rather than to a window or pane (its tool bar, its help box, the status
// bar), each in a native window of its own: a floating bar in the window
// layer's tool window, which the frame enables with itself and which never
// takes the activation; a bar inside a window in a plain display window.
//
// A bar without a parent in its layout becomes a child of the application.
// A bar owns its window object. No application at attach, a window that
// cannot be made and missing end marks are assertions ("fitems").
#pragma once

#include <memory>

#include "framework/clusters/ALocalCluster.h"

class ADisplayWindow;

class AGlobalCluster : public AItemCluster {
    SV_DECLARE_CLASS(AGlobalCluster)
public:
    AGlobalCluster() : owner_(this) { setOwnerPart(&owner_); }
    AGlobalCluster(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                   const char* environment)
        : AItemCluster(parent, id, rule, cursorId, idMode, environment), owner_(this) {
        setOwnerPart(&owner_);
    }

    // Record: AItemCluster's, FFFF.
    void readFrom(AMemoryStream& stream) override;

    // Follows the active state of the application's windows: shown while flag is set.
    virtual void setOwnerShown(bool flag);
    // The close box: dispose.
    virtual ACommand* closeCluster() { return dispose(); }
    // Hides the cluster and deletes it from the command queue.
    virtual ACommand* dispose();

protected:
    // Made a child of the application when it has no parent (assertion line when there is no application).
    void adoptByApplication(long line);

private:
    AClusterOwner owner_;
};

class AToolBar : public AGlobalCluster {
    SV_DECLARE_CLASS(AToolBar)
public:
    // Flag word kinds: 0x0002 popup with a border, else 0x0001 floating palette, else a child window.
    enum : uint16_t { kPalette = 0x0001, kPopup = 0x0002 };

    AToolBar();
    AToolBar(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* title);
    ~AToolBar() override;

    // Record: AGlobalCluster's, title string, FFFF. A bar placed at (0, 0) is no palette.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    // The application's own tool bar is only hidden; any other is deleted.
    ACommand* dispose() override;
    // A tool bar counts as a child of its window's parent.
    AComponent* getParent() const override;
    // A palette's enabled state is never touched; any other bar stays enabled.
    void enableWindow(bool on) override;
    bool canTakeTarget() override { return (itemFlags() & kPalette) != 0; }

    const AString& title() const { return title_; }
    // The window's style for the flag word.
    static DWORD windowStyle(uint16_t flags);

private:
    AString title_;
    std::unique_ptr<ADisplayWindow> native_;  // owned
};

class AStatusBar : public AGlobalCluster {
    SV_DECLARE_CLASS(AStatusBar)
public:
    AStatusBar();
    AStatusBar(AComponent* parent, int16_t id, const ASizeSpec& rule);
    ~AStatusBar() override;

    // Record: AGlobalCluster's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;

private:
    std::unique_ptr<ADisplayWindow> native_;  // owned
};
