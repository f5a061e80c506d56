// The left end of the top dock in the room screens and in the lists of the
// left dock other than the quick search's (layout "DOCKTOPLEFTIMG"): a picture
// naming the left dock's mode, or in a room page the room's icon as a button
// back to the room's own screen.
//
// Items are children of the pane (not owned); missing ones fail the
// allocation check at set-up.
#pragma once

#include "app/frame/SVPane.h"

class AIconButton;
class AStaticImage;

class DockTopLeftImgPane : public SVPane {
    SV_DECLARE_CLASS(DockTopLeftImgPane)
public:
    enum : int16_t { kPicture = 3107, kRoomButton = 3108 };

    // Record: SVPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    int16_t isPaneWanted() override;
    void setPaneVisible(int16_t visible) override;

    // Shows or hides both items; when shown, picks their bitmaps from the
    // current state. 1 only when the room button leads somewhere (screen
    // mode 4, room 1 to 9).
    int16_t chooseImage(int16_t show);
    // The bitmaps last chosen (0: the item is hidden); for the tests.
    int16_t pictureBitmap() const { return pictureBitmap_; }
    int16_t buttonBitmap() const { return buttonBitmap_; }

private:
    void showPicture(int16_t bitmap);
    void showButton(int16_t bitmap);

    AStaticImage* picture_ = nullptr;   // not owned
    AIconButton* roomButton_ = nullptr;  // not owned
    int16_t pictureBitmap_ = 0;
    int16_t buttonBitmap_ = 0;
};
