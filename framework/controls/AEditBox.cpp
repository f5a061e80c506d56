// The edit box on a native EDIT control, and its filter.
#include "framework/controls/AEditBox.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/graphics/ATextStyle.h"
#include "framework/graphics/AUpdateWatch.h"

SV_IMPLEMENT_CLASS(AEditBox, 119, AControl)

AEditFilter::AEditFilter(AEditBox* box) : box_(box) {
    if (!box)
        ThrowAssert("fcontrol", 1258);
}

AEditBox::AEditBox(AComponent* parent, int16_t id, const ASizeSpec& rule, uint16_t editFlags, const char* text)
    : AControl(parent, id, rule, kTabStop), text_(text ? text : "") {
    addItemFlags(static_cast<uint16_t>(kEditCommands | editFlags));
}

AEditBox::~AEditBox() = default;

void AEditBox::readFrom(AMemoryStream& stream) {
    AControl::readFrom(stream);
    addItemFlags(static_cast<uint16_t>(stream.readShort()));
    text_ = stream.readString(-1);
    takeFocusOnClick_ = 1;
    ALayoutLoader::readEndMark(stream, "fcontrol", 1538);
}

int32_t AEditBox::lineHeight() {
    ATextStyle* style = getDisplayEnv();
    AFont* font = style && style->font() ? style->font() : nullptr;
    if (!font && AApp::current())
        font = AApp::current()->systemFont();
    if (!font)
        ThrowAssert("fcontrol", 1865);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font->getHFont());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmAscent + tm.tmDescent + tm.tmExternalLeading;
}

ARect AEditBox::editRect(const ARect& frame, int32_t lineHeight, bool alwaysMultiLine, bool* singleLine) {
    bool single = !alwaysMultiLine && 2 * (lineHeight + 2) > frame.height();
    if (singleLine)
        *singleLine = single;
    int32_t dy = single ? (frame.height() - lineHeight) / 2 : 2;
    return ARect(frame.left() + 2, frame.top() + dy, frame.right() - 2, frame.bottom() - dy);
}

bool AEditBox::singleLine() {
    bool single = true;
    editRect(nativeRect(), lineHeight(), (itemFlags() & kAlwaysMultiLine) != 0, &single);
    return single;
}

void AEditBox::attachItems() {
    AControl::attachItems();
    attachNative();
    if (cursorId() == 0)
        setCursor(static_cast<int16_t>(0x7F01));
}

void AEditBox::makeNativeControl(bool shown) {
    uint16_t flags = itemFlags();
    DWORD style = 0;
    if (flags & kTabStop)
        style |= WS_TABSTOP;
    if (flags & kGroup)
        style |= WS_GROUP;
    if (flags & kPassword)
        style |= ES_PASSWORD;
    bool single = true;
    ARect rect = editRect(nativeRect(), lineHeight(), (flags & kAlwaysMultiLine) != 0, &single);
    if (single)
        style |= (flags & kAutoScroll) ? ES_AUTOHSCROLL : 0;
    else
        style |= ES_MULTILINE | ((flags & kAutoScroll) ? ES_AUTOVSCROLL : 0);
    uint16_t align = textAlignment(getDisplayEnv());
    style |= (align & 0x02) ? ES_CENTER : (align & 0x01) ? ES_RIGHT : 0;
    auto* edit = new (std::nothrow) ANativeEditBox(this, text_.c_str(), style, rect, shown);
    if (edit)
        edit->continueFrom(pendingLength_);
    makeNative(edit, 1512);
    sendNative(EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    if (pendingStart_ != 0 || pendingEnd_ != 0)
        sendNative(EM_SETSEL, static_cast<WPARAM>(pendingStart_), static_cast<LPARAM>(pendingEnd_));
}

void AEditBox::detachItems() {
    AControl::detachItems();
    filter_.reset();
}

void AEditBox::setText(const char* text) {
    if (!nativePending()) {
        AControl::setText(text);
        return;
    }
    text_ = text ? text : "";
    pendingStart_ = pendingEnd_ = 0;
    // A multi-line control tells nothing of its text set.
    if (singleLine())
        EditTextChanged(*this, pendingLength_, static_cast<int32_t>(text_.length()));
}

AString AEditBox::getText() {
    return nativePending() ? text_ : AControl::getText();
}

void AEditBox::moveNativeWindow() {
    if (!nativeChild())
        return;
    ARect r = editRect(nativeRect(), lineHeight(), (itemFlags() & kAlwaysMultiLine) != 0, nullptr);
    AUpdateWatch::touch();
    MoveWindow(nativeChild()->hwnd(), r.left(), r.top(), r.width(), r.height(), TRUE);
}

void AEditBox::activeChanged(int16_t on) {
    AControl::activeChanged(on);
    if (itemFlags() & kFocusOutline)
        invalidateBorderInParent();
    if (!on || currentTarget() != this || !requireNative())
        return;
    if (GetFocus() != nativeChild()->hwnd())
        SetFocus(nativeChild()->hwnd());
    if (!(itemFlags() & kMultiLineInput))
        selectAll();
}

ACommand* AEditBox::keyToCommand(AKeyEvent& event) {
    bool isReturn = event.keyCode == VK_RETURN || event.keyCode == 0;
    if (event.keyCode == VK_RETURN && (itemFlags() & kMultiLineInput))
        return passThroughCommand();
    if (!isReturn) {
        queueUpdate(2);
        return AControl::keyToCommand(event);
    }
    if (!event.down)
        return noChangeCommand();
    AItemCluster* cluster = enclosingCluster();
    if (cluster && cluster->triggerDefault(1) != 0)
        return noChangeCommand();
    if (notifyOwner(2) != 0)
        return noChangeCommand();
    if (cluster) {
        if (AClusterItem* next = cluster->nextFocusTarget(this, true))
            next->becomeTarget(1);
    }
    return noChangeCommand();
}

ACommand* AEditBox::charToCommand(AKeyEvent& event) {
    uint16_t c = event.character;
    if (filter_ && c >= 0x20 && !filter_->acceptChar(c))
        return noChangeCommand();
    if ((c == '\n' || c == '\r') && !(itemFlags() & kMultiLineInput))
        return noChangeCommand();
    return passThroughCommand();
}

ACommand* AEditBox::mouseDown(AMouseEvent& event) {
    (void)event;
    if (!takeFocusOnClick_ || currentTarget() == this)
        return passThroughCommand();
    becomeTarget(1);
    invalidate();
    return noChangeCommand();
}

ACommand* AEditBox::mouseUp(AMouseEvent& event) {
    queueUpdate(2);
    return AControl::mouseUp(event);
}

long AEditBox::drawContent(const ARect& rect) {
    (void)rect;
    // The control draws the text; the plain frame lies around it, in the inset.
    if ((itemFlags() & kPlainFrame) && !(itemFlags() & kFocusOutline)) {
        if (AGraphicDisplay* d = ADisplayContext::drawableCurrent())
            d->FrameRect(getLocalBounds(), 1);
    }
    return 1;
}

ARect AEditBox::getOuterFrame() {
    return (itemFlags() & kFocusOutline) ? getFocusFrameRect() : AControl::getOuterFrame();
}

void AEditBox::drawBorder(const ARect& bounds, long a, long b) {
    (void)bounds;
    (void)a;
    (void)b;
    AGraphicDisplay* d = ADisplayContext::instance().current();
    if (d && (itemFlags() & kFocusOutline))
        drawFocusFrame(getOuterFrame(), *d, (itemFlags() & kPlainFrame) != 0, true);
}

void AEditBox::getSelection(int32_t& start, int32_t& end) {
    if (nativePending()) {
        start = std::min(pendingStart_, pendingEnd_);
        end = std::max(pendingStart_, pendingEnd_);
        return;
    }
    if (!nativeChild())
        ThrowAssert("fcontrol", 1699);
    DWORD s = 0, e = 0;
    SendMessageA(nativeChild()->hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int32_t>(s);
    end = static_cast<int32_t>(e);
}

void AEditBox::setSelection(int32_t start, int32_t end) {
    if (nativePending()) {
        // As the control takes it: -1 as start keeps only the caret, -1 as end is the text's end.
        auto length = static_cast<int32_t>(text_.length());
        if (start == -1) {
            pendingStart_ = pendingEnd_;
            return;
        }
        pendingStart_ = start < 0 ? length : std::min(start, length);
        pendingEnd_ = end < 0 ? length : std::min(end, length);
        return;
    }
    if (!nativeChild())
        ThrowAssert("fcontrol", 1723);
    SendMessageA(nativeChild()->hwnd(), EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void AEditBox::selectAll() {
    setSelection(0, static_cast<int32_t>(getText().length()));
}

void AEditBox::replaceSelection(const char* text) {
    if (!requireNative())
        ThrowAssert("fcontrol", 1747);
    SendMessageA(nativeChild()->hwnd(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

AString AEditBox::selectedText() {
    int32_t start = 0, end = 0;
    getSelection(start, end);
    AString all = getText();
    auto length = static_cast<int32_t>(all.length());
    start = std::clamp(start, 0, length);
    end = std::clamp(end, start, length);
    return AString(all.c_str() + start, static_cast<size_t>(end - start));
}

bool AEditBox::hasSelection() {
    if (!nativeChild() && !nativePending())
        return false;
    int32_t start = 0, end = 0;
    getSelection(start, end);
    return end != start;
}

void AEditBox::setMaxLength(int32_t length) {
    maxLength_ = length;
    sendNative(EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

void AEditBox::setFilter(AEditFilter* filter) {
    if (filter != filter_.get())
        filter_.reset(filter);
}

void* AEditBox::exportData(uint32_t format) {
    if (format != CF_TEXT)
        return nullptr;
    AString text = selectedText();
    if (filter_)
        text = filter_->filterCopied(text);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.length() + 1);
    if (!block)
        return nullptr;
    if (void* p = GlobalLock(block)) {
        std::memcpy(p, text.c_str(), text.length() + 1);
        GlobalUnlock(block);
    }
    return block;
}

ACommand* AEditBox::pasteData(uint32_t format, void* handle) {
    if (format != CF_TEXT)
        ThrowAssert("fcontrol", 1792);
    auto block = static_cast<HGLOBAL>(handle);
    const char* p = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (!p)
        return noChangeCommand();
    // A block from another program need not hold its NUL: stop at its size.
    size_t size = GlobalSize(block);
    AString text(p, static_cast<size_t>(std::find(p, p + size, '\0') - p));
    GlobalUnlock(block);
    if (filter_)
        text = filter_->filterPasted(text);
    int32_t start = 0, end = 0;
    getSelection(start, end);
    auto kept = static_cast<int32_t>(getText().length()) - (end - start);
    int32_t room = std::max(0, maxLength_ - kept);
    auto fits = static_cast<size_t>(std::min(static_cast<int32_t>(text.length()), room));
    replaceSelection(AString(text.c_str(), fits).c_str());
    return noChangeCommand();
}

ACommand* AEditBox::clear() {
    replaceSelection("");
    return noChangeCommand();
}
