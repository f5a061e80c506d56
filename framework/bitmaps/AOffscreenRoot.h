// The root of a subtree drawn into a memory bitmap instead of the screen:
// its descendants draw through the root's memory context, the parts not yet
// shown are kept in a dirty region, and each drawing copies its bounding box
// to the window with one BitBlt, so composite drawing never flickers.
//
// Owns the memory context and bitmap from attach to detach, and with option
// 0x4000 its own native child window over its frame. Options < 0 disable
// off-screen drawing; when the context or bitmap cannot be made the root
// draws straight to the screen until the next sizing. Coordinates are the
// root's window coordinates in the memory context. Assertions: "foffscrn".
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/controls/ANativeViewWindow.h"
#include "framework/display/ADisplayComponent.h"

class AOffscreenRoot : public ADisplayComponent {
    SV_DECLARE_CLASS(AOffscreenRoot)
public:
    enum : uint16_t { kDisabled = 0x8000, kOwnWindow = 0x4000, kUnavailable = 0x1000 };

    AOffscreenRoot() = default;
    AOffscreenRoot(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t options)
        : ADisplayComponent(parent, id, rule), options_(options) {}
    ~AOffscreenRoot() override;

    // Record: ADisplayComponent's, options u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    void componentDeleted(AComponent* component) override;
    long draw(const ARegion& region) override;
    HDC getDisplay() override;
    bool isOffscreen() override { return drawsOffscreen(); }
    COLORREF getBackColor() override;
    void moveNativeWindow() override;
    void copyOffscreenToScreen(const ARegion& region) override { flush(region); }
    void offscreenInvalidate(const ARegion& region) override { addDirty(region); }
    void offscreenValidate(const ARegion& region) override { removeDirty(region); }

    // The component is drawn straight onto the screen at the next flush.
    void registerComponent(ADisplayComponent* component);
    void addDirty(const ARegion& region);
    void removeDirty(const ARegion& region);
    // Copies the region (local) from the bitmap to the window.
    void flush(const ARegion& region);

    int16_t options() const { return options_; }
    bool drawsOffscreen() const { return options_ >= 0 && !(options_ & kUnavailable) && memoryDC_; }
    HBITMAP bitmap() const { return bitmap_; }
    APoint bitmapSize() const { return size_; }
    const ARegion& dirty() const { return dirty_; }
    // The root's own window (option 0x4000), or null.
    ANativeViewWindow* ownWindow() const { return window_.get(); }

private:
    bool disabled() const { return options_ < 0; }
    void makeOwnWindow();
    void sizeBitmap(const ARect& rect);
    void setMemoryOrigin();
    void releaseBitmap();
    // A descendant's local bounds in the root's local coordinates.
    ARect frameInRoot(ADisplayComponent* c);

    std::unique_ptr<ANativeViewWindow> window_;   // owned, from attach to detach
    std::vector<ADisplayComponent*> registered_;  // not owned
    ARegion dirty_;
    APoint size_;
    HDC memoryDC_ = nullptr;            // owned
    HBITMAP bitmap_ = nullptr;          // owned, selected into memoryDC_
    HGDIOBJ previousBitmap_ = nullptr;  // the memory context's own, put back at the end
    int16_t options_ = 0;
    uint16_t pending_ = 0;
};
