// The application's start-up steps, in the order doStart runs them, and the
// main frame's load command.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/data/ADataManager.h"
#include "app/frame/Frame1.h"
#include "app/data/AppBaseTables.h"
#include "reader/AppMozillaEngine.h"
#include "reader/TheApp.h"
#include "base/object/AFile.h"
#include "base/object/AFolderSpecs.h"
#include "base/object/ATextOutStream.h"
#include "base/procedural/SystemSeams.h"
#include "framework/app/AWindow.h"
#include "framework/components/ACommand.h"
#include "search/engine/descriptor/XkFilter.h"
#include "search/facade/ADataLocation.h"
#include "web/browser/KyMozillaGetUrl.h"
#include "web/net/AppNetManager.h"

namespace {

// Opens the main window once the loop runs the command queue.
class LoadFrameCommand : public ACommand {
public:
    explicit LoadFrameCommand(TheApp* app) : ACommand(app, 0, 1), app_(app) {}
    void execute() override { app_->openMainWindow(); }

private:
    TheApp* app_;  // not owned
};

AString SvIniKey(void* context, const char* key) {
    return static_cast<TheApp*>(context)->getSetting(key, "", nullptr);
}

std::string Quoted(const char* text) {
    return std::string("\xAB ") + text + " \xBB";
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

// Puts the framework log's text on disk: a run that is killed still shows how far it came.
void FlushLog() {
    if (ATextOutStream* log = dynamic_cast<ATextOutStream*>(&CurrentErrorStream()))
        KY_FileFlush(log->file());
}

}  // namespace

void TheApp::doStart() {
    struct Step {
        const char* name;
        bool (TheApp::*run)();
    } const steps[] = {
        {"configuration", &TheApp::readConfiguration}, {"disc", &TheApp::findDataRoot},
        {"netlog", &TheApp::startNetLog},              {"webengine", &TheApp::startWebEngine},
        {"datamanager", &TheApp::createDataManager},   {"initdata", &TheApp::initData},
        {"stylesheet", &TheApp::loadStyleSheet},       {"bases", &TheApp::mountBases},
        {"workspace", &TheApp::loadWorkspace},         {"frame", &TheApp::postLoadFrame},
    };
    for (const Step& step : steps)
        if (!timed(step.name, step.run))
            return;
}

// Runs a step, logs its time; a framework error inside it ends the start with its report.
bool TheApp::timed(const char* step, bool (TheApp::*body)()) {
    LARGE_INTEGER from, to;
    QueryPerformanceCounter(&from);
    bool ok = false;
    try {
        ok = (this->*body)();
    } catch (const AError& e) {
        failStart((std::string("Le d\xE9marrage s'est arr\xEAt\xE9 (") + step + ", " + e.className() + ").").c_str());
        return false;
    }
    QueryPerformanceCounter(&to);
    double ms = Milliseconds(from, to);
    stepTimes_.emplace_back(step, static_cast<uint32_t>(ms * 1000));
    char line[120];
    snprintf(line, sizeof line, "#Start step %s: %.1f ms\n", step, ms);
    CurrentErrorStream().writeString(line);
    FlushLog();
    return ok;
}

void TheApp::failStart(const char* text) {
    CurrentErrorStream().writeString("#Start failed: ").writeString(text).writeString("\n");
    FlushLog();
    messageBox(text, title().c_str(), MB_OK | MB_ICONSTOP, nullptr);
    // The run ends under control: the next start has no reason to doubt it.
    setValidIniValue("ValidQuit", "1");
    PostQuitMessage(kStartFailed);
}

// 1. sv.ini, install.ini, valid.ini, then the configuration pair.
bool TheApp::readConfiguration() {
    deleteRegisteredTempFiles();
    // Filters named by the descriptor are compiled from their descriptions.
    EXK_InstallCompiler();
    AFileSpec start = AStartFolderSpec();
    install_ = ReadAppInstall(SvIniKey, this, AFileSpec(start, "install.ini"));
    AString valid = getValidIniValue("ValidQuit");
    lastRunQuit_ = valid != "0";
    lastRunHistoQuit_ = getValidIniValue("ValidHistoQuit") == "1";
    CurrentErrorStream()
        .writeString("ValidQuit: ")
        .writeString(valid.empty() ? "(none)" : valid.c_str())
        .writeString("\n");
    // "0" while the program runs: only the quit path writes "1".
    setValidIniValue("ValidQuit", "0");

    std::string pair = install_.pairName();
    AFileSpec descriptor(start, (pair + ".sgm").c_str());
    AFileSpec companion(start, (pair + ".gen").c_str());
    if (!descriptor.exists() || !companion.exists()) {
        failStart(("La configuration " + Quoted((pair + ".sgm").c_str()) + " est introuvable dans " +
                   Quoted(start.path().c_str()) + ".")
                      .c_str());
        return false;
    }
    // What stood on a previous location goes with it.
    styleSheets_.reset();
    dataManager_.reset();
    gDataLocation = nullptr;
    dataLocation_.reset(new ADataLocation);
    gDataLocation = dataLocation_.get();
    if (dataLocation_->open(descriptor.path().c_str(), nullptr, start.path().c_str()) != 0) {
        failStart(("La configuration " + Quoted((pair + ".sgm").c_str()) + " ne peut pas \xEAtre lue : " +
                   dataLocation_->getLastError().c_str())
                      .c_str());
        return false;
    }
    return true;
}

// 2. The data disc or folder.
bool TheApp::findDataRoot() {
    AFileSpec start = AStartFolderSpec();
    if (install_.hdDataPath.empty() && install_.cdVolume.empty()) {
        // Nothing named: the data lie beside the configuration.
        dataRoot_ = start.path();
        if (dataRoot_.empty() || dataRoot_[dataRoot_.length() - 1] != '\\')
            dataRoot_ += "\\";
        return true;
    }
    dataRoot_ = FindDataRoot(install_, start);
    while (dataRoot_.empty() && install_.hdDataPath.empty() && TheAppSeams().askForDisc(install_.cdVolume.c_str()))
        dataRoot_ = FindDataRoot(install_, start);
    if (!dataRoot_.empty())
        return true;
    if (!install_.hdDataPath.empty())
        failStart(("Le dossier des donn\xE9" "es " + Quoted(install_.hdDataPath.c_str()) + " est introuvable.").c_str());
    else
        failStart(("Le disque " + Quoted(install_.cdVolume.c_str()) + " est introuvable.").c_str());
    return false;
}

// 3a. "svnet.log" in the temporary folder, when the network log is on (sv.ini NetLog=1).
bool TheApp::startNetLog() {
    netLogEnabled_ = std::atoi(getSetting("NetLog", "0", nullptr).c_str()) != 0;
    if (!netLogEnabled_)
        return true;
    // The application's log is the network log: the fetches and their
    // headers are traced there as well as the reader's own lines. A log that
    // cannot be opened never stops the start.
    try {
        openLog("svnet.log");
    } catch (const AError&) {
    }
    // The HTTP client's trace lines of the pages' exchanges belong there too,
    // not in the error stream, which takes them otherwise.
    if (ATextOutStream* log = getLogObject())
        log->becomeTraceSink();
    KyMozillaSetNetLogFlag([] {
        TheApp* app = TheApp::current();
        return app && app->isNetLogEnabled();
    });
    return true;
}

// 3b. The connection manager, then the web engine, before any browser view exists.
bool TheApp::startWebEngine() {
    netManager_.reset(new AppNetManager);
    netManager_->setAgentName(configString("NET_AGENT").c_str());
    if (!webEngine_ && !ownEngine_)
        ownEngine_.reset(new AppMozillaEngine(this, this));
    AppWebEngine* engine = webEngine_ ? webEngine_ : ownEngine_.get();
    if (!engine->start()) {
        CurrentErrorStream().writeString("Moteur web absent: les pages web ne seront pas affich\xE9" "es\n");
        netLog("Moteur web absent\n");
        return true;
    }
    engine->setWindowCreatorCallBack();
    engine->setAlertCallBack();
    engine->setContentPolicyCallBack(configString("SERVERNAME"), configString("CONTROLSCRIPT"));
    engine->setCharPref("kyfoobar", "ky.foo.bar");
    engine->setBoolPref("privacy.popups.firstTime", false);
    if (isNetLogEnabled()) {
        AString host = engine->getCharPref("network.proxy.http");
        long port = engine->getIntPref("network.proxy.http_port");
        long type = engine->getIntPref("network.proxy.type");
        char line[600];
        snprintf(line, sizeof line, "Lecture des preferences proxy Mozilla %.500s:%ld (type %ld)\n", host.c_str(), port,
                 type);
        netLog(line);
    }
    return true;
}

// 4. The data manager over the installation's base table, its filters and
// filter sets; the reader list "svref.db" beside the data when there is one.
bool TheApp::createDataManager() {
    gBaseDescriptors = install_.cd ? CDSetBaseTable() : SingleDiscBaseTable();
    dataManager_.reset();
    dataManager_.reset(new AppDataManager(gDataLocation, this));
    // A channel's run shows the application's wait cursor.
    dataManager_->setCursorOwner(this);
    dataManager_->loadPrefFile();
    dataManager_->fDiscNo = !install_.network && !install_.cd && install_.installType != "2" ? 0 : -1;
    AFileSpec reference((std::string(dataRoot_.c_str()) + "svref.db").c_str());
    referenceFile_ = reference.exists() ? reference.path() : AString();
    return true;
}

bool TheApp::initData() {
    maxSiReq_ = std::atol(gDataLocation->getString("MAXSIREQ").c_str());
    loadPreferences();
    setUpDictionary();
    return true;
}

bool TheApp::loadStyleSheet() {
    AFileSpec file((std::string(dataRoot_.c_str()) + "svstyles.xml").c_str());
    styleSheets_.reset(new AStyleSheetSet(file, adjustToScreen(), &namedBitmaps_));
    if (!styleSheets_)
        ThrowAssert("theapp", __LINE__);
    return true;
}

// The configuration's font adjustment for this screen's width class.
int16_t TheApp::adjustToScreen() {
    int width = systemMetric(SM_CXSCREEN);
    const char* widthClass = width <= 800 ? "800" : width <= 1024 ? "1024" : width <= 1152 ? "1152" : width <= 1280 ? "1280" : "MORE";
    std::string key = std::string("FONT_ADJUST_") + "WIN_" + widthClass;
    return static_cast<int16_t>(std::atoi(gDataLocation->getString(key.c_str()).c_str()));
}

// 5a. The bases every screen needs: the full-text base and the document information.
bool TheApp::mountBases() {
    for (int16_t index : {int16_t(1), int16_t(13)}) {
        ASearchBase* base = nullptr;
        try {
            base = dataManager_->getBase(index);
        } catch (const AError&) {
            // A damaged or missing file: the message below names the base.
        }
        if (!base) {
            failStart(("La base " + Quoted(dataManager_->getBaseName(index).c_str()) + " ne peut pas \xEAtre ouverte.")
                          .c_str());
            return false;
        }
    }
    return true;
}

// 5b. The reader's dossiers and notes: a damaged file is said, the start goes on.
bool TheApp::loadWorkspace() {
    loadDossiers();
    loadNotes();
    loadNetInfo();
    loadDocNet();
    setupConnectionStatus(nullptr);
    return true;
}

bool TheApp::loadDossiers() {
    AFileSpec folder = getUserFilesFolder();
    return sayDamaged(workspace_.loadDossiers(dataManager_.get(), &folder));
}

bool TheApp::loadNotes() {
    AFileSpec folder = getUserFilesFolder();
    bool said = sayDamaged(workspace_.loadNotes(dataManager_.get(), &folder));
    hookNoteWindow();
    return said;
}

bool TheApp::sayDamaged(const AString& message) {
    if (!message.empty())
        messageBox(message.c_str(), title().c_str(), MB_OK | MB_ICONWARNING, nullptr);
    return message.empty();
}

// 5c. A press on a link in a text view follows it; then the frame opens from the loop.
bool TheApp::postLoadFrame() {
    setMouseSetting(0);
    LoadFrameCommand* command = new LoadFrameCommand(this);
    AObject::completeNew(command);
    executeCommand(command);
    return true;
}

// Run by the load-frame command: the last start step, timed with the others.
void TheApp::openMainWindow() {
    timed("mainwindow", &TheApp::loadFrame);
}

bool TheApp::loadFrame() {
    AComponent* made = AComponent::loadLayout(this, "Frame1Fixed", 0);
    Frame1* frame = made ? static_cast<Frame1*>(made->castTo(&Frame1::classRecord)) : nullptr;
    if (!frame) {
        failStart("La fen\xEAtre principale \xAB Frame1Fixed \xBB est introuvable.");
        return false;
    }
    frame->setMaxStates(prefManager_ ? prefManager_->getLong(APrefManager::kMaxStates) : 50);
    // The history is replaced whole at each save: whatever "valid.ini" says of
    // the last one, the file reads whole or fails as a whole.
    loadHistory(prefManager_ && prefManager_->getLong(APrefManager::kSaveHistory) != 0, false);
    // The first state is the home screen: the reading screen's hundreds of
    // items are not shown with the frame only to be hidden by that state.
    // Hidden before the frame shows, the holder's views keep the windows they
    // were made with shown: they are hidden with it.
    if (AClusterItem* content = frame->findItem(1200, false)) {
        content->setVisible(false);
        content->setVisibleTree(false, false);
    }
    frame->select();
    frame->showConnectionState();
    loadScreenAddresses();
    frame->doMenuAction(0, 0);
    return true;
}
