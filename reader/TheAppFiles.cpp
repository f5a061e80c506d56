// The application's folders, "valid.ini", the temporary files and the data disc.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/data/ADataManager.h"
#include "reader/TheApp.h"
#include "base/procedural/AError.h"
#include "base/object/AFileStream.h"
#include "base/object/AFolderSpecs.h"
#include "search/facade/ADataLocation.h"

namespace {

const char kTempList[] = "svfiles.txt";

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && _strnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 2];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? std::string(full, n) : std::string();
}

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '\\')
        folder += '\\';
    return folder;
}

}  // namespace

AFileSpec TheApp::getTempDir() {
    return AAppTempFolderSpec();
}

// The users' folder (WorkPath of a network installation) joined with the current user's name.
AFileSpec TheApp::getUserDirectory() {
    if (!install_.network || install_.workPath.empty() || userName_.empty())
        return AFileSpec();
    return AFileSpec(AFileSpec(install_.workPath.c_str()), userName_.c_str());
}

// The per-reader files: the user's folder in a network installation, else
// WorkPath when set, else the framework's working folder.
AFileSpec TheApp::getUserFilesFolder() {
    AFileSpec user = getUserDirectory();
    if (!user.empty())
        return user;
    if (!install_.workPath.empty())
        return AFileSpec(install_.workPath.c_str());
    return workFolder().empty() ? currentFolder() : workFolder();
}

AFileSpec TheApp::getWorkFolder() {
    return getUserFilesFolder();
}

AString TheApp::findTemplateFile(const char* key) {
    AString name = gDataLocation ? gDataLocation->getString(key) : AString();
    if (name.empty())
        return AString();
    const char* text = name.c_str();
    bool absolute = (text[0] && text[1] == ':') || (text[0] == '\\' && text[1] == '\\');
    AFileSpec file = absolute ? AFileSpec(text) : AFileSpec((std::string(dataRoot_.c_str()) + text).c_str());
    return file.exists() ? file.path() : AString();
}

AFileSpec TheApp::getTemplateFile(const char* key) {
    AString path = findTemplateFile(key);
    if (path.empty())
        ThrowAssert("theapp", __LINE__);
    return AFileSpec(path.c_str());
}

// "valid.ini", section "settings": ValidQuit=0|1 (1: the last run ended
// through the quit path), ValidHistoQuit=0|1 (the history was saved at quit).
AFileSpec TheApp::validIni() {
    return AFileSpec(getUserFilesFolder(), "valid.ini");
}

void TheApp::setValidIniValue(const char* key, const char* value) {
    try {
        WritePrivateProfileStringA("settings", key, value, validIni().path().c_str());
    } catch (const AError&) {
        // A reader folder that cannot be named leaves the flag unwritten: nothing to lose.
    }
}

AString TheApp::getValidIniValue(const char* key) {
    try {
        return ReadSettingsKey(validIni(), key);
    } catch (const AError&) {
        return AString();
    }
}

// "svfiles.txt" in the temporary folder: one full path a line, CR LF ended.
void TheApp::registerTempFile(const char* path) {
    size_t n = path ? std::strlen(path) : 0;
    if (n == 0 || path[n - 1] == '/' || path[n - 1] == ':')
        return;
    std::string list = AFileSpec(getTempDir(), kTempList).path().c_str();
    HANDLE file = CreateFileA(list.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string line = std::string(path) + "\r\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    if (tempListHold_ == INVALID_HANDLE_VALUE)
        tempListHold_ = CreateFileA(list.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
}

// Only files, and only inside the temporary folder: a damaged or foreign
// list never reaches the reader's or the system's files.
void TheApp::deleteRegisteredTempFiles() {
    std::string folder = WithSlash(getTempDir().path().c_str());
    std::string list = folder + kTempList;
    if (tempListHold_ != INVALID_HANDLE_VALUE) {
        CloseHandle(tempListHold_);
        tempListHold_ = INVALID_HANDLE_VALUE;
    }
    // Opened alone: a sharing refusal means another reader runs and still shows its pages.
    HANDLE file = CreateFileA(list.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string text;
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0 && text.size() < (1u << 24))
        text.append(buffer, n);
    CloseHandle(file);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        std::string path = FullPath(text.substr(at, end - at));
        at = text.find_first_not_of("\r\n", end);
        if (at == std::string::npos)
            at = text.size();
        if (path.empty() || !StartsWithNoCase(path, folder) || path.size() == folder.size())
            continue;
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            DeleteFileA(path.c_str());
    }
    DeleteFileA(list.c_str());
}

bool TheApp::extractToTempFile(AString& outPath, AFileStream& in, const char* targetName, const char* extension) {
    std::string folder = WithSlash(getTempDir().path().c_str());
    std::string ext = extension ? extension : "";
    HANDLE file = INVALID_HANDLE_VALUE;
    std::string path;
    if (targetName && *targetName) {
        path = folder + targetName + ext;
        file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    } else {
        static unsigned serial = 0;
        for (int tries = 0; tries < 100 && file == INVALID_HANDLE_VALUE; ++tries) {
            char name[40];
            snprintf(name, sizeof name, "sv%lx%x", GetTickCount() & 0xFFFFFFul, ++serial);
            path = folder + name + ext;
            file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        }
    }
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    char buffer[16384];
    long got = 0;
    while (ok && (got = in.read(buffer, sizeof buffer)) > 0) {
        DWORD written = 0;
        ok = WriteFile(file, buffer, static_cast<DWORD>(got), &written, nullptr) && written == static_cast<DWORD>(got);
    }
    CloseHandle(file);
    if (!ok) {
        DeleteFileA(path.c_str());
        return false;
    }
    registerTempFile(path.c_str());
    outPath = AString(path.c_str());
    return true;
}

AppDataManager* TheApp::getDataManager() {
    if (!dataManager_)
        ThrowAssert("theapp", __LINE__);
    return dataManager_.get();
}

long TheApp::findBaseField(int16_t base, const char* fieldName) {
    return FindBaseField(base, fieldName);
}

namespace {

// Disc n of the set: the label, followed by n from the second disc on.
AString DiscVolume(const AString& volume, long disc) {
    AString label = volume;
    if (disc > 1)
        label += std::to_string(disc).c_str();
    return label;
}

// Any disc of the set: the label alone or followed by a disc number.
bool AnyDiscOfSet(const AString& root, const AString& volume) {
    if (root.length() < 2 || root[1] != ':')
        return false;
    AString label;
    if (!TheAppSeams().volumeLabel(root[0], label) || label.length() < volume.length() ||
        _strnicmp(label.c_str(), volume.c_str(), size_t(volume.length())) != 0)
        return false;
    for (const char* p = label.c_str() + volume.length(); *p; ++p)
        if (*p < '0' || *p > '9')
            return false;
    return true;
}

}  // namespace

bool TheApp::askForDisc(const AString& volume, bool (*accepts)(const AString& root, const AString& volume)) {
    while (!accepts(dataRoot_, volume)) {
        // A video window may be reading the disc that goes.
        closeVideoMediaWindows();
        if (dataManager_)
            dataManager_->releaseDiscBases();
        if (!TheAppSeams().askForDisc(volume.c_str()))
            return false;
        AppInstall wanted = install_;
        wanted.cdVolume = volume;
        AString root = FindDataRoot(wanted, AStartFolderSpec());
        if (!root.empty()) {
            dataRoot_ = root;
            if (gDataLocation)
                gDataLocation->refreshPaths();
        }
    }
    return true;
}

long TheApp::documentDisc(long docNo) {
    if (docNo < 0 || !dataManager_ || !gBaseDescriptors)
        return -1;
    try {
        ADocRefInfo info = dataManager_->getDocRefInfo(docNo);
        if (info.fCdBase < 0 || info.fCdBase >= dataManager_->getBaseCount())
            return -1;
        return gBaseDescriptors[info.fCdBase].disc;
    } catch (const AError&) {
        // A document the table does not describe is read from the disc that is in.
        return -1;
    }
}

bool TheApp::ensureDocumentDisc(long docNo) {
    if (!install_.cd)
        return true;
    // The document table lies on every disc of the set.
    if (!askForDisc(install_.cdVolume, AnyDiscOfSet))
        return false;
    const long disc = documentDisc(docNo);
    return disc < 1 || askForDisc(DiscVolume(install_.cdVolume, disc), DiscPresent);
}

namespace {

// The text with &, <, > and " as entities: titles and legends come from the bases.
std::string EscapeHtml(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        switch (*p) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += *p;
        }
    }
    return out;
}

// A page template's text; a file past a megabyte is cut there rather than
// filling memory.
bool ReadPageTemplate(const char* path, std::string& text) {
    HANDLE in = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in == INVALID_HANDLE_VALUE)
        return false;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(in, buffer, sizeof buffer, &got, nullptr) && got > 0 && text.size() < (1u << 20))
        text.append(buffer, got);
    CloseHandle(in);
    return true;
}

void ReplaceAll(std::string& text, const char* marker, const std::string& value) {
    size_t length = std::strlen(marker);
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + value.size()))
        text.replace(at, length, value);
}

}  // namespace

AString TheApp::makeMediaPage(const char* key, const AMediaPageValues& v) {
    return writeMediaPage(getTemplateFile(key).path().c_str(), v, EscapeHtml(v.legend.c_str()));
}

AString TheApp::fillMediaTemplate(const char* templateName, const AMediaPageValues& v, const AString& copyright) {
    // The print templates lie beside the media page template, else at the data root.
    AString beside = findTemplateFile("HTMLFLASHMEDIAWIN");
    std::string folder = beside.empty() ? WithSlash(dataRoot_.c_str()) : AFileSpec(beside.c_str()).parent(false).path().c_str();
    AFileSpec file((WithSlash(folder) + templateName).c_str());
    if (!file.exists())
        return AString();
    std::string legend = EscapeHtml(v.legend.c_str());
    if (!copyright.empty())
        legend += "<br><br>" + EscapeHtml(copyright.c_str());
    return writeMediaPage(file.path().c_str(), v, legend);
}

AString TheApp::writeMediaPage(const char* templatePath, const AMediaPageValues& v, const std::string& legendHtml) {
    std::string text;
    if (!ReadPageTemplate(templatePath, text))
        return AString();
    ReplaceAll(text, "<FILENAME_TO_REPLACE>", v.file.c_str());
    ReplaceAll(text, "<STOP_TOREPLACE>", v.stop.c_str());
    ReplaceAll(text, "<ALIGN_TOREPLACE>", v.align.c_str());
    if (v.width > 0)
        ReplaceAll(text, "<SWF_WIDTH_TOREPLACE>", std::to_string(v.width));
    if (v.height > 0)
        ReplaceAll(text, "<SWF_HEIGHT_TOREPLACE>", std::to_string(v.height));
    ReplaceAll(text, "<FRAME_TO_REPLACE>", std::to_string(v.frame));
    ReplaceAll(text, "<BGCOLOR_REPLACE>", v.background.c_str());
    std::string title = EscapeHtml(v.pageTitle.c_str());
    ReplaceAll(text, "<TITLE_TO_REPLACE>", title);
    size_t open = text.find("<title>");
    size_t close = open == std::string::npos ? open : text.find("</title>", open);
    if (close != std::string::npos)
        text.replace(open + 7, close - open - 7, title);
    ReplaceAll(text, "<DOCTITLE_TO_REPLACE>", EscapeHtml(v.title.c_str()));
    ReplaceAll(text, "<LEGEND_TO_REPLACE>", legendHtml);
    return writeTempPage(text);
}

AString TheApp::readTemplate(const char* key) {
    std::string text;
    if (!ReadPageTemplate(getTemplateFile(key).path().c_str(), text))
        return AString();
    return AString(text.c_str());
}

AString TheApp::writeTempPage(const std::string& text) {
    std::string folder = WithSlash(getTempDir().path().c_str());
    static unsigned serial = 0;
    for (int tries = 0; tries < 100; ++tries) {
        char name[40];
        snprintf(name, sizeof name, "svp%lx%x.html", GetTickCount() & 0xFFFFFFul, ++serial);
        std::string path = folder + name;
        HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (out == INVALID_HANDLE_VALUE)
            continue;
        DWORD written = 0;
        bool ok = WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
        CloseHandle(out);
        registerTempFile(path.c_str());
        return ok ? AString(path.c_str()) : AString();
    }
    return AString();
}
