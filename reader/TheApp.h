// The reader's application object: its start-up (configuration, data disc,
// network log and web engine, data manager and style sheets, bases, main
// frame), its quit path, and the services the panes ask of it (folders,
// temporary files, texts, renderers).
//
// One per process (AApp's rule). Owns the data location, the data manager,
// the style-sheet set and the named bitmaps; destroys them in reverse order.
// A start step that cannot go on (no configuration pair, no data disc, a base
// that will not open) shows a French message and ends the loop with
// kStartFailed; broken invariants are assertions ("theapp").
//
// On AQuickTimeApp without its movies-required option: a reader whose movie
// layer is missing still runs, with movies unavailable.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/data/AppDataManager.h"
#include "app/find/AFlashServices.h"
#include "app/frame/AFrameServices.h"
#include "app/lists/AListApp.h"
#include "reader/AppInstall.h"
#include "reader/AppWebEngine.h"
#include "app/pane/AppToolKit.h"
#include "app/online/AOnlineHost.h"
#include "app/prefs/AHistoManager.h"
#include "app/prefs/APrefManager.h"
#include "app/phon/IPhonAbp.h"
#include "base/object/AFileSpec.h"
#include "base/object/AFilter.h"
#include "base/object/AString.h"
#include "docengine/styles/AStyleSheetSet.h"
#include "framework/app/AApp.h"
#include "panes/content/article/AContentApp.h"
#include "panes/content/media/MediaWinLongDic.h"
#include "panes/docks/right/ARightDockApp.h"
#include "panes/search/ephemeris/AEphemerisApp.h"
#include "panes/docks/workspace/AWorkspace.h"
#include "panes/docks/workspacewin/AWorkspaceWinApp.h"
#include "web/movie/AQuickTimeApp.h"

class AAppTextRenderer;
class ADocNetManager;
class AboutDlg;
class AOnlinePanesHost;
class ASVNetDlg;
class ANetInfo;
class AppNetManager;
class ALo;
class ASiReqSearch;
class ASVLoSearchState;
class ASearchState;
class ATopDockApp;
class ADicoLibrary;
class ASVSelContextMenuCallBack;
class AListRenderer;
class ADocNetManager;
class ANetInfo;
class AppNetManager;
class ASearchPanesApp;
class AAtlasApp;
class AKeyIndex;
class ADicoHost;
class ADataLocation;
class AFileStream;
class ARendererView;
class APane;
class ATextOutStream;
class AppPrintServices;
class ASVFramePrinting;
class Frame1;
class DocKycfPane;
class AMediaApp;
class MediaWin;

// The application's images by name, as the style sheets register them.
class AppNamedBitmaps : public ANamedBitmaps {
public:
    bool hasBitmap(const AString& name) override { return bitmaps_.count(name.c_str()) != 0; }
    void setBitmap(const AString& name, const ABitmapSpec& spec) override { bitmaps_[name.c_str()] = spec; }
    // The bitmap filed under name, or null.
    const ABitmapSpec* find(const AString& name) const;

private:
    std::map<std::string, ABitmapSpec> bitmaps_;
};

// The list panes' answers (result count, list renderers, list positions)
// come from its AListApp part, installed for the process while it lives.
class TheApp : public AQuickTimeApp,
               public AFrameServices,
               public AppDataHost,
               public AHistoHost,
               public AListApp,
               public AOnlineHost {
    SV_DECLARE_CLASS(TheApp)
public:
    // The exit code of a start that could not go on.
    enum : int { kStartFailed = 2 };

    TheApp();
    ~TheApp() override;

    static TheApp* current();

    // AApp overrides.
    void doStart() override;
    AString title() override { return AString("Savantorium"); }
    AString locateSettings() override { return AString("sv.ini"); }
    AString dataRoot() override { return dataRoot_; }
    void* backgroundBrush() override;
    ACommand* quitRequest() override;
    bool closeAllWindowsChecked(int16_t flag) override;
    ACommand* quitCommand() override { return quitRequest(); }

    // Start-up steps, in doStart's order; each answers false after it has
    // shown why the start cannot go on. Public for the tests, which run them one by one.
    bool readConfiguration();
    bool findDataRoot();
    bool startNetLog();
    bool startWebEngine();
    bool createDataManager();
    bool initData();
    bool loadStyleSheet();
    bool mountBases();
    // 5b. The reader's dossiers and notes; a damaged file is said and the start goes on.
    bool loadWorkspace();
    bool postLoadFrame();
    // Opens the main window's layout; false (after saying so) when it is missing.
    bool loadFrame();
    void openMainWindow();

    // Configuration.
    const AppInstall& install() const { return install_; }
    bool isNetworkInstall() const { return install_.network; }
    bool isCDInstall() const override { return install_.cd; }
    // "ValidQuit" as the previous run left it: false when it did not end through the quit path.
    bool lastRunQuitNormally() const { return lastRunQuit_; }
    bool lastRunHistoQuit() const { return lastRunHistoQuit_; }
    void setValidIniValue(const char* key, const char* value) override;
    AString getValidIniValue(const char* key);
    // Whether the quit asks the reader first.
    void setConfirmQuit(bool confirm) { confirmQuit_ = confirm; }
    ADataLocation* dataLocation() const { return dataLocation_.get(); }

    // Data disc: true when the document can be read (always outside CD sets).
    // In a CD set a disc of the set must be in, and for a document whose base
    // lies on one disc, that disc: its label is CDVolume for the first disc,
    // CDVolume followed by its number for the others.
    bool ensureDocumentDisc(long docNo) override;
    // The disc of the document's own base; -1 for any disc or when unknown.
    long documentDisc(long docNo);

    // Data and style sheets.
    AppDataManager* getDataManager();

    // The workspace stores ("sv.dos", "sv.note") in the reader's files folder:
    // loaded at start-up, written and destroyed at quit. A load that finds its
    // file damaged shows why and answers false; the store starts afresh.
    bool loadDossiers();
    void releaseDossiers() { workspace_.releaseDossiers(); }
    bool loadNotes();
    void releaseNotes() { workspace_.releaseNotes(); }
    ADossierManager* getDossierManager() const { return workspace_.dossiers(); }
    ANoteManager* getNoteManager() const { return workspace_.notes(); }
    // The position of fieldName after the ':' in the base's "TABLE:FIELD" list, -1 when absent.
    long findBaseField(int16_t base, const char* fieldName);
    long maxSiReq() const { return maxSiReq_; }
    // The quick search's query history, of MAXSIREQ entries at most.
    ASiReqSearch& queryHistory();

    // The full-text search: a new search state (no reference taken) holding
    // the full-text and index results of query, or null when nothing is to be
    // shown, after saying why (stop words only, no result, engine failure).
    // With no result and offerOnline, the reader may ask for the online search.
    ASVLoSearchState* runFullTextSearch(int16_t offerOnline, const char* query, int16_t noPhonetic);
    // True when the query holds no word but stop words.
    static bool isStopWordQuery(const char* query);
    // "W" + preference 1008 when preference 1007 is set and 1008 positive, else "".
    AString proximityOption();
    // The query through the application's query character filter.
    AString filterQuery(const char* query) const { return queryFilter_.apply(query ? query : "", -1); }
    // Runs the filtered query on the channel of base index: the hit count
    // (0 for a base without that search), the list in out (caller releases).
    long runSearchRequest(short channelIndex, const char* query, ALo** out);
    void setSearchStateTexts(ASearchState* search, long value, const char* text4, const char* text3);
    // The document part's fDate and user-info entry 1190 from the document's chronology record.
    void fillDocDates(AppState* state);
    bool isCurrentDocIconType26();
    void installTopDock();
    void removeTopDock();
    // The search panes' answers (documents, addresses, media window), installed while the application lives.
    void installSearchPanes();
    void removeSearchPanes();
    // The media windows (TheAppMedia.cpp). Opening a media document stops
    // every window's media, closes the first unlocked window (unless
    // forceNew) and files a new one; false when the window cannot be made.
    bool openMediaWindow(long docNo, int16_t frame, int16_t forceNew);
    // Takes the window out of the dictionary; one that is not there is an assertion.
    void forgetMediaWindow(MediaWin* window);
    void stopMediaWindows() override;
    // Before a disc change: every video window closes.
    void closeVideoMediaWindows();
    // Asks for the disc until one is in whose label the test accepts; false when the reader gives up.
    bool askForDisc(const AString& volume, bool (*accepts)(const AString& root, const AString& volume));
    const MediaWinLongDic& mediaWindows() const { return mediaWindows_; }
    // The percentage that fits the picture into the box (100 when equal or empty).
    static int16_t computeZoomPercent(long boxWidth, long boxHeight, long width, long height);
    void installMediaServices();
    void removeMediaServices();
    int16_t adjustToScreen();
    AppNamedBitmaps& namedBitmaps() { return namedBitmaps_; }
    // A text renderer installed in the view's renderer layer (which holds it),
    // with style sheet `sheet` of the set; a view without a layer is an assertion.
    AAppTextRenderer* createTextRenderer(ARendererView* view, long sheet);
    // A list renderer for a styled list (an outline): sheet `sheet`, its
    // colours 7 (selected row) and 8 (separator), the link and button
    // cursors; null for a view without a renderer layer.
    AListRenderer* createStyledListRenderer(ARendererView* view, int16_t flags, int16_t sheet);
    // The centre views' services (installed while the application lives).
    void installContentServices();
    void removeContentServices();
    AContentApp& contentServices() { return *content_; }
    // The right dock's services (installed while the application lives).
    void installRightDockServices();
    void removeRightDockServices();
    // The ephemeris and caption panes' services (installed while the application lives).
    void installEphemeris();
    void removeEphemeris();
    // Today as "DD-MM-YY" (day, month from 1, year within its century), from
    // the clock set here, else from the local time.
    AString todayText() const;
    void setClock(AppToolKit::Clock clock) { clock_ = clock; }
    // After the connection check, the service's links page of a web-link key
    // ("liens_compl", ref) in a new web-page state; nothing offline.
    void openLinkComplements(const char* reference);
    // The document's icon type is 8 to 11.
    bool isDocIconType8To11(long docNo);

    // Network: the connection manager, made when the web engine starts; null
    // before (logged). The checked variant asserts it.
    AppNetManager* getNetManager();
    AppNetManager* getNetManagerChecked();
    bool isNetLogEnabled() const { return netLogEnabled_ != 0; }
    void netLog(const char* text);
    // Tests drive the start-up with their own engine (not owned); null: the runtime's.
    void setWebEngine(AppWebEngine* engine) { webEngine_ = engine; }

    // The About window with the version, or null when its layout is missing.
    AboutDlg* openAbout();

    // Names and texts.
    AString getProductFolderName() { return AString("sv10.5"); }
    AString getWindowTitle() { return title(); }
    static bool isWindowsNT();
    // Item `item` (from 1) of string list `list`; with dollarBreaks each '$' becomes a line break.
    AString& getListString(AString& out, uint16_t list, short item, bool dollarBreaks);
    AString expandLigatures(const AString& text);
    // A copy of text with a backslash before every character of set.
    static AString escapeMarkup(const char* text, const char* set);
    static AString escapeChars(const char* text, const char* set) { return escapeMarkup(text, set); }
    static AString pathToFileUrl(const char* path) { return PathToFileUrl(path); }
    // The four word-match markers (A, B, C, D) the list rows are graded with.
    void setMatchMarkers(const char* a, const char* b, const char* c, const char* d);
    const AString& matchMarker(int i) const { return markers_[i & 3]; }

    // Folders and temporary files.
    AFileSpec getTempDir();
    AFileSpec getUserDirectory();
    AFileSpec getUserFilesFolder();
    AFileSpec getWorkFolder();
    AFileSpec getTemplateFile(const char* key);
    // The template's path, empty when the configuration names none or it is not there.
    AString findTemplateFile(const char* key);
    // Adds path to "svfiles.txt": the next start deletes it. A folder-like path is ignored.
    void registerTempFile(const char* path) override;
    // Deletes the files "svfiles.txt" lists (files inside the temporary folder only), then the list;
    // nothing while another running reader holds the list, since its pages are listed there too.
    void deleteRegisteredTempFiles();
    // Copies the stream's remaining bytes into a new registered temporary file
    // with the extension (".swf"); false when the file cannot be written.
    bool extractToTempFile(AString& outPath, AFileStream& in, const char* targetName, const char* extension);
    // The template of the key filled with the values, as a registered
    // temporary ".html" file; its path, empty when it could not be written.
    AString makeMediaPage(const char* key, const AMediaPageValues& values);
    // A page from a template file of the installation (beside the media page
    // template); the copyright follows the legend after two line breaks. "" when
    // the template is missing or the page cannot be written.
    AString fillMediaTemplate(const char* templateName, const AMediaPageValues& values, const AString& copyright);
    // The Director page: the template the page key names with the video, the
    // Director file, the launcher page (written from the launcher key's
    // template) and the title; a registered temporary ".html" file. Missing
    // templates are assertions.
    AString fillVideoTemplate(const char* pageKey, const char* launcherKey, const AString& video,
                              const AString& director, const AString& title);

    // The main window and its navigation (the frame's services).
    // The main window, or null before it opens and after it closes.
    Frame1* getFrame();
    int16_t getDocKindPane(int16_t kind) override;
    // The atlas room's own page: its state is the atlas screen.
    static constexpr const char* kAtlasPage = "hg_atlas";
    // A state of screen mode 4 for an address; value is the room, -1 for none.
    AppState* makeUrlNavState(Frame1& frame, const AString& address, int16_t kind, long value) override;
    AString getScreenAddress(int16_t first, int16_t second) override;
    void setScreenAddress(int16_t first, int16_t second, const char* address);
    // Files the rooms' screens under (room from 0, tab number): each tab of
    // the rooms base, as its room link "room:TAB", so that a room bar entry
    // opens its screen before the history has one.
    void loadScreenAddresses();
    // The main window's hooks on its panes (TheAppHooks.cpp).
    // The article pane the frame shows, or null.
    static DocKycfPane* shownArticle(Frame1& frame);
    void addNoteToArticle(Frame1& frame) override;
    // The shown article scrolled to a character position (a note's place).
    void showTextPosition(long position);
    AString webPageTitle(long docNo) override;
    int16_t filterLevel() override;
    // Result lists are exported to RTF in this reader.
    bool resultExportEnabled() override { return resultExport_ != 0; }
    // True in connection state 4; with an address, the state is worked out
    // again first. Otherwise the reader is told why ("Connection Internet").
    bool checkConnection(const char* address) override;
    int16_t connectionState() override;
    // The service home: full, as a full-page web state; else in the main
    // window's web complement pane. Nothing when the service may not be used.
    void openWebHome(int16_t full) override;
    // How the main window's web complement pane loads the service's start page
    // (its check flag); the pane installs it while it lives.
    void setWebComplementLoader(std::function<void(int16_t check)> loader) { webComplementLoader_ = std::move(loader); }
    // The address in a new web-page state of the main window (full: user info 3004 and 3005 set).
    void showWebPage(const char* address, int16_t full, int16_t second) override;
    // SVSITE + REDIRECT + "?id=" page [+ "&" name "=" value] + "&filter=" level + 1 + "&data=v10".
    AString makeServiceUrl(const char* page, const char* name, const char* value);
    // The web document of an entry ("address;title"): see ADocNetManager::getUrlDocNo.
    long getUrlDocNo(const char* entry);
    // The document of an identifier: upper-cased, looked up in the key table
    // "D10" of the base "GLB"; -1 when unknown or without that table.
    long findDocByKey(const char* key);
    // Applet (icon type 12) and INI (24) documents open in the HTML pane.
    bool isAppletDoc(long docNo) { return getDocIconType(docNo) == 12; }
    bool isIniDoc(long docNo) { return getDocIconType(docNo) == 24; }
    ADocNetManager* getDocNetManager() const { return docNet_.get(); }
    // Wanted (preference 1009, or the administrator's switch in a network
    // installation) and reachable: state 4, 3 or 2 by the account; else 1.
    // testUrl: the address to try, else the service's server.
    void setupConnectionStatus(const char* testUrl = nullptr);
    // The connection test: whether the server of url answers a connection.
    void setConnectionTest(std::function<bool(const char* url)> test) { connectionTest_ = std::move(test); }
    // The online-service settings of the installation's arrangement; a
    // damaged file is kept beside as ".bad" and the settings start afresh.
    void loadNetInfo();
    void releaseNetInfo();
    void loadDocNet();
    void releaseDocNet();
    // Writes "docnet.par" now (a damaged one is left as it is).
    void saveDocNet();

    // The online pages and settings: the service's start page (online when the
    // service may be used and, unless check, the reader updates automatically;
    // else the day's copy, else the disc page "ACCUEIL_WEB_LOCAL"), the day's
    // copy of the complement page ("DDMMYY.htm" with its "_files", at most one
    // a day), the account requests (2 log in, 4 change the password, 5
    // forgotten password) against "ACCOUNTSCRIPT", and the defaults.
    AString getNetStatusPage(int16_t check);
    void saveWebPageCopy();
    // The home top dock shows the stored last connection date again.
    void showLastConnection();
    void serviceAccountRequest(int16_t kind, ANetInfo* settings);
    void setNetDefaults();
    // The account wizard at a step, under the main window; null without its layout.
    ASVNetDlg* openNetDialogAt(int16_t step);
    void openNetDialog(int16_t step) override;
    void openPreferences() override;
    void installOnlinePanes();
    void removeOnlinePanes();

    // AOnlineHost.
    ANetInfo* netInfo() override { return netInfo_.get(); }
    AString netUserAgent() override;
    AString proxyAddress() override;
    bool hasNetManager() override { return netManager_ != nullptr; }
    bool webPaneUnderPointer() override;
    long maxNetResults() override;
    void alert(const char* text, const char* title) override;
    void showSearchProgress(const char* status) override;
    void hideSearchProgress() override;
    bool hasMainWindow() override { return getFrame() != nullptr; }
    bool hasCurrentState() override;
    long currentUserInfo(long key) override;

    // The notes window on a document with a note selected (-1: the first).
    void openNoteWindow(long docNo, long noteId, SVPane* owner) override;
    void openNoteWindow(long docNo, long noteId, APane* owner);
    // The dossier window, with the element to select (reference -1: none).
    void openDossierWindow(long reference, int16_t kind) override;
    void addToCurrentDossier(AppState* state) override;
    AString copyMediaToTemp(short base, long record) override;
    // The record's data as a new registered temporary file with the
    // extension; its path, empty when it could not be written.
    AString extractRecordToTemp(short base, short table, long record, const char* extension);
    AString writeMediaPage(const char* templatePath, const AMediaPageValues& values, const std::string& legendHtml);
    // The template's text (a missing one is an assertion); empty when unreadable.
    AString readTemplate(const char* key);
    // The text as a new registered temporary ".html" file; its path, empty on failure.
    AString writeTempPage(const std::string& text);
    void installWorkspaceWindows();
    void removeWorkspaceWindows();
    void installFlashServices();
    void removeFlashServices();
    // The atlas panes' services (installed while the application lives).
    void installAtlasServices();
    void removeAtlasServices();
    // The article's note markers open the notes window through the store.
    void hookNoteWindow();
    AString getCurrentUserName() override { return userName_; }
    // Network installations (TheAppNetInst.cpp): the reader's name, accepted
    // when the users' folder holds a folder of that name (setUserName) or made
    // with its folder (createUserName); refusals are told in a box titled
    // "Nom d'utilisateur incorrect". The answer of the password dialog of a
    // protected work is the framework's dialog result (modalAnswer).
    bool setUserName(const char* name) override;
    bool createUserName(const char* name) override;
    uint16_t modalAnswer() const { return dialogResult(); }
    AString userDirectory() override { return getUserDirectory().path(); }
    AString userFilesFolder() override { return getUserFilesFolder().path(); }
    void releaseWorkObject(int16_t index) override;
    void reloadWorkObject(int16_t index) override;
    bool writeHistoryIn(const AString& folder) override;
    AWindow* openWorkNameDialog(Frame1& frame, int16_t mode, const AString& message, const AString& name) override;
    AWindow* openIdentification(Frame1& frame, int16_t mode, const AString& message) override;
    AWindow* openWorkPassword(Frame1& frame, const AString& message, const AString& expected) override;
    void closeDossierWindow() override;
    bool workFolderExists() override;
    AString menuRecordText(long record) override;
    AString roomTitle(AppState* state) override;
    AString docListRecord(long docNo) override;
    ALineGetterCallBack* makeHistoryRowFormat() override;
    AString configString(const char* key) override;
    AString configMessage(const char* key) override;
    AStyleSheetSet* styleSheets() override { return styleSheets_.get(); }
    AStyleSheet* getStyleSheet(long n) override { return styleSheets_ ? styleSheets_->getSheet(n) : nullptr; }
    // The query of the main window's current search state ("" without one).
    AString getHighlightQuery(int16_t* hasExpression) override;
    // Rows with each document's title and heading from the document base.
    SortableLineGetter* newResultLineGetter(ALo* lo) override;
    void activateFrame() override { AQuickTimeApp::activateFrame(); }

    // Printing: the print sheet ("ImpOption", text mode) and the preview
    // ("Impression" when the program has it) under the printed component; the
    // option files in the reader's folder of a network installation.
    AComponent* makePrintOptionsDialog(ADisplayComponent* printed) override;
    AComponent* makePreviewDialog(ADisplayComponent* printed) override;
    AString printFilesFolder() override;
    // The title of the main window's current document; empty without one.
    AString getCurrentDocTitle();
    // Shows document docNo (-1: the current one) in a new state of the main window.
    void showDocument(long docNo);
    // The same, only when the current state has a document part.
    void showDocumentIfOpen(long docNo);
    // The current document again, at an item of its article.
    void showDocumentAt(long position);
    // The online extended search for a text: only when the online service
    // may be used (which says why not otherwise).
    void openExtendedSearch(const char* text);

    // Documents.
    // The reference text of docNo in "svref.db" (16-byte records, the first
    // 15 bytes without leading spaces); empty when the file is not in use.
    AString getDocReference(long docNo);
    bool usesReferenceFile() const { return !referenceFile_.empty(); }
    // The record of ICONTYPE in HDFILES as a number; -1 for no document.
    int16_t getDocIconType(long docNo);
    // Documents of the picture, sound, media and video bases.
    bool docIsMedia(long docNo);
    bool isTextDoc(long docNo);
    // The navigation kind: 0 for a text, 2 for a map, defaultKind otherwise.
    int16_t getDocKind(long docNo, int16_t defaultKind);
    // The link text registered under a name (the Flash requests' targets);
    // empty when none is registered.
    AString getLinkFsText(const char* name);
    void setLinkFsText(const char* name, const char* text);
    // The text of table 6 ("FS") of the maps base for the record the map-name
    // index ("CARTESFS") registers under name ("place_map"); empty when none.
    AString getMapFsText(const char* name);
    // The document a link name leads to: its link text "0:n" names document
    // n, "1:m" the first document of record m of the links base; -1 for none.
    long resolveDocLink(const char* name);
    // Rooms (TheAppRooms.cpp). Line n of a room text: its label and value.
    static AString getLineLabel(const char* text, int16_t n);
    static AString getLineValue(const char* text, int16_t n);
    // Fills state from a tab descriptor "type:source:record:extra" (see the
    // rooms base's diagram in TheAppRooms.cpp); 0 for a damaged descriptor,
    // which leaves the state as it was.
    static int16_t applyRoomTab(const char* descriptor, AppState* state);
    // The state of a room link "room:TAB[:...]" (room from 0), new and owned
    // by the caller; null when the link, the configuration or the rooms base
    // does not name a tab. Reads the global data manager and location.
    // docKind: the kind of the state's document part (0 an article; 3 the
    // room's movie, for a page of the room).
    static AppState* makeRoomState(Frame1& frame, const char* link, int16_t docKind = 0);
    // The room link that a room movie's page name stands for, "" when none.
    static AString roomLinkOfPage(const char* page);
    // The state of the room tab a page name stands for (makeRoomState of its
    // link), null when the rooms base names no tab for it.
    static AppState* makeRoomPageState(Frame1& frame, const char* page);
    // The "w:h" of the document's DIM record; false (0, 0) without one.
    bool getDocDimensions(long docNo, long* width, long* height);

    // Preferences ("sv.prf") and history ("sv.histo").
    // A damaged "sv.prf" is kept beside as "sv.prf.bad" and the reader starts with the defaults.
    void loadPreferences();
    void releasePreferences() { prefManager_.reset(); }
    APrefManager* getPrefManager() const { return prefManager_.get(); }
    // A new history manager; with read, the file is read (copy: every list
    // file copied first). A history that cannot be read is logged, kept
    // beside as "sv.histo.bad", and the history starts empty.
    void loadHistory(bool read, bool copy);
    void releaseHistory() { histoManager_.reset(); }
    AHistoManager* getHistoManager() const { return histoManager_.get(); }
    // After a navigation, when preference 1003 asks for it and no history is being read.
    void saveHistoryIfWanted() override;

    // AppDataHost and AHistoHost.
    AFileSpec versionFileFolder() override;
    bool docReference(long docNo, AString* text) override;
    AppState* currentState() override;
    int16_t stateCount() override;
    AppState* oldestState() override;
    void addState(AppState* state) override;
    AFileSpec tempFolder() override { return getTempDir(); }

    // Tools: the dictionary binding (null until set up, when the
    // configuration names a library), the two shared selection menus (with
    // and without "Rechercher dans le texte"), the phonetic window.
    ADicoLibrary* getDicoLibrary() const { return dico_.get(); }
    void setUpDictionary();
    // "Lexical_fini" and the binding freed; nothing without one.
    void closeDictionary();
    ASVSelContextMenuCallBack* getSelContextMenu(bool findInText);
    // With at least one proposal of the application's IPhonAbp: loads
    // "Phonetiseur", centres it, lists the proposals and runs a local loop
    // until a command ends it (flag not 0) or the window goes.
    void openPhonetiseur();
    void setLocalLoopFlag(int16_t flag) { localLoopFlag_ = flag; }
    // The application's proposals (made at start-up with checking on the base "PHONEM").
    IPhonAbp* getPhonAbp() const { return phon_.get(); }
    // The proposal step after a search without hits: the chosen form, empty
    // when none was proposed or the reader closed the window.
    AString proposeSoundAlike(const char* query);
    // The tool windows' classes (0 author, 1 phonetic): made by name from
    // their layouts, they are linked in by being named here.
    static const AClass* toolWindowClass(int which);

    // Milliseconds each start step took, in doStart's order, for the start-up report.
    const std::vector<std::pair<std::string, uint32_t>>& stepTimes() const { return stepTimes_; }

private:
    void failStart(const char* text);
    // Shows a store's damage message, when there is one; true when there is none.
    bool sayDamaged(const AString& message);
    bool timed(const char* step, bool (TheApp::*body)());
    AFileSpec validIni();
    // The day's copy of the complement page for a stored date; empty for no date.
    AFileSpec webCopyFile(const char* date);
    // Renames a file that could not be read to name.bad, replacing an older one.
    void keepBadFile(const AFileSpec& file, const AError& error);

    AppInstall install_;
    AString dataRoot_;
    bool lastRunQuit_ = true;
    bool lastRunHistoQuit_ = false;
    bool confirmQuit_ = true;
    uint16_t netLogEnabled_ = 0;
    long maxSiReq_ = 0;
    AString markers_[4];
    AString userName_;  // the current network user: none until readers are identified
    std::unique_ptr<ADataLocation> dataLocation_;
    std::unique_ptr<AppDataManager> dataManager_;
    std::unique_ptr<APrefManager> prefManager_;
    std::unique_ptr<AHistoManager> histoManager_;
    AString referenceFile_;  // the path of "svref.db" when in use
    AWorkspace workspace_;  // after the data manager: destroyed before it
    std::unique_ptr<AWorkspaceWinApp> workspaceWin_;  // installed while the application lives
    std::unique_ptr<ASearchPanesApp> searchPanes_;    // installed while the application lives
    std::unique_ptr<ADicoHost> dicoHost_;             // installed with the search panes' answers
    std::unique_ptr<ATopDockApp> topDock_;            // installed while the application lives
    std::unique_ptr<ASiReqSearch> queryHistory_;      // made on first use
    std::unique_ptr<AContentApp> content_;
    std::unique_ptr<AMediaApp> media_;                  // installed while the application lives
    MediaWinLongDic mediaWindows_;              // installed while the application lives
    std::unique_ptr<ARightDockApp> rightDock_;          // installed while the application lives
    std::unique_ptr<AEphemerisApp> ephemeris_;          // installed while the application lives
    AppToolKit::Clock clock_ = nullptr;                 // null: the local time
    AppNamedBitmaps namedBitmaps_;
    std::unique_ptr<AStyleSheetSet> styleSheets_;
    std::unique_ptr<AppPrintServices> printServices_;
    std::unique_ptr<ASVFramePrinting> framePrinting_;
    AppWebEngine* webEngine_ = nullptr;  // not owned; null: the reader's own
    std::unique_ptr<AppWebEngine> ownEngine_;
    std::unique_ptr<AppNetManager> netManager_;
    std::unique_ptr<ANetInfo> netInfo_;
    std::unique_ptr<ADocNetManager> docNet_;
    std::function<bool(const char*)> connectionTest_;
    std::function<void(int16_t)> webComplementLoader_;
    std::vector<std::pair<std::string, uint32_t>> stepTimes_;
    std::map<std::string, AString> screenAddresses_;  // "first_second" to address
    std::map<std::string, AString> linkTexts_;        // link name to target text
    std::unique_ptr<AFlashServices> flashServices_;
    std::unique_ptr<AAtlasApp> atlas_;                // installed while the application lives
    std::unique_ptr<AKeyIndex> mapNames_;             // the map-name index, opened on first use
    std::unique_ptr<ADicoLibrary> dico_;
    std::unique_ptr<IPhonAbp> phon_;
    // Held open once a file is registered, so that another reader starting
    // meanwhile leaves our files alone; closed with the application.
    HANDLE tempListHold_ = INVALID_HANDLE_VALUE;
    AFilter queryFilter_;
    int16_t localLoopFlag_ = 0;
    int16_t resultExport_ = 1;
    std::unique_ptr<ASVSelContextMenuCallBack> selMenus_[2];  // [0] without find, [1] with
    std::unique_ptr<AOnlinePanesHost> onlinePanes_;  // installed while the application lives
};
