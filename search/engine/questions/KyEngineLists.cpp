// The engine's stored lists: saved with their highlight words, kept in memory
// or in files of their own, opened and deleted; and the range lists of dates.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/procedural/EngineTables.h"
#include "search/engine/common/KyFileSet.h"
#include "search/engine/lists/LoInternal.h"
#include "search/engine/questions/KyQuestInternal.h"

namespace {

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

std::string QsvPath(const std::string& name) {
    size_t slash = name.find_last_of("\\/:");
    size_t dot = name.rfind('.');
    std::string base =
        dot != std::string::npos && (slash == std::string::npos || dot > slash) ? name.substr(0, dot) : name;
    return base + ".qsv";
}

// Lists of a working folder named by the engine, never by the system: no
// file name of the temporary folder starts "KYM" ("KY" and hexadecimal digits).
std::string MemoryListName() {
    static uint32_t serial = 0;
    char digits[8];
    int n = 0;
    for (uint32_t v = ++serial; v || n == 0; v >>= 4)
        digits[n++] = "0123456789ABCDEF"[v & 15];
    std::string name("KYM");
    while (n > 0)
        name += digits[--n];
    return name + ".tmp";
}

int SaveList(LoHandle* list, const char* name, bool memory) {
    KY_EngineState& e = KyEngine();
    // A list kept in the swap file would die with it when its engine part is
    // suspended: stored lists are files of their own, or their bytes in memory.
    // The list file and its words are replaced together: a list never reads
    // with the words of the one it replaced.
    std::string words;
    if (e.hiliteOn)
        for (const KY_EnteredWord& w : e.entered) {
            words += static_cast<char>(w.kind);
            words += w.word;
            words += '\n';
        }
    KyFileSet set;
    // A list kept in memory keeps its words beside its bytes (they move
    // there); a list file has them in a file of the set.
    int code = memory ? LoSaveImage(name, *list, std::move(words)) : LoSaveInSet(name, *list, &set);
    LoFree(list);
    if (code)
        return code;
    if (e.hiliteOn) {
        e.entered.clear();
        if (!memory && !set.write(QsvPath(name), words).empty())
            return Fail(105, QsvPath(name));
    }
    return memory || set.commit().empty() ? 0 : Fail(105, name);
}

}  // namespace

void KY_EngineSetListFolder(const std::string& folder) {
    KyEngine().listFolder = folder;
}

// Question texts name lists without their folder: a folder may hold parentheses.
std::string KY_EngineListPath(const char* name) {
    const std::string& folder = KyEngine().listFolder;
    if (folder.empty() || std::strcmp(name, "@") == 0 || std::strpbrk(name, "\\/:"))
        return name;
    return KY_ListPath(folder, name);
}

int KY_EngineSaveList(LoHandle* list, const char* name) {
    return SaveList(list, name, false);
}

int KY_EngineSaveWorkList(LoHandle* list, const std::string& folder, std::string* name) {
    const LoDesc* d = LoDescOf(*list);
    bool memory = d && d->count <= kMemoryListElements;
    *name = memory ? MemoryListName() : KY_MakeListName(folder.c_str());
    if (name->empty()) {
        LoFree(list);
        return Fail(kQuestErrMemory, "KY_MakeListName");
    }
    return SaveList(list, KY_ListPath(folder, *name).c_str(), memory);
}

// A stored list's highlight words, "<list name less extension>.qsv", one record a word:
//   kind(1: 4 direct, 6 through the thesaurus) word bytes "\n"
// Characters of a word beyond 999 are dropped on reading.
int KY_EngineOpenStoredList(const char* name, LoHandle* list, bool words) {
    *list = -1;
    if (std::strcmp(name, "@") == 0)
        return 0;
    int code = LoOpen(name, list);
    if (code || !words || !KyEngine().hiliteOn)
        return code;
    KY_EngineEnterListWords(name);
    return 0;
}

void KY_EngineEnterListWords(const char* name) {
    KY_EngineState& e = KyEngine();
    // A list kept in memory is read with its words where they are.
    std::string read;
    const std::string* kept = LoImageNote(name);
    if (!kept) {
        FILE* f = std::fopen(QsvPath(name).c_str(), "rb");
        if (!f)
            return;
        char chunk[4096];
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;)
            read.append(chunk, n);
        std::fclose(f);
    }
    const std::string& words = kept ? *kept : read;
    int owner = e.used > 0 ? e.used - 1 : 0;
    for (size_t at = 0; at < words.size();) {
        uint8_t kind = static_cast<uint8_t>(words[at++]);
        size_t end = std::min(words.find('\n', at), words.size());
        KyEnterWord(words.substr(at, std::min<size_t>(end - at, 999)), kind, owner, 0);
        at = end + 1;
    }
}

int KY_EngineDeleteList(const char* name) {
    auto& saved = LoPkg().saved;
    saved.erase(std::remove_if(saved.begin(), saved.end(),
                               [&](const LoSavedEntry& s) { return strcasecmp(s.name.c_str(), name) == 0; }),
                saved.end());
    if (LoForget(name))
        return 0;
    for (const std::string& path : {std::string(name), QsvPath(name)}) {
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            continue;
        std::fclose(f);
        if (std::remove(path.c_str()) != 0)
            return Fail(kQuestErrDelete, path);
    }
    return 0;
}

int MakeHlo(int field, const char* low, const char* high, LoHandle* result) {
    *result = -1;
    const std::vector<KY_IndexItem>* list = KyFieldList(static_cast<uint32_t>(field));
    if (!list)
        return Fail(105, "MakeHlo");
    std::string lo = low, hi = high;
    for (const KY_IndexItem& item : *list) {
        if (item.skip)
            continue;
        KY_IndexRecord* index = KyIndexAt(item.index);
        if (!index || !index->open)
            return Fail(105, "MakeHlo");
        AbpEntry e;
        std::memset(&e, 0, sizeof e);
        std::memcpy(e.key, lo.data(), std::min<size_t>(lo.size(), kAbpMaxKey));
        int code = abpSearchKey(&e, &index->tree, 0);
        int32_t first = -1, lastDoc = -1;
        while (!code && hi.compare(e.key) >= 0) {
            if (first < 0)
                first = e.values[0];
            lastDoc = e.values[0] + e.values[1] - 1;
            code = abpNextKey(&index->tree, &e, 0);
        }
        if (code && code != kAbpEndOfKeys && code != kAbpErrNotFound) {
            LoFree(result);
            return code;
        }
        if (first < 0 || lastDoc < first)
            continue;
        LoHandle h = -1;
        if ((code = LoCreate(kLoReadable | kLoWritable, nullptr, 0, 0, 0, &h, 1)) != 0) {
            LoFree(result);
            return code;
        }
        for (int32_t d = first; !code && d <= lastDoc; ++d)
            code = LoWrite(h, d, 0);
        if (!code)
            code = LoWrite(h, -1, 0);
        LoClose(h);
        if (code || (code = LoOr(*result, h, result)) != 0) {
            LoFree(&h);
            LoFree(result);
            return code;
        }
    }
    return 0;
}
