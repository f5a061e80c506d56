// Cluster items: the layout record, the environment string, the state word,
// the item commands and the help texts kept by the owner.
#include "framework/clusters/AClusterItem.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "base/object/AMemoryStream.h"
#include "base/procedural/AError.h"
#include "framework/clusters/AClusterServices.h"
#include "framework/clusters/AFocusSearch.h"
#include "framework/clusters/AItemCluster.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ADisplayServices.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/ATextStyle.h"

SV_IMPLEMENT_CLASS(AClusterItem, 105, ADisplayComponent)

uint16_t AClusterItem::componentCommandsEnabled = 0;

namespace {

// The value of key in text: from just after the key to the next '#' or the end; null when absent.
const char* FindKey(const char* text, const char* key, std::string& value) {
    const char* at = std::strstr(text, key);
    if (!at)
        return nullptr;
    at += std::strlen(key);
    const char* end = std::strchr(at, '#');
    value.assign(at, end ? static_cast<size_t>(end - at) : std::strlen(at));
    return at;
}

}  // namespace

AClusterItem::AClusterItem()
    : cursorId_(0), idMode_(1), state_(kOff), flags_(0), owner_(nullptr), environment_(nullptr) {}

AClusterItem::AClusterItem(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                           const char* environment)
    : ADisplayComponent(parent, id, rule),
      cursorId_(cursorId),
      idMode_(idMode),
      state_(kOff),
      flags_(0),
      owner_(nullptr),
      environment_(nullptr) {
    parseEnvironment(environment);
}

AClusterItem::~AClusterItem() {
    delete environment_;
}

void AClusterItem::readFrom(AMemoryStream& stream) {
    ADisplayComponent::readFrom(stream);
    cursorId_ = stream.readShort();
    idMode_ = static_cast<uint16_t>(stream.readShort());
    AString environment = stream.readString(-1);
    parseEnvironment(environment.c_str());
    ALayoutLoader::readEndMark(stream, "fitems", 131);
}

void AClusterItem::parseEnvironment(const char* text) {
    if (!text || !*text)
        return;
    std::string value;
    if (std::strstr(text, "#group"))
        flags_ |= kGroup;
    if (FindKey(text, "#env:", value)) {
        auto number = static_cast<uint16_t>(std::atol(value.c_str()));
        releaseEnvironment();
        environment_ = loadEnvironment(number);
    }
    COLORREF back = ATextStyle::kUnset;
    AFont* font = nullptr;
    int changes = 0;
    if (FindKey(text, "#font:", value)) {
        font = CheckAlloc(new AFont(AFontSpec(value.c_str())), "fitems", 170);
        ++changes;
    }
    if (FindKey(text, "#background:", value)) {
        size_t first = value.find(',');
        if (first == std::string::npos)
            ThrowAssert("fitems", 179);
        size_t second = value.find(',', first + 1);
        if (second == std::string::npos)
            ThrowAssert("fitems", 182);
        long r = std::atol(value.c_str());
        long g = std::atol(value.c_str() + first + 1);
        long b = std::atol(value.c_str() + second + 1);
        back = 0x02000000 | COLORREF(b & 0xFF) << 16 | COLORREF(g & 0xFF) << 8 | COLORREF(r & 0xFF);
        ++changes;
    }
    if (changes) {
        if (environment_) {
            ATextStyle added(font, ATextStyle::kUnset, back, 0);
            environment_->merge(added);
        } else {
            environment_ = CheckAlloc(new (std::nothrow) ATextStyle(font, ATextStyle::kUnset, back, 0), "fitems", 196);
        }
    }
    if (environment_)
        environment_->attach(this, false);
}

ATextStyle* AClusterItem::loadEnvironment(uint16_t number) {
    return CheckAlloc(new (std::nothrow) ATextStyle(AResourceRef(number)), "fitems", 160);
}

void AClusterItem::setDisplayEnv(const ATextStyle& style) {
    releaseEnvironment();
    environment_ = CheckAlloc(new (std::nothrow) ATextStyle(style), "fitems", 210);
    environment_->attach(this, true);
}

void AClusterItem::releaseEnvironment() {
    if (!environment_)
        return;
    environment_->attach(nullptr, false);
    delete environment_;
    environment_ = nullptr;
}

void AClusterItem::setUpItems() {
    ADisplayComponent::setUpItems();
    setStateBits(state_, true);
}

void AClusterItem::childrenLoaded() {
    ADisplayComponent::childrenLoaded();
    applyNativeFont(nullptr);
}

void AClusterItem::detachItems() {
    owner_ = nullptr;
    state_ = kOff;
    flags_ = 0;
    releaseEnvironment();
    ADisplayComponent::detachItems();
}

void AClusterItem::displayEnvChanged(ATextStyle* style, uint8_t mask) {
    ADisplayComponent::displayEnvChanged(style, mask);
    if (style && (mask & ATextStyle::kFont))
        applyNativeFont(style);
}

void AClusterItem::applyNativeFont(ATextStyle* style) {
    HWND hwnd = getHWnd();
    if (!hwnd || !IsWindow(hwnd))
        return;
    if (!style)
        style = getDisplayEnv();
    if (style && style->font())
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(style->font()->getHFont()), 0);
}

uint16_t AClusterItem::textAlignment(ATextStyle* style) {
    return style ? style->alignment() : 0;
}

void AClusterItem::setStateBits(uint16_t state, bool force) {
    auto next = static_cast<uint16_t>((state_ & 0xFF00) | state);
    if (!force && next == state_)
        return;
    state_ = next;
    stateChanged(next);
}

void AClusterItem::setOn(bool on) {
    uint16_t low = state_ & 0xFF;
    low = static_cast<uint16_t>(on ? (low & ~kOff) | kOn : (low & ~kOn) | kOff);
    setStateBits(low, false);
}

void AClusterItem::setFlag100(bool on) {
    state_ = static_cast<uint16_t>(on ? state_ | kCurrent : state_ & ~kCurrent);
}

void AClusterItem::stateChanged(uint16_t state) {
    if (!(flags_ & kShownByState))
        return;
    // Off is tested first: a word with both bits hides the item.
    if (state & kOff)
        hide(true);
    else if (state & kOn)
        show(true);
}

int16_t AClusterItem::setCursor(int16_t id) {
    int16_t previous = cursorId_;
    cursorId_ = id;
    if (id != previous) {
        ADisplayComponent* hovered = ADisplayServices::current().hoverComponent();
        if (hovered && (hovered == this || hovered->isDescendantOf(this)))
            AClusterServices::current().setCursor(hovered->getCursor(1));
    }
    return previous;
}

AClusterItem* AClusterItem::findFocusTarget(AFocusSearch& search) {
    if (search.passed)
        return focusTarget();
    search.visit(this);
    return nullptr;
}

void AClusterItem::setText(const char* text) {
    HWND hwnd = getHWnd();
    if (hwnd && IsWindow(hwnd))
        SetWindowTextA(hwnd, text ? text : "");
}

AString AClusterItem::getText() {
    HWND hwnd = getHWnd();
    if (!hwnd || !IsWindow(hwnd))
        return AString();
    int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    GetWindowTextA(hwnd, &text[0], length + 1);
    return AString(text.c_str());
}

int16_t AClusterItem::getId() {
    if (idMode_ == 0)
        return id();
    if (idMode_ == 1)
        return static_cast<int16_t>(getClass()->classNumber());
    return static_cast<int16_t>(idMode_);
}

AHelpRecord AClusterItem::getHelp(const APoint& point) {
    return owner_ ? owner_->itemHelp(point, this) : AHelpRecord();
}

void AClusterItem::setHelpText(const char* text, int16_t atPoint) {
    if (owner_)
        owner_->setItemString(text, this, atPoint);
}

AString AClusterItem::helpText() {
    return owner_ ? owner_->itemString(this) : AString();
}

AItemCluster* AClusterItem::enclosingCluster() const {
    AComponent* c = findAncestor(&AItemCluster::classRecord);
    return c ? static_cast<AItemCluster*>(c->castTo(&AItemCluster::classRecord)) : nullptr;
}

// Item commands: 17 print, 18 delete, 19 show again inside the window, 25 the flag's test.
void AClusterItem::bindActions() {
    ADisplayComponent::bindActions();
    if (!hasEditCommands())
        return;
    const int16_t bindings[][2] = {{18, 21}, {17, 20}, {19, 23}, {25, 24}};
    for (const auto& b : bindings)
        addAction(b[0], this, b[1], nullptr);
}

ACommand* AClusterItem::doCommand(int16_t id, long argument) {
    switch (id) {
        case 17:
            return print();
        case 18:
            if (!isDeletable()) {
                MessageBeep(0);
                return noChangeCommand();
            }
            perform(CheckAlloc(new (std::nothrow) ADeleteComponentCmd(1, this), "fitems", 310));
            return noChangeCommand();
        case 19:
            showUpdate();
            return noChangeCommand();
        case 25:
            return noChangeCommand();
        default:
            return ADisplayComponent::doCommand(id, argument);
    }
}

int16_t AClusterItem::commandStatus(int16_t id, long argument) {
    switch (id) {
        case 17:
        case 18:
        case 25:
            return hasEditCommands() ? 1 : 2;
        case 19:
            return componentCommandsEnabled && hasEditCommands() ? 1 : 2;
        default:
            return ADisplayComponent::commandStatus(id, argument);
    }
}
