// Remote bases of a request: server replies read into hit vectors and the
// base's local cache, hits located across bases, and the caches emptied.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyPath.h"
#include "search/engine/KyAccessor.h"
#include "search/engine/KyRequest.h"
#include "search/engine/MkDoom.h"

namespace {

const int kReplyLine = 1000;
const int32_t kMaxVectorRange = 0x7FFF8;

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// A whole line of at most kReplyLine bytes with its line feed; 106 when none
// comes, or when the line is longer (it would be cut).
// whole: the line must end with its line feed (a document line cut short is refused).
int ReadLine(KY_File* reply, std::string* line, bool whole) {
    char buffer[kReplyLine + 1];
    if (!KY_FGets(buffer, sizeof buffer, reply))
        return Fail(106, "reply line");
    size_t n = std::strlen(buffer);
    if (n == kReplyLine && buffer[n - 1] != '\n')
        return Fail(106, "reply line too long");
    if (whole && (n == 0 || buffer[n - 1] != '\n'))
        return Fail(106, "reply line cut short");
    line->assign(buffer, n);
    return 0;
}

int ReadWord(KY_File* reply, int32_t* value) {
    uint8_t b[4];
    if (KY_FRead(reply, b, 4) != 4)
        return Fail(106, "reply item");
    *value = static_cast<int32_t>(b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24);
    return 0;
}

// Strict decimal: digits only, no overflow.
bool Decimal(const std::string& text, int32_t* value) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    long long v = std::atoll(text.c_str());
    if (v > 0x7FFFFFFF)
        return false;
    *value = static_cast<int32_t>(v);
    return true;
}

int MakeVector(KY_RemoteBase* r, int32_t doc, bool scores) {
    if (doc > r->highest)
        return Fail(1322, "document outside MAXNODOC");
    r->first = doc == r->highest ? 0 : doc;
    r->highest -= r->first;
    if (r->highest < 0 || r->highest + 1 > kMaxVectorRange)
        return Fail(kQuestErrMemory, "hit vector range");
    r->hits.assign(static_cast<size_t>((r->highest + 1) / 8 + 1), 0);
    r->scores.clear();
    if (scores) {
        if (r->count < 0 || r->count > 65535)
            return Fail(kQuestErrMemory, "score count");
        if (r->count >= 1)
            r->scores.assign(static_cast<size_t>(r->count), 0);
    }
    return 0;
}

}  // namespace

// Document block. Uncompressed part, one line a document:
//   text ... \t <document> [ . <score> ] \n      (at most 1000 bytes)
// compressed part, per document: document, stored length and expanded length as
// 32-bit little-endian words, then the stored bytes.
int KY_ReadRemoteData(KY_RemoteBase* r, KyTable* table, int part, KY_File* reply, int scores, int compressedBlock) {
    KyPart* p = table && part >= 0 && part < table->partCount ? &table->parts[part] : nullptr;
    bool compressed = compressedBlock;
    if (p && p->def && (p->def->compression != 0) != compressed)
        return Fail(1322, "DATA block of another kind than its part");
    long size = KY_FileSize(reply);
    bool cache = p && p->def && p->def->tabcor && p->type;
    for (int32_t i = 0; i < r->count; ++i) {
        int32_t doc = -1, score = -1, stored = 0, expanded = 0;
        long at = KY_FTell(reply);
        std::string line;
        if (!compressed) {
            int code = ReadLine(reply, &line, true);
            if (code)
                return code;
            size_t tab = line.rfind('\t');
            std::string tail = tab == std::string::npos ? "" : Trim(line.substr(tab + 1));
            size_t dot = tail.find('.');
            if (!Decimal(tail.substr(0, dot), &doc))
                return Fail(1322, "Com Result");
            int32_t s = 0;
            if (scores && dot != std::string::npos && Decimal(tail.substr(dot + 1), &s))
                score = s;
            stored = static_cast<int32_t>(line.size());
        } else {
            int code = ReadWord(reply, &doc);
            if (!code)
                code = ReadWord(reply, &stored);
            if (!code)
                code = ReadWord(reply, &expanded);
            if (code)
                return code;
            if (stored < 0 || expanded < 0 || stored > kReplyLine)
                return Fail(kQuestErrMemory, "stored length");
            at = KY_FTell(reply);
            if (size < 0 || stored > size - at)
                return Fail(106, "stored bytes beyond the reply");
        }
        if (doc < 0)
            return Fail(1322, "Com Result");
        if (i == 0) {
            int code = MakeVector(r, doc, scores && score >= 0);
            if (code)
                return code;
        }
        if (doc < r->first || doc - r->first > r->highest)
            return Fail(1322, "document outside MAXNODOC");
        LoSetBit(doc - r->first, r->hits.data(), 1);
        if (i < static_cast<int32_t>(r->scores.size()))
            r->scores[static_cast<size_t>(i)] = static_cast<uint16_t>(score < 0 ? 1000 : std::min(score, 65535));
        if (cache) {
            if (doc < p->first || (p->end > p->first && doc >= p->end))
                return Fail(1322, "document outside its part");
            int code = KyStoreReplyBytes(p, doc - p->first, reply, at, stored, compressed ? expanded : stored);
            if (code)
                return code;
        }
        if (KY_FSeek(reply, at + stored, 0) != at + stored)
            return Fail(106, "reply item");
    }
    return 0;
}

// Search reply: lines "key:value" (blanks, tabs and line ends trimmed; lines
// without ":" skipped): COUNT:<hits> MAXNODOC:<highest document> HIGH:<w,w,...>
// then DATA:<n> or DATACOMP:<n> and the document block (KY_ReadRemoteData).
int KY_ReadRemoteReply(KY_RemoteBase* r, KyTable* table, int part, KY_File* reply, int scores, int32_t maxCount) {
    r->count = 0;
    r->status = kStatusEmpty;
    r->first = r->highest = 0;
    r->high.clear();
    r->hits.clear();
    r->scores.clear();
    bool counted = false, dataRead = false;
    auto damaged = [r](const std::string& why) {
        r->status = kStatusFailed;
        return Fail(1322, why);
    };
    std::string line;
    while (ReadLine(reply, &line, false) == 0) {
        line = Trim(line);
        size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string key = line.substr(0, colon), value = Trim(line.substr(colon + 1));
        if (value.empty())
            return Fail(1322, key);
        int32_t n = 0;
        if (key == "COUNT") {
            // One count, ahead of the documents it counts.
            if (counted || dataRead)
                return damaged("COUNT repeated or after the documents");
            if (!Decimal(value, &n))
                return Fail(1322, line);
            r->status = kStatusDone;
            r->count = maxCount > 0 ? std::min(n, maxCount) : n;
            counted = true;
        } else if (key == "MAXNODOC") {
            if (!Decimal(value, &n))
                return Fail(1322, line);
            r->highest = n;
        } else if (key == "HIGH") {
            for (size_t at = 0; at <= value.size();) {
                size_t comma = value.find(',', at);
                std::string word = Trim(value.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
                if (!word.empty())
                    r->high.push_back(word);
                at = comma == std::string::npos ? value.size() + 1 : comma + 1;
            }
        } else if (key == "DATA" || key == "DATACOMP") {
            if (!counted || dataRead)
                return damaged("document block before COUNT or repeated");
            dataRead = true;
            int code = KY_ReadRemoteData(r, table, part, reply, scores, key == "DATACOMP");
            if (code) {
                r->status = kStatusFailed;
                return code;
            }
        }
    }
    if (!counted) {
        r->status = kStatusFailed;
        return Fail(106, "reply without COUNT");
    }
    // Each document counted is one hit: a document given twice, or a count
    // without its documents, would answer hits that are not there.
    int32_t hits = 0;
    for (uint8_t byte : r->hits)
        hits += __builtin_popcount(byte);
    if (hits != r->count)
        return damaged("COUNT " + std::to_string(r->count) + " with " + std::to_string(hits) + " documents");
    return 0;
}

int KY_RemoteHit(const KY_RemoteBase* r, int32_t i, int32_t* doc, int32_t* score) {
    *doc = -1;
    *score = 0;
    int32_t seen = 0;
    for (size_t byte = 0; byte < r->hits.size() && i >= 1; ++byte) {
        if (!r->hits[byte])
            continue;
        for (int bit = 0; bit < 8; ++bit)
            if (r->hits[byte] & (1u << bit) && ++seen == i) {
                *doc = static_cast<int32_t>(byte * 8 + static_cast<size_t>(bit)) + r->first;
                if (i <= 65536 && static_cast<size_t>(i) <= r->scores.size())
                    *score = r->scores[static_cast<size_t>(i) - 1];
                return 0;
            }
    }
    return Fail(1269, "remote hit");
}

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
