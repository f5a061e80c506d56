// The core of the runtime layer: identifiers, the allocator and the code page conversions.
#include "platform/webrt/nsCore.h"

#include "platform/webrt/nsStrings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

long g_liveBlocks = 0;

// UTF-16 units of bytes 0x80 to 0x9F in code page 1252; 0 where the code page has no character.
const PRUnichar k1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

bool nsID::Equals(const nsID& other) const {
    return m0 == other.m0 && m1 == other.m1 && m2 == other.m2 && std::memcmp(m3, other.m3, 8) == 0;
}

std::string nsID::ToString() const {
    char text[40];
    std::snprintf(text, sizeof text, "{%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}",
                  static_cast<unsigned long>(m0), m1, m2, m3[0], m3[1], m3[2], m3[3], m3[4], m3[5], m3[6], m3[7]);
    return text;
}

void* nsMemory::Alloc(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (p)
        ++g_liveBlocks;
    return p;
}

void nsMemory::Free(void* p) {
    if (!p)
        return;
    --g_liveBlocks;
    std::free(p);
}

long nsMemory::liveBlocks() {
    return g_liveBlocks;
}

char NS_UnicharTo1252(PRUnichar c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (int i = 0; i < 32; ++i) {
        if (k1252High[i] && k1252High[i] == c)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

PRUnichar NS_1252ToUnichar(unsigned char c) {
    if (c >= 0x80 && c < 0xA0)
        return k1252High[c - 0x80] ? k1252High[c - 0x80] : static_cast<PRUnichar>(c);
    return c;
}

size_t NS_UnicharLength(const PRUnichar* text) {
    size_t n = 0;
    while (text && text[n])
        ++n;
    return n;
}

nsCString NS_LossyConvertUTF16toNative(const PRUnichar* text) {
    nsCString out;
    size_t n = NS_UnicharLength(text);
    out.reserve(n);
    for (size_t i = 0; i < n; ++i)
        out.push_back(NS_UnicharTo1252(text[i]));
    return out;
}

nsCString NS_LossyConvertUTF16toNative(const nsString& text) {
    return NS_LossyConvertUTF16toNative(text.c_str());
}

nsString NS_ConvertNativeToUTF16(const char* text, size_t length) {
    nsString out;
    out.reserve(length);
    for (size_t i = 0; text && i < length; ++i)
        out.push_back(NS_1252ToUnichar(static_cast<unsigned char>(text[i])));
    return out;
}

nsString NS_ConvertNativeToUTF16(const char* text) {
    return NS_ConvertNativeToUTF16(text, text ? std::strlen(text) : 0);
}

PRUnichar* ToNewUnicode(const nsString& text) {
    PRUnichar* p = static_cast<PRUnichar*>(nsMemory::Alloc((text.size() + 1) * sizeof(PRUnichar)));
    if (p)
        std::memcpy(p, text.c_str(), (text.size() + 1) * sizeof(PRUnichar));
    return p;
}

char* ToNewCString(const nsCString& text) {
    char* p = static_cast<char*>(nsMemory::Alloc(text.size() + 1));
    if (p)
        std::memcpy(p, text.c_str(), text.size() + 1);
    return p;
}
