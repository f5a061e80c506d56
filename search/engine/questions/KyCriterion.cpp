// Criterion texts: words, operator and proximity words, quoted phrases and dates
// turned into question text through the builder.
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "base/procedural/EngineTables.h"
#include "base/procedural/KyPath.h"
#include "search/engine/common/AsciiCase.h"
#include "search/engine/common/TextCopy.h"
#include "search/engine/questions/KyQuestInternal.h"

namespace {

int Fail(int code, const std::string& text) {
    KY_SetEngineErrorText(text.c_str());
    return code;
}

struct Item {
    bool term;
    std::string text;  // term, or operator word
    int unit = 0, distance = 0;
    int opens = 0, closes = 0;
};

// The end of the list's word starting at at: its separator or the list's end.
// Searched in a loop of our own: the library's search, called for a few
// bytes at each word of a question, cost more than the words' comparisons.
size_t WordEnd(const std::string& list, size_t at) {
    return static_cast<size_t>(std::find(list.begin() + static_cast<std::ptrdiff_t>(at), list.end(), list[0]) -
                               list.begin());
}

// Position of word in a list whose first character separates its words; -1 none.
int WordIndex(const std::string& list, std::string_view word) {
    if (list.size() < 2 || word.empty())
        return -1;
    int n = 0;
    for (size_t at = 1; at < list.size(); ++n) {
        size_t end = WordEnd(list, at);
        if (end - at == word.size() && AsciiSameNoCase(list.c_str() + at, word.data(), word.size()))
            return n;
        at = end + 1;
    }
    return -1;
}

std::string_view ListWordView(const std::string& list, int n) {
    if (list.size() < 2)
        return {};
    size_t at = 1;
    for (int i = 0; i < n && at < list.size(); ++i)
        at = std::min(WordEnd(list, at) + 1, list.size());
    return at < list.size() ? std::string_view(list).substr(at, WordEnd(list, at) - at) : std::string_view();
}

std::string ListWord(const std::string& list, int n) {
    return std::string(ListWordView(list, n));
}

int UnitOfLetter(char c) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c == 'F' ? kUnitF : c == 'P' ? kUnitP : c == 'S' ? kUnitS : c == 'W' ? kUnitW : 0;
}

class Parser {
public:
    // Room for a few terms and their operators at once: growing took a block
    // at each of the first items.
    explicit Parser(const KY_CriterionField& f) : f_(f) { items_.reserve(8); }

    int parse(std::string_view text) {
        size_t pos = 0;
        int depth = 0, opens = 0;
        size_t first = items_.size();
        // The field's separators, and what ends a word besides them.
        bool isBreak[256] = {}, isEnd[256] = {};
        for (char c : f_.separators)
            isBreak[static_cast<unsigned char>(c)] = isEnd[static_cast<unsigned char>(c)] = true;
        isEnd[static_cast<unsigned char>('(')] = isEnd[static_cast<unsigned char>(')')] = true;
        isEnd[static_cast<unsigned char>('"')] = true;
        while (pos < text.size()) {
            // Brackets and quotes come before the field's separators, which may hold them.
            char c = text[pos];
            if (c == '(') {
                if (++depth > kCriterionMaxDepth)
                    return Fail(1200, "groups nested too deep");
                ++opens;
                ++pos;
                continue;
            }
            if (c == ')') {
                if (depth > 0 && opens > 0) {
                    // An empty group is an empty term: the question drops it with
                    // the operator after it, so "a OU () ET c" stays "a OU c".
                    --depth;
                    --opens;
                    termItem("", &opens);
                    ++pos;
                    continue;
                }
                if (depth == 0 || items_.size() == first || !items_.back().term)
                    return Fail(1200, ")");
                --depth;
                ++items_.back().closes;
                ++pos;
                continue;
            }
            if (c == '"') {
                size_t end = text.find('"', pos + 1);
                if (end == std::string::npos)
                    return Fail(1201, std::string(text.substr(pos)));
                std::string phrase(text.substr(pos + 1, end - pos - 1));
                pos = end + 1;
                int code = phraseItem(phrase, &opens);
                if (code)
                    return code;
                continue;
            }
            if (isBreak[static_cast<unsigned char>(c)]) {
                ++pos;
                continue;
            }
            size_t end = pos;
            while (end < text.size() && !isEnd[static_cast<unsigned char>(text[end])])
                ++end;
            std::string_view word = text.substr(pos, end - pos);
            pos = end;
            int code = wordItem(word, &opens);
            if (code)
                return code;
        }
        if (depth != 0)
            return Fail(1200, std::string(text));
        if (items_.size() > first && !items_.back().term)
            return Fail(kQuestErrOperands, items_.back().text);
        return 0;
    }

    int write() {
        int code = 0;
        for (size_t i = 0; !code && i < items_.size(); ++i)
            code = items_[i].term ? addTerm(items_[i])
                                  : KY_QuestAddOperator(items_[i].text.c_str(), items_[i].unit, items_[i].distance);
        return code;
    }

    std::vector<Item> items_;

private:
    int wordItem(std::string_view word, int* opens) {
        int op = WordIndex(f_.opWords, word);
        if (op >= 0 && op <= 2) {
            if (items_.empty() || !items_.back().term)
                return Fail(kQuestErrOperands, std::string(word));
            Item item{false, op == 0 ? "AND" : op == 1 ? "OR" : "EX"};
            items_.push_back(std::move(item));
            return 0;
        }
        for (int n = 0; n < 3; ++n) {
            // Looked at in place: a copy of each took a heap block at each word.
            std::string_view p = ListWordView(f_.proxWords, n);
            if (p.empty() || word.size() < p.size() || !AsciiSameNoCase(word.data(), p.data(), p.size()))
                continue;
            std::string digits(word.substr(p.size()));
            if (digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string::npos)
                continue;
            if (items_.empty() || !items_.back().term)
                return Fail(kQuestErrOperands, std::string(word));
            Item item{false, ""};
            item.unit = n == 0 ? kUnitW : n == 1 ? kUnitF : kUnitP;
            item.distance = digits.empty() ? (item.unit == kUnitW ? 1 : 0) : std::atoi(digits.c_str());
            item.text = item.distance ? "AND" : opWord();
            items_.push_back(std::move(item));
            return 0;
        }
        if (word == "*")
            return 0;
        return termItem(word, opens);
    }

    std::string opWord() const { return f_.op == 1 ? "OR" : f_.op == 2 ? "EX" : "AND"; }

    Item defaultOperator() const {
        Item op{false, opWord()};
        op.unit = f_.defaultProx.empty() ? 0 : UnitOfLetter(f_.defaultProx[0]);
        op.distance = f_.defaultProx.size() < 2 ? 0 : std::atoi(f_.defaultProx.c_str() + 1);
        return op;
    }

    int termItem(std::string_view text, int* opens) {
        if (!items_.empty() && items_.back().term)
            items_.push_back(defaultOperator());
        items_.push_back(Item{true, std::string(text)});
        items_.back().opens = *opens;
        *opens = 0;
        return 0;
    }

    int phraseItem(const std::string& phrase, int* opens) {
        if (phrase.find_first_of("()") != std::string::npos)
            return Fail(1209, phrase);
        if (KY_IsBlank(phrase.c_str(), f_.separators))
            return 0;
        int found = f_.lexicon.empty();
        if (!found) {
            KY_Lexicon force;
            force.name = kForceProximity;
            int code = KY_CheckPhrase(f_.lex ? f_.lex : &force, phrase.c_str(), f_.separators, &found);
            if (code)
                return code;
        }
        if (!found && !f_.proxFlag)
            return Fail(kQuestNotFound, phrase);
        if (found)
            return termItem(phrase, opens);
        std::string rewritten;
        int code = KY_PhraseToProximity(phrase.c_str(), f_, &rewritten);
        if (code == 1208)
            return termItem(phrase, opens);
        if (code)
            return code;
        if (!items_.empty() && items_.back().term)
            items_.push_back(defaultOperator());
        KY_CriterionField inner = f_;
        inner.lexicon.clear();
        inner.lex = nullptr;
        Parser sub(inner);
        if ((code = sub.parse(rewritten)) != 0)
            return code;
        if (sub.items_.empty())
            return 0;
        sub.items_.front().opens += 1 + *opens;
        *opens = 0;
        sub.items_.back().closes += 1;
        items_.insert(items_.end(), sub.items_.begin(), sub.items_.end());
        return 0;
    }

    int addTerm(const Item& item) {
        for (int i = 0; i < item.opens; ++i)
            KY_QuestOpenGroup();
        std::string_view t = std::string_view(item.text).substr(0, 127);
        size_t b = t.find_first_not_of(f_.separators), e = t.find_last_not_of(f_.separators);
        t = b == std::string::npos ? std::string_view("", 0) : t.substr(b, e - b + 1);
        char norm[kQuestTextSize + 2];
        TextCopy(norm, sizeof norm, t.data(), t.size());
        KY_FilterChars(norm, KY_EngineStopWordTable());
        int flags = f_.thesFlag ? 0 : 1;
        int code;
        if (static_cast<int>(std::strlen(norm)) < f_.minLength || t.empty()) {
            code = KY_QuestAppend("()");
        } else {
            char prefix = f_.prefix[f_.thesFlag ? 1 : 0];
            char term[kQuestTextSize + 2];
            const char before[2] = {prefix, 0};
            std::snprintf(term, sizeof term, "%s%.*s", before, static_cast<int>(t.size()), t.data());
            KY_EngineSetPrefixMode(prefix != 0);
            if (prefix)
                flags |= 0x80;
            code = KY_QuestAddTerm(term, f_.field, flags, (flags & 0x7F) == 0 ? "TG" : nullptr);
        }
        for (int i = 0; !code && i < item.closes; ++i)
            code = KY_QuestCloseGroup();
        return code;
    }

    const KY_CriterionField& f_;
};

}  // namespace

const char kForceProximity[] = "_FORCESECTOPROX_";

int KY_IsBlank(const char* text, const std::string& separators) {
    return std::string(text).find_first_not_of(separators) == std::string::npos ? 1 : 0;
}

// Lexicon lookup: the phrase through the lexicon's table, trimmed, cut to 127
// characters, after the key character, looked up as an exact key.
int KY_CheckPhrase(KY_Lexicon* lex, const char* phrase, const std::string& separators, int* found) {
    *found = 0;
    std::string p = phrase;
    if (p.find_first_of(separators) == std::string::npos) {
        *found = 1;
        return 0;
    }
    if (lex->name == kForceProximity)
        return 0;
    if (!lex->loaded) {
        if (KY_LoadCharTable(lex->table, lex->filterFile.c_str()) != 1)
            KY_LoadCharTable(lex->table, nullptr);
        if (!lex->shared) {
            KY_ClearOpenSpec(&lex->spec);
            lex->own = AbpTree{};
            if (KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), lex->keyFile.c_str(), nullptr, 0, 0, 0, 0, &lex->spec) != 0 ||
                abpOpen(&lex->spec, &lex->own, 0, 0) != 0) {
                KY_FreeOpenSpec(&lex->spec);
                return Fail(105, lex->keyFile);
            }
        }
        lex->loaded = 1;
    }
    std::vector<char> text(p.begin(), p.end());
    text.push_back(0);
    KY_FilterChars(text.data(), lex->table);
    std::string key = text.data();
    size_t b = key.find_first_not_of(' '), e = key.find_last_not_of(' ');
    if (b == std::string::npos)
        return 0;
    key = key.substr(b, e - b + 1);
    if (key.size() > 128)
        key.resize(127);
    if (lex->keyChar)
        key = std::string(1, lex->keyChar) + key;
    AbpEntry entry;
    std::memset(&entry, 0, sizeof entry);
    std::memcpy(entry.key, key.data(), std::min<size_t>(key.size(), kAbpMaxKey));
    int code = abpSearchKey(&entry, lex->shared ? lex->shared : &lex->own, 1);
    *found = code == 0;
    return code == 0 || code == kAbpErrNotFound || code == kAbpEndOfKeys ? 0 : code;
}

void KY_FreeLexicon(KY_Lexicon* lex) {
    if (lex->loaded && !lex->shared) {
        abpClose(&lex->own);
        KY_FreeOpenSpec(&lex->spec);
    }
    lex->loaded = 0;
}

int KY_PhraseToProximity(const char* phrase, const KY_CriterionField& f, std::string* out) {
    out->clear();
    std::string p = phrase, word, prox = ListWord(f.proxWords, 0);
    std::vector<std::string> words;
    for (char c : p + f.separators.substr(0, 1)) {
        if (f.separators.find(c) != std::string::npos) {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    int kept = 0, skipped = 0;
    for (const std::string& w : words) {
        if (KyIsStopWord(w) || static_cast<int>(w.size()) < f.minLength) {
            ++skipped;
            continue;
        }
        if (kept++)
            *out += prox + std::to_string(1 + skipped) + " ";
        *out += "\"" + w + "\" ";
        skipped = 0;
    }
    return kept < 2 ? Fail(1208, phrase) : 0;
}

int KY_TextCriterion(const char* text, const KY_CriterionField& field) {
    if (std::strlen(text) > kCriterionMaxText)
        return Fail(1200, "criterion too long");
    Parser parser(field);
    int code = parser.parse(text);
    if (code)
        return code;
    if (parser.items_.empty())
        return Fail(1252, text);
    return parser.write();
}

namespace {

struct Ymd {
    int y, m, d;
};

Ymd Split(const std::string& date) {
    auto part = [&](size_t at, size_t n) { return date.size() >= at + n ? std::atoi(date.substr(at, n).c_str()) : 0; };
    return Ymd{part(0, 4), part(4, 2), part(6, 2)};
}

std::string Join(Ymd v) {
    char out[32];
    std::snprintf(out, sizeof out, "%04d%02d%02d", v.y, v.m, v.d);
    return out;
}

// Every month counts 31 days; keys compare as text.
std::string PrevDay(const std::string& date) {
    Ymd v = Split(date);
    if (v.d == 0) {
        v.d = 1;
        if (v.m == 0)
            v.m = 1;
    } else if (v.d == 1) {
        v.d = 31;
        if (--v.m == 0) {
            v.m = 12;
            --v.y;
        }
    } else {
        --v.d;
    }
    return Join(v);
}

std::string NextDay(const std::string& date) {
    Ymd v = Split(date);
    if (v.d == 0) {
        v.d = 31;
        if (v.m == 0)
            v.m = 12;
    } else if (v.d == 31) {
        v.d = 1;
        if (++v.m == 13) {
            v.m = 1;
            ++v.y;
        }
    } else {
        ++v.d;
    }
    return Join(v);
}

}  // namespace

int KY_DateKeys(const char* date, int mode, std::string* low, std::string* high) {
    std::string d = date;
    const std::string open = "00010000", end = "30010000";
    bool partial = d.size() < 7;
    std::string first = partial ? PrevDay(d) : Join(Split(d)), last = partial ? NextDay(d) : Join(Split(d));
    switch (mode) {
        case 0:
            *low = first, *high = last;
            break;
        case 1:
            *low = open, *high = PrevDay(first);
            break;
        case 2:
            *low = open, *high = last;
            break;
        case 3:
            *low = NextDay(last), *high = end;
            break;
        case 4:
            *low = first, *high = end;
            break;
        default:
            return Fail(1207, date);
    }
    if (*low > *high)
        std::swap(*low, *high);
    return 0;
}

std::string KY_MakeListName(const char* folder) {
    KY_FileSpec dir{nullptr}, temp{nullptr};
    std::string out;
    char name[260];
    if (KY_FullPath(folder && *folder ? folder : ".", &dir) == 0 && KY_MakeTempName("KY", &dir, &temp) == 0 &&
        KY_GetFileName(&temp, name, sizeof name) == 0)
        out = name;
    KY_FreeFileSpec(&dir);
    KY_FreeFileSpec(&temp);
    return out;
}

int KY_DateCriterionText(const char* text, const KY_CriterionField& f, const char* folder,
                         std::vector<std::string>* lists) {
    struct DateItem {
        std::string date;
        int mode = 0;
        std::string op;
        bool month = false, day = false;
    };
    std::vector<DateItem> items;
    std::string t = text;
    int mode = -1;
    bool needOp = false;
    std::string op;
    for (size_t pos = 0; pos < t.size();) {
        if (f.separators.find(t[pos]) != std::string::npos || t[pos] == '(' || t[pos] == ')') {
            ++pos;
            continue;
        }
        size_t end = t.find_first_of(f.separators + "()", pos);
        if (end == std::string::npos)
            end = t.size();
        std::string w = t.substr(pos, end - pos);
        pos = end;
        int n;
        if ((n = WordIndex(f.opWords, w)) >= 0) {
            if (!needOp)
                return Fail(kQuestErrOperands, w);
            op = n == 0 ? "AND" : n == 1 ? "OR" : "EX";
            needOp = false;
            continue;
        }
        if ((n = WordIndex(f.dateWords, w)) >= 0) {
            if (mode >= 0)
                return Fail(1207, w);
            mode = n;
            continue;
        }
        if (w.find_first_not_of("0123456789") != std::string::npos)
            return Fail(kQuestErrOperands, w);
        if (w.size() == 3 || w.size() >= 5)
            return Fail(1206, w);
        int v = std::atoi(w.c_str());
        if (w.size() == 4) {
            if (needOp && items.back().date.size() >= 4 && op.empty()) {
                if (!items.back().month)
                    return Fail(1202, w);
            }
            DateItem item;
            item.date = w;
            item.mode = mode < 0 ? 0 : mode;
            item.op = items.empty() ? "" : op.empty() ? (f.op == 1 ? "OR" : f.op == 2 ? "EX" : "AND") : op;
            items.push_back(item);
            mode = -1;
            op.clear();
            needOp = true;
            continue;
        }
        if (items.empty() || !needOp)
            return Fail(1203, w);
        DateItem& last = items.back();
        char two[8];
        std::snprintf(two, sizeof two, "%02d", v);
        if (!last.month) {
            if (v < 1 || v > 12)
                return Fail(1204, w);
            last.month = true;
            last.date += two;
        } else if (!last.day) {
            if (v < 1 || v > 31)
                return Fail(1205, w);
            last.day = true;
            last.date += two;
        } else {
            return Fail(1202, w);
        }
    }
    if (items.empty())
        return Fail(1260, text);
    for (const DateItem& item : items) {
        std::string low, high;
        int code = KY_DateKeys(item.date.c_str(), item.mode, &low, &high);
        if (!item.op.empty() && (code = KY_QuestAddOperator(item.op.c_str(), 0, 0)) != 0)
            return code;
        if (f.prefix[0]) {
            low = f.prefix[0] + low;
            high = f.prefix[0] + high;
        }
        std::string name = KY_MakeListName(folder);
        if (name.empty())
            return Fail(kQuestErrMemory, "KY_MakeListName");
        std::string path = KY_ListPath(folder ? folder : "", name);
        lists->push_back(path);
        LoHandle h = -1;
        code = MakeHlo(f.field, low.c_str(), high.c_str(), &h);
        if (!code && h == -1) {
            // An empty range is an empty list, not a missing one.
            code = LoCreate(kLoReadable | kLoWritable, nullptr, 0, 0, 0, &h, 1);
            if (!code && (code = LoWrite(h, -1, 0)) == 0)
                LoClose(h);
        }
        if (!code)
            code = KY_EngineSaveList(&h, path.c_str());
        // The folder is the engine's list folder: the question names the list alone.
        std::string named = KyEngine().listFolder == (folder ? folder : "") ? name : path;
        char term[kQuestTextSize + 2];
        TextCopy(term, sizeof term, code ? "@" : named.c_str());
        int written = KY_QuestAddTerm(term, -1, -1, code ? "@" : "#");
        if (code || written)
            return code ? code : written;
    }
    return 0;
}
