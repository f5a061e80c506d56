// The question text, its builder and parser, and the postfix question stack.
#include "search/engine/questions/KyQuest.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "base/procedural/EngineTables.h"
#include "base/procedural/Trace.h"
#include "search/engine/common/TextCopy.h"
#include "search/engine/questions/KyQuestInternal.h"

namespace {

bool gHasQuest = false;
bool gTooDeep = false;  // a parse went past kQuestMaxDepth: it fails whole
std::string gQuest;

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

// The text without the blanks at its ends.
std::string_view TrimView(std::string_view s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos)
        return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// Index of the parenthesis closing the one at open, npos when unbalanced.
size_t Matching(std::string_view s, size_t open) {
    int depth = 0;
    for (size_t i = open; i < s.size(); ++i) {
        if (s[i] == '(')
            ++depth;
        else if (s[i] == ')' && --depth == 0)
            return i;
    }
    return std::string::npos;
}

// Trims, then removes parentheses that enclose the whole text, repeatedly;
// one copy at the end (each step's copy was most of a short question's parse).
std::string Strip(std::string_view text) {
    std::string_view s = TrimView(text);
    while (s.size() >= 2 && s[0] == '(' && Matching(s, 0) == s.size() - 1)
        s = TrimView(s.substr(1, s.size() - 2));
    return std::string(s);
}

bool HasParens(const std::string& s) {
    return s.find_first_of("()") != std::string::npos;
}

unsigned char Upper(unsigned char c) {
    return c == 0xFF ? c : static_cast<unsigned char>(std::toupper(c));
}

int PushTerm(const std::string& text) {
    KY_QuestRecord r;
    int code = KY_QuestTermRecord(text.c_str(), &r);
    return code ? code : KY_QuestPush(&r);
}

}  // namespace

void KY_QuestRecordInit(KY_QuestRecord* r) {
    std::memset(r, 0, sizeof *r);
    r->kind = -1;
    r->source = -1;
    r->field = static_cast<uint32_t>(-1);
    r->termFlag = 2;
    r->relation = -1;
    r->count = 1;
}

int KY_QuestNew() {
    if (gHasQuest)
        return Fail(kQuestErrMemory, "myquest not null");
    gQuest.clear();
    gQuest.reserve(100);
    gHasQuest = true;
    return 0;
}

int KY_QuestFree() {
    if (!gHasQuest)
        return Fail(kQuestErrMemory, "myquest is null");
    gHasQuest = false;
    gQuest.clear();
    return 0;
}

const char* KY_QuestText() {
    return gHasQuest ? gQuest.c_str() : nullptr;
}

int KY_QuestAppend(const char* text) {
    if (!gHasQuest)
        return Fail(kQuestErrMemory, "myquest is null");
    gQuest += text;
    return 0;
}

int KY_QuestAddTerm(char* term, int field, int flags, const char* relation) {
    if (!gHasQuest)
        return Fail(kQuestErrAddTerm, "KY_QuestAddTerm");
    std::string F = std::to_string(field);
    const char* D = (flags & 0x7F) == 0 ? "1" : "0";
    std::string rel = relation ? relation : "";
    if (rel == "#") {
        gQuest += std::string(" (#") + term + ") ";
        return 0;
    }
    if (rel == "@") {
        gQuest += " (@) ";
        return 0;
    }
    if (std::strcmp(term, "()") == 0) {
        gQuest += "()";
        return 0;
    }
    KY_FilterChars(term, KyEngine().filter);
    const char* word = (flags & 0x80) && term[0] ? term + 1 : term;
    if (!term[0] || (KY_StopWordsOn() && KyIsStopWord(word))) {
        gQuest += "()";
        return 0;
    }
    gQuest.append(" (").append(F).append(",").append(D).append("=").append(term);
    if (!rel.empty())
        gQuest.append("R/").append(rel).append(F);
    gQuest += ") ";
    return 0;
}

int KY_QuestAddOperator(const char* word, int unit, int distance) {
    if (!gHasQuest)
        return Fail(kQuestErrAddOperator, "KY_QuestAddOperator");
    std::string text = std::string(" ") + word;
    if (unit) {
        const char* letter = unit == kUnitW   ? "W"
                             : unit == kUnitS ? "S"
                             : unit == kUnitP ? "P"
                             : unit == kUnitF ? "F"
                                              : nullptr;
        if (!letter)
            return Fail(kQuestErrUnit, word);
        text += std::string("S/") + letter + std::to_string(distance);
    }
    gQuest += text + " ";
    return 0;
}

int KY_QuestOpenGroup() {
    return KY_QuestAppend("(");
}

int KY_QuestCloseGroup() {
    return KY_QuestAppend(")");
}

int KY_QuestOperatorRecord(const char* word, KY_QuestRecord* r) {
    KY_QuestRecordInit(r);
    std::string w = word;
    for (size_t i = 1; i < w.size(); ++i)
        w[i] = static_cast<char>(Upper(static_cast<unsigned char>(w[i])));
    TextCopy(r->text, sizeof r->text, w.c_str(), w.size());
    r->source = 1;
    size_t s = w.find("S/");
    if (s != std::string::npos) {
        r->kind = kQuestAnd;
        char letter = s + 2 < w.size() ? w[s + 2] : 0;
        r->unit = letter == 'W' ? kUnitW : letter == 'S' ? kUnitS : letter == 'P' ? kUnitP : letter == 'F' ? kUnitF : 0;
        if (!r->unit)
            return Fail(kQuestErrUnit, word);
        r->count = std::atoi(w.c_str() + s + 3);
        return 0;
    }
    auto starts = [&](const char* p) { return w.compare(0, std::strlen(p), p) == 0; };
    r->kind = starts("AND") ? kQuestAnd : starts("OR") ? kQuestOr : starts("EX") || starts("SAUF") ? kQuestExcept : -1;
    return 0;
}

int KY_QuestTermRecord(const char* input, KY_QuestRecord* r) {
    KY_QuestRecordInit(r);
    std::string t(TrimView(std::string_view(input, strnlen(input, 127))));
    r->kind = kQuestTerm;
    r->source = 1;
    r->termFlag = 1;
    size_t p;
    if (t.find('@') != std::string::npos) {
        for (size_t i = 1; i < t.size(); ++i)
            t[i] = static_cast<char>(Upper(static_cast<unsigned char>(t[i])));
        r->kind = kQuestList;
    } else if ((p = t.find("*!")) != std::string::npos) {
        if (t.find("R/", p) != std::string::npos)
            return Fail(kQuestErrTruncThes, t.size() > 4 ? t.substr(4) : "");
        t = t.substr(0, p) + "*";
        r->kind = kQuestPattern;
    } else if ((p = t.find('?')) != std::string::npos) {
        r->kind = kQuestPattern;
        size_t rel = t.find("R/", p);
        if (rel != std::string::npos)
            t.resize(rel);
    } else if ((p = t.find("R/")) != std::string::npos) {
        r->kind = kQuestThes;
        std::string code = t.substr(p + 2);
        t.resize(p);
        static const struct {
            const char* code;
            int relation;
        } kCodes[] = {{"TS", 1}, {"TG", 2}, {"TA", 5}, {"UT", 4}, {"SYN", 3}};
        size_t skip = 0;
        for (const auto& c : kCodes)
            if (code.compare(0, std::strlen(c.code), c.code) == 0) {
                r->relation = c.relation;
                skip = std::strlen(c.code);
                break;
            }
        int depth = std::atoi(code.c_str() + skip);
        r->count = depth > 0 ? depth : 1;
    }
    size_t eq = t.find('=');
    if (eq != std::string::npos) {
        // The number stops at the '=' at the latest.
        r->field = static_cast<uint32_t>(std::atoi(t.c_str())) & 0x7F;
        size_t comma = t.find(',');
        if (comma < eq && comma + 1 < eq && t[comma + 1] == '1' && r->kind != kQuestPattern)
            r->field |= 0x80;
        t.erase(0, eq + 1);
    } else {
        r->field = 0;
        size_t hash = t.find('#');
        if (hash != std::string::npos) {
            r->kind = kQuestList;
            t = t.substr(hash + 1);
        } else if (t.find('@') != std::string::npos) {
            r->kind = kQuestList;
        }
    }
    if (t.find('@') != std::string::npos)
        t = "@";
    TextCopy(r->text, sizeof r->text, t.c_str(), t.size());
    return 0;
}

namespace {

int Parse(const KY_QuestRecord* pending, const char* text, int depth);

}  // namespace

int KY_QuestParse(const KY_QuestRecord* pending, const char* text) {
    gTooDeep = false;
    int code = Parse(pending, text, 0);
    return gTooDeep ? Fail(kQuestErrBalance, "groups nested too deep") : code;
}

namespace {

// depth bounds the recursion: a question is reader text, and each level costs stack.
int Parse(const KY_QuestRecord* pending, const char* text, int depth) {
    if (depth > kQuestMaxDepth || gTooDeep) {
        gTooDeep = true;
        return kQuestErrBalance;
    }
    std::string s = Strip(text);
    if (s.empty() || s[0] == '\n' || s[0] == '\r')
        return kQuestErrEmpty;
    std::string left, op, rest;
    bool chain = false;
    if (!HasParens(s)) {
        left = std::move(s);
    } else {
        size_t open = s.find('(');
        size_t close = open == std::string::npos ? open : Matching(s, open);
        if (close == std::string::npos)
            return Fail(kQuestErrBalance, s);
        left = Strip(std::string_view(s).substr(open + 1, close - open - 1));
        size_t w = s.find_first_not_of(' ', close + 1);
        if (w != std::string::npos) {
            size_t blank = s.find(' ', w);
            if (blank == std::string::npos)
                return Fail(kQuestErrNoRight, s.substr(w));
            op = s.substr(w, blank - w);
            std::string r(TrimView(std::string_view(s).substr(blank + 1)));
            if (HasParens(r) && !(r[0] == '(' && Matching(r, 0) == r.size() - 1)) {
                chain = true;
                if (r[0] == '(' && Matching(r, 0) == std::string::npos)
                    return Fail(kQuestErrBalance, r);
            }
            rest = chain ? r : Strip(r);
            if (!chain && rest.empty() && r.empty())
                return Fail(kQuestErrNoRight, op);
        }
    }
    KY_QuestRecord opRecord;
    int opCode = op.empty() ? 0 : KY_QuestOperatorRecord(op.c_str(), &opRecord);
    if (opCode)
        return opCode;
    // Left part.
    int leftCode = 0;
    bool leftOk = false;
    if (left.empty()) {
        leftCode = kQuestErrEmpty;
    } else {
        leftCode = HasParens(left) ? Parse(nullptr, left.c_str(), depth + 1) : PushTerm(left);
        if (!leftCode) {
            leftOk = true;
            if (pending && (leftCode = KY_QuestPush(pending)) != 0)
                return leftCode;
        }
    }
    if (op.empty())
        return leftCode;
    // Rest: this level's operator joins it when the left part holds something;
    // else the pending operator, not yet pushed, joins it to what came before.
    const KY_QuestRecord* join = leftOk ? &opRecord : pending;
    int restCode;
    if (chain) {
        restCode = Parse(join, rest.c_str(), depth + 1);
    } else if (rest.empty()) {
        restCode = kQuestErrEmpty;
    } else {
        restCode = HasParens(rest) ? Parse(nullptr, rest.c_str(), depth + 1) : PushTerm(rest);
        if (!restCode && join && (restCode = KY_QuestPush(join)) != 0)
            return restCode;
    }
    return leftCode && restCode ? leftCode : 0;
}

}  // namespace

int KY_QuestCompile(const char* list1, const char* list2) {
    if (!gHasQuest)
        return Fail(kQuestErrMemory, "myquest null");
    KY_EngineState& e = KyEngine();
    const char* texts[2] = {list1, list2};
    for (int i = 0; i < 2; ++i) {
        e.extra[i].clear();
        for (const char* p = texts[i]; p && *p;) {
            e.extra[i].push_back(std::atoi(p));
            p = std::strchr(p, ':');
            if (p)
                ++p;
        }
    }
    return KY_QuestParse(nullptr, gQuest.c_str());
}

uint32_t KY_UnitField(uint32_t mask, int unit) {
    static const uint32_t kSlots[4] = {0xFF, 0xFF00, 0xFF0000, 0x7F000000};
    static const int kUnits[4] = {kUnitW, kUnitS, kUnitP, kUnitF};
    if (!(mask & static_cast<uint32_t>(unit)) || !(mask & 15))
        return 0;
    uint32_t field = 0;
    for (int slot = 0; slot < 4; ++slot) {
        int owner = -1;
        for (int d = slot; d >= 0 && owner < 0; --d)
            if (mask & static_cast<uint32_t>(kUnits[d]))
                owner = d;
        for (int u = slot + 1; u < 4 && owner < 0; ++u)
            if (mask & static_cast<uint32_t>(kUnits[u]))
                owner = u;
        if (kUnits[owner] == unit)
            field |= kSlots[slot];
    }
    return field;
}

namespace {

int CheckEntry(KY_QuestEntry* e) {
    KY_QuestRecord& r = e->record;
    if (r.kind < kQuestAnd || r.kind > kQuestList)
        return Fail(kQuestErrKind, r.text);
    if (r.kind >= kQuestTerm) {
        if (r.kind <= kQuestThes) {
            // A field without an index list has none to be closed: the
            // evaluation searches the extra index lists alone.
            static const std::vector<KY_IndexItem> kNone;
            const std::vector<KY_IndexItem>* list = KyFieldList(r.field);
            for (const KY_IndexItem& item : list ? *list : kNone) {
                KY_IndexRecord* index = KyIndexAt(item.index);
                if (!index || !index->open)
                    return Fail(kQuestErrIndexClosed, index ? index->path : r.text);
            }
        }
        if (r.source < 1 || r.source > 2)
            return Fail(kQuestErrSource, r.text);
        if (!r.text[0])
            return Fail(kQuestErrEmptyTerm, "");
        if (r.unit && r.kind != kQuestList)
            return Fail(kQuestErrUnitPlace, r.text);
        if (r.kind == kQuestThes && (r.text[0] == '?' || r.text[0] == '*'))
            return Fail(kQuestErrThesPattern, r.text);
        if (r.kind == kQuestList) {
            if (std::strcmp(r.text, "@") == 0) {
                e->listSize = 0;
            } else {
                uint8_t header[kLoHeaderSize];
                int got = LoHeader(KY_EngineListPath(r.text).c_str(), header);
                if (got == kLoHeaderSize) {
                    e->listSize = static_cast<int32_t>(header[16] | header[17] << 8 | header[18] << 16 |
                                                       static_cast<uint32_t>(header[19]) << 24);
                    r.unit = header[44];
                    r.relation = kLoHeaderSize;
                } else if (got < 0) {
                    return Fail(kQuestErrNoList, r.text);
                }
            }
        }
    } else if (r.kind == kQuestOr && r.unit) {
        return Fail(kQuestErrUnitPlace, r.text);
    }
    if (r.count != 1 && r.relation == -1 && !r.unit)
        return Fail(kQuestErrCount, r.text);
    return 0;
}

// Operand balance and the units of every proximity operator.
int CheckStack() {
    KY_EngineState& e = KyEngine();
    int count = 0;
    for (int i = 0; i < e.used; ++i) {
        const KY_QuestRecord& r = e.stack[i].record;
        int kind = r.kind & 0x7F;
        if (kind >= kQuestTerm) {
            ++count;
            continue;
        }
        if (count < 2)
            return Fail(kQuestErrOperands, r.text);
        --count;
        if (r.unit && !KY_UnitField(KyEntryUnits(i), r.unit)) {
            int code = r.unit == kUnitW ? 609 : r.unit == kUnitS ? 610 : r.unit == kUnitP ? 611 : 612;
            return Fail(code, r.text);
        }
    }
    return count == 1 ? 0 : count <= 0 ? Fail(kQuestErrOperands, "") : kQuestWaiting;
}

void FreshSlot(KY_QuestEntry* e) {
    e->done = 0;
    e->list = -1;
    e->listSize = -1;
    KY_QuestRecordInit(&e->record);
    e->record.kind = kQuestDone;
}

}  // namespace

int KY_QuestPush(const KY_QuestRecord* record) {
    KY_EngineState& e = KyEngine();
    KY_QuestEntry entry;
    FreshSlot(&entry);
    entry.record = *record;
    entry.record.text[kQuestTextSize - 1] = 0;
    if (e.used >= static_cast<int>(e.stack.size())) {
        if (e.stack.size() + 100 > 0xFFFF)
            return e.lastPush = Fail(kQuestErrMemory, "MAXQUEST too high");
        size_t old = e.stack.size();
        e.stack.resize(old + 100);
        for (size_t i = old; i < e.stack.size(); ++i)
            FreshSlot(&e.stack[i]);
    }
    int code = CheckEntry(&entry);
    if (code)
        return e.lastPush = code;
    e.stack[e.used++] = entry;
    code = CheckStack();
    if (code && code != kQuestWaiting) {
        TraceLevel(5, "\nErreur ajout grave");
        KY_QuestPop();
    } else if (code == kQuestWaiting) {
        TraceLevel(5, "Warning ajout simple N\xF8 %i", code);
    }
    e.lastPush = code;
    return code == kQuestWaiting ? 0 : code;
}

int KY_QuestPop() {
    KY_EngineState& e = KyEngine();
    if (e.used > 0)
        FreshSlot(&e.stack[--e.used]);
    return 0;
}

int KY_QuestCount() {
    return KyEngine().used;
}

const KY_QuestEntry* KY_QuestAt(int i) {
    KY_EngineState& e = KyEngine();
    return i >= 0 && i < e.used ? &e.stack[i] : nullptr;
}
