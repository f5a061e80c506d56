// The request layer: descriptor, bases opened for requests, requests on their
// forms, runs over local and remote bases, and document references.
#include "search/engine/request/KyRequest.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyHttp.h"
#include "base/procedural/KyPath.h"
#include "base/procedural/KyStopWord.h"
#include "search/engine/descriptor/KyParse.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/records/KyAccessor.h"

int KY_NetworkUse = 0;

namespace {

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

// Scrambled descriptors store each byte b as 256 - b (0 stays 0).
int Unscramble(const std::string& from, const std::string& to) {
    FILE* in = std::fopen(from.c_str(), "rb");
    FILE* out = in ? std::fopen(to.c_str(), "wb") : nullptr;
    int c;
    bool ok = out != nullptr;
    while (ok && in && (c = std::fgetc(in)) != EOF)
        ok = std::fputc(c ? 256 - c : 0, out) != EOF;
    if (in)
        std::fclose(in);
    if (out && std::fclose(out) != 0)
        ok = false;
    return ok ? 0 : Fail(105, to);
}

int ParseAndMount(const std::string& path, const char* volumePath, const char* appFolder, KyMount** mount) {
    KY_OpenSpec spec;
    KY_ClearOpenSpec(&spec);
    KyDescriptor* desc = nullptr;
    int code = KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), path.c_str(), nullptr, 0, 0, 0, 0, &spec);
    if (!code)
        code = KY_ParseDescriptor(&spec, &desc);
    KY_FreeOpenSpec(&spec);
    if (code)
        return code;
    *mount = KY_NewMount(volumePath, appFolder);
    if (!*mount) {
        KY_FreeDescriptor(desc);
        return Fail(kQuestErrMemory, "mount");
    }
    code = CpCommon(desc, *mount);
    if (code) {
        KY_FreeMount(*mount);
        *mount = nullptr;
    }
    return code;
}

// A word list whose first character separates its words, or the fallback.
std::string WordList(const char* list, const char* fallback) {
    return list && std::strlen(list) > 2 && !std::isalnum(static_cast<unsigned char>(list[0])) ? list : fallback;
}

std::string PathOf(const KY_OpenSpec& spec) {
    return spec.path.text ? spec.path.text : "";
}

std::string WithoutExtension(const std::string& path) {
    size_t slash = path.find_last_of("\\/"), dot = path.rfind('.');
    return dot != std::string::npos && (slash == std::string::npos || dot > slash) ? path.substr(0, dot) : path;
}

// The engine part of a form: one index record per index and searched support,
// one index list per form index, one criterion per field.
int BuildPart(KY_Request* r, const KyForm* parsed) {
    const KyMountedForm* form = r->form;
    KY_EnginePart& part = r->part;
    for (uint16_t n = 0; n < form->indexCount; ++n) {
        const KyMountedIndex* index = form->indexes[n];
        const KyIndex* pi = parsed && n < parsed->usedCount ? parsed->usedIndexes[n] : nullptr;
        std::vector<KY_IndexItem> list;
        for (int32_t s = 0; index && s < index->searched; ++s) {
            KY_IndexRecord rec;
            rec.path = PathOf(index->files[s]);
            if (pi && s < pi->count && pi->records) {
                rec.maxValue = static_cast<uint32_t>(std::max(1, pi->records[s].nbdoc));
                rec.unitByte = pi->records[s].prox ? (kUnitW | kUnitP) : 0;
                part.maxDoc = std::max<int32_t>(part.maxDoc, pi->records[s].nbdoc);
            }
            list.push_back({static_cast<int8_t>(part.indexes.size()), 0});
            part.indexes.push_back(rec);
        }
        part.tables.lists.push_back(list);
    }
    KY_CriteriaMake(&part, form->fieldCount);
    for (uint16_t i = 0; i < form->fieldCount; ++i) {
        const KyMountedField& f = form->fields[i];
        const KyField* pf = parsed && i < parsed->fieldCount ? &parsed->fields[i] : nullptr;
        KY_Criterion& k = part.criteria[i + 1u];
        if (f.bloc == 1 || f.bloc == 2) {
            k.mark = f.bloc == 1 ? kMarkOpen : kMarkClose;
            continue;
        }
        k.lists[0] = f.direct >= 0 && f.direct < form->indexCount ? static_cast<uint8_t>(f.direct) : 254;
        k.lists[1] = f.indirect >= 0 && f.indirect < form->indexCount ? static_cast<uint8_t>(f.indirect) : k.lists[0];
        k.empty = f.nosearch || k.lists[0] == 254;
        for (int which = 0; which < 2; ++which)
            if (k.lists[which] != 254)
                for (const KY_IndexItem& item : part.tables.lists[k.lists[which]])
                    k.positions |= part.indexes[static_cast<size_t>(item.index)].unitByte ? 1 : 0;
        k.weight = static_cast<uint16_t>(std::max(0, f.poids));
        KY_CriterionField& cf = k.field;
        cf.separators = pf && pf->sep && *pf->sep ? pf->sep : " ,;.";
        cf.opWords = WordList(form->op, "|AND|OR|EX|");
        cf.proxWords = WordList(form->proxop, "|PRES|F|PARA|");
        cf.dateWords = WordList(form->dateop, "|EGAL|AVANT|JUSQUA|APRES|DEPUIS|");
        cf.op = f.opdef >= 1 && f.opdef <= 3 ? f.opdef - 1 : 0;
        cf.defaultProx = pf && pf->proxdef ? pf->proxdef : "";
        cf.prefix[0] = f.directPrefix;
        cf.prefix[1] = f.indirectPrefix;
        cf.proxFlag = f.prox;
        cf.thesFlag = f.thes && form->thes;
        if (pf && pf->lexsec && *pf->lexsec) {
            cf.lexicon = pf->lexsec;
        } else if (f.lexdir) {
            cf.lexicon = PathOf(f.lexdir->abp);
            KY_Lexicon& lex = r->lexicons[cf.lexicon];
            lex.name = lex.keyFile = cf.lexicon;
            lex.filterFile = PathOf(f.lexdir->fltKey);
        }
        cf.minLength = f.minkey;
        cf.date = f.date;
        k.highlight = f.directPrefix || f.indirectPrefix;
        k.op = cf.op;
    }
    if (form->thes)
        part.thesaurus = WithoutExtension(PathOf(form->thes->file));
    part.stopList = PathOf(form->stp);
    // Question terms must go through the filter that made the index keys, and
    // stop words through theirs, or accented and capital words find nothing.
    if (form->keyflt)
        part.queryFilter = PathOf(form->keyflt->file);
    if (form->stpflt)
        part.stopFilter = PathOf(form->stpflt->file);
    return 0;
}

const KyForm* ParsedForm(const KY_MountedUse* use, const char* name) {
    const KyMount* mount = use->engine ? use->engine->mount : nullptr;
    if (!mount || !mount->desc)
        return nullptr;
    KY_AssocEntry* b = KY_FindAssoc(mount->desc->bases, use->base->name);
    const KyBase* base = b ? static_cast<const KyBase*>(b->value) : nullptr;
    KY_AssocEntry* f = base ? KY_FindAssoc(base->forms, name) : nullptr;
    return f ? static_cast<const KyForm*>(f->value) : nullptr;
}

int QueryRemote(KY_Request* r, size_t i, bool* first) {
    KY_MountedUse* use = r->base;
    KY_RemoteBase& remote = r->remotes[i];
    int b = use->localCount + static_cast<int>(i);
    remote.query = 0;
    remote.count = 0;
    remote.status = kStatusEmpty;
    remote.hits.clear();
    remote.scores.clear();
    remote.high.clear();
    const KyMountedConnect* connect = use->base->supportArray ? use->base->supportArray[b].connect : nullptr;
    if (!connect || !connect->server) {
        remote.status = kStatusFailed;
        return Fail(1324, "remote base without server");
    }
    std::string question;
    int code = KY_RemoteQuestion(r, &question);
    if (code)
        return code;
    if (*first) {
        *first = false;
        KY_CleanRemoteCache(use, 3);
    }
    return KY_SearchServer(&remote, connect, question, r->form ? r->form->netlim : 0, use->docs, b, r->scores);
}

}  // namespace

void KY_MakeDocRef(int32_t doc, int16_t base, KyDocRef* out) {
    *out = (static_cast<uint32_t>(base + 1) << 24) | (static_cast<uint32_t>(doc) & 0xFFFFFF);
}

void KY_SplitDocRef(int32_t* doc, int* base, KyDocRef ref) {
    *doc = static_cast<int32_t>(ref & 0xFFFFFF);
    *base = static_cast<int8_t>(ref >> 24) - 1;
}

// The first line of a plain descriptor holds "KY MEDIA"; without it the file is
// read through the byte table b -> 256 - b.
int KY_OpenDescriptor(const char* path, KY_Engine** engine, const char* volumePath, const char* appFolder) {
    *engine = nullptr;
    FILE* f = std::fopen(path, "rb");
    if (!f) {
        return Fail(105, std::string("Can t open descfile : ") + path);
    }
    char line[260];
    bool read = std::fgets(line, sizeof line, f) != nullptr;
    std::fclose(f);
    if (!read)
        return Fail(106, path);
    std::string first = line;
    for (char& c : first)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    bool plain = first.find("KY MEDIA") != std::string::npos;
    std::string source = path;
    if (!plain) {
        source = std::string(path) + ".~ky";
        if (int code = Unscramble(path, source))
            return code;
    }
    KyMount* mount = nullptr;
    int code = ParseAndMount(source, volumePath, appFolder, &mount);
    if (!plain)
        std::remove(source.c_str());
    if (code)
        return code;
    KY_Engine* e = new KY_Engine;
    e->mount = mount;
    e->networkOn = KY_NetworkOn(mount);
    if (e->networkOn)
        KY_HttpStartupDefault();
    *engine = e;
    return 0;
}

int KY_CloseDescriptor(KY_Engine** engine) {
    if (!engine || !*engine)
        return Fail(1303, "KY_CloseDescriptor");
    KY_CloseAllBases(*engine);
    if ((*engine)->networkOn)
        KY_HttpCleanup();
    KY_FreeMount((*engine)->mount);
    delete *engine;
    *engine = nullptr;
    return 0;
}

int KY_NetworkOn(const KyMount* mount) {
    return KY_NetworkUse && mount && mount->connect;
}

int KY_OpenMountedBase(KY_Engine* engine, const char* name, KY_MountedUse** out) {
    *out = nullptr;
    if (!engine || !engine->mount || !engine->mount->bases)
        return Fail(1303, "KY_OpenMountedBase");
    KY_AssocEntry* entry = KY_FindAssoc(engine->mount->bases, name);
    if (!entry)
        return Fail(1306, name);
    KY_MountedUse& use = engine->bases[entry->key];
    *out = &use;
    if (use.openCount > 0)
        return Fail(1327, name);
    use.base = static_cast<KyMountedBase*>(entry->value);
    use.engine = engine;
    use.bases.assign(use.base->supports, KY_BaseRecord());
    use.localCount = 0;
    for (size_t s = 0; s < use.bases.size(); ++s) {
        use.bases[s].kind = use.base->supportArray ? use.base->supportArray[s].where : 0;
        if (use.bases[s].kind != 1)
            use.localCount = static_cast<int>(s) + 1;
    }
    use.openCount = 1;
    int code = 0;
    if (use.base->hdg && (code = KyOpenTable(use.base, use.base->hdg, &use.heading)) != 0) {
        use.openCount = 0;
        return code;
    }
    if (use.base->docDb && (code = KyOpenTable(use.base, use.base->docDb, &use.docs)) != 0) {
        KyCloseTable(&use.heading);
        use.openCount = 0;
        return code;
    }
    KY_CleanRemoteCache(&use, 2);
    ++use.base->users;
    return 0;
}

int KY_CloseMountedBase(KY_MountedUse* use) {
    if (!use || use->openCount == 0)
        return Fail(1306, "KY_CloseMountedBase");
    use->openCount = 0;
    --use->base->users;
    KY_CloseBaseRequests(use);
    if (use->heading)
        KyCloseTable(&use->heading);
    KY_CleanRemoteCache(use, 2);
    if (use->docs)
        KyCloseTable(&use->docs);
    return 0;
}

void KY_CloseAllBases(KY_Engine* engine) {
    for (auto& b : engine->bases)
        if (b.second.openCount > 0)
            KY_CloseMountedBase(&b.second);
}

int KY_IsBaseAvailable(KY_Engine* engine, const char* name) {
    if (!engine || !engine->mount || !engine->mount->bases)
        return Fail(1303, "KY_IsBaseAvailable");
    KY_AssocEntry* entry = KY_FindAssoc(engine->mount->bases, name);
    if (!entry)
        return Fail(1306, name);
    return static_cast<KyMountedBase*>(entry->value)->released ? 0 : 1;
}

int KY_SearchedPart(const KY_MountedUse* use, int i) {
    return use && use->base && i >= 0 && i < use->base->searched ? i : 0;
}

void KY_SuspendOthers(KY_Engine* engine) {
    for (auto& b : engine->bases)
        for (auto& r : b.second.requests)
            if (r.second->part.state == 1) {
                KY_EnginePartSuspend(&r.second->part);
                break;
            }
}

int KY_IsSuspended(const KY_Request* request) {
    return request && request->part.state == -1;
}

int KY_CloseBaseRequests(KY_MountedUse* use) {
    if (!use)
        return Fail(1306, "KY_CloseBaseRequests");
    int result = 0;
    while (!use->requests.empty()) {
        KY_Request* r = use->requests.begin()->second;
        int code = KY_CloseRequest(&r);
        if (code && !result)
            result = code;
    }
    return result;
}

AbpTree* KY_FieldIndexByPath(KY_Request* request, int field, const char* path) {
    if (!request || field < 1 || field >= static_cast<int>(request->part.criteria.size()))
        return nullptr;
    uint8_t list = request->part.criteria[static_cast<size_t>(field)].lists[0];
    if (list >= request->part.tables.lists.size())
        return nullptr;
    for (const KY_IndexItem& item : request->part.tables.lists[list]) {
        KY_IndexRecord& index = request->part.indexes[static_cast<size_t>(item.index)];
        if (index.open && strcasecmp(index.path.c_str(), path) == 0)
            return &index.tree;
    }
    return nullptr;
}

int KY_GetIndexFile(const KY_MountedUse* use, const char* name, int support, KY_OpenSpec* spec) {
    if (!use || !use->base || !use->base->indexes)
        return Fail(1306, "KY_GetIndexFile");
    KY_AssocEntry* entry = KY_FindAssoc(use->base->indexes, name);
    if (!entry)
        return Fail(1303, name);
    const KyMountedIndex* index = static_cast<const KyMountedIndex*>(entry->value);
    if (support < 0 || support >= index->searched)
        return Fail(1324, name);
    return KY_CopyOpenSpec(&index->files[support], spec);
}

int KY_OpenRequest(KY_MountedUse* use, const char* name, const char* folder, KY_Request** out) {
    *out = nullptr;
    if (!use || !use->engine || use->openCount == 0 || !use->base)
        return Fail(1306, "KY_OpenRequest");
    KY_AssocEntry* entry = KY_FindAssoc(use->base->forms, name);
    if (!entry)
        return Fail(1310, name);
    KY_SuspendOthers(use->engine);
    auto open = use->requests.find(entry->key);
    if (open != use->requests.end()) {
        KY_Request* r = open->second;
        int code = KY_IsSuspended(r) ? KY_EnginePartResume(&r->part) : 0;
        if (code)
            return code;
        r->lastIndex = 0;
        r->lastRef = 0xFFFFFFFFu;
        *out = r;
        return 0;
    }
    KY_Request* r = new KY_Request;
    r->name = entry->key;
    r->base = use;
    r->form = static_cast<const KyMountedForm*>(entry->value);
    r->fieldCount = r->form->fieldCount;
    r->part.folder = folder && *folder ? folder : "";
    if (r->part.folder.empty()) {
        char temp[MAX_PATH];
        DWORD got = GetTempPathA(sizeof temp, temp);
        r->part.folder = got && got < sizeof temp ? temp : "./";
    }
    r->lexicons[kForceProximity].name = kForceProximity;
    int code = BuildPart(r, ParsedForm(use, name));
    if (!code)
        code = KY_EngineSetup(&r->part);
    if (code) {
        delete r;
        return code;
    }
    // A lexicon whose key file is one of its field's indexes shares the open tree.
    for (size_t c = 1; c < r->part.criteria.size(); ++c) {
        KY_CriterionField& cf = r->part.criteria[c].field;
        auto lex = r->lexicons.find(cf.lexicon);
        if (cf.lexicon.empty() || lex == r->lexicons.end())
            continue;
        cf.lex = &lex->second;
        if (!lex->second.shared)
            lex->second.shared = KY_FieldIndexByPath(r, static_cast<int>(c), lex->second.keyFile.c_str());
    }
    if (use->engine->networkOn)
        for (const KY_BaseRecord& b : use->bases)
            if (b.kind == 1)
                r->remotes.emplace_back();
    use->requests[r->name] = r;
    *out = r;
    return 0;
}

int KY_CloseRequest(KY_Request** request) {
    if (!request || !*request)
        return 0;
    KY_Request* r = *request;
    if (r->base)
        r->base->requests.erase(r->name);
    for (auto& lex : r->lexicons)
        KY_FreeLexicon(&lex.second);
    if (r->part.state != 0)
        KY_EnginePartClose(&r->part);
    delete r;
    *request = nullptr;
    return 0;
}

int KY_SetFieldText(KY_Request* r, int field, const char* text) {
    if (!r || field < 1 || field > r->fieldCount)
        return Fail(1267, "KY_SetFieldText");
    r->part.criteria[static_cast<size_t>(field)].fieldText = text ? text : "";
    return 0;
}

int KY_SetQuestion(KY_Request* r, int criterion, int op, int open, const char* text, int close) {
    if (!r)
        return Fail(1267, "KY_SetQuestion");
    if (text && std::strlen(text) > kCriterionMaxText)
        return Fail(1200, "criterion too long");
    int code = KY_SetCriterion(&r->part, criterion, op, open, text, close);
    if (!code)
        KY_MarkRemoteBases(r);
    return code;
}

// A run is bracketed from its lower criterion to its higher one, whichever way
// it is given, so that the question stays balanced; a run of one gets both.
int KY_SetFieldOption(KY_Request* r, int first, int last, int op) {
    if (!r)
        return Fail(1267, "KY_SetFieldOption");
    int low = std::min(first, last), high = std::max(first, last);
    if (low < 1 || high > r->fieldCount)
        return Fail(1253, "criterion");
    for (int c = low; c <= high; ++c) {
        KY_Criterion& k = r->part.criteria[static_cast<size_t>(c)];
        k.open = c == low;
        k.close = c == high;
        k.op = op;
    }
    r->part.criteria[0].changed = 1;
    return 0;
}

int KY_SetBaseState(KY_Request* r, int base, int state) {
    if (!r || !r->base)
        return Fail(1267, "KY_SetBaseState");
    if (base < 0 || base >= static_cast<int>(r->base->bases.size()))
        return Fail(1324, "base");
    KY_BaseRecord& rec = r->base->bases[static_cast<size_t>(base)];
    if (rec.state == state)
        return 0;
    if (rec.kind != 1) {
        for (auto& list : r->part.tables.lists) {
            if (static_cast<int>(list.size()) <= base)
                return Fail(1268, "index list");
            list[static_cast<size_t>(base)].skip = state == 1;
        }
    }
    rec.state = state;
    rec.changed = !rec.changed;
    return 0;
}

int KY_ClearField(KY_Request* r, int base) {
    return KY_SetBaseState(r, base, 0);
}

namespace {

// Rewrites the request's result with the documents the filter keeps.
int FilterResult(KY_Request* r, KY_DocFilter filter, void* argument) {
    KY_Criterion& whole = r->part.criteria[0];
    KY_ResultClose(&r->part);
    std::string old = KY_ListPath(r->part.folder, whole.listName);
    LoHandle in = -1, out = -1;
    int code = KY_EngineOpenStoredList(old.c_str(), &in);
    if (!code)
        code = LoCreate(kLoReadable | kLoWritable, nullptr, 0, 0, 0, &out, 1);
    int32_t count = 0, n, doc, value, firstPos;
    if (!code && (code = LoRewind(in)) == 0)
        for (code = LoFirst(in, &n, &doc, &value, &firstPos); !code && doc != -1;
             code = LoNext(in, &doc, &value, &firstPos))
            if (filter(doc, argument) && (code = LoWrite(out, doc, value)) == 0)
                ++count;
    LoFree(&in);
    if (!code)
        code = LoWrite(out, -1, 0);
    std::string name;
    if (!code) {
        LoClose(out);
        code = KY_EngineSaveWorkList(&out, r->part.folder, &name);
    }
    LoFree(&out);
    if (code)
        return code;
    if (!KY_CriterionListShared(&r->part, 0))
        KY_EngineDeleteList(old.c_str());
    whole.listName = name;
    whole.count = count;
    return 0;
}

}  // namespace

int KY_RunRequest(KY_Request* r, int mode, KY_DocFilter filter, void* argument) {
    if (!r)
        return Fail(1267, "KY_RunRequest");
    r->lastIndex = 0;
    r->lastRef = 0xFFFFFFFFu;
    r->lastScore = -1;
    KY_ApplyBaseChanges(r);
    r->part.mode = mode | (r->scores ? static_cast<int>(kLoScored) : 0);
    int code = KY_EngineRun(&r->part, 0);
    if (!code && mode == 0 && filter && r->part.criteria[0].status == kStatusDone)
        code = FilterResult(r, filter, argument);
    if (code) {
        r->status = kStatusFailed;
        return code;
    }
    bool first = true;
    for (size_t i = 0; i < r->remotes.size() && !code; ++i) {
        size_t b = static_cast<size_t>(r->base->localCount) + i;
        if (r->remotes[i].query && r->base->bases[b].state == 0)
            code = QueryRemote(r, i, &first);
    }
    const KY_Criterion& whole = r->part.criteria[0];
    r->total = whole.status == kStatusDone && whole.count > 0 ? whole.count : 0;
    for (const KY_RemoteBase& remote : r->remotes)
        if (remote.status == kStatusDone && remote.count >= 1)
            r->total += remote.count;
    // The run's status is the first of these that the local part or a remote base has.
    auto had = [r, &whole](int32_t s) {
        return whole.status == s || std::any_of(r->remotes.begin(), r->remotes.end(),
                                                [s](const KY_RemoteBase& remote) { return remote.status == s; });
    };
    static const int32_t kOrder[] = {-109, kStatusFailed, kStatusDone, kStatusNothing, kStatusEmpty, kStatusNone};
    r->status = kStatusFailed;
    for (int32_t s : kOrder)
        if (had(s)) {
            r->status = s;
            break;
        }
    if (code)
        r->status = kStatusFailed;
    return code;
}

int32_t KY_GetResultCount(const KY_Request* r) {
    return r ? r->total : -1;
}

int32_t KY_GetRequestStatus(const KY_Request* r, int criterion) {
    if (!r)
        return kStatusNone;
    if (criterion == 0)
        return r->status;
    if (criterion < 0 || criterion >= static_cast<int>(r->part.criteria.size()))
        return kStatusNone;
    return r->part.criteria[static_cast<size_t>(criterion)].status;
}

int32_t KY_GetCriterionCount(const KY_Request* r, int criterion) {
    if (!r)
        return Fail(1267, "KY_GetCriterionCount");
    return KY_CriterionState(&r->part, criterion) == 0 ? r->part.criteria[static_cast<size_t>(criterion)].count : -1;
}

namespace {

// Hit hit (index's in the base's order) of a request on one local base when
// its element was walked already: the layers of a seek (bases, supports, the
// part's checks) cost several times what reading the element does, and a
// result is mostly read whole and in order. False when the seek must answer.
bool WalkedHit(KY_Request* r, int32_t hit, int32_t index, KyDocRef* ref) {
    const KY_MountedUse* use = r->base;
    const KY_EnginePart& part = r->part;
    if (use->bases.size() != 1 || use->localCount != 1 || !r->remotes.empty() || part.state != 1 ||
        !part.listOpen || part.openCriterion != 0 || part.walk[0] != 0 || KY_CriterionState(&part, 0) != 0)
        return false;
    if (hit < 1 || hit > part.criteria[0].count || static_cast<size_t>(hit) * 3 > part.walked.size())
        return false;
    const int32_t* w = &part.walked[static_cast<size_t>(hit - 1) * 3];
    KY_MakeDocRef(w[0], 0, ref);
    r->lastIndex = index;
    r->lastRef = *ref;
    r->lastScore = w[2];
    r->lastPos = w[1];
    return true;
}

}  // namespace

int KY_GetResultDoc(KY_Request* r, KyDocRef* ref, int32_t* index) {
    *ref = 0xFFFFFFFFu;
    if (!r)
        return Fail(1267, "KY_GetResultDoc");
    if (r->total < 1)
        return Fail(1269, "empty result");
    *index = std::max(1, std::min(*index, r->total));
    if (*index == r->lastIndex) {
        *ref = r->lastRef;
        return 0;
    }
    int32_t hit = *index;
    if (r->base->base && r->base->base->order != r->base->base->consOrder && r->base->base->consOrder >= 0)
        hit = r->total - *index + 1;
    if (WalkedHit(r, hit, *index, ref))
        return 0;
    int base = 0, remote = 0;
    int code = KY_LocateHit(r, &hit, &base, &remote);
    if (code)
        return code;
    int32_t doc = -1, score = 0, pos = -1;
    if (base < r->base->localCount) {
        int32_t n = hit;
        code = KY_ResultSeek(&r->part, &doc, &pos, &score, &n, 0);
        for (int s = 0; !code && s < r->base->localCount && r->base->base->supportArray; ++s) {
            const KyMountedSupport& sup = r->base->base->supportArray[s];
            if (sup.first >= 0 && doc >= sup.first && (sup.end <= sup.first || doc < sup.end)) {
                base = s;
                break;
            }
        }
    } else {
        code = KY_RemoteHit(&r->remotes[static_cast<size_t>(remote)], hit, &doc, &score);
    }
    if (code)
        return code;
    KY_MakeDocRef(doc, static_cast<int16_t>(base), ref);
    r->lastIndex = *index;
    r->lastRef = *ref;
    r->lastScore = score;
    r->lastPos = pos;
    return 0;
}

int KY_GetScoredDoc(KY_Request* r, KyDocRef* ref, int32_t* index, int32_t* score) {
    *score = 0;
    int code = KY_GetResultDoc(r, ref, index);
    if (!code)
        *score = std::max(0, r->lastScore);
    return code;
}

int KY_CheckStopWord(const char* word) {
    return KY_StopWordsOn() && KY_FindStopWordDefault(word) == 1 ? 1 : 0;
}

int KY_GetFieldCount(const KY_Request* r, uint16_t* count) {
    if (!r)
        return Fail(1267, "KY_GetFieldCount");
    *count = r->fieldCount;
    return 0;
}

int KY_GetBaseCount(const KY_MountedUse* use, uint8_t* count) {
    if (!use || !use->base)
        return Fail(1306, "KY_GetBaseCount");
    *count = use->base->supports;
    return 0;
}

int KY_GetBaseKind(const KY_MountedUse* use, int number, int32_t* kind) {
    if (!use || number < 0 || number >= static_cast<int>(use->bases.size()))
        return Fail(1324, "KY_GetBaseKind");
    *kind = use->bases[static_cast<size_t>(number)].kind;
    return 0;
}
