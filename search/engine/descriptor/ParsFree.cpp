// Release of a parsed descriptor and of every record it holds.
#include "base/procedural/Assoc.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/SgmlEntity.h"
#include "search/engine/descriptor/KyParseInternal.h"

namespace {

template <typename Record>
void FreeEach(KY_Assoc* table, void (*release)(Record*)) {
    if (!table)
        return;
    for (int32_t i = 0; i < table->count; ++i)
        release(static_cast<Record*>(table->entries[i].value));
    KY_FreeAssoc(table);
}

void FreePlatform(KyFileSettings* s) {
    FreeSettings(s);
    KY_Free(s);
}

void FreeFilter(KyFilterRec* f) {
    FreeSettings(&f->settings);
    FreeEach(f->platforms, FreePlatform);
    KY_Free(f);
}

void FreeThes(KyThes* t) {
    FreeSettings(&t->settings);
    KY_Free(t);
}

void FreeStp(KyStp* t) {
    FreeSettings(&t->settings);
    KY_Free(t);
}

void FreeLex(KyLex* l) {
    if (l->own)
        FreeSettings(l->own);
    KY_Free(l->own);
    FreeSettings(&l->inherited);
    if (l->abp)
        FreeSettings(&l->abp->settings);
    KY_Free(l->abp);
    if (l->hdg)
        FreeSettings(&l->hdg->settings);
    KY_Free(l->hdg);
    KY_Free(l);
}

void FreeLink(KyLink* l) {
    KY_Free(l->id);
    FreeSettings(&l->abp);
    FreeSettings(&l->bits);
    for (int32_t i = 0; l->bases && i < l->nbbases; ++i)
        KY_Free(l->bases[i]);
    KY_Free(l->bases);
    KY_Free(l);
}

void FreePathTable(KyPathTable* t) {
    if (!t)
        return;
    for (uint16_t i = 0; i < t->count; ++i) {
        KyPathVar* p = t->items[i];
        KY_Free(p->name);
        KY_Free(p->value);
        KY_Free(p->root);
        KY_Free(p->key);
        KY_Free(p);
    }
    KY_Free(t->items);
    KY_FreeAssoc(t->byName);
    KY_Free(t);
}

void FreeFormRecord(KyForm* f) {
    FreeForm(f);
}

void FreeBase(KyBase* b) {
    KY_Free(b->id);
    for (int32_t i = 0; b->supportArray && i < b->supports; ++i) {
        KyConnect* c = b->supportArray[i].connect;
        if (c) {
            KY_Free(c->server);
            KY_Free(c->script);
            KY_Free(c);
        }
    }
    KY_Free(b->supportArray);
    for (int32_t i = 0; i < b->dataCount; ++i) {
        KyData* data = b->data[i];
        for (int32_t r = 0; r < data->count; ++r) {
            FreeSettings(&data->records[r].settings);
            KY_Free(data->records[r].realdb);
            KY_Free(data->records[r].posit);
        }
        KY_Free(data->records);
        KY_Free(data->id);
        KY_Free(data);
    }
    KY_Free(b->data);
    KY_FreeAssoc(b->dataById);
    for (int32_t i = 0; i < b->indexCount; ++i) {
        KyIndex* index = b->indexes[i];
        for (int32_t r = 0; r < index->count; ++r)
            FreeSettings(&index->records[r].settings);
        KY_Free(index->records);
        KY_Free(index->id);
        KY_Free(index);
    }
    KY_Free(b->indexes);
    KY_FreeAssoc(b->indexById);
    if (b->mapping)
        FreeForm(b->mapping);
    FreeEach(b->forms, FreeFormRecord);
    KY_Free(b);
}

void FreeString(char* s) {
    KY_Free(s);
}

}  // namespace

void FreeSettings(KyFileSettings* s) {
    KY_Free(s->name);
    s->name = nullptr;
}

void FreeField(KyField* f) {
    char* strings[] = {f->sep,    f->hisep,  f->indirect, f->direct,  f->lexind,
                       f->lexdir, f->lexsec, f->proxdef,  f->indlist, f->dirlist};
    for (char* s : strings)
        KY_Free(s);
    *f = KyField{};
}

void FreeForm(KyForm* f) {
    for (uint16_t i = 0; f->fields && i < f->fieldCount; ++i)
        FreeField(&f->fields[i]);
    KY_Free(f->fields);
    KY_FreeAssoc(f->used);
    KY_Free(f->id);
    KY_Free(f->op);
    KY_Free(f->proxop);
    KY_Free(f->dateop);
    KY_Free(f);
}

void KY_FreeDescriptor(KyDescriptor* d) {
    if (!d)
        return;
    FreePathTable(d->paths);
    FreePathTable(d->subpaths);
    for (int i = 0; d->extensions && i < kKyExtensionSlots; ++i)
        KY_Free(d->extensions[i]);
    KY_Free(d->extensions);
    FreeEach(d->links, FreeLink);
    if (KyResource* r = d->resource) {
        FreeEach(r->filters, FreeFilter);
        FreeEach(r->flts, FreeFilter);
        FreeEach(r->thes, FreeThes);
        FreeEach(r->stps, FreeStp);
        FreeEach(r->lexs, FreeLex);
        FreeEach(r->userdata, FreeStp);
        KY_Free(r);
    }
    FreeEach(d->bases, FreeBase);
    FreeEach(d->userStrings, FreeString);
    KY_Free(d->curString);
    KY_Free(d->lastString);
    for (int32_t i = 0; i < d->entityCount; ++i) {
        KY_Free(const_cast<char*>(d->entities[i].name));
        KY_Free(const_cast<char*>(d->entities[i].value));
    }
    KY_Free(d->entities);
    KY_Free(d);
}
