// Small string helpers of the network code.
#include "web/net/NetStrings.h"

#include <windows.h>

#include <cstring>

AString operator+(const char* text, const AString& string) {
    AString out(text);
    out += string;
    return out;
}

void WipeString(AString& string) {
    if (string.body()->refs <= 1 && string.length() > 0)
        WipeBytes(const_cast<char*>(string.c_str()), static_cast<size_t>(string.length()));
    string = AString();
}

void WipeBytes(void* bytes, size_t size) {
    if (bytes && size)
        SecureZeroMemory(bytes, size);
}

bool HasHttpScheme(const char* text) {
    return text && _strnicmp(text, "http://", 7) == 0;
}
