// Evaluation of the question stack into occurrence lists, highlight words, the
// engine's start and close and its indexes.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyStopWord.h"
#include "search/engine/questions/KyEngineRead.h"

namespace {

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

// A left word of an AND with at most these occurrences is read first, whole:
// one block of them costs little. Up to 2048 were: a word of 2,000 AND a word
// of one document took 18 us, where reading the rare one first keeps the other
// to one block (13 us).
const int64_t kShortList = kOccurrenceBlock;

bool IsNone(uint8_t list) {
    return list >= 0xFE;
}

// The indexes a term searches. A field has few: they are kept without a heap
// block (a phrase's search took a dozen).
class IndexSet {
public:
    void push(int x) {
        if (n_ < kInline)
            inline_[n_] = x;
        else
            more_.push_back(x);
        ++n_;
    }
    bool has(int x) const {
        for (size_t i = 0; i < n_; ++i)
            if ((*this)[i] == x)
                return true;
        return false;
    }
    size_t size() const { return n_; }
    int operator[](size_t i) const { return i < kInline ? inline_[i] : more_[i - kInline]; }

private:
    static const size_t kInline = 8;
    int inline_[kInline];
    size_t n_ = 0;
    std::vector<int> more_;
};

// Its field's own (*own of them), then the extra ones.
IndexSet SearchedIndexes(const KY_QuestRecord& r, size_t* own) {
    const std::vector<KY_IndexItem>* list = KyFieldList(r.field);
    IndexSet searched;
    if (list)
        for (const KY_IndexItem& item : *list)
            if (!item.skip)
                searched.push(item.index);
    *own = searched.size();
    for (int x : KyEngine().extra[(r.field & 0x80) ? 0 : 1])
        if (!searched.has(x))
            searched.push(x);
    return searched;
}

// A plain word's occurrences in the indexes it searches, from their keys
// alone; -1 for any other operand or an index that cannot tell.
int64_t WordOccurrences(int i) {
    const KY_QuestRecord& r = KyEngine().stack[i].record;
    if (!KyIsPlainWord(r))
        return -1;
    size_t own = 0;
    int64_t total = 0;
    std::string key = r.text;
    const IndexSet searched = SearchedIndexes(r, &own);
    for (size_t n = 0; n < searched.size(); ++n) {
        KY_IndexRecord* index = KyIndexAt(searched[n]);
        if (!index || !index->open)
            continue;
        AbpEntry e;
        int code = KySeekKey(index, key, &e);
        if (code == kQuestNotFound)
            continue;
        if (code)
            return -1;
        total += e.values[1];
    }
    return total;
}

// andWith: the other operand of the AND that takes this one, or -1, with its
// documents when its reading collected them (else null) and, when it is held
// in memory, its elements (else -1). documents, when not null and the operand
// is a plain word, gains the documents of its list. held, when not null, may
// take the occurrences of a plain word of one index instead of its list.
int EvalOperand(int i, uint8_t unit, LoHandle andWith, const std::vector<uint8_t>* andDocuments, int32_t andHeld,
                LoHandle* out, std::vector<uint8_t>* documents, KyHeldOccurrences* held) {
    KY_EngineState& e = KyEngine();
    const KY_QuestRecord& r = e.stack[i].record;
    *out = -1;
    if ((r.kind & 0x7F) == kQuestList)
        return KY_EngineOpenStoredList(KY_EngineListPath(r.text).c_str(), out);
    size_t own = 0;
    const IndexSet searched = SearchedIndexes(r, &own);
    bool found = false;
    KyDocFilter filter(andWith, andDocuments, andHeld);
    if (!KyIsPlainWord(r))
        documents = nullptr;
    if (held)
        held->drop();
    if (!KyIsPlainWord(r) || searched.size() != 1)
        held = nullptr;
    for (size_t n = 0; n < searched.size(); ++n) {
        KY_IndexRecord* index = KyIndexAt(searched[n]);
        if (!index || !index->open) {
            if (n < own)
                return Fail(kQuestErrIndexClosed, r.text);
            continue;
        }
        LoHandle h = -1;
        int code = KyLookupKind(index, r, unit, i, &h, &filter, documents, held);
        if (code == kQuestNotFound)
            continue;
        if (code || (code = KyOrInto(out, h)) != 0) {
            LoFree(&h);
            LoFree(out);
            return code;
        }
        found = true;
    }
    return found ? 0 : Fail(kQuestNotFound, r.text);
}

void RemoveOwned(int owner, std::vector<KY_EnteredWord>* removed) {
    auto& words = KyEngine().entered;
    for (size_t n = 0; n < words.size();) {
        if (words[n].owner == owner) {
            if (removed)
                removed->push_back(words[n]);
            words.erase(words.begin() + static_cast<long>(n));
        } else {
            ++n;
        }
    }
}

// A proximity operand's words become one "term <EXPR>distance other" word.
int ProximityWord(int operand, int other, int distance, int owner) {
    KY_EngineState& e = KyEngine();
    std::vector<KY_EnteredWord> removed;
    RemoveOwned(operand, &removed);
    if (removed.empty())
        return 0;
    uint8_t kind = kQuestTerm;
    for (const KY_EnteredWord& w : removed)
        kind = std::max(kind, w.kind);
    const char* otherText = e.stack[other].record.text[0] ? e.stack[other].record.text : "\xFE";
    char text[2 * kQuestTextSize + 32];
    std::snprintf(text, sizeof text, "%s <EXPR>%d %s", e.stack[operand].record.text, distance, otherText);
    return KyEnterWord(text, kind, owner, 0);
}

// unit: the one the operator gives both its operands (0 none); held: the
// operands' occurrences when they are held in memory, or null.
int EvalOperator(int i, int left, int right, uint8_t unit, KyHeldOccurrences* heldLeft, KyHeldOccurrences* heldRight) {
    KY_EngineState& e = KyEngine();
    KY_QuestEntry& op = e.stack[i];
    int32_t distance = op.record.count;
    int mode = 0;
    if (unit) {
        if (distance < 0) {
            std::swap(left, right);
            distance = -distance;
        }
        int shift = 0;
        uint32_t mask = LoPkg().masks[unit == kUnitW ? 0 : unit == kUnitS ? 1 : unit == kUnitP ? 2 : 3];
        if (unit != kUnitW && mask)
            while (!(mask & (1u << shift)))
                ++shift;
        // The package takes a window only for words; other units give theirs in
        // position units, the distance shifted to the unit's field.
        LoSetProximity(kUnitW, static_cast<int32_t>(static_cast<uint32_t>(distance) << shift));
        mode = unit;
    } else {
        distance = 0;
        LoSetProximity(0, 0);
    }
    if (e.scoreMode)
        mode |= kLoScored | (distance >= 1 ? 0x100 : 0);
    LoHandle a = e.stack[left].list, b = e.stack[right].list, result = -1;
    e.stack[left].list = e.stack[right].list = -1;
    int code = 0;
    int kind = op.record.kind & 0x7F;
    const bool heldA = heldLeft && heldLeft->held, heldB = heldRight && heldRight->held;
    if (kind == kQuestAnd && heldA && heldB) {
        code = LoAndOccurrences(heldLeft->occurrences, heldRight->occurrences, mode, &result);
    } else if (kind == kQuestOr && heldA && heldB) {
        code = LoOrDocuments(heldLeft->occurrences, heldRight->occurrences, &result);
    } else if (kind == kQuestExcept && heldA && heldB) {
        RemoveOwned(right, nullptr);
        code = LoExceptDocuments(heldLeft->occurrences, heldRight->occurrences, &result);
    } else {
        // An operand held for an operator that takes the other from a list becomes a list.
        if (heldA)
            code = KyWriteHeld(*heldLeft, &a);
        if (heldB && !code)
            code = KyWriteHeld(*heldRight, &b);
        if (!code && kind == kQuestAnd) {
            code = LoAnd(a, b, &result, mode);
        } else if (!code && kind == kQuestOr) {
            code = LoOr(a, b, &result);
        } else if (!code) {
            RemoveOwned(right, nullptr);
            code = LoExcept(a, b, &result, mode);
        }
    }
    for (KyHeldOccurrences* held : {heldLeft, heldRight})
        if (held)
            held->drop();
    if (code) {
        LoFree(&a);
        LoFree(&b);
        return code;
    }
    op.list = result;
    if (e.hiliteOn) {
        for (int side : {left, right})
            if (unit && (code = ProximityWord(side, side == left ? right : left, distance, i)) != 0)
                return code;
        for (KY_EnteredWord& w : e.entered)
            if (w.owner == left || w.owner == right)
                w.owner = i;
    }
    e.stack[left].done = e.stack[right].done = 1;
    return 0;
}

// The nearest earlier entry that holds a result not taken yet; taken(j) is
// entry j's flag.
template <class Taken>
int Nearest(int before, Taken&& taken) {
    for (int j = before - 1; j >= 0; --j)
        if (!taken(j)) {
            taken(j) = true;
            return j;
        }
    return -1;
}

void FreeStackLists() {
    KY_EngineState& e = KyEngine();
    for (int i = 0; i < e.used; ++i)
        if (e.stack[i].list != -1)
            LoFree(&e.stack[i].list);
}

}  // namespace

KY_EngineState& KyEngine() {
    static KY_EngineState state;
    return state;
}

const std::vector<KY_IndexItem>* KyFieldList(uint32_t field) {
    KY_EngineState& e = KyEngine();
    if (!e.tables)
        return nullptr;
    size_t at = (field & 0x7F) * 2 + ((field & 0x80) ? 1 : 0);
    if (at >= e.tables->fields.size() || IsNone(e.tables->fields[at]))
        return nullptr;
    size_t list = e.tables->fields[at];
    return list < e.tables->lists.size() ? &e.tables->lists[list] : nullptr;
}

KY_IndexRecord* KyIndexAt(int index) {
    KY_EngineState& e = KyEngine();
    if (!e.tables || !e.tables->indexes || index < 0 || index >= static_cast<int>(e.tables->indexes->size()))
        return nullptr;
    return &(*e.tables->indexes)[static_cast<size_t>(index)];
}

uint32_t KyEntryUnits(int i) {
    KY_EngineState& e = KyEngine();
    std::vector<uint8_t> flags(static_cast<size_t>(i) + 1, 0);
    auto taken = [&flags](int j) -> uint8_t& { return flags[j]; };
    // Operands of each operator up to i, found as the evaluation will.
    std::vector<uint32_t> units(static_cast<size_t>(i) + 1, 0);
    for (int n = 0; n <= i; ++n) {
        const KY_QuestRecord& r = e.stack[n].record;
        int kind = r.kind & 0x7F;
        if (kind == kQuestList) {
            units[n] = std::strcmp(r.text, "@") == 0 ? 0xF : r.unit;
        } else if (kind >= kQuestTerm) {
            uint32_t mask = 0xF;
            const std::vector<KY_IndexItem>* list = KyFieldList(r.field);
            if (list)
                for (const KY_IndexItem& item : *list) {
                    KY_IndexRecord* index = KyIndexAt(item.index);
                    mask &= index ? index->unitByte : 0u;
                }
            units[n] = list ? mask : 0;
        } else {
            int right = Nearest(n, taken), left = Nearest(right < 0 ? 0 : right, taken);
            units[n] = left < 0 || right < 0 ? 0 : units[left] & units[right];
        }
    }
    return units[i];
}

bool KyIsStopWord(const char* word) {
    return KyEngine().stopWords && KY_FindStopWord(word, KY_EngineStopWordTable()) == 1;
}

bool KyIsStopWord(const std::string& word) {
    return KyIsStopWord(word.c_str());
}

int KyEnterWord(const std::string& input, uint8_t kind, int owner, uint32_t indexFlags) {
    KY_EngineState& e = KyEngine();
    if (!e.hiliteOn)
        return 0;
    std::string word = (indexFlags & 0x10) && !input.empty() ? input.substr(1) : input;
    auto at = std::lower_bound(e.entered.begin(), e.entered.end(), word,
                               [](const KY_EnteredWord& w, const std::string& k) { return w.word < k; });
    if (at != e.entered.end() && at->word == word) {
        if (kind == kQuestThes)
            at->kind = kQuestThes;
        return 0;
    }
    if (static_cast<int>(e.entered.size()) >= kEnteredCapacity)
        return 0;
    e.entered.insert(at, KY_EnteredWord{kind, word, owner});
    return 0;
}

const std::vector<KY_EnteredWord>& KY_EngineEnteredWords() {
    return KyEngine().entered;
}

int KY_EngineInit(const KY_EngineTables* tables, const char* swapPath, int32_t maxDoc) {
    KY_EngineState& e = KyEngine();
    if (e.open)
        return Fail(111, "KY_EngineInit");
    int code = LoInitPkg(swapPath, maxDoc);
    if (code)
        return code;
    bool positions = false;
    if (tables && tables->indexes)
        for (const KY_IndexRecord& index : *tables->indexes)
            positions = positions || index.unitByte;
    LoSetBitWidth(positions ? 0x7FFFFFFFu : static_cast<uint32_t>(std::max(maxDoc, 1)));
    e.tables = tables;
    e.stack.clear();
    e.used = 0;
    KY_QuestRecord fresh;
    KY_QuestRecordInit(&fresh);
    fresh.kind = kQuestDone;
    e.stack.assign(100, KY_QuestEntry{0, -1, -1, fresh});
    e.lastPush = 0;
    e.open = true;
    return 0;
}

int KY_EngineIsOpen() {
    return KyEngine().open;
}

int KY_EngineClose() {
    KY_EngineState& e = KyEngine();
    KY_EngineClearQuests();
    if (!e.open)
        return Fail(112, "KY_EngineClose");
    e.stack.clear();
    e.entered.clear();
    e.hilite.clear();
    LoEndPkg();
    if (e.thes.open)
        KY_ThesClose(&e.thes);
    e.tables = nullptr;
    e.listFolder.clear();
    e.open = false;
    std::vector<std::vector<int32_t>>().swap(KySpareBuffers<int32_t>());
    std::vector<std::vector<uint8_t>>().swap(KySpareBuffers<uint8_t>());
    return 0;
}

void KY_EngineClearQuests() {
    KY_EngineState& e = KyEngine();
    FreeStackLists();
    while (e.used > 0)
        KY_QuestPop();
    e.lastPush = 0;
}

void KY_EngineSetPrefixMode(int on) {
    KyEngine().prefixMode = on;
}

void KY_EngineSetScoreMode(int on) {
    KyEngine().scoreMode = on;
    LoScoreMode = on;
}

int KY_IndexOpen(KY_IndexRecord* index) {
    if (index->open)
        return 1112;
    KY_ClearOpenSpec(&index->spec);
    int code = KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), index->path.c_str(), nullptr, 0, 0, 0, 0, &index->spec);
    if (!code) {
        abpSetWidth(&index->tree, index->unitByte ? 0x7FFFFFFFu : index->maxValue);
        code = abpOpen(&index->spec, &index->tree, index->occurrences, index->unitByte ? 1 : 0);
    }
    if (code) {
        KY_FreeOpenSpec(&index->spec);
        return Fail(code, index->path);
    }
    index->open = 1;
    return 0;
}

int KY_IndexClose(KY_IndexRecord* index) {
    if (!index->open)
        return Fail(1113, index->path);
    // What its keys answered goes with the tree.
    KyEngine().sought.clear();
    int code = abpClose(&index->tree);
    KY_FreeOpenSpec(&index->spec);
    index->open = 0;
    return code == 112 ? Fail(1113, index->path) : 0;
}

namespace {

void BeginEvaluation(LoHandle* result, int mode, const char* separators) {
    KY_EngineState& e = KyEngine();
    *result = -1;
    if (separators)
        e.separators = separators;
    e.sought.clear();
    e.hiliteOn = (mode & 0x7F) != 1;
    if (e.hiliteOn)
        e.entered.clear();
}

}  // namespace

int KY_EngineEvaluate(LoHandle* result, int mode, const char* separators) {
    KY_EngineState& e = KyEngine();
    BeginEvaluation(result, mode, separators);
    if (e.lastPush && e.lastPush != kQuestWaiting)
        return Fail(kQuestErrPushFailed, "KY_EngineEvaluate");
    if (e.used == 0)
        return Fail(kQuestErrOperands, "");
    // An operator's operands; the right operand of an AND or an EXCEPT reads
    // only what the left one's documents keep (an EXCEPT takes nothing away
    // from other documents), and of two words joined by AND the one with fewer
    // occurrences is read first (its code kept for its turn).
    // A word that another one's reading keeps to (filters) collects its
    // documents as it is read: reading its list back for them was a tenth of
    // a phrase.
    // The two plain words of an AND, or of an OR or EXCEPT of documents, each
    // in one index, are held in memory for it (as long as they are what a list
    // would hold).
    // One block for all of it: a single word's search took three.
    struct Plan {
        int left = -1, right = -1, filterBy = -1, andRight = -1, early = -1;
        bool filters = false, collected = false, hold = false, taken = false;
        uint8_t unit = 0;  // each proximity operator gives its unit to its two operands
        std::vector<uint8_t> documents;
        KyHeldOccurrences held;
        ~Plan() { KyGiveBuffer(&documents); }
    };
    auto holdable = [&e](int i) {
        const KY_QuestRecord& r = e.stack[i].record;
        size_t own = 0;
        return (r.kind & 0x7F) >= kQuestTerm && KyIsPlainWord(r) && SearchedIndexes(r, &own).size() == 1;
    };
    std::vector<Plan> plan(static_cast<size_t>(e.used));
    auto taken = [&plan](int j) -> bool& { return plan[j].taken; };
    for (int i = 0; i < e.used; ++i) {
        if ((e.stack[i].record.kind & 0x7F) >= kQuestTerm)
            continue;
        int right = Nearest(i, taken);
        int left = right < 0 ? -1 : Nearest(right, taken);
        if (left < 0)
            return Fail(kQuestErrOperands, e.stack[i].record.text);
        plan[i].left = left;
        plan[i].right = right;
        if (e.stack[i].record.unit)
            plan[left].unit = plan[right].unit = e.stack[i].record.unit;
        int kind = e.stack[i].record.kind & 0x7F;
        if (kind == kQuestAnd || kind == kQuestExcept) {
            plan[right].filterBy = left;
            plan[left].filters = true;
        }
        if (kind == kQuestAnd && (e.stack[left].record.kind & 0x7F) >= kQuestTerm &&
            (e.stack[right].record.kind & 0x7F) >= kQuestTerm)
            plan[left].andRight = right;
        const uint8_t unit = e.stack[i].record.unit;
        const bool held = kind == kQuestAnd      ? LoAndOccurrencesApplies(unit)
                          : kind == kQuestOr     ? !unit && LoOrDocumentsApplies()
                          : kind == kQuestExcept ? !unit && LoExceptDocumentsApplies()
                                                 : false;
        if (held && !e.scoreMode && holdable(left) && holdable(right))
            plan[left].hold = plan[right].hold = true;
    }
    auto heldCount = [&plan](int i) {
        return i >= 0 && plan[i].held.held ? static_cast<int32_t>(plan[i].held.occurrences.docs.size()) : -1;
    };
    int last = 0;
    for (int i = 0; i < e.used; ++i) {
        KY_QuestEntry& entry = e.stack[i];
        int code;
        if (plan[i].early >= 0) {
            last = plan[i].early;
            continue;
        }
        if ((entry.record.kind & 0x7F) >= kQuestTerm) {
            int by = plan[i].filterBy;
            LoHandle filterFrom = by < 0 ? -1 : e.stack[by].list;
            int32_t filterHeld = heldCount(by);
            const std::vector<uint8_t>* filterDocuments = by >= 0 && plan[by].collected ? &plan[by].documents : nullptr;
            int right = plan[i].andRight;
            // A short left list costs little to read whole: its right one is not looked up first.
            int64_t mine = right < 0 ? -1 : WordOccurrences(i);
            int64_t theirs = mine <= kShortList ? -1 : WordOccurrences(right);
            if (theirs >= 0 && theirs < mine) {
                KY_QuestEntry& other = e.stack[right];
                std::vector<uint8_t>* read = &plan[right].documents;
                code = EvalOperand(right, plan[right].unit, -1, nullptr, -1, &other.list, read,
                                   plan[right].hold ? &plan[right].held : nullptr);
                if (code && code != kQuestNotFound) {
                    FreeStackLists();
                    return code;
                }
                other.record.kind |= kQuestDone;
                other.record.source = 2;
                plan[right].early = code;
                filterFrom = other.list;
                filterHeld = heldCount(right);
                filterDocuments = !code && KyIsPlainWord(other.record) ? read : nullptr;
            }
            // Read after its right operand, this word filters nothing.
            bool collect = plan[i].filters && (right < 0 || plan[right].early < 0);
            code = EvalOperand(i, plan[i].unit, filterFrom, filterDocuments, filterHeld, &entry.list,
                               collect ? &plan[i].documents : nullptr, plan[i].hold ? &plan[i].held : nullptr);
            plan[i].collected = collect && !code && KyIsPlainWord(entry.record);
            if (code && code != kQuestNotFound) {
                FreeStackLists();
                return code;
            }
            last = code;
        } else {
            code = EvalOperator(i, plan[i].left, plan[i].right, plan[plan[i].left].unit, &plan[plan[i].left].held,
                                &plan[plan[i].right].held);
            if (code) {
                FreeStackLists();
                return code;
            }
            last = 0;
        }
        entry.record.kind |= kQuestDone;
        entry.record.source = 2;
    }
    if (last) {
        FreeStackLists();
        return last;
    }
    *result = e.stack[e.used - 1].list;
    e.stack[e.used - 1].list = -1;
    FreeStackLists();
    return 0;
}

void KY_EngineTakeStoredList(int mode, const char* separators) {
    LoHandle none;
    BeginEvaluation(&none, mode, separators);
}

int KY_EngineBuildHilite(int mode) {
    KY_EngineState& e = KyEngine();
    e.hilite.clear();
    auto insert = [&](const std::string& w) {
        auto at = std::lower_bound(e.hilite.begin(), e.hilite.end(), w);
        if ((at == e.hilite.end() || *at != w) && static_cast<int>(e.hilite.size()) < kEnteredCapacity)
            e.hilite.insert(at, w);
    };
    auto add = [&](const std::string& word) {
        if (mode == 1) {
            insert(word);
            return;
        }
        std::vector<std::string> tokens;
        std::string token;
        for (char c : word + (e.separators.empty() ? std::string(" ") : e.separators.substr(0, 1))) {
            if (e.separators.find(c) != std::string::npos || (e.separators.empty() && c == ' ')) {
                if (!token.empty())
                    tokens.push_back(token);
                token.clear();
            } else {
                token += c;
            }
        }
        for (const std::string& t : tokens)
            if (!KyIsStopWord(t) || (tokens.size() > 1 && t.size() > 2))
                insert(t);
    };
    for (const KY_EnteredWord& w : e.entered) {
        add(w.word);
        if (w.kind != kQuestThes || w.word.find("<EXPR>") != std::string::npos || !e.thes.open)
            continue;
        std::string related;
        for (int code = KY_ThesFirst(&e.thes, 1, w.word.c_str(), &related, 1); !code;
             code = KY_ThesNext(&e.thes, &related))
            add(related);
    }
    return 0;
}

const std::vector<std::string>& KY_EngineHilite() {
    return KyEngine().hilite;
}

void KY_HiliteFree() {
    KyEngine().hilite.clear();
}
