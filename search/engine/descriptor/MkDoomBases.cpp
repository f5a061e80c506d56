// Mounting of resources (filters, thesauri, stop lists, lexicons) and bases
// (data files per support, indexes per searched support, forms, supports).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "base/procedural/Assoc.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyPath.h"
#include "search/engine/descriptor/MkDoomInternal.h"

namespace {

// The key under which a parsed record is entered, or null.
const char* KeyOf(const KY_Assoc* table, const void* record) {
    for (int32_t i = 0; table && record && i < table->count; ++i)
        if (table->entries[i].value == record)
            return table->entries[i].key;
    return nullptr;
}

template <typename Mounted>
Mounted* MountedOf(const KY_Assoc* parsed, const KY_Assoc* mounted, const void* record) {
    return static_cast<Mounted*>(MkFind(mounted, KeyOf(parsed, record)));
}

// A file whose specification cannot be built is a fault of the descriptor,
// except on an absent volume (1329), where the caller decides.
int FileSpec(KyMount* m, const KyFileSettings& s, const char* name, int slot, KY_OpenSpec* out, const char* routine) {
    int code = MkFileSpec(m, s, name, slot, out, routine);
    if (code == kMkErrNoPathVar)
        MkFail(code, routine);
    return code;
}

// Stop lists and registered files: one open spec each, by name.
void MountFiles(KyMount* m, KY_Assoc* parsed, KY_Assoc** mounted, int slot, const char* routine) {
    for (int32_t i = 0; parsed && i < parsed->count; ++i) {
        KyStp* s = static_cast<KyStp*>(parsed->entries[i].value);
        KY_OpenSpec* ms = static_cast<KY_OpenSpec*>(KY_Calloc(1, sizeof(KY_OpenSpec)));
        if (!ms)
            MkFail(kMkErrMemory, routine);
        KY_ClearOpenSpec(ms);
        MkEnter(mounted, parsed->entries[i].key, ms, routine);
        FileSpec(m, s->settings, s->settings.name, slot, ms, routine);
    }
}

void MountFilters(KyMount* m, KY_Assoc* parsed, KY_Assoc** mounted, int slot, const char* routine) {
    for (int32_t i = 0; parsed && i < parsed->count; ++i) {
        KyFilterRec* f = static_cast<KyFilterRec*>(parsed->entries[i].value);
        KyFileSettings* win = static_cast<KyFileSettings*>(MkFind(f->platforms, "win"));
        if (!win)
            continue;  // only the Windows variant is mounted
        KyMountedFilter* mf = static_cast<KyMountedFilter*>(KY_Calloc(1, sizeof(KyMountedFilter)));
        if (!mf)
            MkFail(kMkErrMemory, routine);
        KY_ClearOpenSpec(&mf->file);
        MkEnter(mounted, parsed->entries[i].key, mf, routine);
        FileSpec(m, *win, win->name, slot, &mf->file, routine);
    }
}

void FreeSpec(KY_OpenSpec* s) {
    KY_FreeOpenSpec(s);
}

void FreeData(KyMountedData* d) {
    KY_FreeOpenSpec(&d->catalogue);
    KY_FreeOpenSpec(&d->data);
    KY_FreeOpenSpec(&d->companion);
}

void FreeMountedForm(KyMountedForm* f) {
    if (!f)
        return;
    KY_FreeOpenSpec(&f->stp);
    KY_Free(f->op);
    KY_Free(f->proxop);
    KY_Free(f->dateop);
    KY_Free(f->fields);
    KY_Free(f->indexes);
    KY_Free(f);
}

int CpData(KyMount* m, KyMountedBase* mb, const KyDataFile& r, int slot, KyMountedData* out) {
    KY_ClearOpenSpec(&out->catalogue);
    KY_ClearOpenSpec(&out->data);
    KY_ClearOpenSpec(&out->companion);
    out->nodb = r.nodb;
    out->present = r.exist;
    if (!r.exist)
        return 0;
    KY_OpenSpec named;
    int code = FileSpec(m, r.settings, r.settings.name, slot, &named, "cpData");
    if (code == kMkErrVolumeAbsent)
        return code;
    MkWithExtension(m, named, slot + 1, &out->catalogue, "cpData");
    KY_FreeOpenSpec(&named);
    if (r.realdb && r.nodb) {
        char message[kEngineErrorTextSize];
        std::snprintf(message, sizeof message, "'realdb' and 'nodb' are incompatibles ! : %s", r.realdb);
        KY_SetEngineErrorText(message);
        throw MkError{kMkErrMissing};
    }
    if (!r.nodb) {
        if (r.realdb)
            FileSpec(m, r.settings, r.realdb, slot, &out->data, "cpData");
        else
            MkWithExtension(m, out->catalogue, slot, &out->data, "cpData");
    }
    MkWithExtension(m, out->catalogue, slot + 2, &out->companion, "cpData");
    out->compression = r.compression;
    out->medium = r.medium;
    out->access = r.access;
    out->adjust = r.adjust;
    out->clean = r.clean;
    out->tabcor = r.tabcor;
    out->filter =
        MountedOf<KyMountedFilter>(m->desc->resource ? m->desc->resource->filters : nullptr, m->filters, r.filter);
    (void)mb;
    return code;
}

KyMountedForm* CpForm(KyMount* m, KyMountedBase* mb, KyForm* f) {
    KyMountedForm* mf = static_cast<KyMountedForm*>(KY_Calloc(1, sizeof(KyMountedForm)));
    if (!mf)
        MkFail(kMkErrMemory, "CpMapping");
    KY_ClearOpenSpec(&mf->stp);
    struct Guard {
        KyMountedForm* f;
        ~Guard() { FreeMountedForm(f); }
    } guard{mf};
    KyResource* r = m->desc->resource;
    mf->base = mb;
    if (r) {
        mf->thes = MountedOf<KyMountedThes>(r->thes, m->thes, f->thes);
        if (KY_OpenSpec* stp = MountedOf<KY_OpenSpec>(r->stps, m->stps, f->stp))
            if (KY_CopyOpenSpec(stp, &mf->stp) != 0)
                MkFail(kMkErrMemory, "CpMapping");
        mf->stpflt = MountedOf<KyMountedFilter>(r->flts, m->flts, f->stpflt);
        mf->keyflt = MountedOf<KyMountedFilter>(r->flts, m->flts, f->keyflt);
    }
    mf->op = MkDup(f->op, "CpMapping");
    mf->proxop = MkDup(f->proxop, "CpMapping");
    mf->dateop = MkDup(f->dateop, "CpMapping");
    mf->netlim = f->netlim;
    mf->fields = static_cast<KyMountedField*>(KY_Calloc(f->fieldCount ? f->fieldCount : 1, sizeof(KyMountedField)));
    if (!mf->fields)
        MkFail(kMkErrMemory, "cpReq");
    mf->fieldCount = f->fieldCount;
    for (uint16_t i = 0; i < f->fieldCount; ++i) {
        const KyField& in = f->fields[i];
        KyMountedField& out = mf->fields[i];
        out.bloc = in.bloc;
        out.opdef = in.opdef;
        out.direct = in.direct ? std::atoi(in.direct) : -1;
        out.indirect = in.indirect ? std::atoi(in.indirect) : -1;
        out.directPrefix = in.directPrefix;
        out.indirectPrefix = in.indirectPrefix;
        out.minkey = in.minkey;
        out.poids = in.poids;
        out.thes = in.thes;
        out.prox = in.prox;
        out.date = in.date;
        out.norecup = in.norecup;
        out.noscore = in.noscore;
        out.nosearch = in.nosearch;
        if (in.lexdir && !(out.lexdir = static_cast<KyMountedLex*>(MkFind(m->lexs, in.lexdir))))
            MkFail(kMkErrNoLexicon, "cpReq");
        if (in.lexind && !(out.lexind = static_cast<KyMountedLex*>(MkFind(m->lexs, in.lexind))))
            MkFail(kMkErrNoLexicon, "cpReq");
    }
    mf->indexes = static_cast<KyMountedIndex**>(KY_Calloc(f->usedCount ? f->usedCount : 1, sizeof(KyMountedIndex*)));
    if (!mf->indexes)
        MkFail(kMkErrMemory, "CpIndexMap");
    for (uint16_t i = 0; i < f->usedCount; ++i)
        mf->indexes[i] = static_cast<KyMountedIndex*>(MkFind(mb->indexes, f->usedIndexes[i]->id));
    mf->indexCount = f->usedCount;
    mf->indexSum = f->usedSum;
    guard.f = nullptr;
    return mf;
}

}  // namespace

void CpResInfo(KyMount* m) {
    KyResource* r = m->desc->resource;
    if (!r)
        return;
    MountFilters(m, r->filters, &m->filters, kSlotFilter, "cpFilter");
    MountFilters(m, r->flts, &m->flts, kSlotFlt, "cpFlt");
    for (int32_t i = 0; r->thes && i < r->thes->count; ++i) {
        KyThes* t = static_cast<KyThes*>(r->thes->entries[i].value);
        KyMountedThes* mt = static_cast<KyMountedThes*>(KY_Calloc(1, sizeof(KyMountedThes)));
        if (!mt)
            MkFail(kMkErrMemory, "cpThes");
        KY_ClearOpenSpec(&mt->file);
        MkEnter(&m->thes, r->thes->entries[i].key, mt, "cpThes");
        FileSpec(m, t->settings, t->settings.name, kSlotAbp, &mt->file, "_cpThes");
        mt->flt = MountedOf<KyMountedFilter>(r->flts, m->flts, t->flt);
    }
    MountFiles(m, r->stps, &m->stps, kSlotStp, "cpStp");
    for (int32_t i = 0; r->lexs && i < r->lexs->count; ++i) {
        KyLex* l = static_cast<KyLex*>(r->lexs->entries[i].value);
        KyMountedLex* ml = static_cast<KyMountedLex*>(KY_Calloc(1, sizeof(KyMountedLex)));
        if (!ml)
            MkFail(kMkErrMemory, "cpLex");
        KY_ClearOpenSpec(&ml->abp);
        KY_ClearOpenSpec(&ml->fltKey);
        for (KY_OpenSpec& h : ml->hdg)
            KY_ClearOpenSpec(&h);
        MkEnter(&m->lexs, r->lexs->entries[i].key, ml, "cpLex");
        if (l->abp)
            FileSpec(m, l->abp->settings, l->abp->settings.name, kSlotAbp, &ml->abp, "_cpLex");
        ml->filterKey = MountedOf<KyMountedFilter>(r->filters, m->filters, l->filterKey);
        if (KyMountedFilter* f = MountedOf<KyMountedFilter>(r->flts, m->flts, l->fltKey))
            if (KY_CopyOpenSpec(&f->file, &ml->fltKey) != 0)
                MkFail(kMkErrMemory, "_cpLex");
        if (l->hdg) {
            KY_OpenSpec named;
            if (FileSpec(m, l->hdg->settings, l->hdg->settings.name, kSlotLexicon, &named, "_cpLex") !=
                kMkErrVolumeAbsent) {
                MkWithExtension(m, named, kSlotLexicon + 1, &ml->hdg[0], "_cpLex");
                MkWithExtension(m, named, kSlotLexicon, &ml->hdg[1], "_cpLex");
                MkWithExtension(m, named, kSlotLexicon + 2, &ml->hdg[2], "_cpLex");
            }
            KY_FreeOpenSpec(&named);
        }
    }
    MountFiles(m, r->userdata, &m->files, kSlotNone, "cpUserData");
}

void ReleaseBaseFiles(KyMountedBase* b) {
    if (b->data)
        for (int32_t i = 0; i < b->data->count; ++i) {
            KyMountedData* d = static_cast<KyMountedData*>(b->data->entries[i].value);
            for (int s = 0; s < b->supports; ++s)
                FreeData(&d[s]);
            KY_Free(d);
        }
    KY_FreeAssoc(b->data);
    b->data = nullptr;
    for (int32_t i = 0; i < b->dataCount; ++i)
        KY_Free(b->dataNames[i]);
    KY_Free(b->dataNames);
    b->dataNames = nullptr;
    b->dataCount = 0;
    if (b->indexes)
        for (int32_t i = 0; i < b->indexes->count; ++i) {
            KyMountedIndex* x = static_cast<KyMountedIndex*>(b->indexes->entries[i].value);
            for (int32_t s = 0; x->files && s < x->searched; ++s)
                KY_FreeOpenSpec(&x->files[s]);
            KY_Free(x->files);
            KY_Free(x);
        }
    KY_FreeAssoc(b->indexes);
    b->indexes = nullptr;
    if (b->forms)
        for (int32_t i = 0; i < b->forms->count; ++i)
            FreeMountedForm(static_cast<KyMountedForm*>(b->forms->entries[i].value));
    KY_FreeAssoc(b->forms);
    b->forms = nullptr;
    FreeMountedForm(b->mapping);
    b->mapping = nullptr;
    for (int s = 0; b->supportArray && s < b->supports; ++s)
        if (KyMountedConnect* c = b->supportArray[s].connect) {
            KY_Free(c->server);
            KY_Free(c->script);
            KY_Free(c->user);
            KY_Free(c->options);
            KY_Free(c);
        }
    KY_Free(b->supportArray);
    b->supportArray = nullptr;
    KY_Free(b->hdg);
    KY_Free(b->docDb);
    b->hdg = b->docDb = nullptr;
}

void FreeMountedBase(KyMountedBase* b) {
    ReleaseBaseFiles(b);
    KY_Free(b);
}

void FreeResources(KyMount* m) {
    KY_Assoc** filterTables[] = {&m->filters, &m->flts};
    for (KY_Assoc** t : filterTables) {
        for (int32_t i = 0; *t && i < (*t)->count; ++i) {
            KyMountedFilter* f = static_cast<KyMountedFilter*>((*t)->entries[i].value);
            KY_FreeOpenSpec(&f->file);
            KY_Free(f);
        }
        KY_FreeAssoc(*t);
        *t = nullptr;
    }
    for (int32_t i = 0; m->thes && i < m->thes->count; ++i) {
        KyMountedThes* t = static_cast<KyMountedThes*>(m->thes->entries[i].value);
        KY_FreeOpenSpec(&t->file);
        KY_Free(t);
    }
    KY_FreeAssoc(m->thes);
    m->thes = nullptr;
    for (KY_Assoc** t : {&m->stps, &m->files}) {
        for (int32_t i = 0; *t && i < (*t)->count; ++i) {
            KY_OpenSpec* s = static_cast<KY_OpenSpec*>((*t)->entries[i].value);
            FreeSpec(s);
            KY_Free(s);
        }
        KY_FreeAssoc(*t);
        *t = nullptr;
    }
    for (int32_t i = 0; m->lexs && i < m->lexs->count; ++i) {
        KyMountedLex* l = static_cast<KyMountedLex*>(m->lexs->entries[i].value);
        KY_FreeOpenSpec(&l->abp);
        KY_FreeOpenSpec(&l->fltKey);
        for (KY_OpenSpec& h : l->hdg)
            KY_FreeOpenSpec(&h);
        KY_Free(l);
    }
    KY_FreeAssoc(m->lexs);
    m->lexs = nullptr;
}

void CpBase(KyMount* m, KyBase* b) {
    KyMountedBase* mb = static_cast<KyMountedBase*>(MkFind(m->bases, b->id));
    if (mb) {
        ReleaseBaseFiles(mb);
    } else {
        mb = static_cast<KyMountedBase*>(KY_Calloc(1, sizeof(KyMountedBase)));
        if (!mb)
            MkFail(kMkErrMemory, "CpBases");
        MkEnter(&m->bases, b->id, mb, "CpBases");
    }
    mb->released = 0;
    mb->hasMountable = 0;
    std::snprintf(mb->name, sizeof mb->name, "%s", b->id);
    mb->hdg = MkDup(b->hdg ? b->hdg->id : nullptr, "CpBases");
    mb->docDb = MkDup(b->docDb ? b->docDb->id : nullptr, "CpBases");
    mb->supports = b->supports;
    mb->searched = b->searched;
    mb->order = b->order;
    mb->consOrder = b->consOrder;
    mb->supportArray = static_cast<KyMountedSupport*>(KY_Calloc(b->supports, sizeof(KyMountedSupport)));
    mb->dataNames = static_cast<char**>(KY_Calloc(b->dataCount ? b->dataCount : 1, sizeof(char*)));
    if (!mb->supportArray || !mb->dataNames)
        MkFail(kMkErrMemory, "CpBases");
    for (int32_t i = 0; i < b->dataCount; ++i) {
        mb->dataNames[i] = MkDup(b->data[i]->id, "CpBases");
        mb->dataCount = i + 1;
    }
    for (int32_t i = 0; i < b->dataCount; ++i) {
        KyData* data = b->data[i];
        KyMountedData* files = static_cast<KyMountedData*>(KY_Calloc(b->supports, sizeof(KyMountedData)));
        if (!files)
            MkFail(kMkErrMemory, "cpData");
        MkEnter(&mb->data, data->id, files, "cpData");
        int slot = data == b->hdg ? kSlotHeading : kSlotData;
        for (int s = 0; s < b->supports && s < data->count; ++s) {
            int code = CpData(m, mb, data->records[s], slot, &files[s]);
            if (code == kMkErrMountable) {
                mb->hasMountable = 1;
            } else if (code == kMkErrVolumeAbsent) {
                // The volume is absent: the base keeps its name and waits for mountBase.
                mb->hasMountable = 1;
                mb->released = 1;
                ReleaseBaseFiles(mb);
                return;
            }
        }
    }
    for (int32_t i = 0; i < b->indexCount; ++i) {
        KyIndex* x = b->indexes[i];
        KyMountedIndex* mx = static_cast<KyMountedIndex*>(KY_Calloc(1, sizeof(KyMountedIndex)));
        if (!mx)
            MkFail(kMkErrMemory, "cpIndex");
        mx->files = static_cast<KY_OpenSpec*>(KY_Calloc(x->count ? x->count : 1, sizeof(KY_OpenSpec)));
        if (!mx->files) {
            KY_Free(mx);
            MkFail(kMkErrMemory, "cpIndex");
        }
        MkEnter(&mb->indexes, x->id, mx, "cpIndex");
        mx->base = mb;
        mx->type = x->type;
        for (int32_t s = 0; s < x->count; ++s) {
            KY_ClearOpenSpec(&mx->files[s]);
            mx->searched = s + 1;
            int code = FileSpec(m, x->records[s].settings, x->records[s].settings.name, kSlotAbp, &mx->files[s],
                                "CpIndexBase");
            if (code == kMkErrMountable || code == kMkErrVolumeAbsent)
                mb->hasMountable = 1;
        }
    }
    if (b->mapping)
        mb->mapping = CpForm(m, mb, b->mapping);
    for (int32_t i = 0; b->forms && i < b->forms->count; ++i)
        MkEnter(&mb->forms, b->forms->entries[i].key, CpForm(m, mb, static_cast<KyForm*>(b->forms->entries[i].value)),
                "CpMapping");
    for (int s = 0; s < b->supports; ++s) {
        const KySupport& in = b->supportArray[s];
        KyMountedSupport& out = mb->supportArray[s];
        out.first = in.first;
        out.end = in.end;
        out.where = in.where;
        out.reqFilter = MountedOf<KyMountedFilter>(m->desc->resource ? m->desc->resource->filters : nullptr, m->filters,
                                                   in.reqFilter);
        if (in.connect) {
            out.connect = static_cast<KyMountedConnect*>(KY_Calloc(1, sizeof(KyMountedConnect)));
            if (!out.connect)
                MkFail(kMkErrMemory, "CpBases");
            out.connect->server = MkDup(in.connect->server, "CpBases");
            out.connect->script = MkDup(in.connect->script, "CpBases");
            out.connect->user = MkDup("ky", "CpBases");
            out.connect->options = MkDup("edel=1", "CpBases");
        }
    }
}
