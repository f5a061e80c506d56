// List boxes and combo boxes on their native widgets.
#include "framework/controls/AListControl.h"

#include <new>
#include <vector>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(AListControl, 140, AControl)
SV_IMPLEMENT_CLASS(AListBox, 118, AListControl)
SV_IMPLEMENT_CLASS(AComboBox, 135, AListControl)

namespace {

LPARAM Text(const char* text) {
    return reinterpret_cast<LPARAM>(text ? text : "");
}

// The widget's text of an item: length first, then the text into a buffer of that size.
AString WidgetText(HWND hwnd, UINT lengthMessage, UINT textMessage, int16_t index) {
    LRESULT n = SendMessageA(hwnd, lengthMessage, static_cast<WPARAM>(index), 0);
    if (n < 0)
        return AString();
    std::vector<char> buffer(static_cast<size_t>(n) + 1, '\0');
    LRESULT got = SendMessageA(hwnd, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    if (got < 0 || got > n)
        return AString();
    return AString(buffer.data(), static_cast<long>(got));
}

}  // namespace

// AListControl.

AListControl::AListControl(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t stringList,
                           uint16_t listFlags)
    : AControl(parent, id, rule, kTabStop), AListItems(stringList) {
    addItemFlags(listFlags);
}

void AListControl::readFrom(AMemoryStream& stream) {
    AControl::readFrom(stream);
    AListItems::readFrom(stream);
    if (stream.readShort() != 0)
        addItemFlags(kSorted);
    ALayoutLoader::readEndMark(stream, "fcontrol", 2238);
}

void AListControl::detachItems() {
    AControl::detachItems();
    AListItems::removeAll();
}

LRESULT AListControl::send(UINT message, WPARAM wParam, LPARAM lParam, long line) {
    if (!nativeChild() || !nativeChild()->hwnd())
        ThrowAssert("fcontrol", line);
    return SendMessageA(nativeChild()->hwnd(), message, wParam, lParam);
}

// AListBox.

void AListBox::readFrom(AMemoryStream& stream) {
    AListControl::readFrom(stream);
    addItemFlags(static_cast<uint16_t>(stream.readShort()));
    ALayoutLoader::readEndMark(stream, "fcontrol", 2312);
}

void AListBox::attachItems() {
    AListControl::attachItems();
    uint16_t flags = itemFlags();
    DWORD style = WS_BORDER | WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY;
    style |= (flags & kTabStop) ? WS_TABSTOP : 0;
    style |= (flags & kGroup) ? WS_GROUP : 0;
    style |= (flags & kSorted) ? LBS_SORT : 0;
    style |= (flags & kMultiple) ? LBS_MULTIPLESEL | LBS_EXTENDEDSEL : 0;
    style |= (flags & kHorizontal) ? WS_HSCROLL : 0;
    makeNative(new (std::nothrow) ANativeListBox(this, "", style, nativeRect(), true), 2290);
    loadItemsFromResource();
    if (countItems() > 0 && !(flags & kMultiple))
        selectItem(0);
}

ACommand* AListBox::keyToCommand(AKeyEvent& event) {
    if (event.down && (event.keyCode == 0 || event.keyCode == VK_RETURN)) {
        AItemCluster* cluster = enclosingCluster();
        return cluster && cluster->triggerDefault(1) != 0 ? noChangeCommand() : passThroughCommand();
    }
    return AListControl::keyToCommand(event);
}

int AListBox::removeItem(int16_t index) {
    if (!inRange(index))
        return -1;
    send(LB_DELETESTRING, static_cast<WPARAM>(index), 0, 2401);
    return AListItems::removeItem(index);
}

void AListBox::removeAll() {
    if (nativeChild())
        send(LB_RESETCONTENT, 0, 0, 2411);
    AListItems::removeAll();
}

void AListBox::selectItem(int16_t index) {
    if (!inRange(index))
        return;
    if (index != selectedIndex())
        send(LB_SETCURSEL, static_cast<WPARAM>(index), 0, 2421);
    queueUpdate(2);
}

int16_t AListBox::countItems() {
    return static_cast<int16_t>(send(LB_GETCOUNT, 0, 0, 2431));
}

int16_t AListBox::selectedIndex() {
    return static_cast<int16_t>(send(LB_GETCURSEL, 0, 0, 2436));
}

int AListBox::findItem(const char* text, int16_t start, int16_t prefix) {
    UINT message = prefix ? LB_FINDSTRING : LB_FINDSTRINGEXACT;
    return static_cast<int>(send(message, static_cast<WPARAM>(start), Text(text), 2441));
}

AString AListBox::getItemText(int16_t index) {
    if (!inRange(index))
        return AString();
    return WidgetText(nativeChild()->hwnd(), LB_GETTEXTLEN, LB_GETTEXT, index);
}

int AListBox::insertItem(const char* text, int16_t index) {
    return static_cast<int>(send(LB_INSERTSTRING, static_cast<WPARAM>(index), Text(text), 2461));
}

int AListBox::addItem(const char* text) {
    return static_cast<int>(send(LB_ADDSTRING, 0, Text(text), 2466));
}

// AComboBox.

void AComboBox::readFrom(AMemoryStream& stream) {
    AListControl::readFrom(stream);
    text_ = stream.readString(-1);
    if (stream.readShort() != 0)
        addItemFlags(kEditable);
    ALayoutLoader::readEndMark(stream, "fcontrol", 2512);
}

void AComboBox::attachItems() {
    AListControl::attachItems();
    uint16_t flags = itemFlags();
    DWORD style = WS_BORDER | CBS_DISABLENOSCROLL | CBS_AUTOHSCROLL;
    style |= (flags & kTabStop) ? WS_TABSTOP : 0;
    style |= (flags & kGroup) ? WS_GROUP : 0;
    style |= (flags & kSorted) ? CBS_SORT : 0;
    style |= (flags & kEditable) ? CBS_DROPDOWN : CBS_DROPDOWNLIST;
    makeNative(new (std::nothrow) ANativeComboBox(this, text_.c_str(), style, nativeRect(), true), 2490);
    setText(text_.c_str());
    loadItemsFromResource();
    if (countItems() > 0 && !(flags & kMultiple))
        selectItem(0);
}

ACommand* AComboBox::keyToCommand(AKeyEvent& event) {
    if (event.keyCode == VK_RETURN && nativeChild() && send(CB_GETDROPPEDSTATE, 0, 0, 2530) != 0)
        return passThroughCommand();
    return AListControl::keyToCommand(event);
}

int AComboBox::removeItem(int16_t index) {
    if (!inRange(index))
        return -1;
    send(CB_DELETESTRING, static_cast<WPARAM>(index), 0, 2541);
    return AListItems::removeItem(index);
}

void AComboBox::removeAll() {
    if (nativeChild())
        send(CB_RESETCONTENT, 0, 0, 2551);
    AListItems::removeAll();
}

void AComboBox::selectItem(int16_t index) {
    if (!inRange(index) || index == selectedIndex())
        return;
    send(CB_SETCURSEL, static_cast<WPARAM>(index), 0, 2561);
    queueUpdate(2);
}

int16_t AComboBox::countItems() {
    return static_cast<int16_t>(send(CB_GETCOUNT, 0, 0, 2571));
}

int16_t AComboBox::selectedIndex() {
    return static_cast<int16_t>(send(CB_GETCURSEL, 0, 0, 2576));
}

int AComboBox::findItem(const char* text, int16_t start, int16_t prefix) {
    UINT message = prefix ? CB_FINDSTRING : CB_FINDSTRINGEXACT;
    return static_cast<int>(send(message, static_cast<WPARAM>(start), Text(text), 2581));
}

AString AComboBox::getItemText(int16_t index) {
    if (!inRange(index))
        return AString();
    return WidgetText(nativeChild()->hwnd(), CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

int AComboBox::insertItem(const char* text, int16_t index) {
    return static_cast<int>(send(CB_INSERTSTRING, static_cast<WPARAM>(index), Text(text), 2601));
}

int AComboBox::addItem(const char* text) {
    return static_cast<int>(send(CB_ADDSTRING, 0, Text(text), 2606));
}

void AComboBox::showDropDown(bool on) {
    send(CB_SHOWDROPDOWN, on ? 1 : 0, 0, 2611);
}
