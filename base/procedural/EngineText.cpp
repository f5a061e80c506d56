// The engine's shared error text.
#include "base/procedural/EngineText.h"

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
