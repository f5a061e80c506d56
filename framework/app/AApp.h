// The application object: root of the component tree and the one object that
// owns what exists once per program (command target, command queue, update
// list, timer list, the frame window's handle, the application log) and runs
// the message loop.
//
// One per process: the constructor makes it current and installs the tree's
// and the error layer's application hooks; the destructor takes them away.
// Framework errors reaching the loop are shown and the reader chooses Retry or
// Cancel; broken invariants are assertions ("fappli"). Times are GetTickCount
// milliseconds. Window handles are passed as void* (HWND, HINSTANCE, HACCEL).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/object/AFileSpec.h"
#include "base/object/ARect.h"
#include "base/object/AString.h"
#include "framework/app/ATimerList.h"
#include "framework/app/AWindowManager.h"
#include "framework/commands/ACommandQueue.h"
#include "framework/commands/AUpdateList.h"
#include "framework/components/AComponent.h"
#include "framework/display/AHelpRecord.h"
#include "framework/graphics/APaletteTable.h"

class AActionTable;
class ACursor;
class AFont;
class AImage;
class AImageSpec;
class AMouseTracker;
class ADisplayComponent;
class AMdiClient;
class AMdiFrame;
class AMenuBar;
class AWindow;
class AOutStream;
class AOwnerCursorGuard;
class ASizingContext;
class ATextOutStream;
class ANoChangeCommand;
class APassThroughCommand;

// What the application asks of the window it shows its splash picture in
// (the extras' picture popup, made by its class name).
class ASplashPicture {
public:
    virtual ~ASplashPicture() = default;
    // Shows the picture file, centred, until a click takes it away.
    virtual void display(const AFileSpec& file, long position) = 0;
};

class AApp : public AComponent {
    SV_DECLARE_CLASS(AApp)
public:
    // Style bits.
    enum : uint16_t {
        kFullScreen = 0x0001,
        kNoMenuBar = 0x0008,
        kNativeStatics = 0x0010,
        kCentred = 0x0040,
        kDdeService = 0x0080,
        kHelpBox = 0x0100,
        kFrameHidden = 0x1000,
        kPaletteImages = 0x2000,  // pictures follow the application's palette
    };
    // The framework message's wParam that asks for start.
    enum : uint16_t { kStartRequest = 3 };
    // The exit code of a loop that an error ended: never the 0 of a normal quit.
    enum : int { kErrorExitCode = 1 };

    AApp();
    AApp(const AString& name, const ARect& requestedSize, uint16_t style, uint16_t styleExtra);
    ~AApp() override;

    // The application object, or null.
    static AApp* current();

    // Tree steps.
    void attachItems() override;
    void childrenLoaded() override;
    void setUpItems() override;
    void detachItems() override;
    void componentDeleted(AComponent* component) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    // Kind 15 lays out the components waiting for a layout pass.
    void notify(const AKindSet& kinds) override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    AComponent* chooseAction(AActionRecord& record, AComponent* existing, AComponent* added) override;
    bool acceptsTarget() override { return true; }
    long executeCommand(ACommand* command) override;
    std::string description() override { return std::string(); }

    // Start-up steps the framework main calls, in this order.
    void setInstance(void* instance, const char* commandLine, int showCommand);
    // False stops the start: another copy was brought forward, or the screen is too small.
    virtual bool activateOtherInstance();
    virtual bool closeAllWindows(int16_t flag);
    virtual void closeAllWindowsNow() {}
    virtual bool closeAllWindowsChecked(int16_t flag) { return closeAllWindows(flag); }

    // The loop: run returns the WM_QUIT wParam, kErrorExitCode when an error ended it.
    virtual int run();
    void runLoop();
    // One turn; safe from inside a command handler.
    void runOnce();
    virtual void flushUpdates();
    bool armFrameTimer(long timeLeft);
    // Gives the keyboard focus to the first window on the component's way up
    // that takes the target; when it does not take, the loop tries again.
    void restoreTargetFocus(AComponent* component);
    void fireDueTimers();
    // start runs doStart from inside the loop, once the frame is open.
    virtual void start();
    virtual void doStart() {}
    virtual ACommand* quitRequest();
    virtual ACommand* quit();
    // What the code 'QUIT' performs: the quit request unless a program says otherwise.
    virtual ACommand* quitCommand() { return quitRequest(); }
    // The frame window's procedure hands its messages here first; true: handled.
    bool frameMessage(void* window, unsigned message, uintptr_t wParam, intptr_t lParam);
    // A menu or accelerator id when there is no menu bar table: 0 when nothing ran.
    virtual long menuCommand(int16_t id) {
        (void)id;
        return 0;
    }

    // WM_ACTIVATEAPP of the frame: records the state; true when it changed.
    virtual bool setActive(bool active);
    bool isActive() const { return active_ != 0; }
    // WM_ENABLE of the frame: the application's tool bar, when it has a window
    // of its own, follows the frame.
    virtual void enableWindows(bool enable);
    // WM_COMPACTING of the frame; nothing in the framework.
    virtual void lowMemory() {}
    // WM_QUERYENDSESSION (argument 1): non-zero lets the session end.
    virtual long queryEndSession(long argument) {
        (void)argument;
        return 1;
    }
    // The frame's size limits (min width, min height, max width, max height;
    // 0 none), and the width and height its borders, caption and menu add.
    void setFrameLimits(long minWidth, long minHeight, long maxWidth, long maxHeight);
    const long* frameLimits() const { return frameLimits_; }
    const APoint& frameExtra() const { return frameExtra_; }

    // Framework message codes (four characters, the first in the low byte).
    enum : uint32_t { kCodeActivate = 0x49544341, kCodeQuit = 0x54495551, kCodeSelection = 0x4E4C4553 };
    // Brings the frame forward (in full-screen mode placing it too).
    void activateFrame();
    // True when the code was handled; the item is the DDE item text.
    virtual bool handleFrameworkMessage(uint32_t code, const char* item);
    // The data of a DDE request (HGLOBAL, the caller frees it) or null; format may change.
    virtual void* ddeRequest(uint32_t topic, const char* item, uint32_t& format);
    // Adds the source's description, between line breaks, to the end of a
    // CF_TEXT block (HGLOBAL, grown as needed; null: a new one); other
    // formats and empty descriptions leave it. Answers the possibly moved block.
    virtual void* appendTargetText(AComponent* source, uint32_t format, void* block);
    void startDdeService();
    void stopDdeService();
    uint32_t ddeInstanceId() const { return ddeInstance_; }

    // Settings: "<name>.ini" of the current folder (unless read-only), else of
    // the Windows folder; the fallback (null: empty) when neither has the key.
    AString getSetting(const char* key, const char* fallback, const char* section);
    virtual AString locateSettings();
    virtual AString helpFile() { return getSetting("HelpFile", nullptr, nullptr); }
    // The working folder: the current one, or with settings mode 3 on a
    // network drive the per-user folder of the settings (section "user", key
    // "path"; made under the local application data when unset). A named
    // folder that is missing, relative or climbs with ".." performs the quit.
    void chooseWorkFolder();
    virtual bool isOnNetwork();
    void setWorkFolder(const AFileSpec& folder) { workFolder_ = folder; }
    const AFileSpec& workFolder() const { return workFolder_; }
    void setSettingsMode(uint16_t mode) { settingsMode_ = mode; }
    // The help file read at set-up is not empty.
    virtual bool hasHelp() { return !helpFileName_.empty(); }
    // The help engine's calls (WinHelpA's contract: frame window, help file,
    // HELP_ command, data); tests record them. Null puts WinHelpA back.
    using HelpEngine = int (*)(void* window, const char* file, unsigned command, uintptr_t data);
    static void setHelpEngine(HelpEngine engine);
    // Each asserts a frame window and a help file ("fappli") and forces the
    // help file first; they answer the no-change command.
    virtual ACommand* helpContext(int16_t context, int16_t popup);
    virtual ACommand* helpContents();
    // A null key opens the search with an empty key.
    virtual ACommand* helpSearch(const char* key);
    void forceHelpFile();
    // At detach: the help engine lets the help file go.
    void closeHelp();
    // The working folder, or the current (Windows) folder while none was chosen.
    virtual AFileSpec workFolderOrCurrent();
    virtual AFileSpec workFolderOrWindows();

    // The window-update lock: one component at a time; nesting is logged.
    void lockWindowUpdate(ADisplayComponent* component);
    bool isUpdateLocked(ADisplayComponent* component) const;
    ADisplayComponent* lockedComponent() const { return locked_; }

    // Cursors: -1 arrow, -2 and -3 the application's two choices, -4 the
    // cursor component's; others load once (resources below 32512, system
    // cursors from it). Answers the previous number.
    int16_t setCursor(int16_t id);
    int16_t cursorId() const { return cursorId_; }
    void clearCursors();
    AOwnerCursorGuard* swapCursorGuard(AOwnerCursorGuard* guard);
    // The component under the mouse: left and entered, and its cursor shown.
    void setCursorComponent(ADisplayComponent* component);
    ADisplayComponent* cursorComponent() const;
    // Hover help (style kHelpBox): the help of the item under the mouse is
    // shown after it rests hoverDelay ms, and hidden when it leaves the help.
    // The help box is made by its class name ("AHelpBox"): none in a program
    // that does not link it.
    void createHelpBox();
    AHelpTips* helpBox() const { return helpTips_; }
    bool helpBoxShown() const;
    const AHelpRecord& hoverHelp() const { return hoverHelp_; }
    uint16_t hoverTimerId() const { return hoverTimerId_; }
    void stopHoverTimer();
    void armHover();
    void hoverCheck();
    void hoverStep();
    void hideHelp();
    void hoverReset();
    long timerFired(uint16_t id, uint32_t now) override;
    // A drag's tracker (owned until it ends); replacing a running one beeps.
    void setMouseTracker(AMouseTracker* tracker);
    virtual bool customArrowCursor() { return false; }
    virtual bool customCursorA() { return false; }
    virtual bool customCursorB() { return false; }

    // Cached solid brushes (HBRUSH), deleted by clearBrushes or detachItems.
    void* solidBrush(uint32_t colour);
    void clearBrushes();

    // Icons (HICON) by resource number, the module's first and then the
    // system's; a number that neither has raises the allocation error.
    void* icon(int16_t id);
    void* appIcon();
    void clearIcons();
    // Images filed by name: findImage never makes one; setImage replaces.
    AImage* findImage(const AString& name) const;
    void setImage(const AString& name, const AImageSpec& spec);
    void clearImages();
    // The screen bitmap (HBITMAP) of a bitmap resource, loaded once.
    void* bitmap(uint16_t number);
    void clearBitmaps();

    // Errors and boxes: handleError answers 1 when the error was shown as fatal.
    virtual int16_t handleError(const AError& error);
    virtual int reportError(const AError& error, unsigned flags);
    virtual int messageBox(const char* text, const char* caption, unsigned flags, AComponent* owner);
    virtual void reportInstances(AOutStream& stream);
    static void reportInstanceCounts(AOutStream& stream);

    // Factories. A new printer, made by the class name "APrinter" (the caller
    // owns it; null in a program without the printing classes). The standard
    // preview and print-options dialogs, loaded from the layouts
    // "AStandardPreviewDlg" and "AStandardPrintOptionDlg" under the component
    // they are for, since the dialogs find what they print above them; null
    // without the layout. The tree owns them.
    virtual ADisplayComponent* makePrinter();
    virtual AComponent* makePreviewDialog(ADisplayComponent* printed);
    virtual AComponent* makePrintOptionsDialog(ADisplayComponent* printed);
    // The record of one layout pass, with every rectangle empty (the caller
    // owns it); every display component's pass asks for it here.
    virtual ASizingContext* makeResizeRecord();

    // The folder kept for the reader's files; the base keeps none and answers the current folder.
    virtual AFileSpec userFolder() { return currentFolder(); }
    static AFileSpec currentFolder();

    // Appearance and names.
    virtual AString title() { return name_; }
    // The root of the data disc or folder: none in the framework.
    virtual AString dataRoot() { return AString(); }
    // The frame's background brush (HBRUSH, not owned by the caller), or null.
    virtual void* backgroundBrush() { return nullptr; }
    virtual AString appName() { return name_; }
    virtual uint32_t splashMinimum() { return 500; }
    // The splash screen: the picture file of the setting "SplashScreen" in a
    // picture window made by the class name "AGoAwayBitmap"; false when the
    // file or that class is missing. The second value is not read.
    virtual bool showSplashScreen() { return showSplash(1, 0); }
    virtual bool showSplash(int16_t flag, long unused);
    virtual AFileSpec splashFile();
    virtual AString splashScreen() { return getSetting("SplashScreen", nullptr, nullptr); }
    virtual void beep(uint32_t type);

    // Command target (answers 0 refused, 1 done, 2 deferred).
    int16_t setTarget(AComponent* component, int16_t activate);
    int16_t changeTarget(AComponent* component);
    int16_t resignTarget(AComponent* component);
    // Makes the preferred target of the nearest target scope around the
    // component the target, unless the target lies in that scope already.
    bool focusWithin(AComponent* component);
    // Told after a Copy (update kind 13); not owned, null for none.
    void setMessageTarget(AComponent* component) { messageTarget_ = component; }
    AComponent* messageTarget() const { return messageTarget_; }
    AComponent* target() const { return target_; }
    AComponent* defaultTarget() const { return defaultTarget_; }

    // Deferred work and timers.
    void setPending() { pendingFlag_ = 1; }
    using AComponent::dequeueUpdate;
    using AComponent::queueUpdate;
    void queueUpdate(AComponent* component, long kind);
    void dequeueUpdate(AComponent* component, long kind);
    uint32_t updateTime();
    // The calendar time in seconds, and the caret's blink time in milliseconds.
    static uint32_t secondsNow();
    static uint32_t caretBlinkTime();
    uint16_t addTimer(AComponent* component, uint32_t delay);
    // Drops the component's timer: its callers stop a timer with it.
    void restartTimer(AComponent* component, uint16_t id);
    void setTimerDelay(AComponent* component, uint16_t id, uint32_t delay);
    void addAccelerators(void* table) { accelerators_.push_back(table); }
    // The application's own tool bar (not owned), or null; its action table
    // becomes the application's table 1.
    AComponent* toolBar() const { return toolBar_; }
    void setToolBar(AComponent* toolBar);
    // The tool bar of the layout toolBarLayoutName names, loaded under the
    // application when the children are loaded; null without that layout or
    // when its first component is no AToolBar (then released).
    virtual AComponent* loadToolBar();
    virtual AString toolBarLayoutName() { return AString("AAppToolBar"); }
    // The font of the platform's system font, made on first use (owned); and
    // a second one from the same description.
    AFont* systemFont();
    AFont* systemFontAlt();
    // Every window of the window manager drawn again.
    virtual void refreshWindows();
    // Non-zero: the command target, else the previous target, is what DDE
    // requests read; the message target is told (update kind 13).
    virtual void setTargetMode(uint16_t mode);
    uint16_t targetIsCurrent() const { return targetIsCurrent_; }
    // A value for subclasses.
    void setExtraWord(uint16_t value) { extraWord_ = value; }
    uint16_t extraWord() const { return extraWord_; }
    const std::vector<void*>& accelerators() const { return accelerators_; }

    // Windows: the manager, the active window (null for none; its change is
    // posted as kind 6), the area a filling window takes (global coordinates).
    AWindowManager& windowManager() { return windowManager_; }
    AWindow* activeWindow() const { return activeWindow_; }
    void setActiveWindow(AWindow* window);
    virtual ARect applicationArea();
    // The base name of the application's menu resources ("AApp": AAPPMENU,
    // AAPPPOPUPS, AAPPACCEL); its menu bar is made when AAPPMENU exists.
    virtual AString resourceName() { return AString("AApp"); }
    AMenuBar* menuBar() const { return menuBar_; }
    // The help engine's entry for a help id; the framework has no help engine.
    virtual void contextHelp(long helpId) { (void)helpId; }
    // The tables that bindings without a table go to: the menu bar's (0) and
    // the tool bar's (1); not owned, null when absent.
    void setActionTable(int index, AActionTable* table) { appTables_[index] = table; }
    AActionTable* actionTable(int index) const { return appTables_[index]; }

    // The application log: a line file in the temporary folder, each line on disk when logLine returns.
    void openLog(const char* name);
    void logLine(const char* text);
    ATextOutStream* getLogObject() { return log_; }
    // The path of the file openLog opened; "" before.
    const AString& logPath() const { return logPath_; }

    ACommand* noChange() const;
    ACommand* passThrough() const;
    ATimerList& timerList() { return timerList_; }
    ACommandQueue& commandQueue() { return commandQueue_; }
    AUpdateList& updateList() { return updateList_; }
    void* instance() const { return instance_; }
    void* frameWindow() const { return frameWindow_; }
    unsigned frameworkMessage() const { return frameworkMessage_; }
    uint32_t currentTime() const { return currentTime_; }
    uint16_t style() const { return style_; }
    int showCommand() const { return showCommand_; }
    bool quitFlag() const { return quitFlag_ != 0; }
    bool quitRequested() const { return quitRequested_ != 0; }
    int exitCode() const { return exitCode_; }
    bool started() const { return (flags() & kStarted) != 0; }
    // What views attached from now on answer to isMouseSensitive: a text
    // view that answers nonzero starts a selection on a press over a link.
    uint16_t mouseSetting() const { return mouseSetting_; }
    void setMouseSetting(uint16_t setting) { mouseSetting_ = setting; }
    // The result of the modal dialog running now: 0 while it runs, 1 cancelled,
    // 2 confirmed. The dialogs write it; the loops that wait on it read it.
    uint16_t dialogResult() const { return dialogResult_; }
    void setDialogResult(uint16_t result) { dialogResult_ = result; }

protected:
    // Makes the frame window (the window layer's "KY_MDIFrameWindow" with its
    // MDI client) for the rectangle and title.
    virtual void* createFrameWindow(const ARect& rect, const AString& title);
    // The frame's menu bar and the popup listing the MDI children (HMENU), or null.
    virtual void* frameMenu() { return nullptr; }
    virtual void* windowMenu() { return nullptr; }
    virtual void destroyFrameWindow(void* window);
    // The frame rectangle for the screen metrics (left, top, right, bottom;
    // CW_USEDEFAULT allowed); may set the full-screen bit and the show command.
    ARect frameRect();
    // GetSystemMetrics; tests answer for other screens.
    virtual int systemMetric(int index);

private:
    // Shows a loop error with Retry and Cancel; false (the loop ends) unless Retry.
    bool goOnAfter(const AError& error);
    // The MDI document windows shown, and how many of them are minimised.
    void countDocumentWindows(int& shown, int& minimised);
    void callHelp(unsigned command, uintptr_t data);
    void endThroughError();
    void installServices();
    bool workFolderChosen();
    static AString ScreenSizeTemplate();
    void removeServices();

    AString name_;
    ARect requestedSize_;
    uint16_t style_;
    uint16_t styleExtra_;
    AComponent* target_ = nullptr;         // not owned
    AComponent* defaultTarget_ = nullptr;  // not owned: the previous target
    AComponent* messageTarget_ = nullptr;  // not owned
    ATimerList timerList_;
    ACommandQueue commandQueue_;
    AUpdateList updateList_;
    APaletteTable paletteTable_;
    void* instance_ = nullptr;
    uint16_t pendingFlag_ = 0;
    uint16_t quitRequested_ = 0;
    uint16_t quitFlag_ = 0;
    uint16_t focusChangeFlag_ = 0;
    uint16_t focusRetryFlag_ = 0;
    uint16_t active_ = 0;
    uint16_t mouseSetting_ = 1;
    uint16_t dialogResult_ = 0;
    long frameLimits_[4] = {0, 0, 0, 0};
    APoint frameExtra_;
    int exitCode_ = 0;
    uint32_t currentTime_;
    uint32_t splashStart_ = 0;
    int showCommand_ = 0;
    unsigned frameworkMessage_ = 0;
    void* frameWindow_ = nullptr;                               // owned through destroyFrameWindow
    std::vector<void*> accelerators_;                           // HACCEL, in load order
    AActionTable* appTables_[2] = {nullptr, nullptr};           // not owned
    AComponent* toolBar_ = nullptr;                             // not owned
    AFont* systemFont_ = nullptr;                               // owned
    AFont* systemFontAlt_ = nullptr;                            // owned
    AString helpFileName_;
    uint16_t targetIsCurrent_ = 0;
    uint16_t extraWord_ = 0;
    ANoChangeCommand* noChange_ = nullptr;                      // owned
    APassThroughCommand* passThrough_[2] = {nullptr, nullptr};  // owned
    ATextOutStream* log_ = nullptr;                             // owned
    AString logPath_;
    uint16_t logOpen_ = 0;
    AMdiFrame* frame_ = nullptr;    // owned
    AMdiClient* client_ = nullptr;  // owned
    class WindowServices;
    class DisplayServices;
    class ClusterServices;
    ClusterServices* clusterServices_ = nullptr;  // owned, installed while this lives
    WindowServices* windowServices_ = nullptr;    // owned, installed while this lives
    DisplayServices* displayServices_ = nullptr;  // owned, installed while this lives
    AFileSpec workFolder_;
    uint16_t settingsMode_ = 0;
    uint16_t useUserFolder_ = 1;
    uint32_t ddeInstance_ = 0;
    void* ddeServiceName_ = nullptr;  // HSZ
    ADisplayComponent* locked_ = nullptr;  // not owned
    AWindowManager windowManager_{this};
    AWindow* activeWindow_ = nullptr;  // not owned
    AMenuBar* menuBar_ = nullptr;      // owned, with the frame
    int16_t cursorId_ = -1;
    int16_t cursorIdA_ = 32512;
    int16_t cursorIdB_ = 32512;
    std::map<int16_t, ACursor*> cursors_;  // owned
    AOwnerCursorGuard* cursorGuard_ = nullptr;  // not owned
    std::map<uint32_t, void*> brushes_;  // owned HBRUSH by colour
    std::map<int16_t, void*> icons_;  // owned HICON by number
    void* appIcon_ = nullptr;  // HICON
    std::map<std::string, AImage*> images_;  // owned
    std::map<uint16_t, AImage*> bitmaps_;  // owned
    AComponent* helpBox_ = nullptr;  // a child, or null
    AHelpTips* helpTips_ = nullptr;  // the same object
    uint32_t hoverDelay_ = 1500;
    uint16_t hoverTimerId_ = 0;
    AHelpRecord hoverHelp_;
};
