// The reader's data manager: document queries, filter sets, version file.
#include "app/data/AppDataManager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app/state/TextFields.h"
#include "base/object/AFile.h"
#include "base/object/ARefObj.h"
#include "base/procedural/AError.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchBase.h"
#include "search/facade/SearchError.h"

AppDataManager* gAppDataManager = nullptr;

namespace {

const int16_t kGlb = 1, kLinks = 4, kChrono = 9, kHdFiles = 13;
const short kHdgInfo = 1, kChrHdg = 5, kHdgVect = 2, kGlbCopyright = 11, kTitle = 2;

// A record number read from the data must name a record of its table.
void CheckRecord(ASearchBase* base, short table, long record, const char* what) {
    if (record < 0 || record >= base->getRecordCount(table)) {
        char text[120];
        snprintf(text, sizeof text, "%s: record %ld outside its table", what, record);
        RaiseDataError(text, "appdata", __LINE__);
    }
}

}  // namespace

long FindBaseField(int16_t base, const char* fieldName) {
    const BaseDescriptor* table = gBaseDescriptors;
    for (int16_t i = 0; table && table[i].tableList; ++i) {
        if (i != base)
            continue;
        long position = 0;
        for (const std::string& item : SplitFields(table[i].tableList, ',')) {
            size_t colon = item.find(':');
            if (_stricmp(item.substr(colon == std::string::npos ? 0 : colon + 1).c_str(), fieldName) == 0)
                return position;
            ++position;
        }
        return -1;
    }
    return -1;
}

AString PathToFileUrl(const char* path) {
    char longPath[MAX_PATH * 2];
    DWORD n = GetLongPathNameA(path, longPath, sizeof longPath);
    std::string text = (n > 0 && n < sizeof longPath) ? std::string(longPath, n) : std::string(path ? path : "");
    for (char& c : text)
        if (c == '\\')
            c = '/';
    return AString(("File:///" + text).c_str());
}

AppDataManager::AppDataManager(ADataLocation* dataLocation, AppDataHost* host)
    : ADataManager(dataLocation), host_(host) {
    gAppDataManager = this;
    gDocBaseNames = this;
}

AppDataManager::~AppDataManager() {
    try {
        writeVersionFile();
    } catch (...) {
        // The version file is a courtesy to the installer: its failure stops nothing.
    }
    setGlobalHandle1(nullptr);
    setGlobalHandle2(nullptr);
    for (ALoVect*& list : fFilterLists)
        ReleaseAndNull(list);
    if (gDocBaseNames == this)
        gDocBaseNames = nullptr;
    if (gAppDataManager == this)
        gAppDataManager = nullptr;
}

void AppDataManager::setHandle(HGLOBAL& slot, HGLOBAL handle) {
    if (slot && slot != handle)
        GlobalFree(slot);
    slot = handle;
}

void AppDataManager::loadPrefFile() {
    ADataLocation* config = getDataLocation();
    if (!config)
        ThrowAssert("appdata", __LINE__);
    fPrefFileName = config->getString("PREFFILE");
    AFilter filter(config->getFile("MAJ").getSpec());
    fMajFilter = filter;
    ASearchBase* glb = needBase(kGlb, __LINE__);
    ALoVect* lists[7] = {};
    try {
        for (int n = 1; n <= 6; ++n)
            lists[n] =
                CheckAlloc(new (std::nothrow) ALoVect(glb->getText(kHdgVect, n, 1).c_str()), "appdata", __LINE__);
    } catch (...) {
        for (ALoVect*& list : lists)
            ReleaseAndNull(list);
        throw;
    }
    for (int n = 0; n < 7; ++n) {
        ReleaseAndNull(fFilterLists[n]);
        fFilterLists[n] = lists[n];
    }
}

ALoVect* AppDataManager::getFilterList(int16_t number) {
    if (number < 1 || number > 6)
        ThrowAssert("appdata", __LINE__);
    return fFilterLists[number];
}

ASearchBase* AppDataManager::needBase(int16_t index, long line) {
    if (index < 0 || index >= getBaseCount())
        RaiseDataError("document in an unknown base", "appdata", line);
    ASearchBase* base = getBase(index);
    if (!base)
        ThrowAssert("appdata", line);
    return base;
}

ADocRefInfo AppDataManager::getDocRefInfo(long docNo) {
    if (docNo < 0)
        return ADocRefInfo();
    ASearchBase* base = needBase(kHdFiles, __LINE__);
    CheckRecord(base, kHdgInfo, docNo, "HDGINFO");
    AString text = base->getText(kHdgInfo, docNo, 1);
    ADocRefInfo info(docNo, kHdFiles, kHdgInfo);
    info.parse(text.c_str());
    return info;
}

AString AppDataManager::getDocTitle(long docNo) {
    if (docNo < 0)
        return AString();
    ADocRefInfo info = getDocRefInfo(docNo);
    ASearchBase* base = needBase(info.fDocBase, __LINE__);
    CheckRecord(base, kTitle, info.fRecord, "TITLE");
    long reference = base->makeDocRef(kTitle, info.fRecord);
    AString title, prefix;
    if (host_ && host_->docReference(docNo, &prefix)) {
        title = prefix;
        title += ":";
    }
    title += base->getText(kTitle, reference, 0);
    return title;
}

AString AppDataManager::getDocLegend(long docNo) {
    AString legend;
    if (docNo < 0)
        return legend;
    ADocRefInfo info = getDocRefInfo(docNo);
    ASearchBase* base = needBase(info.fDocBase, __LINE__);
    long table = FindBaseField(info.fDocBase, "LEG");
    if (table < 0)
        ThrowAssert("appdata", __LINE__);
    CheckRecord(base, static_cast<short>(table), info.fRecord, "LEG");
    return base->getText(static_cast<short>(table), info.fRecord, 1);
}

long AppDataManager::extentLength(ASearchBase* base, short table, long record) {
    CheckRecord(base, table, record, "extent");
    long start = 0, end = 0;
    base->getExtent(table, record, 1, &start, &end);
    return end - start;
}

AString AppDataManager::getDocCopyright(long docNo) {
    if (docNo < 0)
        return AString();
    ADocRefInfo info = getDocRefInfo(docNo);
    ASearchBase* base = needBase(info.fDocBase, __LINE__);
    long table = FindBaseField(info.fDocBase, "COPYRIGHT");
    if (table < 0)
        ThrowAssert("appdata", __LINE__);
    long n = extentLength(base, static_cast<short>(table), info.fRecord);
    ASearchBase* glb = needBase(kGlb, __LINE__);
    CheckRecord(glb, kGlbCopyright, n, "GLB COPYRIGHT");
    return glb->getText(kGlbCopyright, n, 1);
}

AString AppDataManager::getLinkRecord(long record) {
    ASearchBase* links = needBase(kLinks, __LINE__);
    CheckRecord(links, 0, record, "LINKS");
    return links->getText(0, record, 1);
}

long AppDataManager::getChronoPosition(long docNo, long* outSecond) {
    *outSecond = -1;
    if (docNo < 0)
        return 0;
    long n = extentLength(needBase(kHdFiles, __LINE__), kChrHdg, docNo);
    if (n <= 0)
        return 0;
    ASearchBase* chrono = needBase(kChrono, __LINE__);
    CheckRecord(chrono, 0, n - 1, "CHRONO");
    std::vector<std::string> fields = SplitFields(chrono->getText(0, n - 1, 1).c_str(), '\t');
    *outSecond = std::atol(FieldAt(fields, 3).c_str());
    return std::atol(FieldAt(fields, 2).c_str());
}

int16_t AppDataManager::baseIndex(const char* name) {
    for (int16_t i = 1; gBaseDescriptors && i < getBaseCount(); ++i)
        if (name && _stricmp(gBaseDescriptors[i].name, name) == 0)
            return i;
    return -1;
}

// Table 6 (INFOBASE) of HDFILES exists only in the CD set's table: its first
// TAB field names the disc base of the document.
bool AppDataManager::cdBaseOf(long docNo, int16_t* base) {
    if (docNo < 0 || FindBaseField(kHdFiles, "INFOBASE") != 6)
        return false;
    ASearchBase* hd = needBase(kHdFiles, __LINE__);
    CheckRecord(hd, 6, docNo, "INFOBASE");
    *base = baseIndex(SplitFields(hd->getText(6, docNo, 1).c_str(), '\t')[0].c_str());
    return true;
}

// The version file: one line "SV 1.0" CR LF, written through a sibling. An
// empty "PREFFILE" names no file: nothing is written nor deleted.
void AppDataManager::writeVersionFile() {
    // A name that is not a plain file name would reach outside the folder.
    if (fPrefFileName.empty() || !host_ || std::strpbrk(fPrefFileName.c_str(), "\\/:*?\"<>|") || fPrefFileName == "." ||
        fPrefFileName == "..")
        return;
    AFileSpec folder = host_->versionFileFolder();
    if (folder.empty())
        return;
    std::string path = AFileSpec(folder, fPrefFileName.c_str()).path().c_str();
    std::string temp = path + ".tmp";
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file)
        return;
    bool ok = std::fputs("SV 1.0\r\n", file) >= 0;
    ok = std::fclose(file) == 0 && ok;
    if (!ok || !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        DeleteFileA(temp.c_str());
}
