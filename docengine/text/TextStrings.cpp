// String functions on NUL-terminated strings.
#include "docengine/text/TextStrings.h"

#include <cstring>
#include <vector>

int splitAtChars(char* s, const char* separators, char** pieces, int capacity) {
    if (!pieces || capacity < 1)
        return 0;
    int count = 0;
    char* p = s;
    while (p && *p) {
        while (*p && strchr(separators, *p))
            ++p;
        if (!*p)
            break;
        if (count == capacity - 1)
            break;
        pieces[count++] = p;
        while (*p && !strchr(separators, *p))
            ++p;
        if (*p && count < capacity - 1)
            *p++ = 0;
    }
    pieces[count] = nullptr;
    return count;
}

char* replaceChar(char* s, char oldChar, char newChar) {
    if (!s)
        return s;
    for (char* p = s; *p; ++p)
        if (*p == oldChar)
            *p = newChar;
    return s;
}

int findTokenBoundaries(const char* text, char* tokenList, long* positions, int capacity, const char* tokenSeparators) {
    if (!positions || capacity < 1)
        return 0;
    std::vector<char*> tokens(strlen(tokenList) / 2 + 2);
    int tokenCount = splitAtChars(tokenList, tokenSeparators, tokens.data(), static_cast<int>(tokens.size()));
    int count = 0;
    auto record = [&](long offset) {
        if (count > 0 && positions[count - 1] == offset)
            return;
        if (count < capacity - 1)
            positions[count++] = offset;
    };
    long i = 0;
    while (text[i]) {
        size_t matched = 0;
        for (int t = 0; t < tokenCount && !matched; ++t) {
            size_t len = strlen(tokens[t]);
            if (strncmp(text + i, tokens[t], len) == 0)
                matched = len;
        }
        if (!matched) {
            ++i;
            continue;
        }
        record(i);
        i += static_cast<long>(matched);
        record(i);
    }
    positions[count] = -1;
    return count;
}

int commonPrefix(const char* a, const char* b, char* buffer) {
    int n = 0;
    while (a[n] && a[n] == b[n]) {
        buffer[n] = a[n];
        ++n;
    }
    buffer[n] = 0;
    return n;
}

void copyAfterCommonPrefix(char* destination, const char* a, const char* b) {
    int n = 0;
    while (a[n] && a[n] == b[n])
        ++n;
    strcpy(destination, a + n);
}

void cutAfterCommonPrefix(const char* a, char* b) {
    if (!a[0] || a[0] != b[0])
        return;
    int n = 0;
    while (a[n] && a[n] == b[n])
        ++n;
    // Equal strings have nothing after the prefix to cut.
    if (b[n])
        b[n + 1] = 0;
}

static int lowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

int findStringInList(const char* const* list, const char* s) {
    for (int i = 0; list && list[i]; ++i) {
        const unsigned char* x = reinterpret_cast<const unsigned char*>(list[i]);
        const unsigned char* y = reinterpret_cast<const unsigned char*>(s);
        while (*x && lowerAscii(*x) == lowerAscii(*y)) {
            ++x;
            ++y;
        }
        if (!*x && !*y)
            return i;
    }
    return -1;
}

int wildcardPrefix(const char* pattern, char* buffer, int* length) {
    size_t n = strcspn(pattern, "?*");
    if (!pattern[n]) {
        strcpy(buffer, pattern);
        *length = 0;
        return 0;
    }
    memcpy(buffer, pattern, n);
    buffer[n] = 0;
    *length = static_cast<int>(n);
    return 1;
}

int compareStrings(const char* a, const char* b, int n) {
    return n == 0 ? strcmp(a, b) : strncmp(a, b, static_cast<size_t>(n));
}

int wildcardMatch(const char* text, const char* pattern) {
    const unsigned char* t = reinterpret_cast<const unsigned char*>(text);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pattern);
    bool afterAny = false;
    for (;; ++t, ++p) {
        if (*p == '*')
            return 1;
        if (!*p)
            return *t ? 0 : 1;
        if (!*t)
            return 0;
        if (*p == '?') {
            afterAny = true;
            continue;
        }
        if (*p == *t)
            continue;
        // Before any '?' the text and every match share this byte position:
        // a text byte above the pattern's sorts after every match.
        if (afterAny || *t < *p)
            return 0;
        return -1;
    }
}
