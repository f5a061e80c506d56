// Loading and lookup of the stop-word list.
#include "base/procedural/KyStopWord.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/Trace.h"
#include "base/procedural/EngineTables.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

// "\n" then each word followed by "\n"; null when no list is loaded.
char* g_words = nullptr;
// The lines of g_words, sorted: a search of the text for each word took 2 us
// under Wine, for each word of a prefix's result when it is highlighted.
std::vector<std::string> g_lines;
const int kLineSize = 128;

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

}  // namespace

long KY_FileLength(HFILE file) {
    LONG position = _llseek(file, 0, FILE_CURRENT);
    if (position == HFILE_ERROR)
        return -1;
    LONG length = _llseek(file, 0, FILE_END);
    _llseek(file, position, FILE_BEGIN);
    return length;
}

int KY_ReadLine(char* buffer, int size, HFILE file, int* flags) {
    if (size < 2)
        return -1;
    LONG position = _llseek(file, 0, FILE_CURRENT);
    UINT got = _lread(file, buffer, static_cast<UINT>(size - 1));
    if (position == HFILE_ERROR || got == static_cast<UINT>(HFILE_ERROR) || got == 0)
        return -1;
    buffer[got] = 0;
    const char* end = nullptr;
    if (!(*flags & kKyLineEndsAtCR)) {
        end = static_cast<const char*>(std::memchr(buffer, '\n', got));
        if (!end && std::memchr(buffer, '\r', got))
            *flags |= kKyLineEndsAtCR;
    }
    if (*flags & kKyLineEndsAtCR)
        end = static_cast<const char*>(std::memchr(buffer, '\r', got));
    if (!end)
        return static_cast<int>(got);
    int n = static_cast<int>(end - buffer) + 1;
    buffer[n] = 0;
    _llseek(file, position + n, FILE_BEGIN);
    return n;
}

void KY_FreeStopWords() {
    KY_Free(g_words);
    g_words = nullptr;
    g_lines.clear();
}

int KY_LoadStopWordFile(const char* path, const unsigned char* table) {
    HFILE file = path ? _lopen(path, OF_READ | OF_SHARE_DENY_NONE) : HFILE_ERROR;
    if (file == HFILE_ERROR) {
        std::strncpy(KY_EngineErrorText, path ? path : "", kEngineErrorTextSize - 1);
        KY_EngineErrorText[kEngineErrorTextSize - 1] = 0;
        return 105;
    }
    KY_FreeStopWords();
    long length = KY_FileLength(file);
    size_t size = (length > 0 ? static_cast<size_t>(length) : 0) + 10;
    g_words = static_cast<char*>(KY_Calloc(size, 1));
    if (!g_words) {
        _lclose(file);
        KY_EngineErrorText[0] = 0;
        return 110;
    }
    g_words[0] = '\n';
    size_t used = 1;
    char line[kLineSize];
    int flags = 0;
    bool skipping = false;
    for (;;) {
        int n = KY_ReadLine(line, kLineSize, file, &flags);
        if (n <= 0)
            break;
        bool ended = IsLineEnd(line[n - 1]);
        if (skipping) {
            skipping = !ended;
            continue;
        }
        if (!ended && n == kLineSize - 1) {
            TraceLevel(0, "#Stop word line too long in %s\n", path);
            skipping = true;
            continue;
        }
        // A line end split between two blocks can leave one at the start.
        char* word = line;
        while (IsLineEnd(*word))
            ++word;
        size_t len = std::strlen(word);
        while (len > 0 && IsLineEnd(word[len - 1]))
            word[--len] = 0;
        if (len == 0)
            continue;
        len = static_cast<size_t>(KY_FilterChars(word, table));
        if (len == 0 || used + len + 1 >= size)
            continue;
        std::memcpy(g_words + used, word, len);
        used += len;
        g_words[used++] = '\n';
    }
    _lclose(file);
    for (const char *word = g_words + 1, *end; (end = std::strchr(word, '\n')) != nullptr; word = end + 1)
        g_lines.emplace_back(word, end);
    std::sort(g_lines.begin(), g_lines.end());
    return 1;
}

int KY_FindStopWord(const char* word, const unsigned char* table) {
    if (!g_words || !word)
        return 0;
    char key[kLineSize + 3];
    key[0] = '\n';
    // As strncpy would, without padding the rest; copied and compared in
    // loops of our own: the library's calls for a few bytes each were most of
    // a lookup, and a question looks up each of its words.
    size_t n = 0;
    while (n < static_cast<size_t>(kLineSize) && word[n]) {
        key[n + 1] = word[n];
        ++n;
    }
    key[n + 1] = 0;
    long len = KY_FilterChars(key + 1, table);
    if (len == 0)
        return 0;
    key[len + 1] = '\n';
    key[len + 2] = 0;
    const std::string_view text(key + 1, static_cast<size_t>(len));
    if (std::find(text.begin(), text.end(), '\n') != text.end())
        return std::strstr(g_words, key) != nullptr;  // across lines, as the text reads
    return std::binary_search(g_lines.begin(), g_lines.end(), text, [](std::string_view a, std::string_view b) {
        const size_t common = std::min(a.size(), b.size());
        for (size_t i = 0; i < common; ++i)
            if (a[i] != b[i])
                return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
        return a.size() < b.size();
    });
}

int KY_FindStopWordDefault(const char* word) {
    return KY_FindStopWord(word, KY_EngineStopWordTable());
}
