// Tag handlers of the descriptor's request mapping, forms, request fields,
// operator strings and user strings.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/procedural/Assoc.h"
#include "base/procedural/BAlloc.h"
#include "search/engine/descriptor/KyParseInternal.h"

namespace {

// Attribute positions of reqDefaults (req has num first).
enum {
    kDirect,
    kIndirect,
    kLexdir,
    kLexind,
    kBloc,
    kDate,
    kProx,
    kThes,
    kOpdef,
    kLexsec,
    kMinkey,
    kNorecup,
    kNoscore,
    kPoids,
    kProxdef,
    kDirlist,
    kIndlist,
    kNosearch,
    kReqValues
};

void Require(bool condition, const char* routine) {
    if (!condition)
        ParseFail(kKyParseErrMissing, routine);
}

KyForm* NewForm(uint16_t fields, const char* routine) {
    KyForm* f = static_cast<KyForm*>(ParseAlloc(sizeof(KyForm), routine));
    f->fieldCount = fields;
    f->netlim = 10000;
    f->fields = static_cast<KyField*>(ParseAlloc(sizeof(KyField) * fields, routine));
    return f;
}

// Registers an index in the form's table of indexes used; its number.
int Register(KyForm* form, const char* name, KyIndex* index, const char* routine) {
    if (KY_AssocEntry* e = form->used ? KY_FindAssoc(form->used, name) : nullptr)
        return static_cast<int>(reinterpret_cast<intptr_t>(e->value)) - 1;
    // A field writes the number in two digits.
    if (form->usedCount >= kKyMaxFormIndexes)
        ParseFail(kKyParseErrMissing, routine);
    int number = form->usedCount;
    ParseEnter(&form->used, name, reinterpret_cast<void*>(static_cast<intptr_t>(number + 1)), routine);
    form->usedIndexes[number] = index;
    ++form->usedCount;
    form->usedSum = static_cast<uint16_t>(form->usedSum + index->searched);
    return number;
}

// The number of an index named in a request, entered in the form when new.
int IndexNumber(KyDescriptor* d, KyForm* form, const char* name, int32_t missing, const char* routine) {
    if (KY_AssocEntry* e = form->used ? KY_FindAssoc(form->used, name) : nullptr)
        return static_cast<int>(reinterpret_cast<intptr_t>(e->value)) - 1;
    KyIndex* index = static_cast<KyIndex*>(ParseFind(d->curBase->indexById, name));
    KyForm* mapping = d->curBase->mapping;
    if (!index && mapping && mapping != form && mapping->used) {
        intptr_t n = reinterpret_cast<intptr_t>(ParseFind(mapping->used, name));
        if (n > 0)
            index = mapping->usedIndexes[n - 1];
    }
    if (!index)
        ParseFail(missing, routine);
    return Register(form, name, index, routine);
}

char* NumberText(int number, const char* routine) {
    char text[8];
    std::snprintf(text, sizeof text, "%d", number);
    return ParseDup(text, routine);
}

// Names separated by ",", blank, ";", ":" or "-", as numbers joined by ":".
char* IndexList(KyDescriptor* d, KyForm* form, const char* names, int32_t missing, const char* routine) {
    char out[kKyMaxFormIndexes * 3 + 1] = "";
    size_t used = 0;
    const char* p = names;
    while (*p) {
        size_t skip = std::strspn(p, ", ;:-");
        p += skip;
        size_t n = std::strcspn(p, ", ;:-");
        if (n == 0)
            break;
        char name[128];
        if (n >= sizeof name)
            ParseFail(missing, routine);
        std::memcpy(name, p, n);
        name[n] = 0;
        p += n;
        int number = IndexNumber(d, form, name, missing, routine);
        int w = std::snprintf(out + used, sizeof out - used, used ? ":%d" : "%d", number);
        if (w < 0 || used + static_cast<size_t>(w) >= sizeof out)
            ParseFail(missing, routine);
        used += static_cast<size_t>(w);
    }
    return ParseDup(out, routine);
}

// A mapping's index numbers, as numbers of the same indexes in the form.
char* FromMapping(KyForm* mapping, KyForm* form, const char* numbers, const char* routine) {
    if (!numbers)
        return nullptr;
    char out[kKyMaxFormIndexes * 3 + 1] = "";
    size_t used = 0;
    for (const char* p = numbers; *p;) {
        char* end = nullptr;
        long n = std::strtol(p, &end, 10);
        if (end == p)
            break;
        p = *end == ':' ? end + 1 : end;
        if (n < 0 || n >= mapping->usedCount)
            continue;
        KyIndex* index = mapping->usedIndexes[n];
        int number = Register(form, index->id, index, routine);
        int w = std::snprintf(out + used, sizeof out - used, used ? ":%d" : "%d", number);
        if (w > 0 && used + static_cast<size_t>(w) < sizeof out)
            used += static_cast<size_t>(w);
    }
    return ParseDup(out, routine);
}

void CopyField(KyField* to, const KyField& from, const char* routine) {
    FreeField(to);
    *to = from;
    to->sep = ParseDup(from.sep, routine);
    to->hisep = ParseDup(from.hisep, routine);
    to->indirect = ParseDup(from.indirect, routine);
    to->direct = ParseDup(from.direct, routine);
    to->lexind = ParseDup(from.lexind, routine);
    to->lexdir = ParseDup(from.lexdir, routine);
    to->lexsec = ParseDup(from.lexsec, routine);
    to->proxdef = ParseDup(from.proxdef, routine);
    to->indlist = ParseDup(from.indlist, routine);
    to->dirlist = ParseDup(from.dirlist, routine);
}

// Sets the field from the values: every value when all is set, else the
// written ones; an index that is not written comes from the mapping's field.
void FillField(KyDescriptor* d, KyForm* form, KyField* f, const char* const* v, bool all, const KyField* fallback,
               int32_t missing, const char* routine) {
    auto take = [&](int i) { return all ? v[i] != nullptr : Written(v[i]); };
    if ((take(kLexdir) || take(kLexind) || take(kLexsec)) && !all)
        Require(d->resource != nullptr, routine);
    if (take(kBloc))
        f->bloc = ParseKeyword(v[kBloc], kKwBloc);
    if (take(kDate))
        f->date = ParseFlag(v[kDate]);
    if (take(kProx))
        f->prox = ParseFlag(v[kProx]);
    if (take(kThes))
        f->thes = ParseFlag(v[kThes]);
    if (take(kOpdef))
        f->opdef = ParseKeyword(v[kOpdef], kKwOpdef);
    if (take(kMinkey))
        f->minkey = ParseNumber(v[kMinkey]);
    if (take(kNorecup))
        f->norecup = ParseFlag(v[kNorecup]);
    if (take(kNoscore))
        f->noscore = ParseFlag(v[kNoscore]);
    if (take(kPoids))
        f->poids = ParseNumber(v[kPoids]);
    if (take(kNosearch))
        f->nosearch = ParseFlag(v[kNosearch]);
    const int strings[] = {kLexdir, kLexind, kLexsec, kProxdef};
    char** slots[] = {&f->lexdir, &f->lexind, &f->lexsec, &f->proxdef};
    for (int i = 0; i < 4; ++i)
        if (take(strings[i]))
            ParseSet(slots[i], v[strings[i]], routine);
    if (take(kDirect)) {
        char* n = NumberText(IndexNumber(d, form, v[kDirect], missing, routine), routine);
        KY_Free(f->direct);
        f->direct = n;
    }
    if (take(kIndirect)) {
        char* n = NumberText(IndexNumber(d, form, v[kIndirect], missing, routine), routine);
        KY_Free(f->indirect);
        f->indirect = n;
    }
    if (take(kDirlist)) {
        char* list = IndexList(d, form, v[kDirlist], missing, routine);
        KY_Free(f->dirlist);
        f->dirlist = list;
    }
    if (take(kIndlist)) {
        char* list = IndexList(d, form, v[kIndlist], missing, routine);
        KY_Free(f->indlist);
        f->indlist = list;
    }
    if (!fallback)
        return;
    KyForm* mapping = d->curBase->mapping;
    if (!take(kDirect) && !f->direct)
        f->direct = FromMapping(mapping, form, fallback->direct, routine);
    if (!take(kIndirect) && !f->indirect)
        f->indirect = FromMapping(mapping, form, fallback->indirect, routine);
    if (!take(kLexdir) && !f->lexdir)
        f->lexdir = ParseDup(fallback->lexdir, routine);
    if (!take(kLexind) && !f->lexind)
        f->lexind = ParseDup(fallback->lexind, routine);
    if (!take(kLexsec) && !f->lexsec)
        f->lexsec = ParseDup(fallback->lexsec, routine);
    if (!take(kBloc))
        f->bloc = fallback->bloc;
}

bool InMapping(const KyDescriptor* d) {
    return d->openMapping && d->curForm == d->openMapping;
}

KyThes* FindThes(KyDescriptor* d, const char* name, const char* routine) {
    if (!name)
        return nullptr;
    void* t = d->resource ? ParseFind(d->resource->thes, name) : nullptr;
    if (!t)
        ParseFail(kKyParseErrUndeclared, routine);
    return static_cast<KyThes*>(t);
}

KyStp* FindStp(KyDescriptor* d, const char* name, const char* routine) {
    if (!name)
        return nullptr;
    void* t = d->resource ? ParseFind(d->resource->stps, name) : nullptr;
    if (!t)
        ParseFail(kKyParseErrUndeclared, routine);
    return static_cast<KyStp*>(t);
}

KyFilterRec* FindFlt(KyDescriptor* d, const char* name, const char* routine) {
    if (!name)
        return nullptr;
    void* t = d->resource ? ParseFind(d->resource->flts, name) : nullptr;
    if (!t)
        ParseFail(kKyParseErrUndeclared, routine);
    return static_cast<KyFilterRec*>(t);
}

// State transitions of the operator and separator elements.
void OperatorElement(void* user, int start, int inMapping, int inForm, int endMark, int endMapping, int endOther) {
    KyDescriptor* d = Desc(user, "opTagFun");
    int32_t s = d->state;
    if (start)
        SetState(d, s == 117 ? inMapping : inForm);
    else
        SetState(d, s == endMark ? endMapping : endOther);
}

}  // namespace

KY_TAG_HANDLER(mappingTagFun) {
    KyDescriptor* d = Desc(user, "mappingTagFun");
    (void)v;
    (void)count;
    if (!start) {
        if (d->openMapping) {
            KY_FreeAssoc(d->openMapping->used);
            d->openMapping->used = nullptr;
        }
        d->openMapping = nullptr;
        d->curForm = nullptr;
        d->curField = nullptr;
        SetState(d, -1);
        return;
    }
    KyBase* b = d->curBase;
    Require(b && !b->mapping, "mappingTagFun");
    b->mapping = NewForm(1, "mappingTagFun");
    if (!b->forms && !(b->forms = KY_NewAssoc(nullptr, 0)))
        ParseFail(kKyParseErrMemory, "mappingTagFun");
    d->openMapping = b->mapping;
    d->curForm = b->mapping;
    d->curField = nullptr;
    SetState(d, 117);
    ParseMappingLine(d, "<reqDefaults>");
    ParseMappingLine(d, "</reqDefaults>");
}

KY_TAG_HANDLER(reqDefaultsTagFun) {
    KyDescriptor* d = Desc(user, "reqDefaultsTagFun");
    if (!start)
        return;
    Require(d->curBase && d->curForm && count == kReqValues, "reqDefaultsTagFun");
    if (InMapping(d)) {
        FillField(d, d->curForm, &d->curForm->fields[0], v, true, nullptr, kKyParseErrMissing, "reqDefaultsTagFun");
        d->curField = nullptr;
        return;
    }
    KyForm* form = d->curForm;
    KyForm* mapping = d->curBase->mapping;
    Require(mapping != nullptr && form != mapping, "reqDefaultsTagFun");
    KyField defaults{};
    CopyField(&defaults, mapping->fields[0], "reqDefaultsTagFun");
    KY_Free(defaults.direct);
    KY_Free(defaults.indirect);
    KY_Free(defaults.dirlist);
    KY_Free(defaults.indlist);
    defaults.direct = FromMapping(mapping, form, mapping->fields[0].direct, "reqDefaultsTagFun");
    defaults.indirect = FromMapping(mapping, form, mapping->fields[0].indirect, "reqDefaultsTagFun");
    defaults.dirlist = FromMapping(mapping, form, mapping->fields[0].dirlist, "reqDefaultsTagFun");
    defaults.indlist = FromMapping(mapping, form, mapping->fields[0].indlist, "reqDefaultsTagFun");
    struct Free {
        KyField* f;
        ~Free() { FreeField(f); }
    } guard{&defaults};
    FillField(d, form, &defaults, v, false, nullptr, kKyParseErrMissing, "reqDefaultsTagFun");
    for (uint16_t i = 0; i < form->fieldCount; ++i)
        CopyField(&form->fields[i], defaults, "reqDefaultsTagFun");
}

KY_TAG_HANDLER(formTagFun) {
    KyDescriptor* d = Desc(user, "formTagFun");
    if (!start) {
        d->curForm = d->openMapping;
        d->curField = nullptr;
        SetState(d, -1);
        return;
    }
    KyBase* b = d->curBase;
    Require(b && count == 4 && v[0] && v[1], "formTagFun");
    int32_t fields = ParseNumber(v[1]);
    Require(fields >= 1 && fields <= 1000, "formTagFun");
    if (ParseFind(b->forms, v[0]))
        ParseFail(kKyParseErrMemory, "formTagFun");
    KyForm* form = NewForm(static_cast<uint16_t>(fields), "formTagFun");
    ParseEnter(&b->forms, v[0], form, "formTagFun");
    form->id = ParseDup(v[0], "formTagFun");
    if (Written(v[2]) && v[2][0])
        form->netlim = ParseNumber(v[2]);
    d->curForm = form;
    d->curField = nullptr;
    SetState(d, 118);
}

KY_TAG_HANDLER(reqTagFun) {
    KyDescriptor* d = Desc(user, "reqTagFun");
    if (!start)
        return;
    KyForm* form = d->curForm;
    KyBase* b = d->curBase;
    Require(b && form && form != b->mapping && count == kReqValues + 1 && v[0], "reqTagFun");
    int32_t num = ParseNumber(v[0]);
    Require(num >= 0 && num < form->fieldCount, "reqTagFun");
    KyField* f = &form->fields[num];
    d->curField = f;
    FillField(d, form, f, v + 1, false, b->mapping ? &b->mapping->fields[0] : nullptr, kKyParseErrReqIndex,
              "reqTagFun");
}

KY_TAG_HANDLER(formDefaultsTagFun) {
    KyDescriptor* d = Desc(user, "formDefaultsTagFun");
    if (!start)
        return;
    Require(d->curBase && d->curForm && count == 4, "formDefaultsTagFun");
    KyForm* form = d->curForm;
    KyForm* mapping = InMapping(d) ? nullptr : d->curBase->mapping;
    KyThes* thes = FindThes(d, v[0], "formDefaultsTagFun");
    KyStp* stp = FindStp(d, v[1], "formDefaultsTagFun");
    KyFilterRec* stpflt = FindFlt(d, v[2], "formDefaultsTagFun");
    KyFilterRec* keyflt = FindFlt(d, v[3], "formDefaultsTagFun");
    form->thes = thes || !mapping ? thes : mapping->thes;
    form->stp = stp || !mapping ? stp : mapping->stp;
    form->stpflt = stpflt || !mapping ? stpflt : mapping->stpflt;
    form->keyflt = keyflt || !mapping ? keyflt : mapping->keyflt;
}

KY_TAG_HANDLER(prefixTagFun) {
    KyDescriptor* d = Desc(user, "prefixTagFun");
    if (!start)
        return;
    Require(d->curForm && count == 2, "prefixTagFun");
    for (uint16_t i = 0; i < d->curForm->fieldCount; ++i) {
        KyField* f = &d->curForm->fields[i];
        if (d->curField && f != d->curField)
            continue;
        if (Written(v[0]))
            f->directPrefix = v[0][0];
        if (Written(v[1]))
            f->indirectPrefix = v[1][0];
    }
}

KY_TAG_HANDLER(opTagFun) {
    (void)v;
    (void)count;
    OperatorElement(user, start, 110, 122, 110, 117, 118);
}

KY_TAG_HANDLER(proxopTagFun) {
    (void)v;
    (void)count;
    OperatorElement(user, start, 111, 123, 111, 117, 118);
}

KY_TAG_HANDLER(dateopTagFun) {
    (void)v;
    (void)count;
    OperatorElement(user, start, 112, 124, 112, 117, 118);
}

KY_TAG_HANDLER(sepTagFun) {
    (void)v;
    (void)count;
    OperatorElement(user, start, 113, 126, 110, 117, 119);
}

KY_TAG_HANDLER(hisepTagFun) {
    (void)v;
    (void)count;
    OperatorElement(user, start, 114, 125, 110, 117, 119);
}

KY_TAG_HANDLER(userstrTagFun) {
    KyDescriptor* d = Desc(user, "userstrTagFun");
    (void)v;
    (void)count;
    if (start && !d->userStrings && !(d->userStrings = KY_NewAssoc(nullptr, 0)))
        ParseFail(kKyParseErrMemory, "userstrTagFun");
}

KY_TAG_HANDLER(strTagFun) {
    KyDescriptor* d = Desc(user, "strTagFun");
    if (!start) {
        KY_Free(d->curString);
        d->curString = nullptr;
        SetState(d, -1);
        return;
    }
    Require(d->userStrings && count == 1 && v[0], "strTagFun");
    ParseSet(&d->curString, v[0], "strTagFun");
    SetState(d, 127);
}
