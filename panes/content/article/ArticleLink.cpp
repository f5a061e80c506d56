// Reading an article link's target text.
#include "panes/content/article/ArticleLink.h"

#include <cctype>
#include <climits>
#include <cstring>

namespace {

// The whole text as a non-negative decimal number, or -1.
long NumberOf(const std::string& text) {
    if (text.empty() || text.size() > 9)
        return -1;
    long n = 0;
    for (char c : text) {
        if (!isdigit(static_cast<unsigned char>(c)))
            return -1;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

ArticleLink ArticleLink::parse(const char* target) {
    ArticleLink link;
    std::string t = target ? target : "";
    while (!t.empty() && t[0] == '>') {
        size_t colon = t.find(':');
        if (colon == std::string::npos)
            return link;
        t = t.substr(colon + 1);
    }
    if (t.empty())
        return link;
    switch (t[0]) {
    case '@':
        link.kind = kSearch;
        link.text = t.substr(1);
        return link;
    case 'C':
        link.number = NumberOf(t.substr(1));
        link.kind = link.number < 0 ? kNone : kPosition;
        return link;
    case 'S':
    case 'A':
        if (t.size() < 3)
            return link;
        link.number = NumberOf(t.substr(2));
        if (link.number >= 0)
            link.kind = t[0] == 'S' ? kPlay : kAuthor;
        return link;
    case 'G': {
        if (t.size() < 3)
            return link;
        std::string rest = t.substr(2);
        size_t colon = rest.find(':');
        link.number = NumberOf(rest.substr(0, colon));
        if (colon != std::string::npos) {
            link.frame = NumberOf(rest.substr(colon + 1));
            if (link.frame < 0)
                return ArticleLink();
        }
        if (link.number >= 0)
            link.kind = kDocument;
        return link;
    }
    default:
        return link;
    }
}

std::string ArticleLink::describe() const {
    switch (kind) {
    case kSearch: return "search " + text;
    case kPosition: return "position " + std::to_string(number);
    case kPlay: return "play " + std::to_string(number);
    case kAuthor: return "author " + std::to_string(number);
    case kDocument: return "document " + std::to_string(number) + " frame " + std::to_string(frame);
    default: return "none";
    }
}
