// The application's side of the window layer: its services, the MDI frame it
// makes, bringing the frame forward, the DDE service and the settings file.
#include <cctype>
#include <cstring>

#include "base/object/AFileSpec.h"
#include "base/object/AFolderSpecs.h"
#include "base/procedural/KyPath.h"
#include "framework/app/AApp.h"
#include "framework/app/AppDde.h"
#include "framework/app/AppServices.h"
#include "framework/app/AWindow.h"
#include "framework/clusters/AClusterServices.h"
#include "framework/components/AKindSet.h"
#include "framework/menus/AMenuBar.h"
#include "framework/resources/AResource.h"
#include "framework/components/ACommand.h"
#include "framework/display/ADisplayComponent.h"
#include "framework/display/ADisplayServices.h"
#include "framework/windows/AMdiFrame.h"
#include "framework/windows/AWindowServices.h"

class AApp::WindowServices : public AWindowServices {
public:
    explicit WindowServices(AApp* app) : app_(app) {}
    HINSTANCE instance() override {
        return app_->instance() ? static_cast<HINSTANCE>(app_->instance()) : GetModuleHandleA(nullptr);
    }
    int messageBox(const char* text, const char* caption, unsigned flags) override {
        return app_->messageBox(text, caption, flags, nullptr);
    }
    bool frameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        return app_->frameMessage(window, message, wParam, lParam);
    }
    long menuCommand(int16_t id) override {
        return app_->actionTable(0) ? AWindowServices::menuCommand(id) : app_->menuCommand(id);
    }
    ADisplayComponent* toolBar() override { return dynamic_cast<ADisplayComponent*>(app_->toolBar()); }
    bool setActive(bool active) override {
        AWindowServices::setActive(active);
        return app_->setActive(active);
    }
    void enableWindows(bool enable) override { app_->enableWindows(enable); }
    void activateFrame() override { app_->activateFrame(); }
    long queryEndSession() override { return app_->queryEndSession(1); }
    void lowMemory() override { app_->lowMemory(); }
    bool frameLimits(long limits[4], APoint& extra) override {
        for (int i = 0; i < 4; ++i)
            limits[i] = app_->frameLimits()[i];
        extra = app_->frameExtra();
        return true;
    }
    bool hideMaximisedCaption() override { return (app_->style() & AApp::kFullScreen) != 0; }
    bool modalShowing() override { return app_->windowManager().HasWindowFlag2(); }

private:
    AApp* app_;  // not owned
};

bool AApp::setActive(bool active) {
    bool changed = active != isActive();
    active_ = active;
    return changed;
}

void AApp::enableWindows(bool enable) {
    auto* bar = dynamic_cast<ADisplayComponent*>(toolBar_);
    HWND window = bar ? bar->getHWnd() : nullptr;
    // A bar inside the frame is a child window and follows the frame by itself.
    if (window && IsWindow(window) && !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
        EnableWindow(window, enable);
}

void AApp::setFrameLimits(long minWidth, long minHeight, long maxWidth, long maxHeight) {
    frameLimits_[0] = minWidth;
    frameLimits_[1] = minHeight;
    frameLimits_[2] = maxWidth;
    frameLimits_[3] = maxHeight;
}

class AApp::DisplayServices : public ADisplayServices {
public:
    explicit DisplayServices(AApp* app) : app_(app) {}
    bool isUpdateLocked(ADisplayComponent* component) override { return app_->isUpdateLocked(component); }
    void lockWindowUpdate(ADisplayComponent* component) override { app_->lockWindowUpdate(component); }
    void setHoverComponent(ADisplayComponent* component) override { app_->setCursorComponent(component); }
    ADisplayComponent* makePrinter(ADisplayComponent*) override { return app_->makePrinter(); }
    ASizingContext* makeSizingContext(ADisplayComponent*) override { return app_->makeResizeRecord(); }
    AComponent* makePreviewDialog(ADisplayComponent* printed) override { return app_->makePreviewDialog(printed); }
    AComponent* makePrintOptionsDialog(ADisplayComponent* printed) override {
        return app_->makePrintOptionsDialog(printed);
    }

private:
    AApp* app_;  // not owned
};

class AApp::ClusterServices : public AClusterServices {
public:
    explicit ClusterServices(AApp* app) : app_(app) {}
    bool helpBoxes() override { return (app_->style() & kHelpBox) != 0; }
    bool nativeStatics() override { return (app_->style() & kNativeStatics) != 0; }
    bool nativeAdornments() override { return (app_->style() & 0xC000) != 0; }
    AImage* findImage(const AString& name) override { return app_->findImage(name); }
    AFont* systemFont() override { return app_->systemFont(); }
    void setCursor(int16_t id) override { app_->setCursor(id); }
    HWND frameWindow() override { return static_cast<HWND>(app_->frameWindow()); }
    bool hideAppToolBar(AComponent* bar) override {
        if (app_->toolBar() != bar)
            return false;
        app_->queueUpdate(6);
        return true;
    }

private:
    AApp* app_;  // not owned
};

void AApp::setCursorComponent(ADisplayComponent* component) {
    ADisplayServices& services = displayServices_ ? *displayServices_ : ADisplayServices::current();
    if (component == services.hoverComponent())
        return;
    services.ADisplayServices::setHoverComponent(component);
    setCursor(component ? services.cursorCode() : -1);
    hoverCheck();
}

ADisplayComponent* AApp::cursorComponent() const {
    return displayServices_ ? displayServices_->hoverComponent() : nullptr;
}

void AApp::setMouseTracker(AMouseTracker* tracker) {
    ADisplayServices& services = displayServices_ ? *displayServices_ : ADisplayServices::current();
    if (!tracker) {
        services.endTracking();
        return;
    }
    if (services.tracker())
        beep(0);
    services.startTracking(tracker);
}

void AApp::installServices() {
    windowServices_ = new WindowServices(this);
    displayServices_ = new DisplayServices(this);
    clusterServices_ = new ClusterServices(this);
    AWindowServices::install(windowServices_);
    ADisplayServices::install(displayServices_);
    AClusterServices::install(clusterServices_);
}

void AApp::removeServices() {
    AWindowServices::install(nullptr);
    ADisplayServices::install(nullptr);
    AClusterServices::install(nullptr);
    delete clusterServices_;
    clusterServices_ = nullptr;
    delete windowServices_;
    delete displayServices_;
    windowServices_ = nullptr;
    displayServices_ = nullptr;
}

namespace {

// The application's menu bar, which also loads its accelerator table (base + "Accel").
class AAppMenuBar : public AMenuBar {
public:
    using AMenuBar::AMenuBar;
    void load() override {
        if (isLoaded())
            return;
        AMenuBar::load();
        AApp* app = AApp::current();
        if (!app)
            ThrowAssert("fmenu", 1268);
        AString name(ref().name());
        name += "Accel";
        HACCEL table = LoadAcceleratorsA(static_cast<HINSTANCE>(AResourceModule(ref()).handle()),
                                         ref().byNumber() ? ref().win32Name() : name.c_str());
        if (table)
            app->addAccelerators(table);
    }
};

}  // namespace

void* AApp::createFrameWindow(const ARect& rect, const AString& title) {
    HMENU own = static_cast<HMENU>(frameMenu());
    frame_ = new AMdiFrame(this, title.c_str(), WS_OVERLAPPEDWINDOW, rect, own, true);
    AString menuName = resourceName();
    menuName += "Menu";
    // A program that brings neither a menu of its own nor the framework's has no menu bar.
    if (!own && !(style_ & kNoMenuBar) && frame_->hwnd() &&
        AResource(static_cast<uint16_t>(4), AResourceRef(menuName.c_str())).exists()) {
        menuBar_ = new AAppMenuBar(this, frame_->hwnd(), AResourceRef(resourceName().c_str()));
        menuBar_->load();
        setActionTable(0, menuBar_);
    }
    HMENU listMenu = static_cast<HMENU>(windowMenu());
    if (!listMenu && menuBar_)
        listMenu = menuBar_->windowMenu();
    client_ = new AMdiClient(this, listMenu, AMdiFrame::kFirstChildId,
                             WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | MDIS_ALLCHILDSTYLES,
                             ARect(0, 0, 0, 0), true);
    SetClassLongPtrA(frame_->hwnd(), GCLP_HICON, reinterpret_cast<LONG_PTR>(appIcon()));
    return frame_->hwnd();
}

void AApp::setActiveWindow(AWindow* window) {
    if (window == activeWindow_)
        return;
    activeWindow_ = window;
    queueUpdate(this, kUpdateAppTarget);
}

ARect AApp::applicationArea() {
    HWND client = GetMdiClientWindow();
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (client)
        GetClientRect(client, &r);
    return ARect(r.left, r.top, r.right, r.bottom);
}

void AApp::notify(const AKindSet& kinds) {
    if (kinds.contains(kUpdateLayout))
        ADisplayServices::current().flushLayouts();
    AComponent::notify(kinds);
}

void AApp::linkChanged(AComponent* source, const AKindSet& kinds) {
    if (auto* window = dynamic_cast<AWindow*>(source))
        windowManager_.windowChanged(window, kinds);
    AComponent::linkChanged(source, kinds);
}

void AApp::destroyFrameWindow(void* window) {
    if (appTables_[0] == menuBar_)
        appTables_[0] = nullptr;
    delete menuBar_;
    menuBar_ = nullptr;
    if (!frame_) {
        DestroyWindow(static_cast<HWND>(window));
        return;
    }
    delete client_;
    delete frame_;
    client_ = nullptr;
    frame_ = nullptr;
}

void AApp::activateFrame() {
    HWND frame = static_cast<HWND>(frameWindow_);
    if (!frame || !IsWindow(frame))
        return;
    SetForegroundWindow(frame);
    if (style_ & kFullScreen) {
        int x = 0, y = 0;
        int cx = systemMetric(SM_CXSCREEN), cy = systemMetric(SM_CYSCREEN);
        if (cx == 800 && cy == 600) {
            x = -systemMetric(SM_CXFRAME);
            y = -(systemMetric(SM_CYCAPTION) + systemMetric(SM_CYFRAME) + systemMetric(SM_CYBORDER));
        }
        SetWindowPos(frame, nullptr, x, y, cx, cy, SWP_SHOWWINDOW);
    }
    if (IsIconic(frame))
        ShowWindow(frame, SW_RESTORE);
}

bool AApp::handleFrameworkMessage(uint32_t code, const char* item) {
    (void)item;
    if (code == kCodeActivate) {
        activateFrame();
        return true;
    }
    if (code == kCodeQuit) {
        quitCommand();
        return true;
    }
    return false;
}

void* AApp::ddeRequest(uint32_t topic, const char* item, uint32_t& format) {
    (void)item;
    if (topic != kCodeSelection)
        return nullptr;
    AComponent* source = targetIsCurrent_ ? target_ : defaultTarget_;
    if (!source || !source->canCopy())
        return nullptr;
    return source->renderFormat(format);
}

void* AApp::appendTargetText(AComponent* source, uint32_t format, void* block) {
    if (format != CF_TEXT || !source)
        return block;
    std::string text = source->description();
    if (text.empty())
        return block;
    std::string addition = "\r\n" + text + "\r\n";
    HGLOBAL memory = static_cast<HGLOBAL>(block);
    size_t length = 0;
    if (memory) {
        // The block may come without its terminating zero: never read past it.
        const char* p = static_cast<const char*>(GlobalLock(memory));
        if (!p)
            return block;
        size_t size = GlobalSize(memory);
        while (length < size && p[length])
            ++length;
        GlobalUnlock(memory);
    }
    size_t needed = length + addition.size() + 1;
    if (!memory) {
        memory = GlobalAlloc(GMEM_MOVEABLE, needed);
    } else if (GlobalSize(memory) < needed) {
        HGLOBAL grown = GlobalReAlloc(memory, needed, GMEM_MOVEABLE);
        if (!grown)
            return block;
        memory = grown;
    }
    char* p = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr;
    if (!p)
        return memory;
    memcpy(p + length, addition.c_str(), addition.size() + 1);
    GlobalUnlock(memory);
    return memory;
}

void AApp::startDdeService() {
    DWORD instance = 0;
    if (DdeInitializeA(&instance, AppDdeCallback, CBF_FAIL_ADVISES | CBF_FAIL_EXECUTES | CBF_SKIP_ALLNOTIFICATIONS,
                       0) != DMLERR_NO_ERROR) {
        ddeInstance_ = 0;
        messageBox(FrameworkString(128, 10, "Impossible de lancer les services DDE").c_str(), nullptr, 0, nullptr);
        return;
    }
    ddeInstance_ = instance;
    HSZ service = DdeCreateStringHandleA(instance, name_.c_str(), CP_WINANSI);
    ddeServiceName_ = service;
    DdeNameService(instance, service, nullptr, DNS_REGISTER);
}

void AApp::stopDdeService() {
    if (!ddeInstance_)
        return;
    if (ddeServiceName_) {
        DdeNameService(ddeInstance_, static_cast<HSZ>(ddeServiceName_), nullptr, DNS_UNREGISTER);
        DdeFreeStringHandle(ddeInstance_, static_cast<HSZ>(ddeServiceName_));
        ddeServiceName_ = nullptr;
    }
    DdeUninitialize(ddeInstance_);
    ddeInstance_ = 0;
}

namespace {

// The topic's first four bytes ("****" when it has none) and the item's text.
uint32_t TopicCode(DWORD instance, HSZ topic) {
    char buffer[5] = {0, 0, 0, 0, 0};
    uint32_t code = 0x2A2A2A2A;
    if (DdeQueryStringA(instance, topic, buffer, sizeof buffer, CP_WINANSI) != 0)
        code = static_cast<uint8_t>(buffer[0]) | static_cast<uint8_t>(buffer[1]) << 8 |
               static_cast<uint8_t>(buffer[2]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(buffer[3])) << 24;
    return code;
}

AString ItemText(DWORD instance, HSZ item) {
    if (!item)
        return AString();
    DWORD length = DdeQueryStringA(instance, item, nullptr, 0, CP_WINANSI);
    std::string text(length + 1, '\0');
    DdeQueryStringA(instance, item, &text[0], length + 1, CP_WINANSI);
    return AString(text.c_str());
}

}  // namespace

HDDEDATA CALLBACK AppDdeCallback(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ item, HDDEDATA data,
                                 ULONG_PTR value1, ULONG_PTR value2) {
    (void)conversation;
    (void)data;
    (void)value1;
    (void)value2;
    // A DDE callback is a Win32 frame: nothing may be thrown through it.
    try {
        AApp* app = AApp::current();
        if (type & XCLASS_BOOL)
            return reinterpret_cast<HDDEDATA>(1);
        if (!app)
            return nullptr;
        DWORD instance = app->ddeInstanceId();
        if (type & XCLASS_DATA) {
            uint32_t code = TopicCode(instance, topic);
            AString text = ItemText(instance, item);
            uint32_t wanted = format;
            HGLOBAL block = static_cast<HGLOBAL>(app->ddeRequest(code, text.c_str(), wanted));
            if (!block)
                return nullptr;
            void* bytes = GlobalLock(block);
            HDDEDATA answer = DdeCreateDataHandle(instance, static_cast<LPBYTE>(bytes),
                                                  static_cast<DWORD>(GlobalSize(block)), 0, nullptr, wanted, 0);
            GlobalUnlock(block);
            GlobalFree(block);
            return answer;
        }
        if (type & XCLASS_FLAGS) {
            uint32_t code = TopicCode(instance, topic);
            AString text = ItemText(instance, item);
            bool handled = app->handleFrameworkMessage(code, text.c_str());
            return reinterpret_cast<HDDEDATA>(static_cast<uintptr_t>(handled ? DDE_FACK : 0));
        }
    } catch (...) {
        return nullptr;
    }
    return nullptr;
}

AString AApp::locateSettings() {
    AString file(name_);
    file += ".ini";
    return file;
}

AString AApp::getSetting(const char* key, const char* fallback, const char* section) {
    if (!section)
        section = "settings";
    char buffer[1024] = "";
    DWORD count = 0;
    AString fileName = locateSettings();
    AString local = AFileSpec(ACurrentFolderSpec(), fileName.c_str()).path();
    DWORD attributes = GetFileAttributesA(local.c_str());
    // A read-only file is skipped: only a writable one is the program's own.
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        count = GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, local.c_str());
    if (count == 0 && GetPrivateProfileStringA(section, key, "", buffer, sizeof buffer, fileName.c_str()) == 0)
        return AString(fallback ? fallback : "");
    return AString(buffer);
}

namespace {

// A full path ("X:\\..." or "\\\\server\\share...") that never climbs with "..".
bool IsSafeFolderPath(const char* path) {
    bool drive =
        std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    bool unc = path[0] == '\\' && path[1] == '\\' && path[2] != '\\' && path[2] != '\0';
    return (drive || unc) && !std::strstr(path, "..");
}

}  // namespace

bool AApp::isOnNetwork() {
    AString root = ACurrentFolderSpec().root().path();
    if (root.length() >= 2 && root[0] == '\\' && root[1] == '\\')
        return true;
    if (root.length() < 1)
        return false;
    int letter = std::toupper(static_cast<unsigned char>(root[0]));
    return letter >= 'A' && letter <= 'Z' && KY_DriveKind(letter - 'A') == 3;
}

void AApp::chooseWorkFolder() {
    if (!(settingsMode_ == 3 && isOnNetwork())) {
        workFolder_ = ACurrentFolderSpec();
        return;
    }
    if (!useUserFolder_)
        return;
    AString file = locateSettings();
    AString value = ReadWindowsProfileString("user", "path", file.c_str());
    AFileSpec chosen;
    try {
        if (!value.empty()) {
            if (!IsSafeFolderPath(value.c_str())) {
                quitRequest();
                return;
            }
            chosen = AFileSpec(value.c_str());
        } else {
            chosen = ALocalAppDataSpec(name_.c_str());
        }
        if (!chosen.isDirectory()) {
            quitRequest();
            return;
        }
    } catch (const AError&) {
        quitRequest();
        return;
    }
    if (value.empty())
        WriteWindowsProfileString("user", "path", chosen.path().c_str(), file.c_str());
    setWorkFolder(chosen);
}
