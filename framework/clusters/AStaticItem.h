// Static items: the non-interactive items of a layout (texts, images, group
// boxes, frame and rule adornments). Each draws itself through the drawing
// layer or, as the application's style and the item's flags decide, puts a
// native control in its place.
//
// An item owns its native control and its image. Missing end marks, a control
// that cannot be made and a missing font where one is needed are assertions
// ("fitems"); an image that cannot be loaded is reported by the image layer.
#pragma once

#include <memory>

#include "framework/clusters/AClusterItem.h"
#include "framework/clusters/AControlWindow.h"

class AFont;
class AImage;
class AImageSpec;

class AStaticItem : public AClusterItem {
    SV_DECLARE_CLASS(AStaticItem)
public:
    AStaticItem() = default;
    AStaticItem(AComponent* parent, int16_t id, const ASizeSpec& rule)
        : AClusterItem(parent, id, rule, 0, 1, nullptr) {}
    ~AStaticItem() override;

    // Record: AClusterItem's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void detachItems() override;
    // A native control is a window inside the enclosing window, not one that items draw into.
    bool isWindowed() override { return false; }
    AControlWindow* nativeControl() const { return native_.get(); }
    // Drops the control without deleting it (the window layer destroyed it).
    void forgetNativeControl() { (void)native_.release(); }

protected:
    // The control over the item's frame; its handle must exist (assertion at line).
    void makeNativeControl(AControlWindow::Kind kind, const char* text, DWORD style, long line);
    // The font of style, else the application's system font; a font is required (assertion at line).
    static AFont* fontOf(ATextStyle* style, long line);

private:
    std::unique_ptr<AControlWindow> native_;  // owned, or null
};

class AStaticText : public AStaticItem {
    SV_DECLARE_CLASS(AStaticText)
public:
    // Flag word: 0x0002 centre, else 0x0001 right; 0x0020 never a native control.
    enum : uint16_t { kRight = 0x0001, kCentre = 0x0002, kDrawn = 0x0020 };

    AStaticText() = default;
    AStaticText(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* text, uint16_t flags);

    // Record: AStaticItem's, text string, flags u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void displayEnvChanged(ATextStyle* style, uint8_t mask) override;
    long drawContent(const ARect& rect) override;
    void setText(const char* text) override;
    AString getText() override { return text_; }
    // The size the text needs: fit cuts it at line ends and takes the widest line + 5.
    APoint naturalSize(bool fit);

    uint16_t format() const { return format_; }
    AFont* font() const { return font_; }

private:
    AString text_;
    AFont* font_ = nullptr;  // not owned: the environment's or the application's
    uint16_t format_ = 0;
};

class AStaticImage : public AStaticItem {
    SV_DECLARE_CLASS(AStaticImage)
public:
    // Flag word: 0x0080 native bitmap control, 0x0020 native icon, 0x0040 transparent.
    enum : uint16_t { kNativeIcon = 0x0020, kTransparentImage = 0x0040, kNativeBitmap = 0x0080 };

    AStaticImage() = default;
    AStaticImage(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* name, uint16_t flags);
    ~AStaticImage() override;

    // Record: AStaticItem's, flags u16, name string, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    long drawContent(const ARect& rect) override;
    // Stores the name; loads the image unless a native control shows it.
    void setText(const char* text) override;
    AString getText() override { return name_; }
    void setImage(const AImageSpec& spec, uint16_t drawMode);
    void setDrawMode(uint16_t mode) { drawMode_ = mode; }
    void setLoadOption(uint16_t option) { loadOption_ = option; }
    void setTiled(uint16_t tiled) { tiled_ = tiled; }
    // The picture cut into a grid of frames (an AImageSpec grid word; 0 the
    // whole picture), of which one is drawn: icon buttons drive the images
    // linked to them. A frame outside the grid draws no picture.
    void setFrames(uint16_t gridWord);
    void setFrame(int16_t index);
    int16_t frame() const { return frame_; }

    AImage* image() const { return image_; }

private:
    void releaseImage();

    AString name_;
    AImage* image_ = nullptr;  // owned
    uint16_t drawMode_ = 0;
    uint16_t loadOption_ = 1;
    uint16_t tiled_ = 0;
    uint16_t frames_ = 0;
    int16_t frame_ = 0;
};

class AGroupBox : public AStaticItem {
    SV_DECLARE_CLASS(AGroupBox)
public:
    AGroupBox() = default;
    AGroupBox(AComponent* parent, int16_t id, const ASizeSpec& rule, const char* title);

    // Record: AStaticItem's, title string, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void displayEnvChanged(ATextStyle* style, uint8_t mask) override;
    long drawContent(const ARect& rect) override;
    void setText(const char* text) override;
    AString getText() override { return title_; }

private:
    AString title_;
    AFont* font_ = nullptr;  // not owned
};

class AAdornment : public AStaticItem {
    SV_DECLARE_CLASS(AAdornment)
public:
    // Flag word: the low four bits the kind (0 frame, odd a horizontal rule,
    // even a vertical one); 0x8000 a raised native frame.
    AAdornment() = default;
    AAdornment(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t flags);

    // Record: AStaticItem's, flags u16, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    long drawContent(const ARect& rect) override;
};
