// Engine parts: set-up, criterion evaluation into saved lists, the request
// question over them, the result walk, suspension and resumption.
#include <algorithm>
#include <cstring>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyStopWord.h"
#include "search/engine/common/TextCopy.h"
#include "search/engine/lists/LoInternal.h"
#include "search/engine/questions/KyQuestInternal.h"

namespace {

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

int Check(const KY_EnginePart* part) {
    if (!part)
        return Fail(1265, "engine part");
    return part->state == 1 ? 0 : Fail(1267, "engine part");
}

bool Valid(const KY_EnginePart* part, int c) {
    return c >= 0 && c < static_cast<int>(part->criteria.size()) && part->criteria[c].mark != kMarkEnd;
}

// One element a document (its first position), so that counts are documents.
int Documents(LoHandle* h, int32_t* count) {
    LoHandle out = -1;
    *count = 0;
    // A list of one element a document already is the copy, element for
    // element; only its weight becomes that of a new list.
    if (*h != -1 && LoIsDocumentStream(*h)) {
        LoDesc* d = LoDescOf(*h);
        LoClose(*h);
        d->weight = LoScoreMode ? 1 : 0;
        *count = d->count;
        return 0;
    }
    int code = LoCreate(kLoReadable | kLoWritable, nullptr, 0, 0, 0, &out, 1);
    if (code) {
        LoFree(h);
        return code;
    }
    int32_t n, doc, value, firstPos, last = -1;
    LoDesc* o = LoDescOf(out);
    int32_t docs[256];
    int pending = 0;
    auto write = [&]() {
        for (int i = 0; !code && i < pending;) {
            i += LoWriteWholeRun(o, docs + i, docs + i, pending - i, false);
            if (i < pending)
                code = LoWrite(out, docs[i++], 0);
        }
        pending = 0;
    };
    if (*h != -1 && LoIsVector(*h) && !LoScoreMode) {
        // The vector's documents taken from its bytes and written by runs:
        // reading and writing them one call each was a third of an OR.
        // Outside the bytes that may hold bits the vector is clear.
        const uint8_t* bits = LoPkg().vector;
        const size_t low = static_cast<size_t>(LoPkg().vecLow);
        const size_t size = bits ? static_cast<size_t>(std::min(LoPkg().vecBytes, LoPkg().vecHigh)) : 0;
        // Four bytes at a time, lowest first: a document's bit is its place
        // in the little-endian word.
        for (size_t b = low & ~size_t(3); !code && b < size; b += 4) {
            uint32_t word = 0;
            if (b + 4 <= size)
                std::memcpy(&word, bits + b, 4);
            else
                for (size_t k = b; k < size; ++k)
                    word |= static_cast<uint32_t>(bits[k]) << (8 * (k - b));
            for (; word && !code; word &= word - 1) {
                docs[pending++] = static_cast<int32_t>(b * 8) + __builtin_ctz(word);
                ++*count;
                if (pending == 256)
                    write();
            }
        }
        write();
        LoClose(*h);
        LoFree(h);
    } else if (*h != -1 && !LoScoreMode) {
        // A list's documents read inline and written by runs: one call each
        // was a tenth of a phrase of two frequent words.
        LoDesc* d = LoDescOf(*h);
        code = Lo_Rewind(d);
        if (!code)
            code = Lo_FirstOcc(d);
        while (!code && d->doc != -1) {
            if (d->doc != last) {
                docs[pending++] = last = d->doc;
                ++*count;
                if (pending == 256)
                    write();
            }
            if (!code)
                code = LoNextOcc(d);
        }
        write();
        LoClose(*h);
        LoFree(h);
    } else if (*h != -1) {
        code = LoRewind(*h);
        for (code = code ? code : LoFirst(*h, &n, &doc, &value, &firstPos); !code && doc != -1;
             code = LoNext(*h, &doc, &value, &firstPos)) {
            if (doc == last)
                continue;
            last = doc;
            ++*count;
            if ((code = LoWrite(out, doc, value)) != 0)
                break;
        }
        LoClose(*h);
        LoFree(h);
    }
    if (!code)
        code = LoWrite(out, -1, 0);
    LoClose(out);
    if (code) {
        LoFree(&out);
        return code;
    }
    *h = out;
    return 0;
}

void SetUnitsOfIndexes(KY_EnginePart* part) {
    for (size_t c = 1; c < part->criteria.size(); ++c) {
        const KY_Criterion& k = part->criteria[c];
        if (k.mark)
            continue;
        for (int which = 0; which < 2; ++which) {
            uint8_t list = k.lists[which];
            if (list >= part->tables.lists.size())
                continue;
            for (const KY_IndexItem& item : part->tables.lists[list]) {
                if (item.index < 0 || static_cast<size_t>(item.index) >= part->indexes.size())
                    continue;
                KY_IndexRecord& index = part->indexes[static_cast<size_t>(item.index)];
                index.unitByte = k.positions ? (kUnitW | kUnitP) : 0;
                if (which == 1)
                    index.noThes = k.field.thesFlag == 0;
                index.occurrences = k.noOccurrences == 0;
                index.reserved = 0;
                if (k.weight > 0)
                    index.weight = k.weight;
                if (k.highlight)
                    index.flags |= 0x10;
            }
        }
    }
}

int OpenIndexes(KY_EnginePart* part) {
    int result = 0;
    for (KY_IndexRecord& index : part->indexes) {
        int code = KY_IndexOpen(&index);
        if (code && code != 1112 && !result)
            result = code;
    }
    return result;
}

void CloseIndexes(KY_EnginePart* part) {
    for (KY_IndexRecord& index : part->indexes)
        if (index.open)
            KY_IndexClose(&index);
}

// Starts the engine for the part: stop words, swap file, engine, indexes, thesaurus.
int Start(KY_EnginePart* part, bool openIndexes) {
    int code = KY_LoadStopwords(part->queryFilter.c_str(), part->stopFilter.c_str(), part->stopList.c_str());
    std::string swap;
    if (!code)
        code = KY_SwapFilePath(part->folder, part->swapChoice, &swap);
    if (!code)
        code = KY_EngineInit(&part->tables, swap.c_str(), part->maxDoc);
    if (code)
        return code;
    part->state = 1;
    KY_EngineSetListFolder(part->folder);
    if (openIndexes && (code = OpenIndexes(part)) != 0)
        return code;
    if (!part->thesaurus.empty())
        code = KY_EngineLoadThes(part->thesaurus.c_str());
    return code;
}

void FreeWords(KY_EnginePart* part) {
    part->words[0].clear();
    part->words[1].clear();
    part->wordsMade = false;
}

}  // namespace

void KY_CriteriaMake(KY_EnginePart* part, int fields) {
    part->criteria.assign(static_cast<size_t>(fields) + 2, KY_Criterion());
    part->criteria.back().mark = kMarkEnd;
}

// Made in one allocation: a question names its lists several times, and each
// block of the heap counts in a rare word's search.
std::string KY_ListPath(const std::string& folder, const std::string& name) {
    static const std::string here = "./";
    const std::string& f = folder.empty() ? here : folder;
    const bool separated = f.back() == '\\' || f.back() == '/';
    std::string path;
    path.reserve(f.size() + 1 + name.size());
    path += f;
    if (!separated)
        path += '\\';
    path += name;
    return path;
}

int KY_SwapFilePath(const std::string& folder, int choice, std::string* path) {
    std::string name = choice ? "tmp.lo" : KY_MakeListName(folder.c_str());
    if (name.empty())
        return Fail(kQuestErrMemory, "KY_SwapFilePath");
    *path = KY_ListPath(folder, name);
    return 0;
}

int KY_EngineSetup(KY_EnginePart* part) {
    if (!part)
        return Fail(1265, "engine part");
    if (part->folder.empty())
        part->folder = "./";
    part->tables.indexes = &part->indexes;
    part->tables.fields.assign(part->criteria.size() * 2, 254);
    for (size_t c = 1; c < part->criteria.size(); ++c) {
        part->tables.fields[c * 2 - 2] = part->criteria[c].lists[0];
        part->tables.fields[c * 2 - 1] = part->criteria[c].lists[1];
        part->criteria[c].field.field = static_cast<int>(c) - 1;
    }
    SetUnitsOfIndexes(part);
    int code = Start(part, true);
    if (code) {
        int saved = code;
        std::string text = KY_EngineErrorText;
        KY_EnginePartClose(part);
        return Fail(saved, text);
    }
    KY_WalkReset(part);
    return 0;
}

int KY_CriterionState(const KY_EnginePart* part, int c) {
    if (!Valid(part, c))
        return kStatusNone;
    const KY_Criterion& k = part->criteria[c];
    if (k.mark == kMarkOpen)
        return kStatusOpening;
    if (k.mark == kMarkClose)
        return kStatusClosing;
    if (k.changed)
        return kStatusChanged;
    if (k.status == kStatusDone)
        return 0;
    if (k.status == kStatusFailed || k.status == kStatusNothing || k.status == kStatusEmpty)
        return k.status;
    return kStatusNone;
}

int KY_GetCriterionHits(const KY_EnginePart* part, int c) {
    if (int code = Check(part))
        return code;
    return KY_CriterionState(part, c) == 0 ? part->criteria[c].count : -1;
}

void KY_WalkReset(KY_EnginePart* part) {
    std::fill(part->walk, part->walk + 5, -1);
    part->walked.clear();
}

void KY_ResultClose(KY_EnginePart* part) {
    if (part->result != -1) {
        LoClose(part->result);
        LoFree(&part->result);
    }
    part->listOpen = 0;
    part->openCriterion = -1;
}

int KY_CriterionClearList(KY_EnginePart* part, int c) {
    if (int code = Check(part))
        return code;
    if (!Valid(part, c))
        return 0;
    KY_ResultClose(part);
    if (c == 0)
        FreeWords(part);  // they were the words of this result
    KY_Criterion& k = part->criteria[c];
    int code = 0;
    if (!k.listName.empty() && k.status == kStatusDone && !KY_CriterionListShared(part, c))
        code = KY_EngineDeleteList(KY_ListPath(part->folder, k.listName).c_str());
    k.listName.clear();
    k.status = kStatusEmpty;
    k.count = 0;
    k.changed = 0;
    k.evaluated = 1;
    return code;
}

bool KY_CriterionListShared(const KY_EnginePart* part, int c) {
    if (!part || !Valid(part, c))
        return false;
    const KY_Criterion& k = part->criteria[static_cast<size_t>(c)];
    for (size_t n = 0; n < part->criteria.size(); ++n)
        if (n != static_cast<size_t>(c) && part->criteria[n].status == kStatusDone &&
            part->criteria[n].listName == k.listName)
            return true;
    return false;
}

int KY_CriteriaClearAll(KY_EnginePart* part) {
    if (int code = Check(part))
        return code;
    FreeWords(part);
    int result = 0;
    for (size_t c = 0; c < part->criteria.size(); ++c) {
        int code = KY_CriterionClearList(part, static_cast<int>(c));
        if (code && !result)
            result = code;
    }
    return result;
}

void KY_CriteriaReset(KY_EnginePart* part) {
    for (KY_Criterion& k : part->criteria) {
        if (k.mark == kMarkEnd)
            break;
        k.status = kStatusEmpty;
        k.count = 0;
        k.changed = 0;
        k.rank = 0;
        k.evaluated = 0;
    }
}

int KY_SetCriterion(KY_EnginePart* part, int c, int op, int open, const char* text, int close) {
    if (!part)
        return Fail(1265, "engine part");
    if (!Valid(part, c) || c == 0)
        return Fail(1253, "criterion");
    KY_Criterion& k = part->criteria[c];
    k.op = op;
    k.open = open != 0;
    k.close = close != 0;
    k.value = text ? text : "";
    k.changed = 1;
    part->criteria[0].changed = 1;
    return 0;
}

int KY_ResultOpen(KY_EnginePart* part, int c) {
    KY_Criterion& k = part->criteria[c];
    KY_ResultClose(part);
    FreeWords(part);
    std::string path = KY_ListPath(part->folder, k.listName);
    KyEngine().hiliteOn = (part->mode & 0x7F) != 1;
    // The highlight words are made when asked for (KY_GetWordList): reading
    // the hits needs none, and making them cost a phrase's first hit 3 us.
    int code = KY_EngineOpenStoredList(path.c_str(), &part->result, false);
    if (code || part->result == -1) {
        KY_WalkReset(part);
        return code ? code : Fail(1253, path);
    }
    part->listOpen = 1;
    part->openCriterion = static_cast<int16_t>(c);
    code = LoRewind(part->result);
    if (code && code != 1112) {
        KY_WalkReset(part);
        KY_ResultClose(part);
        return code;
    }
    KY_WalkReset(part);
    return 0;
}

int KY_ResultPrepare(KY_EnginePart* part, int c) {
    if (KY_CriterionState(part, c) != 0) {
        KY_WalkReset(part);
        return Fail(1253, "no result");
    }
    if (part->listOpen && part->openCriterion == c)
        return 0;
    return KY_ResultOpen(part, c);
}

namespace {

const int32_t kWalkAhead = 32;

// A range insert of three cost more than reading the element.
void Keep(std::vector<int32_t>* walked, int32_t doc, int32_t pos, int32_t score) {
    walked->push_back(doc);
    walked->push_back(pos);
    walked->push_back(score);
}

}  // namespace

int KY_ResultSeek(KY_EnginePart* part, int32_t* doc, int32_t* pos, int32_t* score, int32_t* index, int c) {
    *doc = *pos = *score = -1;
    if (int code = Check(part))
        return code;
    int code = KY_ResultPrepare(part, c);
    if (code)
        return code;
    // A walk forwards goes on from its current element; any other starts again.
    int32_t count = part->criteria[c].count, d = part->walk[2], value = part->walk[3], firstPos = 0;
    int32_t at = part->walk[1];
    *index = std::max(1, std::min(*index, count));
    // The lists only go forwards: the elements walked are kept, so that a
    // base read in descending order does not walk again from the first.
    if (part->walk[0] == c && static_cast<size_t>(*index) * 3 <= part->walked.size()) {
        const int32_t* w = &part->walked[static_cast<size_t>(*index - 1) * 3];
        *doc = w[0];
        *pos = w[1];
        *score = w[2];
        return 0;
    }
    if (part->walk[0] != c || at < 1 || at > *index) {
        int32_t listCount = 0;
        code = LoRewind(part->result);
        if (!code || code == 1112)
            code = LoFirst(part->result, &listCount, &d, &value, &firstPos);
        at = 1;
    }
    // One block for the whole walk: growing it step by step in a fragmented
    // heap scanned the free list at each step (18 ms for 941 documents).
    if (at == 1 || part->walk[0] != c) {
        part->walked.clear();
        part->walked.reserve(3 * static_cast<size_t>(std::max(count, 0)));
    }
    LoDesc* desc = LoDescOf(part->result);
    for (;;) {
        if (code || d == -1) {
            KY_WalkReset(part);
            return code ? code : Fail(1253, "short result");
        }
        if (part->walked.size() == static_cast<size_t>(at - 1) * 3)
            Keep(&part->walked, d, value, desc ? desc->hits : 0);
        if (at >= *index)
            break;
        code = LoNext(part->result, &d, &value, &firstPos);
        ++at;
    }
    // A few elements more while the list is at hand: a result is mostly read
    // in order, and each call from the request costs more than an element.
    *doc = d;
    *pos = value;
    *score = desc ? desc->hits : 0;
    const int32_t ahead = std::min(count, *index + kWalkAhead);
    int32_t walk[5] = {c, at, d, value, *score};
    while (at < ahead && part->walked.size() == static_cast<size_t>(at) * 3) {
        if (LoNext(part->result, &d, &value, &firstPos) != 0 || d == -1) {
            // Left where it failed: the next element past those kept walks
            // again from the first and meets the failure there.
            walk[1] = -1;
            break;
        }
        ++at;
        Keep(&part->walked, d, value, desc ? desc->hits : 0);
        walk[1] = at;
        walk[2] = d;
        walk[3] = value;
        walk[4] = desc ? desc->hits : 0;
    }
    std::copy(walk, walk + 5, part->walk);
    return 0;
}

int KY_ResultSeekRequest(KY_EnginePart* part, int32_t* doc, int32_t* pos, int32_t* score, int32_t* index) {
    return KY_ResultSeek(part, doc, pos, score, index, 0);
}

void KY_SetIndexRecord(std::vector<KY_IndexRecord>* indexes, int n, const char* path, uint32_t largest,
                       uint16_t weight) {
    if (n < 0)
        return;
    if (static_cast<size_t>(n) >= indexes->size())
        indexes->resize(static_cast<size_t>(n) + 1);
    KY_IndexRecord& index = (*indexes)[static_cast<size_t>(n)];
    index.path = path ? path : "";
    index.maxValue = largest;
    abpSetWidth(&index.tree, largest);
    index.weight = weight;
}

namespace {

// The word lists of the open result, from the words saved with its list.
int MakeWords(KY_EnginePart* part) {
    const KY_Criterion& k = part->criteria[static_cast<size_t>(part->openCriterion)];
    KY_EngineEnterListWords(KY_ListPath(part->folder, k.listName).c_str());
    int code = KY_EngineBuildHilite(part->hiliteMode);
    for (const std::string& w : KY_EngineHilite()) {
        part->words[0].push_back(w);
        if (!KY_FindStopWordDefault(w.c_str()))
            part->words[1].push_back(w);
    }
    part->wordsMade = true;
    KY_HiliteFree();
    return code;
}

}  // namespace

const std::vector<std::string>* KY_GetWordList(KY_EnginePart* part, int which) {
    if (!part || part->state != 1)
        return nullptr;
    if (!part->wordsMade) {
        bool hilite = (part->mode & 0x7F) != 1;
        if (!(part->listOpen && (hilite || part->openCriterion == 0)) && KY_ResultOpen(part, 0) != 0)
            return nullptr;
        if (hilite && MakeWords(part) != 0)
            return nullptr;
    }
    if (!part->wordsMade)
        return nullptr;
    return &part->words[which ? 1 : 0];
}

int KY_EnginePartSuspend(KY_EnginePart* part) {
    if (!part || part->state != 1)
        return 0;
    if (part->closeIndexes)
        CloseIndexes(part);
    KY_StopWordsFree();
    KY_ResultClose(part);
    KY_EngineClose();
    part->state = -1;
    return 0;
}

int KY_EnginePartResume(KY_EnginePart* part) {
    if (!part || part->state != -1)
        return 0;
    int code = Start(part, part->closeIndexes == 1);
    if (code) {
        std::string text = KY_EngineErrorText;
        KY_EnginePartClose(part);
        return Fail(code, text);
    }
    return 0;
}

int KY_EnginePartClose(KY_EnginePart* part) {
    if (!part)
        return Fail(1265, "engine part");
    if (part->state == 1)
        KY_CriteriaClearAll(part);
    part->queryFilter.clear();
    part->stopFilter.clear();
    part->stopList.clear();
    part->thesaurus.clear();
    if (part->state == 1) {
        CloseIndexes(part);
        KY_EngineClose();
        KY_StopWordsFree();
    } else {
        // A suspended part's lists are files of their own: they go with it.
        for (size_t c = 0; c < part->criteria.size(); ++c) {
            KY_Criterion& k = part->criteria[c];
            if (!k.listName.empty() && k.status == kStatusDone && !KY_CriterionListShared(part, static_cast<int>(c)))
                KY_EngineDeleteList(KY_ListPath(part->folder, k.listName).c_str());
            k.listName.clear();
            k.status = kStatusEmpty;
            k.count = 0;
        }
        FreeWords(part);
        CloseIndexes(part);
    }
    part->state = 0;
    return 0;
}

int KY_CriterionOrder(const KY_EnginePart* part, int16_t order[30]) {
    std::fill(order, order + 30, 0);
    int lowest = 1000;
    for (size_t c = 1; c < part->criteria.size() && part->criteria[c].mark != kMarkEnd; ++c)
        lowest = std::min<int>(lowest, part->criteria[c].rank);
    int n = 0;
    for (int rank = lowest; rank < 256 && n < 30; ++rank) {
        bool any = false;
        for (size_t c = 1; c < part->criteria.size() && part->criteria[c].mark != kMarkEnd && n < 30; ++c)
            if (part->criteria[c].rank == rank) {
                order[n++] = static_cast<int16_t>(c);
                any = true;
            }
        if (!any)
            break;
    }
    return 0;
}

namespace {

// Saves a result as the criterion's list, one element a document; the handle is consumed.
int SaveResult(KY_EnginePart* part, LoHandle* h, KY_Criterion* k) {
    int32_t count = 0;
    std::string name;
    int code = Documents(h, &count);
    if (!code)
        code = KY_EngineSaveWorkList(h, part->folder, &name);
    if (code) {
        LoFree(h);
        k->status = kStatusFailed;
        k->count = -1;
        return code;
    }
    k->listName = name;
    k->status = kStatusDone;
    k->count = count;
    k->changed = 0;
    return 0;
}

int Evaluate(KY_EnginePart* part, int c);

// Evaluates one criterion and tells the part's notification routine.
int RunCriterion(KY_EnginePart* part, int c) {
    int code = Evaluate(part, c);
    if (part->notify)
        part->notify(part->notifyArgument, c, part->criteria[static_cast<size_t>(c)].status);
    return code;
}

// Evaluates one criterion into a saved list; 701, -100 and -101 are answers.
int Evaluate(KY_EnginePart* part, int c) {
    KY_Criterion& k = part->criteria[c];
    if (k.mark == kMarkOpen || k.mark == kMarkClose) {
        k.status = k.mark == kMarkOpen ? kStatusOpening : kStatusClosing;
        return 0;
    }
    KY_CriterionClearList(part, c);
    k.evaluated = 1;
    if (k.empty || k.value.empty()) {
        k.status = kStatusEmpty;
        return kStatusEmpty;
    }
    std::vector<std::string> ranges;
    int code = KY_QuestNew();
    if (!code)
        code = k.field.date ? KY_DateCriterionText(k.value.c_str(), k.field, part->folder.c_str(), &ranges)
                            : KY_TextCriterion(k.value.c_str(), k.field);
    if (!code) {
        KY_EngineClearQuests();
        code = KY_QuestCompile(k.extra[0].empty() ? nullptr : k.extra[0].c_str(),
                               k.extra[1].empty() ? nullptr : k.extra[1].c_str());
    }
    KY_QuestFree();
    LoHandle h = -1;
    if (!code)
        code = KY_EngineEvaluate(&h, part->mode < 0 ? 0 : part->mode, k.field.separators.c_str());
    KY_EngineClearQuests();
    // The range lists go once the result, which may still read them, is saved.
    struct Ranges {
        std::vector<std::string>& names;
        ~Ranges() {
            for (const std::string& r : names)
                KY_EngineDeleteList(r.c_str());
        }
    } rangesGuard{ranges};
    if (code == 1252 || code == 1260 || code == kQuestErrEmpty)
        code = kStatusEmpty;
    else if (code == kQuestNotFound)
        code = kStatusNothing;
    if (code) {
        LoFree(&h);
        k.status = code < 0 ? code : kStatusFailed;
        k.count = code < 0 ? 0 : -1;
        return code;
    }
    return SaveResult(part, &h, &k);
}

const char* OpWord(int op) {
    return op == 1 ? "OR" : op == 2 ? "EX" : "AND";
}

// Writes criteria from c up to the closing marker of the level (or the end).
int BuildLevel(KY_EnginePart* part, size_t* c, bool nested) {
    bool first = true;
    int code = 0;
    while (!code && *c < part->criteria.size()) {
        KY_Criterion& k = part->criteria[*c];
        if (k.mark == kMarkEnd)
            return nested ? Fail(1266, "group") : 0;
        ++*c;
        if (k.mark == kMarkClose) {
            if (nested)
                return KY_QuestCloseGroup();
            continue;
        }
        if (k.mark == kMarkOpen) {
            if (!first)
                code = KY_QuestAddOperator(OpWord(k.op), 0, 0);
            if (!code)
                code = KY_QuestOpenGroup();
            if (!code)
                code = BuildLevel(part, c, true);
            first = false;
            continue;
        }
        bool hasList = k.status == kStatusDone && !k.listName.empty();
        bool failed = !k.value.empty() && !k.empty && !hasList;
        if (hasList || failed) {
            if (!first)
                code = KY_QuestAddOperator(OpWord(k.op), 0, 0);
            first = false;
        }
        if (!code && k.open)
            code = KY_QuestOpenGroup();
        char term[kQuestTextSize + 2];
        std::string path = hasList ? k.listName : "@";
        if (path.size() > 127)
            return Fail(kQuestErrMemory, path);
        TextCopy(term, sizeof term, path.c_str(), path.size());
        if (!code && (hasList || failed))
            code = KY_QuestAddTerm(term, -1, -1, hasList ? "#" : "@");
        if (!code && k.close)
            code = KY_QuestCloseGroup();
    }
    return code;
}

// The one criterion whose list makes the whole question, when the question
// is that list alone: no group, no other criterion with a list or a failure.
const KY_Criterion* SoleList(const KY_EnginePart* part) {
    const KY_Criterion* sole = nullptr;
    for (const KY_Criterion& k : part->criteria) {
        if (&k == &part->criteria[0])
            continue;
        if (k.mark == kMarkEnd)
            break;
        if (k.mark != 0 || k.open || k.close)
            return nullptr;
        bool hasList = k.status == kStatusDone && !k.listName.empty();
        if (!hasList && !k.value.empty() && !k.empty)
            return nullptr;
        if (hasList && sole)
            return nullptr;
        if (hasList)
            sole = &k;
    }
    return sole;
}

}  // namespace

int KY_EngineRun(KY_EnginePart* part, int c) {
    if (int code = Check(part))
        return code;
    if (c != 0) {
        if (!Valid(part, c))
            return Fail(1253, "criterion");
        int code = RunCriterion(part, c);
        return code == kQuestNotFound || code == kStatusEmpty || code == kStatusNothing ? 0 : code;
    }
    bool any = false;
    for (size_t n = 1; n < part->criteria.size() && part->criteria[n].mark != kMarkEnd; ++n) {
        KY_Criterion& k = part->criteria[n];
        if (k.mark == 0 && !k.value.empty() && !k.empty)
            any = true;
        if (!k.changed && k.status == kStatusDone)
            continue;
        int code = RunCriterion(part, static_cast<int>(n));
        if (code && code != kQuestNotFound && code != kStatusEmpty && code != kStatusNothing) {
            // The result this run replaces goes now: once marked failed, its
            // list would be released by nothing.
            KY_CriterionClearList(part, 0);
            KY_Criterion& whole = part->criteria[0];
            whole.status = kStatusFailed;
            whole.count = -1;
            return code;
        }
    }
    KY_CriterionClearList(part, 0);
    KY_Criterion& whole = part->criteria[0];
    if (!any) {
        whole.status = kStatusEmpty;
        return 0;
    }
    if (const KY_Criterion* sole = SoleList(part)) {
        // Most questions are one field's: written, compiled and evaluated,
        // or read and saved again, they cost a third of a short search's time.
        // The result is that list itself, under its name.
        KY_EngineTakeStoredList(part->mode < 0 ? 0 : part->mode, " ");
        whole.listName = sole->listName;
        whole.status = kStatusDone;
        whole.count = sole->count;
        whole.changed = 0;
        return 0;
    }
    LoHandle h = -1;
    int code = KY_QuestNew();
    size_t at = 1;
    if (!code)
        code = BuildLevel(part, &at, false);
    if (!code) {
        KY_EngineClearQuests();
        code = KY_QuestCompile(nullptr, nullptr);
    }
    KY_QuestFree();
    if (!code)
        code = KY_EngineEvaluate(&h, part->mode < 0 ? 0 : part->mode, " ");
    KY_EngineClearQuests();
    if (code == kQuestErrEmpty || code == kQuestNotFound || (!code && h == -1)) {
        LoFree(&h);
        whole.status = code == kQuestErrEmpty ? kStatusEmpty : kStatusNothing;
        whole.count = 0;
        return 0;
    }
    if (code) {
        LoFree(&h);
        whole.status = kStatusFailed;
        whole.count = -1;
        return code;
    }
    return SaveResult(part, &h, &whole);
}
