// The table accessor: opening tables, locating records and reading their bytes.
#include "search/engine/records/KyAccessor.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "base/procedural/Assoc.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyFilter.h"
#include "base/procedural/KyPath.h"
#include "base/procedural/KyString.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/records/KyTabCor.h"

namespace {

const int32_t kOpenEnd = 500000;  // an end of -1 stands for this

std::vector<KyTable*>& OpenTables() {
    static std::vector<KyTable*> tables;
    return tables;
}

int Fail(int code, const char* text) {
    KY_SetEngineErrorText(text);
    return code;
}

void ClosePart(KyPart* p) {
    if (p->data)
        KY_FClose(p->data);
    if (p->cat.file)
        catClose(&p->cat);
    if (p->ucat.file)
        catClose(&p->ucat);
    if (p->cor)
        KY_FClose(p->cor);
    KY_CodecAbandon(&p->codec);
    std::memset(p, 0, sizeof *p);
}

// The correspondence table beside the record catalogue, "cor" for its extension.
KY_File* OpenCor(const KY_OpenSpec& catalogue) {
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    KY_File* f = nullptr;
    if (KY_CopyOpenSpec(&catalogue, &spec) == 0 && KY_SetPathExtension("cor", &spec.path, false) == 0 &&
        KY_FileExists(&spec.path))
        f = KY_FOpen(&spec, "rb");
    KY_FreeOpenSpec(&spec);
    return f;
}

// A part read through its correspondence table is a cache that records fetched
// from the server fill: its missing data file and catalogues are made empty.
int MakeCache(const KyMountedData* def) {
    if (!KY_FileExists(&def->data.path)) {
        KY_File* made = KY_FOpen(&def->data, "wb");
        if (!made || KY_FClose(made) != 0)
            return Fail(kFileErrOpen, def->data.path.text ? def->data.path.text : "");
    }
    for (const KY_OpenSpec* spec : {&def->catalogue, def->compression ? &def->companion : nullptr}) {
        if (!spec || KY_FileExists(&spec->path))
            continue;
        KyCat cat;
        std::memset(&cat, 0, sizeof cat);
        int code = catCreate(&cat, spec, 20, 20, 30, 0);
        int closed = cat.file ? catClose(&cat) : 0;
        if (code || closed)
            return code ? code : closed;
    }
    return 0;
}

int OpenPart(KyPart* p, const KyMountedData* def) {
    p->def = def;
    if (!def->present || def->nodb)
        return 0;
    int code = def->tabcor ? MakeCache(def) : 0;
    if (!code)
        code = catOpen(&p->cat, &def->catalogue, "rb");
    if (!code && def->compression)
        code = catOpen(&p->ucat, &def->companion, "rb");
    if (code)
        return code;
    if (!KY_FileExists(&def->data.path) || !(p->data = KY_FOpen(&def->data, "rb")))
        return Fail(kFileErrOpen, def->data.path.text ? def->data.path.text : "");
    p->type = def->tabcor ? 1 : 2;
    if (def->tabcor)
        p->cor = OpenCor(def->catalogue);
    return 0;
}

void CloseIndexData(KyIndexHandle* index) {
    if (index->data)
        KY_FClose(index->data);
    index->data = nullptr;
    if (index->cat.file)
        catClose(&index->cat);
}

}  // namespace

int KyOpenTable(const KyMountedBase* base, const char* name, KyTable** table) {
    *table = nullptr;
    if (!base)
        return Fail(kKyAccErrNullBase, "KyOpenTable");
    KY_AssocEntry* entry = name ? KY_FindAssoc(base->data, name) : nullptr;
    if (!entry)
        return Fail(kKyAccErrUnknownTable, name ? name : "");
    for (KyTable* t : OpenTables())
        if (t->base == base && std::strcmp(t->name, name) == 0) {
            ++t->refs;
            *table = t;
            return 0;
        }
    const KyMountedData* defs = static_cast<const KyMountedData*>(entry->value);
    KyTable* t = static_cast<KyTable*>(KY_Calloc(1, sizeof(KyTable)));
    KyPart* parts = static_cast<KyPart*>(KY_Calloc(base->supports ? base->supports : 1, sizeof(KyPart)));
    if (!t || !parts) {
        KY_Free(t);
        KY_Free(parts);
        return Fail(110, "KyOpenTable");
    }
    t->base = base;
    std::snprintf(t->name, sizeof t->name, "%s", name);
    t->parts = parts;
    t->partCount = base->supports;
    t->refs = 1;
    int32_t previousEnd = 0;
    for (int i = 0; i < t->partCount; ++i) {
        KyPart* p = &parts[i];
        int code = OpenPart(p, &defs[i]);
        if (code) {
            for (int k = 0; k <= i; ++k)
                ClosePart(&parts[k]);
            KY_Free(parts);
            KY_Free(t);
            return code;
        }
        const KyMountedSupport& s = base->supportArray[i];
        // Bounds not written in the descriptor stay -1 (its support array starts
        // as 0xFF bytes): such a part follows the previous one.
        bool unset = s.first == -1 && s.end == -1;
        p->first = unset ? previousEnd : s.first;
        p->end = unset ? p->first + (p->cat.file ? p->cat.count : 0) : (s.end == -1 ? kOpenEnd : s.end);
        previousEnd = p->end;
    }
    OpenTables().push_back(t);
    *table = t;
    return 0;
}

int KyCloseTable(KyTable** table) {
    KyTable* t = *table;
    if (!t)
        return Fail(kKyAccErrNullTable, "KyCloseTable");
    *table = nullptr;
    if (--t->refs > 0)
        return 0;
    for (int i = 0; i < t->partCount; ++i)
        ClosePart(&t->parts[i]);
    std::vector<KyTable*>& open = OpenTables();
    for (size_t i = 0; i < open.size(); ++i)
        if (open[i] == t)
            open.erase(open.begin() + static_cast<long>(i));
    KY_Free(t->parts);
    KY_Free(t);
    return 0;
}

int KyLocateRange(const KyTable* table, int32_t record, int32_t* local, int* part) {
    if (!table)
        return Fail(kKyAccErrNullTable, "KyLocateRange");
    if (table->partCount < 1)
        return Fail(kKyAccErrNoParts, table->name);
    uint32_t top = static_cast<uint32_t>(record) >> 24;
    if (top) {
        if (static_cast<int>(top) > table->partCount)
            return Fail(kKyAccErrNotStored, table->name);
        *part = static_cast<int>(top) - 1;
        *local = record & 0xFFFFFF;
        return 0;
    }
    int stored = 0;
    for (int i = 0; i < table->partCount; ++i)
        stored += table->parts[i].type != 0;
    if (!stored)
        return Fail(kKyAccErrNoStoredPart, table->name);
    int32_t previousEnd = 0;
    for (int i = 0; i < table->partCount; ++i) {
        const KyPart& p = table->parts[i];
        if (p.first <= record && record < p.end) {
            *part = i;
            *local = record - previousEnd;
            return 0;
        }
        previousEnd = p.end;
    }
    *part = table->partCount - 1;
    *local = record;
    return 0;
}

namespace {

// The catalogue entry of a record, through the correspondence table when the part has one.
int Entry(KyTable* table, int32_t record, KyPart** part, int32_t* entry) {
    int index = 0;
    int code = KyLocateRange(table, record, entry, &index);
    if (code)
        return code;
    KyPart* p = &table->parts[index];
    *part = p;
    if (!p->type)
        return Fail(kKyAccErrNotStored, table->name);
    if (p->type == 1) {
        int32_t local = *entry;
        if (!p->cor)
            *entry = -1;
        else if ((code = KyTabCorRead(p->cor, local, entry)) != 0)
            return code;
        if (*entry < 0)
            return Fail(kKyAccErrTabCor, "tabcor");
    }
    return 0;
}

// The part of a record and the file offset and size of its stored bytes, the
// header of a compressed record skipped; the data file is positioned there.
int StoredBytes(KyTable* table, int32_t record, KyPart** part, int32_t* size) {
    int32_t entry = 0;
    int code = Entry(table, record, part, &entry);
    KyPart* p = *part;
    int32_t pair[2];
    if (!code)
        code = catLookup(p->def->compression ? &p->ucat : &p->cat, entry, pair);
    if (code)
        return code;
    int32_t skip = p->def->compression ? p->def->adjust : 0;
    long at = static_cast<long>(pair[0]) + skip;
    if (skip < 0 || skip > pair[1] || KY_FSeek(p->data, at, 0) != at)
        return Fail(kKyAccErrTabCor, "READ");
    *size = pair[1] - skip;
    return 0;
}

// The value of key in a mounted section's table: a mount without the section
// (named in the error) and a key without a value (error code unknown) fail.
int SectionValue(const KY_Assoc* table, const char* section, const char* key, int unknown, void** value) {
    if (!table)
        return Fail(kKyAccErrNoSection, section);
    KY_AssocEntry* e = key ? KY_FindAssoc(table, key) : nullptr;
    if (!e || !e->value)
        return Fail(unknown, key ? key : "");
    *value = e->value;
    return 0;
}

// The start and length of entry n of cat; on an error they stay as they were.
int CatExtent(KyCat* cat, int32_t n, int32_t* start, int32_t* length) {
    int32_t pair[2];
    int code = catLookup(cat, n, pair);
    if (code)
        return code;
    *start = pair[0];
    *length = pair[1];
    return 0;
}

// One expansion by the part's codec in the part's compression mode; the codec
// holds nothing from before or after it.
template <class Expansion>
int Expand(KyPart* p, Expansion expansion) {
    KY_CodecAbandon(&p->codec);
    KY_CodecSetMode(&p->codec, static_cast<int>(p->def->compression));
    int code = expansion(&p->codec);
    KY_CodecAbandon(&p->codec);
    return code;
}

}  // namespace

int KyRecordExtent(KyTable* table, int32_t record, int32_t* start, int32_t* length) {
    KyPart* p = nullptr;
    int32_t entry = 0;
    int code = Entry(table, record, &p, &entry);
    if (!code)
        code = CatExtent(&p->cat, entry, start, length);
    if (code)
        return code;
    *length = *length > p->def->adjust ? *length - p->def->adjust : 0;
    return 0;
}

int KyReadRecord(KyTable* table, int32_t record, uint8_t* buffer, int32_t size, int32_t* got) {
    *got = 0;
    KyPart* p = nullptr;
    int32_t stored = 0;
    int code = StoredBytes(table, record, &p, &stored);
    if (code)
        return code;
    if (!p->def->compression) {
        int32_t n = stored < size ? stored : size;
        if (KY_FRead(p->data, buffer, n) != n)
            return Fail(kKyAccErrTabCor, "READ");
        *got = n;
        return 0;
    }
    int32_t placed = size;
    code = Expand(p, [&](KY_Codec* codec) {
        return KY_CodecExpandToMemStart(codec, p->data, nullptr, stored, buffer, &placed, size, 0);
    });
    if (code != kCodecDone && code != kCodecMore)
        return Fail(code, "expansion");
    *got = placed;
    return 0;
}

int KyReadRecordToStream(KyTable* table, int32_t record, KY_File* stream, int32_t* written) {
    *written = 0;
    KyPart* p = nullptr;
    int32_t stored = 0;
    int code = StoredBytes(table, record, &p, &stored);
    if (code)
        return code;
    if (!p->def->compression) {
        uint8_t buffer[4096];
        for (int32_t left = stored; left > 0;) {
            long n = left < static_cast<int32_t>(sizeof buffer) ? left : static_cast<long>(sizeof buffer);
            if (KY_FRead(p->data, buffer, n) != n || KY_FWrite(stream, buffer, n) != n)
                return Fail(kKyAccErrTabCor, "READ");
            left -= static_cast<int32_t>(n);
            *written += static_cast<int32_t>(n);
        }
        return 0;
    }
    code = Expand(p, [&](KY_Codec* codec) {
        return KY_CodecExpand(codec, p->data, nullptr, stored, stream, nullptr, written, 0x7FFFFFFF, 0);
    });
    return code == kCodecDone || code == 0 ? 0 : Fail(code, "expansion");
}

int KyRecordPresent(KyTable* table, int32_t record, int32_t* type, int* present) {
    *present = 0;
    int index = 0;
    int32_t local = 0;
    int code = KyLocateRange(table, record, &local, &index);
    if (code)
        return code;
    KyPart* p = &table->parts[index];
    *type = p->type;
    if (p->type == 1) {
        int32_t entry = -1;
        if (p->cor && (code = KyTabCorRead(p->cor, local, &entry)) != 0)
            return code;
        *present = entry >= 0;
    } else if (p->type == 2) {
        *present = local >= 0 && local < p->cat.count;
    }
    return 0;
}

int KyOpenIndex(KyIndexHandle* index) {
    if (!index || !index->spec)
        return Fail(1311, "KyOpenIndex");
    if (index->refs > 0) {
        ++index->refs;
        return 0;
    }
    int code = abpOpen(index->spec, &index->tree, index->wantOccurrences, index->wantPositions);
    if (code)
        return Fail(code, index->spec->path.text ? index->spec->path.text : "");
    if (index->dataSpec && index->catSpec) {
        code = catOpen(&index->cat, index->catSpec, "rb");
        if (!code && !(index->data = KY_FOpen(index->dataSpec, "rb")))
            code = Fail(kFileErrOpen, index->dataSpec->path.text ? index->dataSpec->path.text : "");
        if (code) {
            CloseIndexData(index);
            abpClose(&index->tree);
            return code;
        }
    }
    index->refs = 1;
    return 0;
}

int KyCloseIndex(KyIndexHandle* index) {
    if (!index || index->refs <= 0)
        return Fail(1311, "KyCloseIndex");
    if (--index->refs == 0) {
        CloseIndexData(index);
        return abpClose(&index->tree);
    }
    return 0;
}

int KyIndexRecordCount(const KyIndexHandle* index, int32_t* count) {
    *count = 0;
    if (!index || index->refs <= 0)
        return Fail(kKyAccErrUnknownIndex, "KyIndexRecordCount");
    if (!index->data)
        return Fail(kKyAccErrNotStored, "KyIndexRecordCount");
    *count = index->cat.count;
    return 0;
}

int KyIndexRecord(KyIndexHandle* index, int32_t n, int32_t* start, int32_t* length) {
    *start = *length = 0;
    int32_t count = 0;
    int code = KyIndexRecordCount(index, &count);
    return code ? code : CatExtent(&index->cat, n, start, length);
}

int KyIndexRead(KyIndexHandle* index, int32_t n, uint8_t* buffer, int32_t size, int32_t* got) {
    *got = 0;
    int32_t start = 0, length = 0;
    int code = KyIndexRecord(index, n, &start, &length);
    if (code)
        return code;
    if (length > size || KY_FSeek(index->data, start, 0) != start || KY_FRead(index->data, buffer, length) != length)
        return Fail(kKyAccErrTabCor, "KyIndexRead");
    *got = length;
    return 0;
}

int KyUserString(const KyMount* mount, const char* key, const char** text) {
    *text = nullptr;
    if (!mount || !mount->userStrings)
        return Fail(kKyAccErrNoSection, "user strings");
    KY_AssocEntry* e = key ? KY_FindAssoc(mount->userStrings, key) : nullptr;
    if (!e)
        return Fail(kKyAccErrUnknownString, key ? key : "");
    *text = static_cast<const char*>(e->value);
    return 0;
}

int KyFileOfKey(const KyMount* mount, const char* key, const KY_OpenSpec** spec) {
    *spec = nullptr;
    void* found = nullptr;
    if (int code = SectionValue(mount ? mount->files : nullptr, "files", key, kKyAccErrUnknownKey, &found))
        return code;
    if (!static_cast<const KY_OpenSpec*>(found)->path.text)
        return Fail(kKyAccErrUnknownKey, key);
    *spec = static_cast<const KY_OpenSpec*>(found);
    return 0;
}

int KyFilterOfKey(const KyMount* mount, const char* key, KY_Filter** filter) {
    *filter = nullptr;
    void* found = nullptr;
    if (int code = SectionValue(mount ? mount->filters : nullptr, "filters", key, kKyAccErrUnknownKey, &found))
        return code;
    if (!(*filter = KY_FilterLoad(&static_cast<KyMountedFilter*>(found)->file)))
        return Fail(110, key);
    return 0;
}

int KyIndexOfKey(const KyMountedBase* base, const char* key, KyMountedIndex** index) {
    *index = nullptr;
    void* found = nullptr;
    if (int code = SectionValue(base ? base->indexes : nullptr, "indexes", key, kKyAccErrUnknownIndex, &found))
        return code;
    *index = static_cast<KyMountedIndex*>(found);
    return 0;
}

int KyFilterKey(const char* key, KY_String** result, const KY_Filter* filter) {
    *result = KY_NewString(0, filter || !key ? "" : key);
    if (!*result)
        return Fail(110, "KyFilterKey");
    if (filter && key)
        EXK_FilterString(*result, key, 0, filter);
    return 0;
}

int KyIndexLookup(KyIndexHandle* index, const char* key, int32_t* value, int* common, int exact) {
    *value = 0;
    if (common)
        *common = 0;
    if (!index || !key || !*key || index->refs <= 0)
        return 0;
    AbpEntry e;
    std::memset(&e, 0, sizeof e);
    KY_String* filtered = nullptr;
    if (KyFilterKey(key, &filtered, index->filter))
        return 110;
    std::snprintf(e.key, 129, "%s", filtered->text);
    KY_FreeString(filtered);
    char searched[sizeof e.key];
    std::memcpy(searched, e.key, sizeof searched);
    int code = abpSearchKey(&e, &index->tree, exact);
    if (code == kAbpErrNotFound || code == kAbpEndOfKeys) {
        *value = exact || code == kAbpEndOfKeys ? -1 : e.values[0];
        return 0;
    }
    if (code)
        return code;
    *value = e.values[0];
    if (common) {
        int n = 0;
        while (searched[n] && searched[n] == e.key[n])
            ++n;
        *common = n;
    }
    return 0;
}
