// The outline map of an article: reading the stored text and finding sections.
#include "panes/content/article/ArticleOutlineMap.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// A decimal number at p (leading blanks allowed) that fits 32 bits; false otherwise.
bool ReadNumber(const char*& p, long& value) {
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')
        ++p;
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(p, &end, 10);
    if (errno == ERANGE || v > 0x7FFFFFFFL)
        return false;
    value = v;
    p = end;
    return true;
}

}  // namespace

void ArticleOutlineMap::clear() {
    outlineLines_.clear();
    articlePositions_.clear();
}

// Table 4 record of the article's base, read as text:
//   n "," a1 ":" o1 "," a2 ":" o2 ... "," an ":" on
// n: decimal count of sections (> 0); ak: article position where section k
// starts, strictly ascending, 0 <= ak <= article length; ok: its outline
// position, 0 <= ok <= outline length. Text between an entry and the next
// "," is skipped; a "," after the n-th entry means the count is wrong.
bool ArticleOutlineMap::parse(const char* text, long outlineEnd, long articleEnd) {
    clear();
    if (!text)
        return false;
    const char* p = text;
    long n = 0;
    if (!ReadNumber(p, n) || n <= 0)
        return false;
    long previous = -1;
    for (long k = 0; k < n; ++k) {
        const char* comma = std::strchr(p, ',');
        long article = 0, outline = 0;
        bool ok = comma != nullptr;
        if (ok) {
            p = comma + 1;
            ok = ReadNumber(p, article) && *p == ':';
        }
        if (ok) {
            ++p;
            ok = ReadNumber(p, outline);
        }
        if (!ok || article <= previous || article > articleEnd || outline > outlineEnd) {
            clear();
            return false;
        }
        previous = article;
        articlePositions_.append(static_cast<int32_t>(article));
        outlineLines_.append(static_cast<int32_t>(outline));
    }
    if (std::strchr(p, ',')) {
        clear();
        return false;
    }
    articlePositions_.append(static_cast<int32_t>(articleEnd));
    outlineLines_.append(static_cast<int32_t>(outlineEnd));
    return true;
}

long ArticleOutlineMap::sectionOf(long articlePosition) const {
    long last = sections() - 1;
    if (last < 0)
        return -1;
    long k = articlePositions_.upperBound(static_cast<int32_t>(articlePosition)) - 1;
    return k > last ? last : k;
}

std::string ArticleOutlineMap::describe() const {
    std::string out;
    for (long k = 0; k < articlePositions_.count(); ++k) {
        if (k)
            out += ' ';
        out += std::to_string(articleAt(k)) + "/" + std::to_string(outlineAt(k));
    }
    return out;
}
