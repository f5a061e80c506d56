// Tag handlers of the descriptor: path variables, extensions, resources,
// bases with their supports, data files and indexes, and links.
#include <cstring>

#include "base/procedural/Assoc.h"
#include "base/procedural/BAlloc.h"
#include "search/engine/descriptor/KyParseInternal.h"

namespace {

const char* const kPredefined[] = {
    "_APPLIPATH_",         "_APPPREFPATH_",        "_PREFPATH_",         "_TMPPATH_",
    "_LOCAL_APPDATAPATH_", "_COMMON_APPDATAPATH_", "_BUNDLE_APPLIPATH_", "_EXE_APPLIPATH_",
};

const char* const kExtensionDefaults[kKyExtensionSlots] = {"abp", "fmt", "of7", "uf7", "hdg", "hd7", "uh7",
                                                           "hdg", "hd7", "uh7", "flt", "rck", "stp", "cor"};

KyPathVar* AddPathVar(KyPathTable* table, const char* name, const char* routine) {
    if (table->count == UINT16_MAX)
        ParseFail(kKyParseErrMemory, routine);
    KyPathVar* p = static_cast<KyPathVar*>(ParseAlloc(sizeof(KyPathVar), routine));
    void* grown = KY_Realloc(table->items, sizeof(KyPathVar*) * (table->count + 1u));
    if (!grown) {
        KY_Free(p);
        ParseFail(kKyParseErrMemory, routine);
    }
    table->items = static_cast<KyPathVar**>(grown);
    table->items[table->count++] = p;
    p->name = ParseDup(name, routine);
    ParseEnter(&table->byName, name, p, routine);
    return p;
}

KyPathTable* NewPathTable(const char* routine) {
    KyPathTable* t = static_cast<KyPathTable*>(ParseAlloc(sizeof(KyPathTable), routine));
    return t;
}

void Require(bool condition, const char* routine) {
    if (!condition)
        ParseFail(kKyParseErrMissing, routine);
}

KyFileSettings BaseGroup(const KyBase* b) {
    if (b->hasGroup)
        return b->group;
    if (b->hasGeneral)
        return b->general;
    return DefaultSettings();
}

KyFilterRec* NamedFilter(KyDescriptor* d, const char* name, bool flt, int32_t code, const char* routine) {
    if (!name)
        return nullptr;
    Require(d->resource != nullptr, routine);
    KyFilterRec* f = static_cast<KyFilterRec*>(ParseFind(flt ? d->resource->flts : d->resource->filters, name));
    if (!f)
        ParseFail(code, routine);
    return f;
}

// A written nbcache below -1 is negated and marks the file enciphered.
void ApplyCache(KyFileSettings* s, const char* nbcache) {
    if (!Written(nbcache))
        return;
    int32_t n = ParseNumber(nbcache);
    if (n < -1) {
        s->nbcache = n == INT32_MIN ? INT32_MAX : -n;
        s->crypt = 1;
    } else {
        s->nbcache = n;
    }
}

void ClearOwned(KyIndexRec* r) {
    r->settings.name = nullptr;
}

void CopyOwned(KyIndexRec* r, const KyIndexRec& from, const char* routine) {
    r->settings.name = ParseDup(from.settings.name, routine);
}

void ClearOwned(KyDataFile* r) {
    r->settings.name = nullptr;
    r->realdb = nullptr;
    r->posit = nullptr;
}

void CopyOwned(KyDataFile* r, const KyDataFile& from, const char* routine) {
    r->settings.name = ParseDup(from.settings.name, routine);
    r->realdb = ParseDup(from.realdb, routine);
    r->posit = ParseDup(from.posit, routine);
}

// Replicates record 0 to count records, each with its own copy of the name.
template <typename Record>
void Replicate(Record** records, int32_t* have, int32_t count, const char* routine) {
    if (*have >= count)
        return;
    void* grown = KY_Realloc(*records, sizeof(Record) * static_cast<size_t>(count));
    if (!grown)
        ParseFail(kKyParseErrMemory, routine);
    *records = static_cast<Record*>(grown);
    for (int32_t i = *have; i < count; ++i) {
        (*records)[i] = (*records)[0];
        ClearOwned(&(*records)[i]);
        *have = i + 1;
        CopyOwned(&(*records)[i], (*records)[0], routine);
    }
}

}  // namespace

KY_TAG_HANDLER(kydescTagFun) {
    KyDescriptor* d = Desc(user, "kydescTagFun");
    if (start && count >= 2)
        d->connect = ParseFlag(v[1]);
}

KY_TAG_HANDLER(pathinfoTagFun) {
    KyDescriptor* d = Desc(user, "pathinfoTagFun");
    (void)v;
    (void)count;
    if (!start || d->paths)
        return;
    d->paths = NewPathTable("pathinfoTagFun");
    d->subpaths = NewPathTable("pathinfoTagFun");
    for (const char* name : kPredefined)
        AddPathVar(d->paths, name, "pathinfoTagFun")->type = kKyPathPredefined;
}

KY_TAG_HANDLER(pathTagFun) {
    KyDescriptor* d = Desc(user, "pathTagFun");
    if (!start) {
        d->curPath = nullptr;
        SetState(d, -1);
        return;
    }
    Require(d->paths && count == 6 && v[0], "pathTagFun");
    KyPathVar* root = nullptr;
    if (v[3]) {
        root = static_cast<KyPathVar*>(ParseFind(d->paths->byName, v[3]));
        if (!root)
            ParseFail(kKyParseErrMemory, "pathTagFun");
    }
    int32_t type = ParseKeyword(v[1], kKwPathType);
    KyPathVar* p = AddPathVar(d->paths, v[0], "pathTagFun");
    p->type = static_cast<int16_t>(type);
    p->root = ParseDup(v[3], "pathTagFun");
    p->key = ParseDup(v[2], "pathTagFun");
    p->toCreate = ParseFlag(v[4]);
    p->mountable = static_cast<int8_t>(ParseFlag(v[5]) || (root && root->mountable));
    d->curPath = p;
    SetState(d, 102);
}

KY_TAG_HANDLER(subpathTagFun) {
    KyDescriptor* d = Desc(user, "subpathTagFun");
    if (!start) {
        d->curPath = nullptr;
        SetState(d, -1);
        return;
    }
    Require(d->subpaths && count == 1 && v[0], "subpathTagFun");
    d->curPath = AddPathVar(d->subpaths, v[0], "subpathTagFun");
    SetState(d, 103);
}

KY_TAG_HANDLER(extinfoTagFun) {
    KyDescriptor* d = Desc(user, "extinfoTagFun");
    (void)v;
    (void)count;
    if (!start || d->extensions)
        return;
    d->extensions = static_cast<char**>(ParseAlloc(sizeof(char*) * kKyExtensionSlots, "extinfoTagFun"));
    for (int i = 0; i < kKyExtensionSlots; ++i)
        d->extensions[i] = ParseDup(kExtensionDefaults[i], "extinfoTagFun");
}

KY_TAG_HANDLER(resourceTagFun) {
    KyDescriptor* d = Desc(user, "resourceTagFun");
    if (!start || d->resource)
        return;
    Require(d->paths && count == 6, "resourceTagFun");
    KyFileSettings group = Inherit(d, DefaultSettings(), {v[0], v[1], v[2], v[3], v[4], v[5]}, "resourceTagFun");
    d->resource = static_cast<KyResource*>(ParseAlloc(sizeof(KyResource), "resourceTagFun"));
    d->resource->group = group;
}

namespace {

void FilterElement(void* user, int start, const char* const* v, int count, bool flt) {
    const char* routine = flt ? "fltTagFun" : "filterTagFun";
    KyDescriptor* d = Desc(user, routine);
    if (!start) {
        d->curFilter = nullptr;
        d->curPlatform = nullptr;
        SetState(d, -1);
        return;
    }
    Require(d->resource && count == 3 && v[0], routine);
    KyFileSettings s = Inherit(d, d->resource->group, {nullptr, nullptr, nullptr, nullptr, v[1], v[2]}, routine);
    KyFilterRec* f = static_cast<KyFilterRec*>(ParseAlloc(sizeof(KyFilterRec), routine));
    f->settings = s;
    KY_Assoc** table = flt ? &d->resource->flts : &d->resource->filters;
    if (ParseFind(*table, v[0])) {
        KY_Free(f);
        ParseFail(kKyParseErrMemory, routine);
    }
    ParseEnter(table, v[0], f, routine);
    d->curFilter = f;
    SetState(d, flt ? 105 : 104);
}

}  // namespace

KY_TAG_HANDLER(filterTagFun) {
    FilterElement(user, start, v, count, false);
}

KY_TAG_HANDLER(fltTagFun) {
    FilterElement(user, start, v, count, true);
}

KY_TAG_HANDLER(platformTagFun) {
    KyDescriptor* d = Desc(user, "platformTagFun");
    if (!start) {
        d->curPlatform = nullptr;
        return;
    }
    Require(d->curFilter && count == 3 && v[0], "platformTagFun");
    KyFileSettings s =
        Inherit(d, d->curFilter->settings, {nullptr, nullptr, nullptr, nullptr, v[1], v[2]}, "platformTagFun");
    KyFileSettings* p = static_cast<KyFileSettings*>(ParseAlloc(sizeof(KyFileSettings), "platformTagFun"));
    *p = s;
    KyFileSettings* old = static_cast<KyFileSettings*>(ParseFind(d->curFilter->platforms, v[0]));
    if (old) {
        FreeSettings(old);
        KY_Free(old);
    }
    ParseEnter(&d->curFilter->platforms, v[0], p, "platformTagFun");
    d->curPlatform = p;
}

KY_TAG_HANDLER(thesTagFun) {
    KyDescriptor* d = Desc(user, "thesTagFun");
    if (!start) {
        d->curThes = nullptr;
        SetState(d, -1);
        return;
    }
    Require(d->resource && count == 9 && v[0], "thesTagFun");
    KyFileSettings s = Inherit(d, d->resource->group, {v[3], v[4], v[5], v[6], v[7], v[8]}, "thesTagFun");
    KyFilterRec* flt = NamedFilter(d, v[2], true, kKyParseErrUndeclared, "thesTagFun");
    if (ParseFind(d->resource->thes, v[0]))
        ParseFail(kKyParseErrMemory, "thesTagFun");
    KyThes* t = static_cast<KyThes*>(ParseAlloc(sizeof(KyThes), "thesTagFun"));
    t->settings = s;
    t->nbdoc = ParseNumber(v[1]);
    t->flt = flt;
    ParseEnter(&d->resource->thes, v[0], t, "thesTagFun");
    d->curThes = t;
    SetState(d, 106);
}

KY_TAG_HANDLER(noTagFun) {
    (void)user;
    (void)start;
    (void)v;
    (void)count;
}

namespace {

// A resource file element (stop list, registered file): a record of its
// settings entered by id in the table, current until its end tag.
void ResourceFile(KyDescriptor* d, int start, const char* const* v, int count, KY_Assoc** table, KyStp** current,
                  int32_t state, const char* routine) {
    if (!start) {
        *current = nullptr;
        SetState(d, -1);
        return;
    }
    Require(d->resource && count == 9 && v[0], routine);
    KyFileSettings s = Inherit(d, d->resource->group, {v[1], v[2], v[3], v[4], v[5], v[6]}, routine);
    if (ParseFind(*table, v[0]))
        ParseFail(kKyParseErrMemory, routine);
    KyStp* t = static_cast<KyStp*>(ParseAlloc(sizeof(KyStp), routine));
    t->settings = s;
    ParseEnter(table, v[0], t, routine);
    *current = t;
    SetState(d, state);
}

}  // namespace

KY_TAG_HANDLER(stpTagFun) {
    KyDescriptor* d = Desc(user, "stpTagFun");
    ResourceFile(d, start, v, count, d->resource ? &d->resource->stps : nullptr, &d->curStp, 107, "stpTagFun");
}

KY_TAG_HANDLER(lexTagFun) {
    KyDescriptor* d = Desc(user, "lexTagFun");
    if (!start) {
        d->curLex = nullptr;
        return;
    }
    Require(d->resource && count == 9 && v[0], "lexTagFun");
    KyFileSettings s = Inherit(d, d->resource->group, {v[1], v[2], v[3], v[4], v[5], v[6]}, "lexTagFun");
    KyFilterRec* filterKey = NamedFilter(d, v[7], false, kKyParseErrMemory, "lexTagFun");
    KyFilterRec* fltKey = NamedFilter(d, v[8], true, kKyParseErrUndeclared, "lexTagFun");
    if (ParseFind(d->resource->lexs, v[0]))
        ParseFail(kKyParseErrMemory, "lexTagFun");
    KyLex* l = static_cast<KyLex*>(ParseAlloc(sizeof(KyLex), "lexTagFun"));
    l->inherited = s;
    l->filterKey = filterKey;
    l->fltKey = fltKey;
    ParseEnter(&d->resource->lexs, v[0], l, "lexTagFun");
    if (Written(v[5]) || Written(v[6]) || Written(v[1]) || Written(v[3])) {
        l->own = static_cast<KyFileSettings*>(ParseAlloc(sizeof(KyFileSettings), "lexTagFun"));
        *l->own = s;
    }
    d->curLex = l;
}

// A file the application asks for by key: its text is the file name, kept as written.
KY_TAG_HANDLER(userdataTagFun) {
    KyDescriptor* d = Desc(user, "userdataTagFun");
    ResourceFile(d, start, v, count, d->resource ? &d->resource->userdata : nullptr, &d->curUserData, 128,
                 "userdataTagFun");
}

KY_TAG_HANDLER(lexabpTagFun) {
    KyDescriptor* d = Desc(user, "lexabpTagFun");
    if (!start) {
        SetState(d, -1);
        return;
    }
    Require(d->curLex && !d->curLex->abp && count == 9, "lexabpTagFun");
    KyLex* l = d->curLex;
    KyLexAbp* a = static_cast<KyLexAbp*>(ParseAlloc(sizeof(KyLexAbp), "lexabpTagFun"));
    l->abp = a;
    a->settings = Inherit(d, l->own ? *l->own : l->inherited, {v[3], v[4], v[5], v[6], v[7], v[8]}, "lexabpTagFun");
    a->prox = ParseKeyword(v[0], kKwProx);
    a->dup = ParseFlag(v[1]);
    a->nbdoc = ParseNumber(v[2]);
    SetState(d, 100);
}

KY_TAG_HANDLER(lexhdgTagFun) {
    KyDescriptor* d = Desc(user, "lexhdgTagFun");
    if (!start) {
        SetState(d, -1);
        return;
    }
    Require(d->curLex && !d->curLex->hdg && count == 10, "lexhdgTagFun");
    KyLex* l = d->curLex;
    KyLexHdg* h = static_cast<KyLexHdg*>(ParseAlloc(sizeof(KyLexHdg), "lexhdgTagFun"));
    l->hdg = h;
    h->settings = Inherit(d, l->own ? *l->own : l->inherited, {v[4], v[5], v[6], v[7], v[8], v[9]}, "lexhdgTagFun");
    h->compression = ParseKeyword(v[0], kKwCompression);
    h->format = ParseKeyword(v[1], kKwFormat);
    h->filter = NamedFilter(d, v[2], false, kKyParseErrMemory, "lexhdgTagFun");
    h->adjust = ParseNumber(v[3]);
    SetState(d, 101);
}

KY_TAG_HANDLER(commonTagFun) {
    KyDescriptor* d = Desc(user, "commonTagFun");
    (void)v;
    (void)count;
    if (!start)
        return;
    if (!d->links)
        d->links = KY_NewAssoc(nullptr, 0);
    if (!d->bases)
        d->bases = KY_NewAssoc(nullptr, 0);
    if (!d->links || !d->bases)
        ParseFail(kKyParseErrMemory, "commonTagFun");
}

KY_TAG_HANDLER(baseTagFun) {
    KyDescriptor* d = Desc(user, "baseTagFun");
    if (!start) {
        d->curBase = nullptr;
        d->curData = nullptr;
        d->curIndex = nullptr;
        return;
    }
    Require(d->bases && count == 6 && v[0], "baseTagFun");
    int32_t supports = ParseNumber(v[1]);
    int32_t searched = Written(v[2]) ? ParseNumber(v[2]) : supports;
    // Counts are 8-bit, and the searched supports are among the supports.
    Require(supports >= 1 && supports <= 255 && searched >= 1 && searched <= supports, "baseTagFun");
    Require(std::strlen(v[0]) <= static_cast<size_t>(kKyMaxBaseName), "baseTagFun");
    if (ParseFind(d->bases, v[0]))
        ParseFail(kKyParseErrMemory, "baseTagFun");
    int32_t order = ParseKeyword(v[3], kKwOrder);
    int32_t consOrder = Written(v[4]) ? ParseKeyword(v[4], kKwOrder) : order;
    int32_t clean = ParseKeyword(v[5], kKwClean);
    KyBase* b = static_cast<KyBase*>(ParseAlloc(sizeof(KyBase), "baseTagFun"));
    ParseEnter(&d->bases, v[0], b, "baseTagFun");
    b->id = ParseDup(v[0], "baseTagFun");
    b->supports = static_cast<uint8_t>(supports);
    b->searched = static_cast<uint8_t>(searched);
    b->order = static_cast<int16_t>(order);
    b->consOrder = static_cast<int16_t>(consOrder);
    b->clean = clean;
    b->supportArray = static_cast<KySupport*>(ParseAlloc(sizeof(KySupport) * supports, "baseTagFun"));
    std::memset(b->supportArray, 0xFF, sizeof(KySupport) * supports);
    for (int32_t i = 0; i < supports; ++i) {
        b->supportArray[i].connect = nullptr;
        b->supportArray[i].reqFilter = nullptr;
    }
    d->curBase = b;
}

KY_TAG_HANDLER(generalTagFun) {
    KyDescriptor* d = Desc(user, "generalTagFun");
    Require(d->curBase != nullptr, "generalTagFun");
    KyBase* b = d->curBase;
    if (!start) {
        b->hasGeneral = 0;
        return;
    }
    Require(count == 6, "generalTagFun");
    KyFileSettings s = DefaultSettings();
    s.priority = ParseNumber(v[0]);
    s.crypt = ParseFlag(v[1]);
    s.nbcache = ParseNumber(v[2]);
    s.sizecache = ParseNumber(v[3]);
    s.path = LookupPath(d, v[4], false, "generalTagFun");
    s.subpath = LookupPath(d, v[5], true, "generalTagFun");
    b->general = s;
    b->hasGeneral = 1;
}

namespace {

void GroupElement(void* user, int start, const char* const* v, int count, bool data) {
    const char* routine = data ? "dataTagFun" : "indexTagFun";
    KyDescriptor* d = Desc(user, routine);
    Require(d->curBase != nullptr, routine);
    KyBase* b = d->curBase;
    if (!start) {
        b->hasGroup = 0;
        return;
    }
    Require(count == 6, routine);
    KyFileSettings general = b->hasGeneral ? b->general : DefaultSettings();
    b->group = Inherit(d, general, {v[0], v[1], v[2], v[3], v[4], v[5]}, routine);
    b->hasGroup = 1;
    KY_Assoc** table = data ? &b->dataById : &b->indexById;
    if (!*table && !(*table = KY_NewAssoc(nullptr, 0)))
        ParseFail(kKyParseErrMemory, routine);
}

}  // namespace

KY_TAG_HANDLER(dataTagFun) {
    GroupElement(user, start, v, count, true);
}

KY_TAG_HANDLER(indexTagFun) {
    GroupElement(user, start, v, count, false);
}

KY_TAG_HANDLER(dbTagFun) {
    KyDescriptor* d = Desc(user, "dbTagFun");
    KyBase* b = d->curBase;
    if (!start) {
        if (b && d->curData)
            Replicate(&d->curData->records, &d->curData->count, b->supports, "dbTagFun");
        d->curData = nullptr;
        SetState(d, -1);
        return;
    }
    Require(b && b->dataById && count == 17 && v[0], "dbTagFun");
    if (ParseFind(b->dataById, v[0]))
        ParseFail(kKyParseErrMemory, "dbTagFun");
    KyDataFile r{};
    r.settings = Inherit(d, BaseGroup(b), {v[6], v[7], v[8], v[9], v[11], v[10]}, "dbTagFun");
    r.compression = ParseKeyword(v[1], kKwCompression);
    r.medium = ParseKeyword(v[2], kKwMedium);
    r.filter = NamedFilter(d, v[3], false, kKyParseErrMemory, "dbTagFun");
    r.adjust = ParseNumber(v[4]);
    r.access = ParseKeyword(v[5], kKwAccess);
    r.clean = Written(v[12]) ? ParseKeyword(v[12], kKwClean) : b->clean;
    r.nodb = ParseFlag(v[14]);
    r.live = ParseFlag(v[15]);
    r.exist = 1;
    if (!Written(v[9]) && r.medium == 6)
        r.settings.sizecache = 30720;  // images: larger blocks
    void* grown = KY_Realloc(b->data, sizeof(KyData*) * (static_cast<size_t>(b->dataCount) + 1));
    if (!grown)
        ParseFail(kKyParseErrMemory, "dbTagFun");
    b->data = static_cast<KyData**>(grown);
    KyData* data = static_cast<KyData*>(ParseAlloc(sizeof(KyData), "dbTagFun"));
    b->data[b->dataCount++] = data;
    data->id = ParseDup(v[0], "dbTagFun");
    ParseEnter(&b->dataById, v[0], data, "dbTagFun");
    data->records = static_cast<KyDataFile*>(ParseAlloc(sizeof(KyDataFile), "dbTagFun"));
    data->count = 1;
    data->records[0] = r;
    if (v[13] && v[13][0])
        data->records[0].realdb = ParseDup(v[13], "dbTagFun");
    data->records[0].posit = ParseDup(v[16], "dbTagFun");
    d->curData = data;
    SetState(d, 109);
}

KY_TAG_HANDLER(hdgTagFun) {
    KyDescriptor* d = Desc(user, "hdgTagFun");
    if (!start)
        return;
    Require(d->curBase && count == 2 && v[0], "hdgTagFun");
    KyData* hdg = static_cast<KyData*>(ParseFind(d->curBase->dataById, v[0]));
    KyData* doc = v[1] ? static_cast<KyData*>(ParseFind(d->curBase->dataById, v[1])) : nullptr;
    if (!hdg || (v[1] && !doc))
        ParseFail(kKyParseErrMemory, "hdgTagFun");
    d->curBase->hdg = hdg;
    d->curBase->docDb = doc;
}

KY_TAG_HANDLER(idxTagFun) {
    KyDescriptor* d = Desc(user, "idxTagFun");
    KyBase* b = d->curBase;
    if (!start) {
        if (b && d->curIndex)
            Replicate(&d->curIndex->records, &d->curIndex->count, b->searched, "idxTagFun");
        d->curIndex = nullptr;
        SetState(d, -1);
        return;
    }
    Require(b && b->indexById && count == 12 && v[0], "idxTagFun");
    if (ParseFind(b->indexById, v[0]))
        ParseFail(kKyParseErrMemory, "idxTagFun");
    KyIndexRec r{};
    r.settings = Inherit(d, BaseGroup(b), {v[5], v[6], v[7], v[8], v[10], v[9]}, "idxTagFun");
    r.prox = ParseKeyword(v[2], kKwProx);
    r.dup = ParseFlag(v[3]);
    r.nbdoc = ParseNumber(v[4]);
    r.poids = ParseNumber(v[11]);
    int32_t type = ParseKeyword(v[1], kKwTypeIdx);
    void* grown = KY_Realloc(b->indexes, sizeof(KyIndex*) * (static_cast<size_t>(b->indexCount) + 1));
    if (!grown)
        ParseFail(kKyParseErrMemory, "idxTagFun");
    b->indexes = static_cast<KyIndex**>(grown);
    KyIndex* index = static_cast<KyIndex*>(ParseAlloc(sizeof(KyIndex), "idxTagFun"));
    b->indexes[b->indexCount++] = index;
    index->id = ParseDup(v[0], "idxTagFun");
    ParseEnter(&b->indexById, v[0], index, "idxTagFun");
    index->type = type;
    index->searched = b->searched;
    index->records = static_cast<KyIndexRec*>(ParseAlloc(sizeof(KyIndexRec), "idxTagFun"));
    index->count = 1;
    index->records[0] = r;
    d->curIndex = index;
    SetState(d, 108);
}

KY_TAG_HANDLER(supportTagFun) {
    KyDescriptor* d = Desc(user, "supportTagFun");
    KyBase* b = d->curBase;
    if (!start) {
        d->curSupport = -1;
        return;
    }
    Require(b && count == 10 && v[0] && v[8], "supportTagFun");
    int32_t num = ParseNumber(v[0]);
    Require(num >= 0 && num < b->supports, "supportTagFun");
    KyFilterRec* reqFilter = NamedFilter(d, v[9], false, kKyParseErrMemory, "supportTagFun");
    KyPathVar* path = LookupPath(d, v[5], false, "supportTagFun");
    int32_t where = ParseKeyword(v[8], kKwWhere);
    auto apply = [&](KyFileSettings* s) {
        if (Written(v[1]))
            s->priority = ParseNumber(v[1]);
        if (Written(v[2]))
            s->crypt = ParseFlag(v[2]);
        ApplyCache(s, v[3]);
        if (Written(v[4]))
            s->sizecache = ParseNumber(v[4]);
        if (path)
            s->path = path;
    };
    for (int32_t i = 0; i < b->dataCount; ++i)
        if (num < b->data[i]->count)
            apply(&b->data[i]->records[num].settings);
    for (int32_t i = 0; i < b->indexCount; ++i)
        if (num < b->searched && num < b->indexes[i]->count)
            apply(&b->indexes[i]->records[num].settings);
    KySupport& s = b->supportArray[num];
    if (Written(v[6]) && Written(v[7])) {
        s.first = ParseNumber(v[6]);
        s.end = static_cast<int32_t>(static_cast<int64_t>(s.first) + ParseNumber(v[7]));
    }
    if (reqFilter)
        s.reqFilter = reqFilter;
    s.where = where;
    d->curSupport = num;
}

KY_TAG_HANDLER(connectTagFun) {
    KyDescriptor* d = Desc(user, "connectTagFun");
    if (!start)
        return;
    Require(d->curBase && d->curSupport >= 0 && count == 2, "connectTagFun");
    KySupport& s = d->curBase->supportArray[d->curSupport];
    if (!s.connect)
        s.connect = static_cast<KyConnect*>(ParseAlloc(sizeof(KyConnect), "connectTagFun"));
    ParseSet(&s.connect->server, v[0], "connectTagFun");
    ParseSet(&s.connect->script, v[1], "connectTagFun");
}

KY_TAG_HANDLER(subdbTagFun) {
    KyDescriptor* d = Desc(user, "subdbTagFun");
    if (!start) {
        d->curSubData = nullptr;
        SetState(d, -1);
        return;
    }
    KyBase* b = d->curBase;
    Require(b && d->curSupport >= 0 && count == 15, "subdbTagFun");
    KyData* data = static_cast<KyData*>(ParseFind(b->dataById, v[0]));
    if (!data)
        ParseFail(kKyParseErrUndeclared, "subdbTagFun");
    Require(d->curSupport < data->count, "subdbTagFun");
    KyDataFile& r = data->records[d->curSupport];
    KyFileSettings s = Inherit(d, r.settings, {v[6], v[7], nullptr, v[9], v[11], v[10]}, "subdbTagFun");
    ApplyCache(&s, v[8]);
    if (Written(v[1]))
        r.compression = ParseKeyword(v[1], kKwCompression);
    if (Written(v[2]))
        r.medium = ParseKeyword(v[2], kKwMedium);
    if (Written(v[3]))
        r.filter = NamedFilter(d, v[3], false, kKyParseErrMemory, "subdbTagFun");
    if (Written(v[4]))
        r.adjust = ParseNumber(v[4]);
    if (Written(v[5]))
        r.access = ParseKeyword(v[5], kKwAccess);
    r.tabcor = ParseFlag(v[12]);
    r.clean = ParseKeyword(v[13], kKwClean);
    r.exist = ParseFlag(v[14]);
    s.name = r.settings.name;
    r.settings = s;
    d->curSubData = &r;
    SetState(d, 115);
}

KY_TAG_HANDLER(subidxTagFun) {
    KyDescriptor* d = Desc(user, "subidxTagFun");
    if (!start) {
        d->curSubIndex = nullptr;
        SetState(d, -1);
        return;
    }
    KyBase* b = d->curBase;
    Require(b && d->curSupport >= 0 && count == 9, "subidxTagFun");
    KyIndex* index = static_cast<KyIndex*>(ParseFind(b->indexById, v[0]));
    if (!index)
        ParseFail(kKyParseErrUndeclared, "subidxTagFun");
    Require(d->curSupport < index->count, "subidxTagFun");
    KyIndexRec& r = index->records[d->curSupport];
    KyFileSettings s = Inherit(d, r.settings, {v[2], v[3], nullptr, v[5], v[7], v[6]}, "subidxTagFun");
    ApplyCache(&s, v[4]);
    if (Written(v[1]))
        r.nbdoc = ParseNumber(v[1]);
    if (Written(v[8]))
        r.poids = ParseNumber(v[8]);
    s.name = r.settings.name;
    r.settings = s;
    d->curSubIndex = &r;
    SetState(d, 116);
}

KY_TAG_HANDLER(linkinfoTagFun) {
    KyDescriptor* d = Desc(user, "linkinfoTagFun");
    if (!start) {
        d->curLink = nullptr;
        return;
    }
    Require(count == 10 && v[0] && v[1] && v[2], "linkinfoTagFun");
    int32_t nbbases = ParseNumber(v[1]);
    Require(nbbases >= 1 && nbbases <= UINT16_MAX, "linkinfoTagFun");
    KyFileSettings s = Inherit(d, DefaultSettings(), {v[4], v[5], v[6], v[7], v[8], v[9]}, "linkinfoTagFun");
    if (ParseFind(d->links, v[0]))
        ParseFail(kKyParseErrMemory, "linkinfoTagFun");
    KyLink* l = static_cast<KyLink*>(ParseAlloc(sizeof(KyLink), "linkinfoTagFun"));
    ParseEnter(&d->links, v[0], l, "linkinfoTagFun");
    l->id = ParseDup(v[0], "linkinfoTagFun");
    l->nbbases = nbbases;
    l->nbbitsDoc = ParseNumber(v[2]);
    l->nbBitsInfo = ParseNumber(v[3]);
    l->abp = s;
    l->bits = s;
    l->bases = static_cast<char**>(ParseAlloc(sizeof(char*) * static_cast<size_t>(nbbases), "linkinfoTagFun"));
    d->curLink = l;
}

KY_TAG_HANDLER(linkbaseTagFun) {
    KyDescriptor* d = Desc(user, "linkbaseTagFun");
    if (!start)
        return;
    Require(d->curLink && count == 2 && v[0] && v[1], "linkbaseTagFun");
    int32_t num = ParseNumber(v[1]);
    Require(num >= 0 && num < d->curLink->nbbases, "linkbaseTagFun");
    ParseSet(&d->curLink->bases[num], v[0], "linkbaseTagFun");
}

KY_TAG_HANDLER(linkabpTagFun) {
    KyDescriptor* d = Desc(user, "linkabpTagFun");
    if (!start) {
        SetState(d, -1);
        return;
    }
    Require(d->curLink && count == 9, "linkabpTagFun");
    KyLink* l = d->curLink;
    KyFileSettings s = Inherit(d, l->abp, {v[3], v[4], v[5], v[6], v[7], v[8]}, "linkabpTagFun");
    s.name = l->abp.name;
    l->abp = s;
    l->abpProx = ParseKeyword(v[0], kKwProx);
    l->abpDup = ParseFlag(v[1]);
    l->abpNbdoc = ParseNumber(v[2]);
    SetState(d, 121);
}

KY_TAG_HANDLER(linkbitsTagFun) {
    KyDescriptor* d = Desc(user, "linkbitsTagFun");
    if (!start) {
        SetState(d, -1);
        return;
    }
    Require(d->curLink && count == 6, "linkbitsTagFun");
    KyLink* l = d->curLink;
    KyFileSettings s = Inherit(d, l->bits, {v[0], v[1], v[2], v[3], v[4], v[5]}, "linkbitsTagFun");
    s.name = l->bits.name;
    l->bits = s;
    SetState(d, 120);
}
