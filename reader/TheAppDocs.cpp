// The application object's document questions, its preference and history
// managers, and what the data manager and the history ask of it.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/frame/Frame1.h"
#include "reader/TheApp.h"
#include "app/state/AppState.h"
#include "base/procedural/AError.h"
#include "base/procedural/KyPath.h"
#include "base/object/ATextOutStream.h"
#include "framework/app/AppServices.h"
#include "search/facade/ASearchBase.h"

// Last: it declares a global "byte" that the project headers' parameters would shadow.
#include <shlobj.h>

namespace {

const int16_t kText = 5, kCartes = 6, kHdFiles = 13, kFirstMediaBase = 14;
const short kIconType = 4;

void LogLine(const std::string& text) {
    CurrentErrorStream().writeString(text.c_str()).writeString("\n");
}

std::string Reported(const AError& error) {
    return error.className();
}

}  // namespace

// Documents.

// "svref.db": 16-byte records by document number.
AString TheApp::getDocReference(long docNo) {
    if (referenceFile_.empty() || docNo < 0 || docNo > 0x7FFFFFF)
        return AString();
    HANDLE file =
        CreateFileA(referenceFile_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return AString();
    char record[16] = {};
    DWORD got = 0;
    bool ok = SetFilePointer(file, static_cast<LONG>(docNo * 16), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
              ReadFile(file, record, 16, &got, nullptr) && got == 16;
    CloseHandle(file);
    if (!ok)
        return AString();
    std::string text(record, 15);
    text = text.substr(0, text.find('\0'));
    size_t first = text.find_first_not_of(' ');
    return AString(first == std::string::npos ? "" : text.c_str() + first);
}

bool TheApp::docReference(long docNo, AString* text) {
    if (!usesReferenceFile())
        return false;
    *text = getDocReference(docNo);
    return true;
}

int16_t TheApp::getDocIconType(long docNo) {
    if (docNo < 0)
        return -1;
    ASearchBase* base = getDataManager()->getBase(kHdFiles);
    if (!base || docNo >= base->getRecordCount(kIconType))
        return -1;
    return static_cast<int16_t>(std::atoi(base->getText(kIconType, docNo, 1).c_str()));
}

bool TheApp::docIsMedia(long docNo) {
    return docNo >= 0 && getDataManager()->getDocRefInfo(docNo).fDocBase >= kFirstMediaBase;
}

bool TheApp::isTextDoc(long docNo) {
    return docNo >= 0 && getDataManager()->getDocRefInfo(docNo).fDocBase == kText;
}

int16_t TheApp::getDocKind(long docNo, int16_t defaultKind) {
    if (docNo < 0)
        return defaultKind;
    int16_t base = getDataManager()->getDocRefInfo(docNo).fDocBase;
    // Maps are Flash documents: the centre's movie pane shows them (kind 2).
    return base == kText ? 0 : base == kCartes ? 2 : defaultKind;
}

bool TheApp::getDocDimensions(long docNo, long* width, long* height) {
    *width = *height = 0;
    if (docNo < 0)
        return false;
    ADocRefInfo info = getDataManager()->getDocRefInfo(docNo);
    long table = findBaseField(info.fDocBase, "DIM");
    ASearchBase* base = table < 0 ? nullptr : getDataManager()->getBase(info.fDocBase);
    if (!base || info.fRecord < 0 || info.fRecord >= base->getRecordCount(static_cast<short>(table)))
        return false;
    std::string dim = base->getText(static_cast<short>(table), info.fRecord, 1).c_str();
    size_t colon = dim.find(':');
    if (colon == std::string::npos)
        return false;
    *width = std::atol(dim.c_str());
    *height = std::atol(dim.c_str() + colon + 1);
    return true;
}

// Preferences and history.

void TheApp::keepBadFile(const AFileSpec& file, const AError& error) {
    std::string path = file.path().c_str();
    LogLine("#Fichier illisible " + path + " (" + Reported(error) + "), gard\xE9 en .bad");
    MoveFileExA(path.c_str(), (path + ".bad").c_str(), MOVEFILE_REPLACE_EXISTING);
}

void TheApp::loadPreferences() {
    prefManager_.reset();
    AFileSpec folder = getUserFilesFolder();
    try {
        prefManager_.reset(new APrefManager(folder, "sv.prf"));
    } catch (const AError& error) {
        keepBadFile(AFileSpec(folder, "sv.prf"), error);
        prefManager_.reset(new APrefManager(folder, "sv.prf"));
    }
}

void TheApp::loadHistory(bool read, bool copy) {
    histoManager_.reset();
    AFileSpec folder = install_.network ? getUserFilesFolder() : getTempDir();
    histoManager_.reset(new AHistoManager(folder, "sv.histo", 0, this));
    if (!read)
        return;
    try {
        if (copy)
            histoManager_->loadAlternate();
        else
            histoManager_->load();
    } catch (const AError& error) {
        // Nothing of the file reached the main window: a new manager starts
        // the history empty, and the file stays beside for a look.
        histoManager_.reset();
        bool busy = AContainerFile::IsAccessFailure(error);
        if (!busy)
            keepBadFile(AFileSpec(folder, "sv.histo"), error);
        histoManager_.reset(new AHistoManager(folder, "sv.histo", 0, this));
        // A history that could not be opened is whole: it is not saved over.
        if (busy) {
            LogLine("#Historique illisible (" + Reported(error) + "), non remplac\xE9");
            histoManager_->setReadOnly(1);
        }
    }
}

void TheApp::saveHistoryIfWanted() {
    if (!prefManager_ || !histoManager_ || histoManager_->isLoading() ||
        prefManager_->getLong(APrefManager::kSaveHistory) == 0)
        return;
    try {
        histoManager_->save();
    } catch (const AError& error) {
        // The old file stays whole and "ValidHistoQuit" says "0".
        LogLine("#Historique non sauvegard\xE9 (" + Reported(error) + ")");
    }
}

// Where the data manager writes the version file.
AFileSpec TheApp::versionFileFolder() {
    if (!install_.network)
        return getUserFilesFolder();
    char base[MAX_PATH] = "";
    bool found = isWindowsNT() ? SHF_LoadGetFolderPath(VER_PLATFORM_WIN32_NT, CSIDL_LOCAL_APPDATA, base, MAX_PATH) == 0
                               : GetWindowsDirectoryA(base, MAX_PATH) > 0;
    if (!found || !*base)
        return AFileSpec();
    std::string folder = std::string(base) + "\\savantoriumv10";
    CreateDirectoryA(folder.c_str(), nullptr);
    return AFileSpec(folder.c_str());
}

AppState* TheApp::currentState() {
    Frame1* frame = getFrame();
    return frame ? frame->currentState() : nullptr;
}

int16_t TheApp::stateCount() {
    Frame1* frame = getFrame();
    return frame ? frame->stateCount() : 0;
}

AppState* TheApp::oldestState() {
    Frame1* frame = getFrame();
    return frame ? frame->oldestState() : nullptr;
}

void TheApp::addState(AppState* state) {
    Frame1* frame = getFrame();
    if (!frame) {
        delete state;
        return;
    }
    frame->goToState(state, 0);
}
