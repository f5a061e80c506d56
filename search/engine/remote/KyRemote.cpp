// Search replies of a base's server: asked for, read into a remote base's hit
// vector and its part's local cache.
#include "search/engine/remote/KyRemote.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyHttp.h"
#include "base/procedural/KyPath.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/lists/Lo.h"
#include "search/engine/remote/KyServerExchange.h"

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

// The reply comes to a file of its own in the temporary folder, read once the
// exchange is over and deleted then.
int KY_SearchServer(KY_RemoteBase* remote, const KyMountedConnect* connect, const std::string& question,
                    int32_t limit, KyTable* table, int part, int scores) {
    KyServerExchange exchange(connect);
    if (!exchange.makeFile("kq")) {
        remote->status = kStatusFailed;
        return Fail(105, "reply file");
    }
    remote->replyFile = exchange.path();
    int code = exchange.open(105);
    if (!code)
        code = KY_HttpSearch(exchange.session(), question.c_str(), limit, nullptr, exchange.reply());
    exchange.endSession();
    if (code) {
        remote->status = code == KY_HTTP_READ_FAILED ? kStatusNothing : kStatusFailed;
    } else if (KY_FSeek(exchange.reply(), 0, 0) != 0) {
        code = Fail(106, exchange.path());
        remote->status = kStatusFailed;
    } else {
        code = KY_ReadRemoteReply(remote, table, part, exchange.reply(), scores, limit);
        if (code)
            remote->status = kStatusFailed;
    }
    remote->replyFile.clear();
    return code;
}
