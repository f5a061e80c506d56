// The reader's one main window, opened from the layout "Frame1Fixed": its
// tool bar and commands, the panes that receive the parts of a navigation
// state, the panes active for printing and export, and the navigation chain.
//
// The chain: headState owns the newest state and, through each state's older
// link, every state of the chain; curState may be older after going back. It
// holds at most maxStates - 1 states after a step. States asked for while a
// state is being shown are queued (pendingState, owned, linked by their newer
// links) and shown afterwards; a queued state replaced by a later one is
// deleted. Panes, items and menus are not owned (they belong to the component
// tree or to the tool pane); setUpItems fills the pane slots from the content
// layout 1002, and a slot left empty is skipped. Broken invariants are assertions ("frame1");
// missing or mistyped tool-bar items fail the allocation check.
#pragma once

#include <cstdint>
#include <map>
#include <memory>

#include "app/frame/Frame1Menus.h"
#include "app/state/ADocRef.h"
#include "base/object/ARefObj.h"
#include "base/object/AString.h"
#include "framework/app/AWindow.h"

class ABaseState;
class AFileSpec;
class AExportOptions;
class APopupTreeCallBackHisto;
class AMovie;
class APopupTreeCallBackMenu;
class APrinterOptions;
class ADocState;
class AIconButton;
class ALeftState;
class AppState;
class ARightState;
class ASizerGroup;
class AStaticImage;
class AStaticItem;
class AStaticText;
class SVPane;

class Frame1 : public AWindow {
    SV_DECLARE_CLASS(Frame1)
public:
    // The panes that receive the parts of a state; any may be null until set.
    struct PaneSlots {
        SVPane* leftPane = nullptr;
        SVPane* rightPane = nullptr;
        SVPane* docPane1 = nullptr;
        SVPane* docPane2 = nullptr;
        SVPane* docPane3 = nullptr;
        SVPane* editPane = nullptr;  // the sixth slot: read by the edit-command query
        SVPane* quickSearchPane = nullptr;
        SVPane* webComplementPane = nullptr;
        SVPane* homeTopDock = nullptr;  // shows the last connection date
    };

    Frame1();
    ~Frame1() override;

    // Record: AWindow's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void linkChanged(AComponent* source, const AKindSet& kinds) override;
    void componentDeleted(AComponent* component) override;
    // No framework page header: the reader's printers draw the document's title themselves.
    void findHeaderText(AString& out, ADisplayComponent* component) override;

    // Pane slots.
    void setPaneSlots(const PaneSlots& slots) { slots_ = slots; }
    const PaneSlots& paneSlots() const { return slots_; }
    // The centre document switcher registers itself here.
    void setDockPane(SVPane* dock) { dockPane_ = dock; }
    SVPane* dockPane() const { return dockPane_; }
    // The article view and the browser document container take the document
    // slots when they attach (the content layout's own panes keep theirs).
    void setArticlePane(SVPane* pane) { slots_.docPane2 = pane; }
    void setBrowserDocPane(SVPane* pane) { slots_.docPane1 = pane; }
    // The quick search pane and the web complement pane register themselves.
    void setQuickSearchPane(SVPane* pane) { slots_.quickSearchPane = pane; }
    void setWebComplementPane(SVPane* pane) { slots_.webComplementPane = pane; }
    void setFindPane(SVPane* pane) { findPane_ = pane; }
    SVPane* findPane() const { return findPane_; }
    void setTimeStripPane(SVPane* pane) { timeStripPane_ = pane; }
    SVPane* timeStripPane() const { return timeStripPane_; }
    void setHomeTopDock(SVPane* pane) { slots_.homeTopDock = pane; }

    // Tool-bar menus.
    void loadMenuTexts();
    // The text filed under a button id (empty when none).
    AString menuText(int16_t buttonId) const;
    void makeMenuParams(PopupTreeParams& params, int16_t style);
    int16_t menuItemEnabled(int16_t buttonId, int16_t line);
    int16_t menuItemIsCurrent(int16_t buttonId, int16_t line);
    // The action of a menu line (lines count from 1) and the line of an action; -1 for none.
    static int16_t menuLineToAction(int16_t group, long line);
    static int16_t menuActionToLine(int16_t group, long action);
    // The line a menu marks as current when it opens (0-based; -2 for none).
    int32_t getMenuPopupLine(int16_t buttonId);
    // A menu entry's key "group index:line" runs its action.
    void menuPopupChosen(const char* key);
    // The button whose menu is open (0 before the first).
    int16_t menuButton() const;

    // Active panes (linked to the frame while recorded).
    void setActivePrintPane(SVPane* pane) { setActive(activePrintPane_, pane); }
    void setActiveExportPane(SVPane* pane) { setActive(activeExportPane_, pane); }
    void setActiveListPane(SVPane* pane) { setActive(activeListPane_, pane); }
    SVPane* activePrintPane() const { return activePrintPane_; }
    SVPane* activeExportPane() const { return activeExportPane_; }
    SVPane* activeListPane() const { return activeListPane_; }
    // The pane changes with a link and change notification 6; the name and
    // value are stored in every case. Answers the stored name.
    const AString& setActiveFlashPane(SVPane* pane, const char* name, int16_t value);
    void setActiveHtmlPane(SVPane* pane);
    // The view of the shown document and the view that takes text commands
    // (linked while recorded; a new one tells change 6).
    void setDocumentView(AComponent* view);
    void setTextView(AComponent* view, int16_t flag);
    AComponent* documentView() const { return documentView_; }
    AComponent* textView() const { return textView_; }
    int16_t textViewFlag() const { return textViewFlag_; }
    // Menus the tool pane rebuilds through updatePrintMenus.
    void setPrintMenus(AFrameMenu* print, AFrameMenu* exportMenu, AFrameMenu* third);
    void setToolPane(AFrameMenuRefresher* pane) { toolPane_ = pane; }
    void refreshPrintMenus(AComponent* source);
    void updatePrintMenus();
    long maxExportLines() const { return maxExportLines_; }
    // Printing and export go to gFramePrinting; without it nothing is printed.
    virtual ACommand* printDocument(int16_t kind, SVPane* pane);
    // "print.prf" and "export.prf", made (and loaded) on first use, saved and
    // deleted when the frame detaches; in the reader's folder of a network
    // installation (AFrameServices::printFilesFolder).
    // (Named apart from the display chain's getPrintOptions, which answers a component.)
    APrinterOptions* getPrintOptionsFile();
    AExportOptions* getExportOptions();
    SVPane* flashPane() const { return flashPane_; }
    SVPane* htmlPane() const { return htmlPane_; }
    const AString& flashName() const { return flashName_; }
    int16_t flashValue() const { return flashValue_; }
    virtual bool acceptsEditCommands();

    // The current state and its parts, null without one.
    AppState* currentState() const { return curState_; }
    ALeftState* currentLeftState() const;
    ADocState* currentDocState() const;
    ARightState* currentRightState() const;

    // Navigation.
    AppState* makeNavState(int16_t keepLeft, int16_t keepDoc, int16_t keepRight, int16_t keepSearch,
                           int16_t leftIndex, int16_t docKind, int16_t screenMode);
    // Takes the state over; null is an assertion. A state already in the
    // chain is shown as by goToHistoryState.
    void goToState(AppState* state, int16_t refresh);
    void goBack(int16_t refresh);
    void goForward();
    void goToHistoryState(AppState* state);
    void goToListView();
    bool canGoBack() const;
    bool canGoForward() const;
    bool hasHistory() const { return curState_ && headState_; }
    AppState* headState() const;
    AppState* oldestState() const;
    int16_t stateCount() const { return stateCount_; }
    int16_t maxStates() const { return maxStates_; }
    // At least 2; a value below 2 gives the reader's default of 20.
    void setMaxStates(long count);
    AppState* findPreviousState(int16_t screenMode, int16_t pane, int16_t index, int16_t room);
    void switchScreen(int16_t keepSearch, int16_t menuIndex, int16_t screenMode, int16_t room);
    void doMenuAction(int16_t group, int16_t action);
    virtual void updatePanes();
    // True while the temporary state being shown already has a successor
    // queued (a search's first article): the rest of its screen would never be seen.
    bool isStateSuperseded() const;

    // Tool commands (Frame1Tools.cpp).
    // Pauses the frame's movie, re-opens it on the temporary copy in a CD
    // set, stops the media windows.
    virtual void stopMedia();
    // Plays the document's sound or video in the frame's movie; negative: stopMedia.
    virtual void playDocument(long docNo);
    // Hands the temporary media copy to the next start's deletion list.
    void releaseMediaTempFile();
    const AString& mediaTempFile() const { return mediaTempFile_; }
    AMovie* movie() const { return movie_; }
    // Status text (item 1295) and progress (the sizer group); nothing without them.
    void showStatusText(const char* text);
    void showProgress();
    virtual void hideProgress();
    // Images 1050 and 1051: bitmap 1096 connected (else 1099), 1096 + the filter level.
    virtual void showFilterLevel();
    virtual void showConnectionState();
    // The current document's information (an empty record without a state).
    ADocRefInfo getCurrentDocInfo();
    bool hasShownDocument() const;
    SVPane* getDockPane() const { return dockPane_; }
    // The tool windows the frame keeps until they close (not owned).
    void forgetDictionaryWindow(AComponent* window);
    void forgetAuthorWindow(AComponent* window);
    AWindow* dictionaryWindow() const { return dicoWin_; }
    AWindow* authorWindow() const { return auteurWin_; }
    virtual void openAuthor(long author, long docNo);
    // Opens the button's menu; markFlag marks the current entry, headingFlag
    // shows disabled entries as headings that cannot be chosen.
    virtual void showMenuPopup(int16_t buttonId, AIconButton* button, int16_t markFlag, int16_t headingFlag);
    // Opens the history popup ("HISTO_NBLINES" + 1 rows at most) under the button.
    virtual void showHistoryPopup(AIconButton* button);
    // Returns to the state a history row's key names, unless it shows what is shown now.
    void historyLineChosen(const char* key);
    // Adds the state's document to the current dossier (nothing without one).
    virtual void addCurrentToDossier(AppState* state);
    virtual void addNoteToArticle();
    // Redraws and fits the left dock to the window's new size.
    long frameChanged(const APoint& size) override;
    // The application's dossier window, with the element to select (reference -1: none).
    virtual void OpenDossier(long reference, int16_t kind);
    virtual ACommand* printCommand(int16_t kind);
    virtual void exportCommand();
    virtual void exportRtf();
    virtual void openHelp();
    virtual void openAssist();
    virtual void openDictionary(const char* word);
    virtual void openPreferences();
    virtual void findInText(const char* text);
    // Network installations: the save (mode 1) and restore (mode 2) dialogs of
    // the works, and the identification dialog that comes first when no reader
    // is named. The work operations answer 1 done, 0 not (the reader was told).
    virtual void workNameCommand(int16_t mode, const char* name);
    virtual void askUserName(int16_t mode);
    // Copies the reader's files and the history into the existing work folder,
    // with "passewd.db" holding the password's bytes (none: an empty file).
    int16_t copyWorkFiles(const AString& name, const AString& password);
    // Brings the files of the work back, each settings object closed before
    // and opened after; the restored history replaces the chain.
    int16_t restoreWork(const AString& name);
    // 1 when the work has no password or the reader typed it.
    int16_t checkWorkPassword(const AFileSpec& folder);
    // False when "passewd.db" could not be written whole.
    bool writeWorkPassword(const AFileSpec& folder, const AString& password);
    int16_t saveWorkFile(const AFileSpec& folder, const char* name);
    int16_t restoreWorkFile(const AFileSpec& folder, const char* name);
    // The six files of a work, in the order they are handled; the history is last.
    static const char* const kWorkFiles[6];
    static const char kPasswordFile[];
    virtual void openNetDialog(int16_t step);
    // The information box of the connection entry; a seam the tests replace.
    virtual void showInfo(const char* text, const char* title);

    // Tool-bar items found at set-up.
    AStaticText* statusText() const { return statusText_; }
    ASizerGroup* sizerGroup() const { return sizerGroup_; }

private:
    friend class Frame1Test;
    void setActive(SVPane*& slot, SVPane* pane);
    // Links the frame to pane in place of the slot's pane; false when it is the same.
    bool relink(SVPane*& slot, SVPane* pane);
    void fillPaneSlots();
    void freeMenuTexts() { menuTexts_.clear(); }
    // Saves and deletes the option files (a failed save keeps the old file).
    void releaseOptionFiles();
    void deleteChain();
    // The chain taken out while a restored history fills a new one.
    struct SavedChain {
        AppState* head = nullptr;
        AppState* current = nullptr;
        int16_t count = 0;
    };
    SavedChain takeChain();
    void putBackChain(const SavedChain& chain);
    int16_t restoreHistory(const AFileSpec& folder);
    void tellWork(const AString& text);
    void setFirstState(AppState* state);
    bool inChain(const AppState* state) const;
    void saveDocPanes(ADocState* doc);
    void becomeCurrent(AppState* state);
    bool stateMatches(AppState* state, int16_t screenMode, int16_t pane, int16_t index, int16_t room) const;
    AppState* makeScreenState(int16_t keepSearch, int16_t index, int16_t screenMode, int16_t room);
    void connectionEntry();
    template <class T>
    T* findTool(int16_t id, long line);

    PaneSlots slots_;
    SVPane* dockPane_ = nullptr;  // not owned
    SVPane* findPane_ = nullptr;  // not owned
    SVPane* timeStripPane_ = nullptr;  // not owned
    // The chain.
    AppState* headState_ = nullptr;     // owned, with every older state
    AppState* curState_ = nullptr;      // not owned: in the chain
    AppState* pendingState_ = nullptr;  // owned, with its newer links
    int16_t stateCount_ = 0;
    int16_t maxStates_ = 5;
    int16_t busy_ = 0;
    int16_t pendingFollows_ = 0;  // set while a new state shows: a state queued meanwhile follows it
    // Printing and export.
    AString printMenuText0_, printMenuText1_;
    AFrameMenuRefresher* toolPane_ = nullptr;  // not owned
    SVPane* activePrintPane_ = nullptr;        // not owned, linked
    SVPane* activeExportPane_ = nullptr;       // not owned, linked
    SVPane* activeListPane_ = nullptr;         // not owned, linked
    AFrameMenu* printMenu_ = nullptr;          // not owned: the tool pane's
    AFrameMenu* exportMenu_ = nullptr;         // not owned
    AFrameMenu* thirdMenu_ = nullptr;          // not owned, never filled
    SVPane* flashPane_ = nullptr;              // not owned
    AString flashName_;
    int16_t flashValue_ = 0;
    SVPane* htmlPane_ = nullptr;  // not owned
    AComponent* documentView_ = nullptr;  // not owned, linked
    AComponent* textView_ = nullptr;      // not owned, linked
    int16_t textViewFlag_ = 0;
    // Tools.
    AWindow* dicoWin_ = nullptr;     // not owned: closes itself
    AWindow* auteurWin_ = nullptr;   // not owned: closes itself
    AMovie* movie_ = nullptr;        // a child component: the tree deletes it
    AString mediaTempFile_;
    long maxExportLines_ = 100;
    std::unique_ptr<APrinterOptions> printOptions_;
    std::unique_ptr<AExportOptions> exportOptions_;
    // Tool bar.
    AStaticItem* statics_[3] = {};  // 1015, 1016, 1200
    AIconButton* buttons_[10] = {};  // 1040 to 1049
    AStaticImage* connectImage_ = nullptr;
    AStaticImage* filterImage_ = nullptr;
    AStaticText* statusText_ = nullptr;
    ASizerGroup* sizerGroup_ = nullptr;
    std::map<long, AString> menuTexts_;
    // Made on first use; one reference held (queued choices hold their own), popups hold plain pointers.
    std::unique_ptr<APopupTreeCallBackHisto, ARefRelease> histoCallBack_;
    std::unique_ptr<APopupTreeCallBackMenu, ARefRelease> menuCallBack_;
};
