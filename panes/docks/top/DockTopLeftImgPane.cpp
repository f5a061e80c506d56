// The picture or room button at the left end of the top dock.
#include "panes/docks/top/DockTopLeftImgPane.h"

#include "app/frame/Frame1.h"
#include "app/state/AppState.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/controls/AIconButton.h"
#include "framework/graphics/AImage.h"

SV_IMPLEMENT_CLASS(DockTopLeftImgPane, 0, SVPane)

namespace {

const int16_t kPlainPicture = 1101;

// The picture of a left-dock mode in screen mode 1.
int16_t ModePicture(const ALeftState* left) {
    switch (left ? left->fMode : 0) {
    case 2: return 1132;
    case 3: return 1131;
    case 4: return 1130;
    case 5: return 1133;
    default: return kPlainPicture;
    }
}

template <class T>
T* ItemAs(SVPane* pane, int16_t id, long line) {
    AClusterItem* item = pane->findItem(id, false);
    return CheckAlloc(item ? static_cast<T*>(item->castTo(&T::classRecord)) : nullptr, "DockTopLeftImgPane", line);
}

}  // namespace

void DockTopLeftImgPane::readFrom(AMemoryStream& stream) {
    SVPane::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "DockTopLeftImgPane", 38);
}

void DockTopLeftImgPane::setUpItems() {
    SVPane::setUpItems();
    picture_ = ItemAs<AStaticImage>(this, kPicture, 44);
    roomButton_ = ItemAs<AIconButton>(this, kRoomButton, 45);
    roomButton_->setVisible(false);
}

void DockTopLeftImgPane::detachItems() {
    picture_ = nullptr;
    roomButton_ = nullptr;
    SVPane::detachItems();
}

void DockTopLeftImgPane::bindActions() {
    SVPane::bindActions();
    addAction(kRoomButton, this, kRoomButton, nullptr);
}

void DockTopLeftImgPane::showPicture(int16_t bitmap) {
    pictureBitmap_ = bitmap;
    if (!picture_)
        return;
    picture_->setVisible(bitmap != 0);
    if (bitmap)
        picture_->setImage(AImageSpec(static_cast<uint16_t>(bitmap), 0, 0, false), 0);
}

void DockTopLeftImgPane::showButton(int16_t bitmap) {
    buttonBitmap_ = bitmap;
    if (!roomButton_)
        return;
    roomButton_->setVisible(bitmap != 0);
    if (bitmap) {
        auto frames = static_cast<uint16_t>(AIconButton::frameCount(roomButton_->itemFlags()));
        roomButton_->setIcon(AImageSpec(static_cast<uint16_t>(bitmap), frames, 0, false));
    }
}

int16_t DockTopLeftImgPane::chooseImage(int16_t show) {
    if (!show) {
        if (picture_)
            picture_->setVisible(false);
        if (roomButton_)
            roomButton_->setVisible(false);
        return 0;
    }
    AppState* state = currentState();
    if (!state || !state->getDocState()) {
        showPicture(kPlainPicture);
        showButton(0);
        return 0;
    }
    int16_t mode = state->getScreenMode();
    if (mode == 3 || mode == 4) {
        if (state->fSalle >= 1 && state->fSalle <= 9) {
            showPicture(0);
            showButton(static_cast<int16_t>(1120 + state->fSalle));
            return mode == 4 ? 1 : 0;
        }
        showButton(0);
        showPicture(kPlainPicture);
        return 0;
    }
    showButton(0);
    showPicture(mode == 1 ? ModePicture(state->getLeftState()) : kPlainPicture);
    return 0;
}

ACommand* DockTopLeftImgPane::doCommand(int16_t id, long argument) {
    if (id != kRoomButton)
        return SVPane::doCommand(id, argument);
    AppState* state = currentState();
    if (state && state->getDocState() && state->getLeftState() && state->getScreenMode() == 4)
        getFrame()->switchScreen(0, static_cast<int16_t>(1121 - state->fSalle), 3, state->fSalle);
    return noChangeCommand();
}

int16_t DockTopLeftImgPane::commandStatus(int16_t id, long argument) {
    if (id != kRoomButton)
        return SVPane::commandStatus(id, argument);
    return chooseImage(1) == 1 ? 1 : 2;
}

int16_t DockTopLeftImgPane::isPaneWanted() {
    AppState* state = currentState();
    if (!state || !state->getDocState())
        return 0;
    int16_t mode = state->getScreenMode();
    if (mode == 3 || mode == 4)
        return 1;
    ALeftState* left = state->getLeftState();
    return mode == 1 && left && left->fMode != 1 ? 1 : 0;
}

void DockTopLeftImgPane::setPaneVisible(int16_t visible) {
    SVPane::setPaneVisible(visible);
    chooseImage(visible);
}
