// The hit set: building lines from the expression and matching words.
#include "docengine/hilite/AHiliteSet.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/procedural/AError.h"
#include "base/procedural/KyFilter.h"

int splitString(char* text, char** parts, const char* separator, int maximum) {
    size_t length = strlen(separator);
    if (!text || length == 0)
        return 0;
    int found = 0;
    char* p = text;
    for (;;) {
        while (strncmp(p, separator, length) == 0)
            p += length;
        if (!*p)
            break;
        char* hit = strstr(p, separator);
        if (found < maximum)
            parts[found] = p;
        ++found;
        if (!hit)
            break;
        *hit = 0;
        p = hit + length;
    }
    return found;
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

// Items are split at commas and trimmed; "*" at an item's end leaves the
// compared length one short, and the last item's "*" makes the list a prefix list.
AHiliteWordList::AHiliteWordList(const char* text, long n) : number(n), prefix(0), matched(0) {
    std::string all(text ? text : "");
    size_t start = 0;
    while (start <= all.size()) {
        size_t comma = all.find(',', start);
        if (comma == std::string::npos)
            comma = all.size();
        size_t a = start, b = comma;
        while (a < b && IsBlank(all[a]))
            ++a;
        while (b > a && IsBlank(all[b - 1]))
            --b;
        if (b > a) {
            std::string item = all.substr(a, b - a);
            bool star = item.back() == '*';
            addWord(item.c_str(), static_cast<long>(item.size()) - (star ? 1 : 0));
            prefix = star;
        }
        start = comma + 1;
    }
}

void AHiliteWordList::addWord(const char* word, long length) {
    firstChars += *word ? *word : '\xFF';
    words_.emplace(word, length);
}

bool AHiliteWordList::hasFirstChar(unsigned char c) const {
    return firstChars.find(static_cast<char>(c)) != std::string::npos;
}

// Only words sharing the text's first character can decide: the sorted keys
// are walked from that character on, not the whole list.
int AHiliteWordList::match(int result, const char* text, long n, bool phrase, uint16_t* partial) const {
    if (n <= 0)
        return result;
    for (auto k = words_.lower_bound(std::string(1, text[0])); k != words_.end() && k->first[0] == text[0]; ++k) {
        long l = k->second;
        if (memcmp(k->first.data(), text, static_cast<size_t>(std::min(n, l))) != 0)
            continue;
        if (n < l) {
            if (phrase && k->first[static_cast<size_t>(n)] == ' ') {
                if (partial)
                    *partial = 1;
                return result;
            }
        } else if (prefix || n == l) {
            return 1;
        }
    }
    return result;
}

AHiliteExpr::AHiliteExpr(const char* text) : phrase(0), proximity(0), window(0) {
    static const char kMarker[] = "<EXPR>";
    std::string line(text ? text : "");
    int markers = 0;
    for (size_t at = line.find(kMarker); at != std::string::npos; at = line.find(kMarker, at + 6))
        ++markers;
    proximity = markers > 0;
    phrase = markers == 0 && line.find(' ') != std::string::npos;
    std::vector<char> copy(line.begin(), line.end());
    copy.push_back(0);
    std::vector<char*> parts(static_cast<size_t>(markers) + 1);
    int found = splitString(copy.data(), parts.data(), kMarker, markers + 1);
    int used = std::min(found, markers + 1);
    for (int i = 0; i < used; ++i) {
        if (i == 0) {
            lists.push_back(CheckAlloc(new AHiliteWordList(parts[0], 0), "ghilite", 206));
            continue;
        }
        long number = strtol(parts[i], nullptr, 10);
        const char* blank = strchr(parts[i], ' ');
        if (!blank)
            continue;  // a part without a blank after its number has no words
        lists.push_back(CheckAlloc(new AHiliteWordList(blank + 1, number), "ghilite", 209));
        window = std::max(window, number);
    }
    if (lists.size() == 1 && lists[0]->firstChars.empty()) {
        delete lists[0];
        lists.clear();
    }
}

AHiliteExpr::~AHiliteExpr() {
    for (AHiliteWordList* list : lists)
        delete list;
}

bool AHiliteExpr::hasFirstChar(unsigned char c) const {
    for (AHiliteWordList* list : lists)
        if (list->hasFirstChar(c))
            return true;
    return false;
}

// Each list must be matched by a different word, the first word by one of
// them; with window w at most w - 1 unmatched words stand between two matched
// ones. A run of more words than the bound fails outright.
int AHiliteExpr::matchProximity(const char* text, long length, uint16_t* partial) {
    *partial = 0;
    if (lists.empty() || lists[0]->firstChars.empty())
        return 0;
    std::vector<std::string> words;
    for (long i = 0; i < length;) {
        while (i < length && text[i] == ' ')
            ++i;
        long start = i;
        while (i < length && text[i] != ' ')
            ++i;
        if (i > start) {
            if (words.size() == kMaxProximityWords)
                return 0;
            words.emplace_back(text + start, static_cast<size_t>(i - start));
        }
    }
    for (AHiliteWordList* list : lists)
        list->matched = 0;
    long gap = window;
    for (size_t i = 0;; ++i) {
        if (i >= words.size()) {
            *partial = 1;
            return 0;
        }
        AHiliteWordList* found = nullptr;
        for (AHiliteWordList* list : lists) {
            if (!list->matched && list->holds(words[i])) {
                found = list;
                break;
            }
        }
        if (found) {
            found->matched = 1;
            if (std::all_of(lists.begin(), lists.end(), [](AHiliteWordList* l) { return l->matched != 0; }))
                return 1;
            gap = window;
        } else {
            if (i == 0 || gap == 0)
                return 0;
            if (--gap == 0)
                return 0;
        }
    }
}

int AHiliteExpr::match(int result, const char* text, long length, uint16_t* partial) {
    if (lists.empty() || length <= 0)
        return result;
    return lists[0]->match(result, text, length, phrase != 0, partial);
}

AHiliteSet::AHiliteSet(const char* expression, const char* separators, const AFilter& filter)
    : AHiliteSet(separators, filter) {
    if (!expression)
        ThrowAssert("ghilite", 302);
    setExpressionText(expression);
}

AHiliteSet::AHiliteSet(const char* separators, const AFilter& filter)
    : filter_(filter), separators_(separators ? separators : "") {
    std::fill(separatorTable_, separatorTable_ + 256, false);
    for (unsigned char c : separators_)
        separatorTable_[c] = true;
    std::fill(wordStarts_, wordStarts_ + 256, false);
}

AHiliteSet::~AHiliteSet() {
    for (AHiliteExpr* line : lines_)
        delete line;
}

void AHiliteSet::setExpressionText(const char* text) {
    std::vector<std::string> lines;
    const char* p = text ? text : "";
    while (*p) {
        const char* end = p + strcspn(p, "\r\n");
        lines.emplace_back(p, static_cast<size_t>(end - p));
        p = *end ? end + 1 : end;
    }
    rebuild(lines);
}

void AHiliteSet::setExpression(const char* const* lines) {
    std::vector<std::string> all;
    for (; lines && *lines; ++lines)
        all.emplace_back(*lines);
    rebuild(all);
}

void AHiliteSet::clear() {
    rebuild(std::vector<std::string>());
}

void AHiliteSet::rebuild(const std::vector<std::string>& lines) {
    AChangeBracket bracket(this);
    for (AHiliteExpr* line : lines_)
        delete line;
    lines_.clear();
    std::fill(wordStarts_, wordStarts_ + 256, false);
    for (const std::string& text : lines) {
        lines_.push_back(CheckAlloc(new AHiliteExpr(text.c_str()), "ghilite", 723));
        for (AHiliteWordList* list : lines_.back()->lists)
            for (unsigned char c : list->firstChars)
                wordStarts_[c] = true;
    }
    notify(201, 0);
}

int AHiliteSet::fold(unsigned char c, unsigned char prefix) const {
    if (!filter_.handle())
        return c;
    if (prefix >= 0x0E && prefix <= 0x1F)
        return KY_FilterMapChar(c, prefix, filter_.handle());
    const int16_t* table = filter_.table();
    return table ? table[c] : c;
}

int AHiliteSet::matchWord(const char* text, long length, uint16_t* partial) {
    int result = 0;
    uint16_t part = 0;
    if (length > 0) {
        for (AHiliteExpr* line : lines_) {
            if (line->lists.empty())
                continue;
            if (!line->proximity || !line->lists[0]->hasFirstChar(static_cast<unsigned char>(text[0]))) {
                result = line->match(result, text, length, &part);
            } else {
                uint16_t grows = 0;
                if (line->matchProximity(text, length, &grows)) {
                    result = 1;
                    part = grows;
                    break;
                }
                if (grows)
                    part = 1;
            }
            if (result && !(line->phrase && partial && part == 0))
                break;
        }
    }
    if (partial)
        *partial = part;
    return result;
}
