// The search part of a navigation state: its lists, texts and text form.
#include "app/state/ASVLoSearchState.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "app/state/MarkedLines.h"
#include "base/procedural/AError.h"
#include "base/procedural/KyPath.h"
#include "search/facade/ALoFile.h"
#include "search/facade/ALoVect.h"

ASearchStateTable* gSearchStateTable = nullptr;

namespace {

// The highest key made or read so far: a new state takes a higher one.
long g_lastKey = 0;

AString WordsOf(ALo* list) {
    AString words;
    if (!list)
        return words;
    AStrDic& dic = list->getStrings();
    for (Pix p = dic.first(); p; dic.next(p)) {
        const AString& word = dic.key(p);
        if (word.empty())
            continue;
        if (!words.empty())
            words += "\n";
        words += word;
    }
    return words;
}

AFileSpec NewTempFile(const char* prefix, const AFileSpec& folder) {
    KY_FileSpec made{nullptr};
    int code = KY_MakeTempName(prefix, &folder.spec(), &made);
    if (code != 0)
        ThrowTyped(AFileSpecError("appstate", 40, code));
    AFileSpec spec(made);
    KY_FreeFileSpec(&made);
    return spec;
}

// A file name of the temporary folder itself: no folder part, drive or
// parent step.
bool IsPlainName(const char* name) {
    return name && *name && !std::strpbrk(name, "\\/") && KY_NameStaysInside(name);
}

}  // namespace

ASVLoSearchState::ASVLoSearchState() : searchKey(g_lastKey + 1) {
    while (gSearchStateTable && gSearchStateTable->findSearchState(searchKey))
        ++searchKey;
    registerKey();
}

ASVLoSearchState::ASVLoSearchState(long key) : searchKey(key) {
    registerKey();
}

void ASVLoSearchState::registerKey() {
    g_lastKey = std::max(g_lastKey, searchKey);
    if (gSearchStateTable)
        gSearchStateTable->registerSearchState(searchKey, this);
}

ASVLoSearchState::~ASVLoSearchState() {
    ReleaseAndNull(fLoFull);
    ReleaseAndNull(fLoIdxSV);
    if (!netFolder.empty()) {
        netFiles.forEach([&](long, const char* name) {
            try {
                AFileSpec file(netFolder, name);
                if (file.exists())
                    file.removeTree(false);
            } catch (const AError&) {
                // Listed for deletion at the next start anyway.
            }
        });
    }
    // A state of the same key made later may hold the table's entry.
    if (gSearchStateTable && gSearchStateTable->findSearchState(searchKey) == this)
        gSearchStateTable->unregisterSearchState(searchKey);
}

void ASVLoSearchState::setTextResults(ALoScore* list) {
    AssignRef(fLoFull, list);
    if (list)
        fNetSearch = 0;
}

void ASVLoSearchState::setIndexResults(ALoFile* list) {
    AssignRef(fLoIdxSV, list);
    if (list)
        fNetSearch = 0;
}

void ASVLoSearchState::setDisplayQuery(const char* text) {
    std::string kept;
    size_t n = text ? std::char_traits<char>::length(text) : 0;
    for (size_t i = 0; i < n;) {
        if (i + 7 <= n && text[i] == '/' && text[i + 1] == '@' && text[i + 6] == '/') {
            i += 7;
            // The character after a code is copied untested: a second code
            // right after the first stays.
            if (i < n)
                kept += text[i++];
            continue;
        }
        kept += text[i++];
    }
    fIndexQuery = AString(kept.c_str(), static_cast<long>(kept.size()));
}

AString ASVLoSearchState::getHighlightWords() const {
    AString full = WordsOf(fLoFull);
    AString index = WordsOf(fLoIdxSV);
    if (full.empty())
        return index;
    if (!index.empty()) {
        full += "\n";
        full += index;
    }
    return full;
}

AString ASVLoSearchState::getListName() const {
    if (fLoFull)
        return fLoFull->getName();
    if (fLoIdxSV)
        return fLoIdxSV->getName();
    return AString();
}

void ASVLoSearchState::setNetFile(long entry, const char* name, const AFileSpec& folder) {
    netFiles.add(name, entry);
    netFolder = folder;
    if (!folder.empty() && name && *name)
        ALo::registerTempFile(AFileSpec(folder, name));
}

AFileSpec ASVLoSearchState::saveList(ALo* list, const char* prefix, const AFileSpec& folder, int16_t keep) {
    AFileSpec file = NewTempFile(prefix, folder);
    AString written;
    list->saveTo(written, file, keep);
    return file;
}

void ASVLoSearchState::writeTo(AFileStream& stream, const AFileSpec& folder, int16_t keep) {
    WriteMarkedString(stream, "<!--ASVLoSearchState-->", "");
    write(stream);
    WriteMarkedString(stream, "<!--fQuery-->", fQuery.c_str());
    WriteMarkedString(stream, "<!--fIndexQuery-->", fIndexQuery.c_str());
    WriteMarkedString(stream, "<!--fNetSearch-->", "");
    netFiles.write(stream);
    WriteMarkedInt(stream, "<!--fLoFull-->", fLoFull ? 1 : 0);
    if (fLoFull) {
        if (!listsSaved)
            fLoFullPath = saveList(fLoFull, "ft", folder, keep);
        WriteMarkedString(stream, "<!--fLoFullPath-->", fLoFullPath.path().c_str());
    }
    WriteMarkedInt(stream, "<!--fLoIdxSV-->", fLoIdxSV ? 1 : 0);
    if (fLoIdxSV) {
        if (!listsSaved)
            fLoIdxSVPath = saveList(fLoIdxSV, "sv", folder, keep);
        WriteMarkedString(stream, "<!--fLoIdxSVPath-->", fLoIdxSVPath.path().c_str());
    }
    listsSaved = 1;
}

AFileSpec ASVLoSearchState::readPath(AFileStream& stream, const char* marker, bool copy, const char* prefix,
                                     const AFileSpec& folder, AFileSpec* stored) {
    AString path = ReadMarkedString(stream, marker);
    if (path.empty())
        ThrowStateFormat("empty list path", 170);
    AFileSpec file(path.c_str());
    *stored = file;
    if (copy && !folder.empty()) {
        // The copy is the list's working file only: the next start deletes it,
        // and the history goes on naming the file it was read from.
        AFileSpec copied = NewTempFile(prefix, folder);
        int code = file.copyTo(copied);
        if (code != 0)
            ThrowTyped(AFileSpecError("appstate", 177, code));
        ALo::registerTempFile(copied);
        return copied;
    }
    return file;
}

void ASVLoSearchState::readFrom(AFileStream& stream, int16_t copy, const AFileSpec& folder) {
    ReadMarkedString(stream, "<!--ASVLoSearchState-->");
    read(stream);
    AString query = ReadMarkedString(stream, "<!--fQuery-->");
    AString indexQuery = ReadMarkedString(stream, "<!--fIndexQuery-->");
    ReadMarkedString(stream, "<!--fNetSearch-->");  // the flag is not kept
    // The destructor deletes these files: a name that could leave the
    // temporary folder is dropped, and the state goes on without it.
    AStringContainer names;
    names.read(stream);
    names.forEach([&](long entry, const char* name) {
        if (IsPlainName(name))
            netFiles.add(name, entry);
    });
    fQuery = query;
    fIndexQuery = indexQuery;
    if (!folder.empty())
        netFolder = folder;
    // The lists are attached once both are read: bad text leaves none half-read.
    ALoScore* full = nullptr;
    ALoFile* index = nullptr;
    AFileSpec fullPath, indexPath;
    if (ReadMarkedInt(stream, "<!--fLoFull-->") != 0) {
        AFileSpec working = readPath(stream, "<!--fLoFullPath-->", copy != 0, "ft", folder, &fullPath);
        full = CheckAlloc(new (std::nothrow) ALoScore(working), "appstate", 195);
    }
    ARefHold<ALoScore> holdFull(full);
    if (ReadMarkedInt(stream, "<!--fLoIdxSV-->") != 0) {
        AFileSpec working = readPath(stream, "<!--fLoIdxSVPath-->", copy != 0 || !listsSaved, "sv", folder, &indexPath);
        index = CheckAlloc(new (std::nothrow) ALoFile(working), "appstate", 201);
    }
    ARefHold<ALoFile> holdIndex(index);
    if (full) {
        fLoFullPath = fullPath;
        setTextResults(full);
    }
    if (index) {
        fLoIdxSVPath = indexPath;
        setIndexResults(index);
    }
    if (!copy)
        listsSaved = 1;
}
