// The engine's shared error text, character-table mapping and stop-word table.
#include "base/procedural/EngineTables.h"

#include <cstring>

char KY_EngineErrorText[kEngineErrorTextSize];

void KY_SetEngineErrorText(const char* text) {
    if (!text)
        text = "";
    size_t n = std::strlen(text);
    if (n >= sizeof KY_EngineErrorText)
        n = sizeof KY_EngineErrorText - 1;
    std::memcpy(KY_EngineErrorText, text, n);
    KY_EngineErrorText[n] = 0;
}

namespace {

long g_filteredLength = 0;

struct IdentityTable {
    unsigned char bytes[256];
    IdentityTable() {
        for (int i = 0; i < 256; ++i)
            bytes[i] = static_cast<unsigned char>(i);
    }
};

IdentityTable g_stopWordTable;

}  // namespace

long KY_FilterChars(char* text, const unsigned char* table) {
    long length = 0;
    if (!table) {
        while (text[length])
            ++length;
        g_filteredLength = length;
        return length;
    }
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
    for (;; ++in) {
        unsigned char c = table[*in];
        if (*in == 0 || c == 0)
            break;
        if (c != 255)
            text[length++] = static_cast<char>(c);
    }
    text[length] = 0;
    g_filteredLength = length;
    return length;
}

long KY_FilterCharsLength() {
    return g_filteredLength;
}

unsigned char* KY_EngineStopWordTable() {
    return g_stopWordTable.bytes;
}
