// The help box's style, message area and tracking tooltip.
#include "framework/extras/AHelpBox.h"

#include "base/procedural/AError.h"
#include "base/procedural/ProcAddress.h"
#include "framework/extras/ATextBox.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/ATextStyle.h"
#include "framework/windows/ANativeWindow.h"

SV_IMPLEMENT_CLASS(AHelpBox, 162, ADisplayComponent)

AHelpBox::AHelpBox()
    : ADisplayComponent(AComponent::application(), 0, ASizeSpec(ARect(0, 0, 100, 20))),
      tip_(nullptr),
      tool_(),
      tipPosition_(),
      textBox_(nullptr),
      style_(nullptr) {}

AHelpBox::~AHelpBox() {
    hideTip();
    delete style_;
}

void AHelpBox::completeStyle(ATextStyle& style) {
    if (!style.font())
        style.setFont(AFontSpec("Times", 12, 0));
    if (style.backColor() == ATextStyle::kUnset)
        style.setBackColor(kDefaultBack);
}

void AHelpBox::childrenLoaded() {
    ADisplayComponent::childrenLoaded();
    style_ = new ATextStyle(AResourceRef(101));
    completeStyle(*style_);
    AEdge rest;
    rest.set(0, 0x3030, 0);
    textBox_ = new ATextBox(this, ASizeSpec::fromEdges(rest, rest, rest, rest), 0);
    AObject::completeNew(textBox_);
    textBox_->setDisplayEnv(style_);
}

void AHelpBox::componentDeleted(AComponent* component) {
    if (component == textBox_)
        textBox_ = nullptr;
    ADisplayComponent::componentDeleted(component);
}

void AHelpBox::showTip(const APoint& point, const AHelpRecord& record) {
    if (!textBox_)
        ThrowAssert("fextras", 300);
    if (tip_)
        return;
    auto* display = dynamic_cast<ADisplayComponent*>(record.owner);
    ADisplayComponent* windowed = display ? display->findWindowedAncestor() : nullptr;
    HWND owner = windowed ? windowed->getOwnWindow() : nullptr;
    if (!owner)
        ThrowAssert("fextras", 310);
    POINT origin = {0, 0};
    if (HWND client = GetMdiClientWindow())
        ClientToScreen(client, &origin);
    const int x = origin.x + point.x, y = origin.y + point.y + 16;
    // The tooltip's class comes with the common controls, loaded at the
    // first tip: imported, they cost every start some 40 ms under Wine.
    static const bool registered = [] {
        auto registerControls = reinterpret_cast<void(WINAPI*)()>(KY_SystemProc("COMCTL32.DLL", "InitCommonControls"));
        if (registerControls)
            registerControls();
        return registerControls != nullptr;
    }();
    if (!registered)
        return;
    tip_ =
        CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, nullptr, nullptr);
    if (!tip_)
        return;
    SetWindowPos(tip_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    // The text goes with the tool: no window answers the tooltip's text request yet.
    tool_ = TOOLINFOA();
    tool_.cbSize = TTTOOLINFOA_V1_SIZE;
    tool_.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool_.hwnd = owner;
    tool_.uId = 0;
    tool_.rect = RECT{record.area.left(), record.area.top(), record.area.right(), record.area.bottom()};
    tool_.lpszText = const_cast<char*>(record.text.c_str());
    SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool_));
    tipPosition_ = APoint(x, y);
    SendMessageA(tip_, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
    SendMessageA(tip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool_));
    tool_.lpszText = nullptr;
}

void AHelpBox::hideTip() {
    if (!tip_)
        return;
    DestroyWindow(tip_);
    tip_ = nullptr;
}
