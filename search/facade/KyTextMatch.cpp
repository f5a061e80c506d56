// Word-match ranking and the whole-word search it uses.
#include "search/facade/KyTextMatch.h"

#include <cstring>
#include <string>
#include <vector>

#include "base/object/AFilter.h"

const char kWordSeparators[] = " \xA0.;,:'![]()-";

namespace {

const size_t kTrimCount = 8;

bool IsIn(char c, const char* set) {
    return c && std::strchr(set, c);
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return !prefix.empty() && s.compare(0, prefix.size(), prefix) == 0;
}

std::string Trimmed(const std::string& s) {
    std::string trim(kWordSeparators, kTrimCount);
    size_t a = s.find_first_not_of(trim);
    if (a == std::string::npos)
        return "";
    return s.substr(a, s.find_last_not_of(trim) - a + 1);
}

std::vector<std::string> Tokens(const char* word) {
    std::vector<std::string> out;
    std::string t;
    for (const char* p = word; *p; ++p) {
        if (IsIn(*p, kWordSeparators)) {
            if (!t.empty())
                out.push_back(t);
            t.clear();
        } else {
            t += *p;
        }
    }
    if (!t.empty())
        out.push_back(t);
    return out;
}

std::string Filtered(const char* text, const AFilter* filter) {
    AString s(text ? text : "");
    if (filter)
        filter->applyInPlace(s);
    return std::string(s.c_str(), static_cast<size_t>(s.length()));
}

// The grade of one piece whose head is a marker and whose body holds the token.
int PieceScore(const std::string& head, const std::string& body, const std::string& token, const std::string m[4],
               int previous) {
    int score = previous;
    if (StartsWith(head, m[2]))
        score = body.compare(0, token.size(), token) == 0 ? 7 : 6;
    else if (StartsWith(head, m[0]))
        score = IsWordInside(token.c_str(), body.c_str(), '(', ')', kWordSeparators) ? 5 : 3;
    else if (StartsWith(head, m[1]))
        score = IsWordInside(token.c_str(), body.c_str(), '[', ']', kWordSeparators) ? 2 : 4;
    if (StartsWith(head, m[3]))
        score = 1;
    return score;
}

}  // namespace

AString ExpandLigatures(const char* text) {
    std::string out;
    for (const char* p = text ? text : ""; *p; ++p) {
        switch (static_cast<unsigned char>(*p)) {
            case 0xE6:
                out += "ae";
                break;
            case 0xC6:
                out += "AE";
                break;
            case 0x9C:
                out += "oe";
                break;
            case 0x8C:
                out += "OE";
                break;
            default:
                out += *p;
        }
    }
    return AString(out.c_str(), static_cast<long>(out.size()));
}

long FindWord(const char* word, const char* text, const char* separators) {
    if (!word || !text || !*word)
        return -1;
    if (std::strcmp(word, text) == 0)
        return 0;
    size_t n = std::strlen(word);
    for (const char* p = std::strstr(text, word); p; p = std::strstr(p + 1, word)) {
        bool opens = p == text || IsIn(p[-1], separators);
        bool ends = p[n] == 0 || IsIn(p[n], separators);
        if (opens && ends)
            return p - text;
    }
    return -1;
}

int IsWordInside(const char* word, const char* text, char open, char close, const char* separators) {
    long p = FindWord(word, text, separators);
    if (p < 1)
        return 0;
    const char* o = std::strchr(text, open);
    const char* c = std::strchr(text, close);
    while (o && c) {
        if (o - text < p && p < c - text)
            return 1;
        // The next pair's close follows its own open: a close searched from the
        // old open would pair "(z art)" with the ")" of "(y)" before it.
        o = std::strchr(o + 1, open);
        c = o ? std::strchr(o + 1, close) : nullptr;
    }
    return 0;
}

int KyTextMatch(const char* word, const char* text, const AFilter* filter, const char* a, const char* b, const char* c,
                const char* d) {
    std::string m[4] = {Filtered(a, filter), Filtered(b, filter), Filtered(c, filter), Filtered(d, filter)};
    AString expanded = ExpandLigatures(text);
    std::string s = m[2] + Filtered(expanded.c_str(), filter);
    std::vector<size_t> cuts;
    auto cut = [&cuts](size_t at) {
        if (cuts.empty() || cuts.back() != at)
            cuts.push_back(at);
    };
    for (size_t i = 0; i < s.size();) {
        size_t length = 0;
        for (const std::string& marker : m)
            if (!marker.empty() && s.compare(i, marker.size(), marker) == 0) {
                length = marker.size();
                break;
            }
        if (!length) {
            ++i;
            continue;
        }
        cut(i);
        cut(i + length);
        i += length;
    }
    int best = 1;
    for (const std::string& token : Tokens(word ? word : "")) {
        int score = 1;
        for (size_t k = 0; k + 1 < cuts.size(); ++k) {
            std::string head = s.substr(cuts[k], cuts[k + 1] - cuts[k]);
            size_t bodyEnd = k + 2 < cuts.size() ? cuts[k + 2] : s.size();
            std::string body = Trimmed(s.substr(cuts[k + 1], bodyEnd - cuts[k + 1]));
            if (FindWord(token.c_str(), body.c_str(), kWordSeparators) < 0)
                continue;
            score = PieceScore(head, body, token, m, score);
            if (score == 7) {
                best = 7;
                break;
            }
            best = score > best ? score : best;
        }
    }
    return 8 - best;
}

namespace {

TextMatchMarkersHook g_markersHook = nullptr;

}  // namespace

void SetTextMatchMarkersHook(TextMatchMarkersHook hook) {
    g_markersHook = hook;
}

int KyBasicTextMatch(const char* word, const char* text, const AFilter* filter) {
    const char* markers[4] = {"", "", "", ""};
    if (g_markersHook)
        g_markersHook(markers);
    for (const char*& m : markers)
        if (!m)
            m = "";
    return KyTextMatch(word, text, filter, markers[0], markers[1], markers[2], markers[3]);
}
