// Check buttons, radio buttons and check boxes.
#include "framework/controls/ACheckButton.h"

#include <new>

#include "base/object/AMemoryStream.h"
#include "framework/app/AApp.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(ACheckButton, 128, AButton)
SV_IMPLEMENT_CLASS(ARadioButton, 114, ACheckButton)
SV_IMPLEMENT_CLASS(ACheckBox, 113, ACheckButton)

ACheckButton::ACheckButton(AComponent* parent, int16_t id, const ASizeSpec& rule, bool checked, const char* label)
    : AButton(parent, id, rule), label_(label ? label : "") {
    if (checked)
        setStateBits(static_cast<uint16_t>(state() | kMarked), false);
}

void ACheckButton::readFrom(AMemoryStream& stream) {
    AButton::readFrom(stream);
    if (stream.readShort() != 0)
        setStateBits(static_cast<uint16_t>(state() | kMarked), false);
    label_ = stream.readString(-1);
    ALayoutLoader::readEndMark(stream, "fcontrol", 1054);
}

bool ACheckButton::libraryLook() {
    AApp* app = AApp::current();
    return app && (app->style() & 0xC000) != 0;
}

void ARadioButton::readFrom(AMemoryStream& stream) {
    ACheckButton::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fcontrol", 1134);
}

void ARadioButton::attachItems() {
    ACheckButton::attachItems();
    DWORD style = (itemFlags() & kGroup) ? WS_GROUP : 0;
    if (libraryLook())
        makeNative(new (std::nothrow) ANativeBorRadio(this, label().c_str(), style, nativeRect(), true), 1114);
    else
        makeNative(new (std::nothrow) ANativeRadioButton(this, label().c_str(), style, nativeRect(), true), 1116);
}

void ACheckBox::readFrom(AMemoryStream& stream) {
    ACheckButton::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "fcontrol", 1230);
}

void ACheckBox::attachItems() {
    ACheckButton::attachItems();
    DWORD style = (itemFlags() & kGroup) ? WS_GROUP : 0;
    if (libraryLook())
        makeNative(new (std::nothrow) ANativeBorCheck(this, label().c_str(), style, nativeRect(), true), 1210);
    else
        makeNative(new (std::nothrow) ANativeCheckBox(this, label().c_str(), style, nativeRect(), true), 1212);
}
