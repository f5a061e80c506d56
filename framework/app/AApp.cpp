// The application object: construction, the hooks through which the tree and
// the error layer reach it, the tree steps, the command target, deferred work and timers.
#include "framework/app/AApp.h"

#include <windows.h>

#include <cstring>
#include <ctime>
#include <string>

#include "base/object/ATextOutStream.h"
#include "base/object/InputRecords.h"
#include "base/procedural/SystemSeams.h"
#include "framework/app/AppServices.h"
#include "framework/clusters/AGlobalCluster.h"
#include "framework/components/ACommand.h"
#include "framework/components/AKindSet.h"
#include "framework/components/ALayoutLoader.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/graphics/AFont.h"
#include "framework/graphics/AGraphicDisplay.h"
#include "framework/resources/AResource.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/ANativeWindow.h"
#include "framework/windows/AShellClient.h"
#include "framework/windows/AWindowClass.h"

SV_IMPLEMENT_CLASS(AApp, 101, AComponent)

namespace {

AApp* g_current = nullptr;

AppComponentHooks MakeComponentHooks() {
    AppComponentHooks h{};
    h.application = []() -> AComponent* { return g_current; };
    h.flushUpdates = [] { g_current->flushUpdates(); };
    h.queueUpdate = [](AComponent* c, long kind) { g_current->queueUpdate(c, kind); };
    h.dequeueUpdate = [](AComponent* c, long kind) { g_current->dequeueUpdate(c, kind); };
    h.addTimer = [](AComponent* c, uint32_t delay) { return g_current->addTimer(c, delay); };
    h.restartTimer = [](AComponent* c, uint16_t id) { g_current->restartTimer(c, id); };
    h.setTimerDelay = [](AComponent* c, uint16_t id, uint32_t delay) { g_current->setTimerDelay(c, id, delay); };
    h.target = [] { return g_current->target(); };
    h.setTarget = [](AComponent* c, int16_t activate) { return g_current->setTarget(c, activate); };
    h.noChange = [] { return g_current->noChange(); };
    h.passThrough = [] { return g_current->passThrough(); };
    h.closeCommand = [] { return g_current->quitRequest(); };
    h.actionTable = [](int index) { return g_current->actionTable(index); };
    h.clipboardWindow = [] { return g_current->frameWindow(); };
    h.clipboardChanged = [] {
        if (AComponent* told = g_current->messageTarget())
            told->queueUpdate(kUpdateClipboard);
    };
    return h;
}

const AppComponentHooks kComponentHooks = MakeComponentHooks();

const AppErrorHooks kErrorHooks = {
    [](const AError& e) { return g_current->handleError(e) != 0; },
    [](const AError& e, unsigned flags) { return g_current->reportError(e, flags); },
    nullptr,
    nullptr,
};

template <class C>
void DiscardShared(C*& command) {
    AObject* p = command;
    command = nullptr;
    if (p)
        AObject::discardNew(p);
}

}  // namespace

AApp* AApp::current() {
    return g_current;
}

AApp::AApp() : AApp(AString(), ARect(0, 0, 0, 0), 0, 0) {}

AApp::AApp(const AString& name, const ARect& requestedSize, uint16_t style, uint16_t styleExtra)
    : name_(name),
      requestedSize_(requestedSize),
      style_(style),
      styleExtra_(styleExtra),
      timerList_(SeamTickCount()),
      commandQueue_(this, 1),
      paletteTable_(this),
      currentTime_(SeamTickCount()) {
    if (g_current)
        ThrowAssert("fappli", 2706);
    g_current = this;
    installServices();
    SetAppComponentHooks(&kComponentHooks);
    SetAppErrorHooks(&kErrorHooks);
}

AApp::~AApp() {
    // An open that failed after making the frame never detached: its frame,
    // client and menu bar go here.
    if (frameWindow_) {
        destroyFrameWindow(frameWindow_);
        frameWindow_ = nullptr;
    }
    updateList_.clear();
    commandQueue_.clear();
    delete log_;
    clearCursors();
    clearBrushes();
    clearIcons();
    clearImages();
    clearBitmaps();
    removeServices();
    UnregisterAllWindowClasses();
    if (g_current == this) {
        SetAppErrorHooks(nullptr);
        SetAppComponentHooks(nullptr);
        g_current = nullptr;
    }
}

ACommand* AApp::noChange() const {
    return noChange_;
}

ACommand* AApp::passThrough() const {
    return passThrough_[0];
}

void AApp::setInstance(void* instance, const char* commandLine, int showCommand) {
    (void)commandLine;
    instance_ = instance;
    showCommand_ = showCommand;
}

bool AApp::activateOtherInstance() {
    if (HWND other = FindWindowA("KY_MDIFrameWindow", name_.c_str())) {
        SetForegroundWindow(other);
        if (IsIconic(other))
            ShowWindow(other, SW_RESTORE);
        return false;
    }
    if (requestedSize_.first.x == 0 && requestedSize_.first.y == 0)
        return workFolderChosen();
    long width = requestedSize_.first.x;
    long height = requestedSize_.first.y + ((style_ & kNoMenuBar) ? 0 : 20);
    if (width <= systemMetric(SM_CXSCREEN) && height <= systemMetric(SM_CYSCREEN))
        return workFolderChosen();
    AString format = ScreenSizeTemplate();
    std::string text(format.length() + 50, '\0');
    snprintf(&text[0], text.size(), format.c_str(), width, height);
    messageBox(text.c_str(), nullptr, 0, nullptr);
    return false;
}

namespace {

const char kScreenSize[] =
    "Cette application requiert au moins %ldx%ld pixels. Veuillez ajuster les param\xE8tres "
    "d'affichage de votre \xE9"
    "cran.";

}  // namespace

// Item 3 of list 128 is a format: used only when it takes exactly the two
// numbers, so that a changed resource cannot read what is not passed.
AString AApp::ScreenSizeTemplate() {
    AString format = FrameworkString(128, 3, kScreenSize);
    const char* text = format.c_str();
    int numbers = 0;
    for (const char* p = strchr(text, '%'); p; p = strchr(p + 1, '%')) {
        if (strncmp(p, "%ld", 3) != 0)
            return AString(kScreenSize);
        ++numbers;
    }
    return numbers == 2 ? format : AString(kScreenSize);
}

// A folder that cannot be used has asked for the quit: the start stops here.
bool AApp::workFolderChosen() {
    chooseWorkFolder();
    return !quitRequested_;
}

// Tree steps.

void AApp::attachItems() {
    AComponent::attachItems();
    becomeTarget(1);
    frameworkMessage_ = RegisterWindowMessageA("KY Media Framework Message");
    paletteTable_.setEnabled(ADisplayContext::instance().has256Colors());
    paletteTable_.setRebuildsImages((style_ & kPaletteImages) != 0);
    APaletteTable::setActive(&paletteTable_);
    frameWindow_ = createFrameWindow(frameRect(), title());
    if (style_ & kDdeService)
        startDdeService();
}

void AApp::childrenLoaded() {
    AComponent::childrenLoaded();
    noChange_ = new ANoChangeCommand(1, this);
    AObject::completeNew(noChange_);
    for (APassThroughCommand*& p : passThrough_) {
        p = new APassThroughCommand(1, this);
        AObject::completeNew(p);
    }
    if (showSplashScreen())
        splashStart_ = updateTime();
    setToolBar(loadToolBar());
    // The frame places the bar beside the MDI client when it is first shown.
    if (auto* bar = dynamic_cast<ADisplayComponent*>(toolBar_))
        bar->showUpdate();
    if (style_ & kHelpBox)
        createHelpBox();
}

void AApp::setUpItems() {
    if (!instance_)
        ThrowAssert("fappli", 1080);
    AComponent::setUpItems();
    helpFileName_ = helpFile();
    uint32_t minimum = splashMinimum();
    uint32_t elapsed = updateTime() - splashStart_;
    if (splashStart_ != 0 && minimum > elapsed)
        Delay(minimum - elapsed);
    splashStart_ = 0;
    HWND frame = static_cast<HWND>(frameWindow_);
    if (frame && !(style_ & kFrameHidden))
        ShowWindow(frame, showCommand_);
    // A thread message when there is no frame: the loop hands it over itself.
    PostMessageA(frame, frameworkMessage_, kStartRequest, 0);
}

void AApp::detachItems() {
    windowManager_.checkEmpty();
    stopDdeService();
    lockWindowUpdate(nullptr);
    updateList_.clear();
    commandQueue_.clear();
    closeHelp();
    if (frameWindow_) {
        armFrameTimer(-1);
        destroyFrameWindow(frameWindow_);
        frameWindow_ = nullptr;
    }
    accelerators_.clear();
    appTables_[0] = appTables_[1] = nullptr;
    target_ = nullptr;
    defaultTarget_ = nullptr;
    DiscardShared(noChange_);
    for (APassThroughCommand*& p : passThrough_)
        DiscardShared(p);
    if (APaletteTable::active() == &paletteTable_)
        APaletteTable::setActive(nullptr);
    clearBrushes();
    clearCursors();
    clearIcons();
    clearImages();
    clearBitmaps();
    delete systemFont_;
    systemFont_ = nullptr;
    delete systemFontAlt_;
    systemFontAlt_ = nullptr;
    toolBar_ = nullptr;
    AComponent::detachItems();
}

void AApp::setToolBar(AComponent* toolBar) {
    toolBar_ = toolBar;
    paletteTable_.setToolBar(toolBar);
    appTables_[1] = toolBar ? toolBar->ownActionTable() : nullptr;
}

AComponent* AApp::loadToolBar() {
    AString name = toolBarLayoutName();
    if (!AResource(kLayoutType, AResourceRef(name.c_str())).exists())
        return nullptr;
    AComponent* made = AComponent::loadLayout(this, name.c_str(), 0);
    if (made && !dynamic_cast<AToolBar*>(made))
        DeleteComponent(made);
    return made;
}

AFont* AApp::systemFont() {
    if (!systemFont_)
        systemFont_ = CheckAlloc(new AFont(AFontSpec::fromStock(SYSTEM_FONT)), "fappli", 1010);
    return systemFont_;
}

int AApp::systemMetric(int index) {
    return GetSystemMetrics(index);
}

ARect AApp::frameRect() {
    const int32_t cw = static_cast<int32_t>(CW_USEDEFAULT);
    int32_t cx = systemMetric(SM_CXSCREEN), cy = systemMetric(SM_CYSCREEN);
    int32_t fx = systemMetric(SM_CXFRAME);
    int32_t top = systemMetric(SM_CYCAPTION) + systemMetric(SM_CYFRAME) + systemMetric(SM_CYBORDER);
    int32_t bottom = systemMetric(SM_CYFRAME);
    int32_t extraW = 2 * fx, extraH = top + bottom;
    if (!(style_ & kNoMenuBar)) {
        extraH += systemMetric(SM_CYMENU) - systemMetric(SM_CYBORDER);
        top -= systemMetric(SM_CYBORDER);
    }
    frameExtra_ = APoint(extraW, extraH);
    int32_t w = requestedSize_.first.x, h = requestedSize_.first.y;
    int32_t W = w ? w : cw, H = h ? h : cw;
    // A default coordinate or size stays the default: it is never added to.
    auto end = [cw](int32_t from, int32_t size) { return from == cw || size == cw ? cw : from + size; };
    auto maximise = [this] {
        if (showCommand_ != SW_SHOWMINIMIZED)
            showCommand_ = SW_SHOWMAXIMIZED;
    };
    if (cx == 800 && cy == 600 && w < 800 && extraH + h - 2 * top < 600) {
        if (!(style_ & kCentred)) {
            maximise();
            return ARect(cw, cw, 0, 0);
        }
        int32_t x = w ? (800 - W) >> 1 : cw, y = h ? (600 - H) >> 1 : cw;
        return ARect(0, 0, end(x, W), end(y, H));
    }
    if (extraW + w >= cx || extraH + h >= cy)
        style_ |= kFullScreen;
    if (style_ & kFullScreen) {
        showCommand_ = SW_SHOWMAXIMIZED;
        return ARect(-fx, -top, cx + fx, cy + bottom);
    }
    if (style_ & kCentred) {
        int32_t x = w ? (cx - W) >> 1 : cw, y = h ? (cy - H) >> 1 : cw;
        return ARect(x, y, end(x, W), end(y, H));
    }
    maximise();
    return ARect(cw, cw, 0, 0);
}

bool AApp::closeAllWindows(int16_t flag) {
    closeAllWindowsNow();
    return windowManager_.closeAll(flag != 0);
}

AComponent* AApp::chooseAction(AActionRecord& record, AComponent* existing, AComponent* added) {
    // A record whose two words add up to 20 sides with the newer binding.
    if (static_cast<int16_t>(record.f2 + record.f3) == 20)
        return added;
    return AComponent::chooseAction(record, existing, added);
}

void AApp::bindActions() {
    AComponent::bindActions();
    // Command id and item code; the negative codes are system-menu commands.
    static const int16_t kBindings[][2] = {
        {2, -3952}, {2, -3840}, {2, -3792}, {17, 20}, {6, 22},    {20, 931},
        {21, 932},  {3, 911},   {4, 912},   {8, 914}, {6, -4000}, {5, 913},
    };
    for (const auto& b : kBindings)
        addAction(b[0], this, b[1], nullptr);
}

// The application's own commands: the system-menu pass-through (2), the MDI
// arrangements (3 cascade, 4 tile, 5 icons), quit (6), close all windows (8),
// refresh (17), the help's contents and search (20, 21) and the two that do
// nothing (91, 94).
ACommand* AApp::doCommand(int16_t id, long argument) {
    switch (id) {
        case 2:
            return passThrough();
        case 3:
            MdiCascade();
            return noChange_;
        case 4:
            MdiTile();
            return noChange_;
        case 5:
            MdiArrangeIcons();
            return noChange_;
        case 17:
            refreshWindows();
            return noChange_;
        case 20:
            return helpContents();
        case 21:
            return helpSearch(nullptr);
        case 6:
            return quitRequest();
        case 8:
            closeAllWindows(1);
            return noChange_;
        case 91:
        case 94:
            return noChange_;
        default:
            return AComponent::doCommand(id, argument);
    }
}

int16_t AApp::commandStatus(int16_t id, long argument) {
    int shown = 0, minimised = 0;
    switch (id) {
        case 3:
        case 4:
            countDocumentWindows(shown, minimised);
            return shown != minimised ? 1 : 2;
        case 5:
            countDocumentWindows(shown, minimised);
            return minimised ? 1 : 2;
        case 20:
        case 21:
            return hasHelp() ? 1 : 2;
        case 17:
        case 91:
        case 94:
            return 1;
        case 6:
            // Not while a modal window is showing.
            return windowManager_.HasWindowFlag2() ? 2 : 1;
        case 8:
            return windowManager_.hasOpenDocumentWindows() ? 1 : 2;
        default:
            return AComponent::commandStatus(id, argument);
    }
}

void AApp::componentDeleted(AComponent* component) {
    if (component == helpBox_) {
        helpBox_ = nullptr;
        helpTips_ = nullptr;
    }
    if (hoverHelp_.owner == component)
        hoverHelp_.owner = nullptr;
    if (locked_ && static_cast<AComponent*>(locked_) == component)
        lockWindowUpdate(nullptr);
    if (messageTarget_ == component)
        messageTarget_ = nullptr;
    if (toolBar_ == component)
        setToolBar(nullptr);
    if (target_ == component)
        setTarget(nullptr, 0);
    // After the change: it files the old target as the previous one.
    if (defaultTarget_ == component)
        defaultTarget_ = nullptr;
    // A component moving to another parent keeps its updates, timers and commands.
    uint16_t f = component == movingComponent() ? 0 : component->flags();
    if (f & kInUpdateList)
        updateList_.removeAll(component);
    if (f & kHasTimers)
        timerList_.dropAllOf(component, currentTime_);
    if (f & kInCommandQueue)
        commandQueue_.dropTarget(component);
    if (component != movingComponent())
        paletteTable_.componentDeleted(component);
    AComponent::componentDeleted(component);
}

// Command target.

int16_t AApp::setTarget(AComponent* component, int16_t activate) {
    if (component == target_ && component)
        return 1;
    if (component && !component->acceptsTarget()) {
        if (!component->acceptsTargetLater())
            return 0;
        ASetTargetCmd* later = new ASetTargetCmd(1, component, static_cast<uint16_t>(activate));
        AObject::completeNew(later);
        executeCommand(later);
        return 2;
    }
    return changeTarget(component);
}

int16_t AApp::changeTarget(AComponent* component) {
    if (focusChangeFlag_)
        return 0;
    if (!component)
        component = this;
    if (component != target_) {
        AComponent* old = target_;
        AComponent* common = old ? old->commonAncestor(component) : nullptr;
        if (old)
            old->targetChanged(0, common);
        component->targetChanged(1, common);
        defaultTarget_ = old;
        target_ = component;
        queueUpdate(this, kUpdateAppTarget);
        // Characters reach a native control only through the keyboard focus.
        auto* display = dynamic_cast<ADisplayComponent*>(component);
        if (display && display->getHWnd() && !dynamic_cast<AShellClient*>(component))
            restoreTargetFocus(display);
    }
    return 1;
}

int16_t AApp::resignTarget(AComponent* component) {
    if (!component)
        ThrowAssert("fappli", 1890);
    if (component != target_)
        return 1;
    return setTarget(nullptr, 0);
}

bool AApp::focusWithin(AComponent* component) {
    for (AComponent* c = component; c; c = c->getParent()) {
        if (!c->isTargetScope())
            continue;
        if (target_ && target_->isDescendantOf(c))
            return true;
        AComponent* preferred = c->preferredTarget();
        if (preferred && preferred != c)
            return preferred->becomeTarget(1) != 0;
    }
    return false;
}

long AApp::executeCommand(ACommand* command) {
    commandQueue_.add(command);
    setPending();
    return 1;
}

// Deferred work and timers.

void AApp::queueUpdate(AComponent* component, long kind) {
    updateList_.add(component, kind);
    setPending();
}

void AApp::dequeueUpdate(AComponent* component, long kind) {
    updateList_.remove(component, kind);
}

uint32_t AApp::updateTime() {
    currentTime_ = SeamTickCount();
    return currentTime_;
}

uint32_t AApp::secondsNow() {
    return static_cast<uint32_t>(time(nullptr));
}

AFileSpec AApp::currentFolder() {
    char path[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof path, path);
    return length > 0 && length < sizeof path ? AFileSpec(path) : AFileSpec();
}

uint32_t AApp::caretBlinkTime() {
    return GetCaretBlinkTime();
}

uint16_t AApp::addTimer(AComponent* component, uint32_t delay) {
    return timerList_.add(component, delay, currentTime_);
}

void AApp::restartTimer(AComponent* component, uint16_t id) {
    timerList_.drop(component, id, currentTime_);
}

void AApp::setTimerDelay(AComponent* component, uint16_t id, uint32_t delay) {
    timerList_.setDelay(component, id, delay, currentTime_);
}
