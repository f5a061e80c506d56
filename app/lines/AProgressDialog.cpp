// The progress window's children and its cancel.
#include "app/lines/AProgressDialog.h"

#include "framework/clusters/AStaticItem.h"
#include "framework/controls/AControl.h"
#include "framework/display/ASizerGroup.h"
#include "framework/extras/AProgressBar.h"
#include "framework/graphics/ATextStyle.h"
#include "framework/resources/AResource.h"

SV_IMPLEMENT_CLASS(AProgressDialog, 0, AWindow)

namespace {

// The window style word: top level, system menu, caption, closable.
const uint16_t kDialogFlags = 0x0829;

template <class T>
T* Made(T* component, long line) {
    CheckAlloc(component, "AProgressDialog.cpp", line);
    AObject::completeNew(component);
    return component;
}

}  // namespace

AProgressDialog::AProgressDialog(int16_t width)
    : AWindow(AComponent::application(), 0, ASizeSpec(ARect(0, 0, width, 100)), nullptr, nullptr, kDialogFlags, 0,
              ARect()),
      width_(width) {}

void AProgressDialog::childrenLoaded() {
    AWindow::childrenLoaded();
    ATextStyle style{AResourceRef(100)};
    style.setBackColor(RGB(192, 192, 192));
    setDisplayEnv(style);
    const int16_t w = width_;
    text_ = Made(new (std::nothrow) AStaticText(this, kTextId, ASizeSpec(ARect(10, 10, w - 10, 30)), "", 0), 40);
    box_ = Made(new (std::nothrow) ASizerBox(this, kBoxId, ASizeSpec(ARect(10, 40, w - 10, 50))), 41);
    bar_ = Made(new (std::nothrow) AProgressBar(box_, kBarId, ASizeSpec(ARect(0, 0, w - 20, 10)), 0, 0, nullptr, 0),
                42);
    count_ = Made(new (std::nothrow) AStaticText(this, kCountId, ASizeSpec(ARect(10, 60, 100, 80)), "", 0), 43);
    button_ = Made(new (std::nothrow) ATextButton(this, kCancelId, ASizeSpec(ARect(w - 100, 60, w - 10, 80)), false,
                                                  "Annuler"),
                   44);
    for (ADisplayComponent* child : {static_cast<ADisplayComponent*>(text_), static_cast<ADisplayComponent*>(box_),
                                     static_cast<ADisplayComponent*>(count_), static_cast<ADisplayComponent*>(button_)})
        child->show(false);
}

void AProgressDialog::componentDeleted(AComponent* component) {
    if (component == text_)
        text_ = nullptr;
    if (component == count_)
        count_ = nullptr;
    if (component == bar_)
        bar_ = nullptr;
    if (component == button_)
        button_ = nullptr;
    if (component == box_)
        box_ = nullptr;
    AWindow::componentDeleted(component);
}

ACommand* AProgressDialog::cancel() {
    cancelled_ = 1;
    return noChangeCommand();
}

void AProgressDialog::setProgress(long value, long total, const char* text) {
    if (count_)
        count_->setText(text ? text : "");
    if (bar_) {
        bar_->setMaximum(total);
        bar_->setPosition(value);
        bar_->invalidate();
    }
}
