// The walk that checks every catalogue, record, index and picture of a
// built sample folder, and every name the reader asks for.
#include "tools/samplebase/SampleBase.h"

#include <windows.h>

#include <cstring>
#include <exception>

#include "app/data/AppBaseTables.h"
#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyCodec.h"
#include "base/procedural/KyFile.h"
#include "search/engine/trees/KyAbp.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/descriptor/KyParse.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/CatWriter.h"
#include "search/writers/FileImage.h"
#include "tools/samplebase/SampleChrono.h"
#include "tools/samplebase/SampleReaderKeys.h"

namespace {

std::string PathOf(const KY_OpenSpec& spec) {
    return spec.path.text ? spec.path.text : "";
}

// The delta width of PHONEM's index: that of its HDG table's record count.
int PhonemIndexWidth(const KyMountedBase* base) {
    const KyMountedData* d = static_cast<const KyMountedData*>(KY_FindAssoc(base->data, "HDG")->value);
    std::vector<int32_t> starts, lengths;
    if (!CatCheck(PathOf(d->catalogue), &starts, &lengths).empty())
        return 32;
    return abpWidthOf(static_cast<uint32_t>(lengths.size()));
}

void CheckTable(const KyMountedBase* base, const char* name, SampleCheckReport* report) {
    auto fail = [&](const std::string& what) {
        report->errors.push_back(std::string(base->name) + ":" + name + ": " + what);
    };
    const KyMountedData* d = static_cast<const KyMountedData*>(KY_FindAssoc(base->data, name)->value);
    std::vector<int32_t> starts, lengths, stored;
    std::string why = CatCheck(PathOf(d->catalogue), &starts, &lengths);
    if (!why.empty())
        return fail(PathOf(d->catalogue) + ": " + why);
    std::string bytes;
    if (!LoadFile(PathOf(d->data), &bytes))
        return fail("cannot read " + PathOf(d->data));
    const std::vector<int32_t>* located = &lengths;
    if (d->compression) {
        if (!(why = CatCheck(PathOf(d->companion), nullptr, &stored)).empty())
            return fail(PathOf(d->companion) + ": " + why);
        if (stored.size() != lengths.size())
            return fail("the two catalogues count different records");
        located = &stored;
    }
    int64_t total = 0;
    for (int32_t length : *located)
        total += length;
    if (total != static_cast<int64_t>(bytes.size()))
        return fail("catalogued lengths " + std::to_string(total) + " against a data file of " +
                    std::to_string(bytes.size()) + " bytes");
    KyTable* table = nullptr;
    if (KyOpenTable(base, name, &table))
        return fail(std::string("cannot open: ") + KY_EngineErrorText);
    std::vector<uint8_t> buffer;
    for (size_t n = 0; n < lengths.size(); ++n) {
        int32_t start = 0, length = 0, got = 0;
        int code = KyRecordExtent(table, static_cast<int32_t>(n), &start, &length);
        if (!code) {
            buffer.resize(static_cast<size_t>(length) + 1);
            code = KyReadRecord(table, static_cast<int32_t>(n), buffer.data(), length, &got);
        }
        if (code || got != length) {
            fail("record " + std::to_string(n) + ": code " + std::to_string(code) + " " + KY_EngineErrorText);
            break;
        }
        ++report->records;
    }
    KyCloseTable(&table);
}

void CheckTree(const std::string& path, int width, SampleCheckReport* report) {
    AbpCheckStats stats;
    std::string why = AbpCheckTree(path, width, &stats);
    if (!why.empty())
        report->errors.push_back(path + ": " + why);
    report->keys += stats.keys;
    report->occurrences += stats.occurrences;
}

// Every "BASE:TABLE" of the application's two base tables is mounted.
void CheckAppTables(const KyMount* mount, SampleCheckReport* report) {
    for (const BaseDescriptor* table : {SingleDiscBaseTable(), CDSetBaseTable()}) {
        for (const BaseDescriptor* entry = table; entry->tableList; ++entry) {
            std::string list = std::string(entry->tableList) + ",";
            for (size_t at = 0, comma; (comma = list.find(',', at)) != std::string::npos; at = comma + 1) {
                std::string item = list.substr(at, comma - at);
                std::string base = item.substr(0, item.find(':')), name = item.substr(item.find(':') + 1);
                KY_AssocEntry* found = KY_FindAssoc(mount->bases, base.c_str());
                const KyMountedBase* mounted = found ? static_cast<const KyMountedBase*>(found->value) : nullptr;
                if (!mounted || !mounted->data || !KY_FindAssoc(mounted->data, name.c_str()))
                    report->errors.push_back("the application's table " + item + " is not in the descriptor");
            }
        }
    }
}

// "KY" pictures: the 14-byte file header, the 40-byte info header, then a PNG
// stream that must expand to exactly the rows the header announces.
void CheckPicture(const std::string& path, SampleCheckReport* report) {
    std::string bytes;
    auto fail = [&](const std::string& what) { report->errors.push_back(path + ": " + what); };
    if (!LoadFile(path, &bytes) || bytes.size() < 14)
        return fail("unreadable or shorter than a file header");
    ++report->images;
    if (bytes.compare(6, 4, "JFIF") == 0)
        return;
    if (bytes.compare(0, 2, "KY") != 0 || bytes.size() < 54)
        return fail("neither a JFIF picture nor a \"KY\" bitmap");
    int32_t width = static_cast<int32_t>(GetWord(bytes, 18)), height = static_cast<int32_t>(GetWord(bytes, 22));
    if (GetWord(bytes, 14) != 40 || width <= 0 || height <= 0 || (GetWord(bytes, 28) & 0xFFFF) != 24)
        return fail("not a 24-bit bitmap header");
    const int32_t expected = ((width * 3 + 3) & ~3) * height;
    std::vector<uint8_t> rows(static_cast<size_t>(expected) + 4);
    KY_Codec codec{};
    KY_CodecSetMode(&codec, 5);
    int32_t got = static_cast<int32_t>(rows.size());
    int code = 0;
    try {
        code = KY_CodecExpandMemStart(&codec, reinterpret_cast<const uint8_t*>(bytes.data()) + 54,
                                      static_cast<int32_t>(bytes.size() - 54), rows.data(), &got, 0, 0);
    } catch (const std::exception&) {
        code = -1;
    } catch (...) {
        code = -1;
    }
    KY_CodecAbandon(&codec);
    if (code != kCodecDone || got != expected)
        fail("rows expand to " + std::to_string(got) + " bytes, not " + std::to_string(expected));
}

}  // namespace

SampleCheckReport CheckSample(const std::string& out, const std::string& keys) {
    SampleCheckReport report;
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    // The data path is relative to the folder the reader runs in.
    if (!SetCurrentDirectoryA(out.c_str())) {
        report.errors.push_back(out + ": no such folder");
        return report;
    }
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), (out + "\\sv.sgm").c_str(), nullptr, 0, 0, 0, 0, &spec);
    KyDescriptor* desc = nullptr;
    KyMount* mount = nullptr;
    if (KY_ParseDescriptor(&spec, &desc)) {
        report.errors.push_back(out + "\\sv.sgm: " + KY_EngineErrorText);
    } else if (!(mount = KY_NewMount(nullptr, nullptr)) || CpCommon(desc, mount)) {
        report.errors.push_back(out + "\\sv.sgm: mounting: " + KY_EngineErrorText);
    } else {
        for (int32_t b = 0; b < mount->bases->count; ++b) {
            const KyMountedBase* base = static_cast<const KyMountedBase*>(mount->bases->entries[b].value);
            for (int32_t d = 0; d < base->dataCount; ++d)
                CheckTable(base, base->dataNames[d], &report);
            if (!std::strcmp(base->name, "CHRONO"))
                CheckChronology(base, &report);
            // The phonetic index has no positions: its deltas are as wide as its record count needs.
            const int width = std::strcmp(base->name, "PHONEM") ? 32 : PhonemIndexWidth(base);
            for (int32_t i = 0; base->indexes && i < base->indexes->count; ++i) {
                const KyMountedIndex* index = static_cast<const KyMountedIndex*>(base->indexes->entries[i].value);
                CheckTree(PathOf(index->files[0]), width, &report);
            }
        }
        CheckAppTables(mount, &report);
        if (!keys.empty())
            CheckReaderKeys(mount, keys, &report);
        for (int32_t t = 0; mount->thes && t < mount->thes->count; ++t) {
            const KyMountedThes* thes = static_cast<const KyMountedThes*>(mount->thes->entries[t].value);
            std::string tree = PathOf(thes->file);
            CheckTree(tree, 32, &report);
            std::string dct;
            if (!LoadFile(tree.substr(0, tree.size() - 3) + "dct", &dct))
                report.errors.push_back(tree + ": no \".dct\" beside it");
        }
    }
    if (mount)
        KY_FreeMount(mount);
    else if (desc)
        KY_FreeDescriptor(desc);
    KY_FreeOpenSpec(&spec);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((out + "\\images\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            // Names beginning with a dot are the build's stamps, not pictures.
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
                CheckPicture(out + "\\images\\" + found.cFileName, &report);
        } while (FindNextFileA(h, &found));
        FindClose(h);
    }
    SetCurrentDirectoryA(previous);
    return report;
}
