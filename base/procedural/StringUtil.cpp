// In-place C-string edits.
#include "base/procedural/StringUtil.h"

#include <cstring>

namespace {

inline bool InSet(char c, const char* set) {
    return c && std::strchr(set, c) != nullptr;
}

}  // namespace

void RemoveChars(char* s, const char* set) {
    char* out = s;
    for (const char* p = s; *p; ++p) {
        if (!InSet(*p, set))
            *out++ = *p;
    }
    *out = 0;
}

void CollapseChars(char* s, const char* set) {
    char* out = s;
    bool inRun = false;
    for (const char* p = s; *p; ++p) {
        bool member = InSet(*p, set);
        if (!(member && inRun))
            *out++ = *p;
        inRun = member;
    }
    *out = 0;
}

void TrimChars(char* s, const char* set) {
    size_t start = 0;
    while (InSet(s[start], set))
        ++start;
    size_t len = std::strlen(s);
    if (start)
        std::memmove(s, s + start, len - start + 1);
    len -= start;
    while (len > 1 && InSet(s[len - 1], set))
        --len;
    s[len] = 0;
}

int ReplaceSubstring(char* s, const char* pattern, const char* replacement) {
    if (!s || !pattern || !replacement || !*pattern)
        return 0;
    size_t pl = std::strlen(pattern), rl = std::strlen(replacement);
    if (rl > pl)
        return 0;
    int count = 0;
    char* p = s;
    while ((p = std::strstr(p, pattern)) != nullptr) {
        std::memmove(p + rl, p + pl, std::strlen(p + pl) + 1);
        std::memcpy(p, replacement, rl);
        p += rl;
        ++count;
    }
    return count;
}

void SetFileExtension(char* name, const char* extension, bool append) {
    if (*extension == '.')
        ++extension;
    size_t len = std::strlen(name);
    if (append) {
        if (*extension) {
            name[len] = '.';
            std::strcpy(name + len + 1, extension);
        }
        return;
    }
    if (len == 0)
        return;
    bool versioned = len >= 2 && std::strcmp(name + len - 2, ";1") == 0;
    if (versioned) {
        len -= 2;
        name[len] = 0;
    }
    char* mark = nullptr;
    for (char* p = name + len; p > name;) {
        --p;
        if (*p == ':' || *p == '\\' || *p == '/' || *p == '.') {
            mark = p;
            break;
        }
    }
    if (mark && *mark == '.') {
        if (*extension)
            std::strcpy(mark + 1, extension);
        else
            *mark = 0;
    } else if (*extension) {
        name[len] = '.';
        std::strcpy(name + len + 1, extension);
    }
    if (versioned)
        std::strcat(name, ";1");
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
