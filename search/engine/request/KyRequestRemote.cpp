// The remote bases of a request: hits located across local and remote bases,
// the question their servers are sent, changes of bases marked for the next
// run, and the remote parts' local caches emptied.
#include <algorithm>
#include <cstdio>
#include <string>

#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyPath.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/request/KyRequest.h"

namespace {

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

const char* OpWord(int op) {
    return op == 1 ? "OR" : op == 2 ? "EX" : "AND";
}

}  // namespace

int KY_GetBaseHitCount(const KY_Request* request, int base) {
    if (!request || !request->base || base < 0 || base >= static_cast<int>(request->base->bases.size()))
        return -1;
    if (base < request->base->localCount) {
        const KY_Criterion& whole = request->part.criteria[0];
        return whole.status == kStatusDone ? whole.count : -1;
    }
    size_t remote = static_cast<size_t>(base - request->base->localCount);
    if (remote >= request->remotes.size() || request->base->bases[static_cast<size_t>(base)].state != 0)
        return -1;
    const KY_RemoteBase& r = request->remotes[remote];
    return r.status == kStatusDone && r.count > 0 ? r.count : -1;
}

int KY_FirstBaseWithHits(const KY_Request* request, int* base) {
    *base = 0;
    for (int b = 0; request && request->base && b < static_cast<int>(request->base->bases.size()); ++b) {
        int count = KY_GetBaseHitCount(request, b);
        if (count > 0) {
            *base = b;
            return count;
        }
    }
    return -1;
}

// Bases are walked in their order ("NORM") or from the last ("INV"); the local
// result covers every local base at once.
int KY_LocateHit(const KY_Request* request, int32_t* hit, int* base, int* remoteIndex) {
    if (!request || !request->base)
        return Fail(1267, "request");
    const KY_MountedUse* use = request->base;
    int count = static_cast<int>(use->bases.size());
    bool inverse = use->base && use->base->order == 0;
    int32_t n = *hit;
    int b = inverse ? count - 1 : 0;
    while (b >= 0 && b < count) {
        int32_t c = KY_GetBaseHitCount(request, b);
        if (c >= 0) {
            n -= c;
            if (n <= 0) {
                *hit = n + c;
                *base = b;
                *remoteIndex = b >= use->localCount ? b - use->localCount : 0;
                return 0;
            }
        }
        if (inverse)
            b = b >= use->localCount || request->realData ? b - 1 : -1;
        else
            b = b < use->localCount && !request->realData ? std::max(b + 1, use->localCount) : b + 1;
    }
    return Fail(1269, "hit outside every base");
}

int KY_GetQuestionTerms(KY_Request* request, int base, std::vector<std::string>* words, int which) {
    words->clear();
    if (!request || !request->base)
        return Fail(1267, "request");
    if (base < 0 && KY_FirstBaseWithHits(request, &base) < 0)
        return Fail(1267, "no base with hits");
    if (base >= request->base->localCount) {
        size_t remote = static_cast<size_t>(base - request->base->localCount);
        if (remote >= request->remotes.size())
            return Fail(1267, "no remote bases");
        *words = request->remotes[remote].high;
        return 0;
    }
    const std::vector<std::string>* list = KY_GetWordList(&request->part, which);
    if (list)
        *words = *list;
    return 0;
}

int KY_GetRecordTerms(KY_Request* request, KyTable* table, int32_t record, std::vector<std::string>* words, int which) {
    int32_t local = 0;
    int part = 0;
    int code = KyLocateRange(table, record, &local, &part);
    if (code) {
        words->clear();
        return code;
    }
    return KY_GetQuestionTerms(request, part, words, which);
}

int KY_ApplyBaseChanges(KY_Request* request) {
    if (!request || !request->base)
        return Fail(1267, "request");
    bool localDone = false;
    for (size_t b = 0; b < request->base->bases.size(); ++b) {
        KY_BaseRecord& rec = request->base->bases[b];
        if (!rec.changed)
            continue;
        if (rec.kind == 1) {
            size_t remote = b - static_cast<size_t>(request->base->localCount);
            if (remote < request->remotes.size())
                request->remotes[remote].query = 1;
        } else if (!localDone) {
            localDone = true;
            for (size_t c = 1; c < request->part.criteria.size(); ++c)
                if (request->part.criteria[c].mark != kMarkEnd)
                    request->part.criteria[c].changed = 1;
        }
        rec.changed = 0;
    }
    return 0;
}

void KY_MarkRemoteBases(KY_Request* request) {
    if (!request || !request->base || !request->base->engine)
        return;
    for (KY_RemoteBase& r : request->remotes)
        r.query = 1;
}

namespace {

void Remove(const KY_OpenSpec& spec) {
    if (spec.path.text)
        std::remove(spec.path.text);
}

// An empty data file and empty catalogues for the part.
int MakeEmpty(const KyMountedData& d) {
    if (d.data.path.text) {
        FILE* f = std::fopen(d.data.path.text, "wb");
        if (!f)
            return Fail(105, d.data.path.text);
        std::fclose(f);
    }
    for (const KY_OpenSpec* spec : {&d.catalogue, d.compression ? &d.companion : nullptr}) {
        if (!spec || !spec->path.text)
            continue;
        KyCat cat{};
        int code = catCreate(&cat, spec, 20, 20, 30, 0);
        catClose(&cat);
        if (code)
            return Fail(code, spec->path.text);
    }
    return 0;
}

}  // namespace

int KY_CleanRemoteCache(KY_MountedUse* use, int mode) {
    if (!use || !use->base || use->noClean)
        return 0;
    KyMountedBase* base = use->base;
    KY_Assoc* data = base->data;
    if (!data || !base->docDb)
        return 0;
    KY_AssocEntry* entry = KY_FindAssoc(data, base->docDb);
    KyMountedData* parts = entry ? static_cast<KyMountedData*>(entry->value) : nullptr;
    if (!parts)
        return 0;
    bool reopen = use->docs != nullptr;
    if (reopen)
        KyCloseTable(&use->docs);
    int result = 0;
    for (size_t b = 0; b < use->bases.size() && b < base->supports; ++b) {
        const KyMountedData& d = parts[b];
        if (use->bases[b].kind != 1 || !d.present || !d.tabcor || d.clean < mode)
            continue;
        KY_OpenSpec cor;
        KY_ClearOpenSpec(&cor);
        if (KY_CopyOpenSpec(&d.catalogue, &cor) == 0 && KY_SetPathExtension("cor", &cor.path, false) == 0)
            Remove(cor);
        KY_FreeOpenSpec(&cor);
        Remove(d.data);
        Remove(d.catalogue);
        if (d.compression)
            Remove(d.companion);
        int code = MakeEmpty(d);
        if (code && !result)
            result = code;
    }
    if (reopen) {
        int code = KyOpenTable(base, base->docDb, &use->docs);
        if (code && !result)
            result = code;
    }
    return result;
}

// Criteria with a value as " OP [i,c=value]" (no operator first in a group),
// group markers as "(" and ")".
int KY_RemoteQuestion(const KY_Request* r, std::string* text) {
    text->clear();
    int depth = 0;
    bool first = true;
    for (size_t c = 1; c < r->part.criteria.size(); ++c) {
        const KY_Criterion& k = r->part.criteria[c];
        if (k.mark == kMarkEnd)
            break;
        if (k.mark == kMarkOpen) {
            *text += std::string(first ? "" : std::string(" ") + OpWord(k.op) + " ") + "(";
            ++depth;
            first = true;
            continue;
        }
        if (k.mark == kMarkClose) {
            if (depth == 0)
                continue;
            *text += ")";
            --depth;
            first = false;
            continue;
        }
        if (k.value.empty() || k.empty)
            continue;
        if (!first)
            *text += std::string(" ") + OpWord(k.op) + " ";
        *text += "[" + std::to_string(c - 1) + "," + std::to_string(k.lists[0]) + "=" + k.value + "]";
        first = false;
    }
    return depth ? Fail(1266, "group") : 0;
}
