// Growable strings of the procedural modules, their shared format buffer and
// template expansion from the last regular-expression match.
#include "base/procedural/KyString.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/KyRegExp.h"
#include "base/procedural/Trace.h"

#include <cstdio>
#include <cstring>

namespace {

int g_nesting = 0;
char* g_buffer = nullptr;
uint32_t g_bufferSize = 0;
uint32_t g_lastEnd = 0;

uint32_t Length(const char* text) {
    return text ? static_cast<uint32_t>(std::strlen(text)) : 0;
}

// A block of n + 1 bytes, or a fatal error naming the step.
char* NewText(uint32_t n, const char* what, long line) {
    char* p = n < UINT32_MAX ? static_cast<char*>(KY_Malloc(size_t(n) + 1)) : nullptr;
    if (!p) {
        KY_SetErrorText(what, static_cast<int>(n));
        KY_RaiseError("strlib", line);
    }
    return p;
}

}  // namespace

int KY_StringPkgInit(uint32_t bufferSize) {
    if (g_nesting++ > 0)
        return 1;
    if (bufferSize < kKyFormatBufferMin)
        bufferSize = kKyFormatBufferMin;
    g_buffer = static_cast<char*>(KY_Malloc(bufferSize));
    if (!g_buffer) {
        --g_nesting;
        return 0;
    }
    g_bufferSize = bufferSize;
    return 1;
}

void KY_StringPkgEnd() {
    if (g_nesting == 0 || --g_nesting > 0)
        return;
    KY_Free(g_buffer);
    g_buffer = nullptr;
    g_bufferSize = 0;
}

uint32_t KY_StringBufferSize() {
    return g_bufferSize;
}

namespace {

// Gives s a block of max(capacity, text length) characters holding text; false
// when it cannot be allocated (s untouched).
bool Fill(KY_String* s, uint32_t capacity, const char* text) {
    uint32_t length = Length(text);
    if (capacity < length)
        capacity = length;
    char* block = capacity < UINT32_MAX ? static_cast<char*>(KY_Malloc(size_t(capacity) + 1)) : nullptr;
    if (!block)
        return false;
    if (length)
        std::memcpy(block, text, length);
    block[length] = 0;
    s->text = block;
    s->length = length;
    s->capacity = capacity;
    return true;
}

}  // namespace

KY_String* KY_NewString(uint32_t capacity, const char* text) {
    KY_String* s = static_cast<KY_String*>(KY_Calloc(1, sizeof(KY_String)));
    if (!s) {
        KY_SetErrorText("#KY_NewString : Not enough room\n");
        KY_RaiseError("strlib", 74);
    }
    if (!Fill(s, capacity, text)) {
        KY_Free(s);
        return nullptr;
    }
    s->heapOwned = 1;
    return s;
}

int KY_InitString(KY_String* s, uint32_t capacity, const char* text) {
    if (!Fill(s, capacity, text)) {
        KY_SetErrorText("#KY_InitString : Not enough room %d\n", static_cast<int>(capacity));
        KY_RaiseError("strlib", 197);
    }
    s->heapOwned = 0;
    return 1;
}

KY_String* KY_FreeString(KY_String* s) {
    if (!s)
        return nullptr;
    KY_Free(s->text);
    s->text = nullptr;
    s->length = 0;
    s->capacity = 0;
    if (s->heapOwned)
        KY_Free(s);
    return nullptr;
}

bool KY_StringReserve(KY_String* s, uint32_t n) {
    if (n > UINT32_MAX - 1 - s->capacity)
        return false;
    char* p = static_cast<char*>(KY_Realloc(s->text, size_t(s->capacity) + n + 1));
    // A refused growth keeps the old block and is a failure, not success.
    if (!p)
        return false;
    s->text = p;
    s->capacity += n;
    return true;
}

char* fixStringLen(KY_String* s, uint32_t newLength) {
    if (newLength > s->capacity) {
        char* p = newLength < UINT32_MAX ? static_cast<char*>(KY_Realloc(s->text, size_t(newLength) + 1)) : nullptr;
        if (!p) {
            KY_SetErrorText("#fixStringLen : Not enough room %d\n", static_cast<int>(newLength));
            KY_RaiseError("strlib", 951);
        }
        s->text = p;
        s->capacity = newLength;
    }
    s->length = newLength;
    return s->text;
}

int KY_StringAssign(KY_String* s, uint32_t a, uint32_t b, const char* source, uint32_t from, uint32_t to) {
    if (b > s->length || a > b || from > to || (!source && from != to)) {
        TraceLevel(0, "KY_StringAssign : bad interval\n");
        return 0;
    }
    uint32_t n = to - from;
    uint32_t removed = b - a;
    if (n > removed && n - removed > UINT32_MAX - 1 - s->length) {
        TraceLevel(0, "KY_StringAssign : bad interval\n");
        return 0;
    }
    uint32_t oldLength = s->length;
    uint32_t newLength = oldLength - removed + n;
    const char* piece = source ? source + from : nullptr;
    char* copy = nullptr;
    // Growing may move the text: a source inside it is copied first.
    if (piece && piece >= s->text && piece <= s->text + oldLength) {
        copy = NewText(n, "#KY_StringAssign : Not enough room %d\n", 148);
        std::memcpy(copy, piece, n);
        piece = copy;
    }
    char* text = fixStringLen(s, newLength);
    std::memmove(text + a + n, text + b, oldLength - b);
    if (n)
        std::memcpy(text + a, piece, n);
    text[newLength] = 0;
    KY_Free(copy);
    g_lastEnd = a + n;
    return 1;
}

int KY_StringReplace(KY_String* s, uint32_t a, uint32_t b, const char* text) {
    return KY_StringAssign(s, a, b, text, 0, Length(text));
}

int KY_StringSet(KY_String* s, const char* text) {
    return KY_StringAssign(s, 0, s->length, text, 0, Length(text));
}

int KY_StringAppend(KY_String* s, const char* text) {
    return KY_StringAssign(s, s->length, s->length, text, 0, Length(text));
}

int KY_StringSetPart(KY_String* s, const char* source, uint32_t from, uint32_t to) {
    return KY_StringAssign(s, 0, s->length, source, from, to);
}

int KY_StringSetFirst(KY_String* s, const char* source, uint32_t n) {
    return KY_StringAssign(s, 0, s->length, source, 0, n);
}

int KY_StringAppendPart(KY_String* s, const char* source, uint32_t from, uint32_t to) {
    return KY_StringAssign(s, s->length, s->length, source, from, to);
}

uint32_t KY_StringLastEnd() {
    return g_lastEnd;
}

int KY_StringVPrintf(KY_String* s, const char* format, va_list args) {
    va_list again;
    va_copy(again, args);
    int n = vsnprintf(g_buffer, g_buffer ? g_bufferSize : 0, format, args);
    if (n < 0) {
        va_end(again);
        return 0;
    }
    // A longer result grows the shared buffer instead of ending the process:
    // formatted texts can carry data from outside.
    if (static_cast<uint32_t>(n) >= g_bufferSize) {
        uint32_t size = static_cast<uint32_t>(n) + 1;
        if (g_nesting > 0 && size < kKyFormatBufferMin)
            size = kKyFormatBufferMin;
        char* grown = static_cast<char*>(KY_Realloc(g_buffer, size));
        if (!grown) {
            va_end(again);
            KY_SetErrorText("#fixStringLen : Not enough room %d\n", n);
            KY_RaiseError("strlib", 951);
        }
        vsnprintf(grown, size, format, again);
        if (g_nesting > 0) {
            g_buffer = grown;
            g_bufferSize = size;
        } else {
            int done = KY_StringSetPart(s, grown, 0, static_cast<uint32_t>(n));
            KY_Free(grown);
            va_end(again);
            return done;
        }
    }
    va_end(again);
    return KY_StringSetPart(s, g_buffer, 0, static_cast<uint32_t>(n));
}

int KY_StringPrintf(KY_String* s, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int done = KY_StringVPrintf(s, format, args);
    va_end(args);
    return done;
}

int KY_StringAppendRegGroup(KY_String* s, int n) {
    long start = 0;
    long end = 0;
    if (!KY_RegGroup(n, &start, &end))
        return 0;
    return KY_StringAppendPart(s, KY_RegLastSubject(), static_cast<uint32_t>(start), static_cast<uint32_t>(end));
}

int KY_StringSetRegGroup(KY_String* s, int n) {
    long start = 0;
    long end = 0;
    if (!KY_RegGroup(n, &start, &end))
        return 0;
    return KY_StringSetPart(s, KY_RegLastSubject(), static_cast<uint32_t>(start), static_cast<uint32_t>(end));
}

int KY_ReplaceFormatted(KY_String* s, const char* templ) {
    // Built apart and swapped in: the template and the last match's subject
    // may both lie inside s.
    KY_String out;
    KY_InitString(&out, 0, "");
    const char* run = templ;
    const char* p = templ;
    while (*p) {
        if (*p != '$') {
            ++p;
            continue;
        }
        KY_StringAppendPart(&out, run, 0, static_cast<uint32_t>(p - run));
        char next = p[1];
        if (next == '$') {
            KY_StringAppendPart(&out, "$", 0, 1);
        } else if (next < '0' || next > '9' || !KY_StringAppendRegGroup(&out, next - '0')) {
            TraceLevel(0, "Error in KY_ReplaceFormatted (Token is %s)\n", p);
            if (next == 0) {
                run = p = p + 1;
                break;
            }
        }
        run = p = p + 2;
    }
    KY_StringAppendPart(&out, run, 0, static_cast<uint32_t>(p - run));
    KY_Free(s->text);
    s->text = out.text;
    s->length = out.length;
    s->capacity = out.capacity;
    return 1;
}

bool KY_FieldHasText(const intptr_t* record) {
    const char* text = reinterpret_cast<const char*>(record[3]);
    return text && text[0] && text[0] != '_';
}

bool KY_FieldHasText2(const intptr_t* record) {
    const char* text = reinterpret_cast<const char*>(record[7]);
    return text && text[0] && text[0] != '_';
}

bool KY_FieldIsState200(const intptr_t* record) {
    return static_cast<int32_t>(record[4]) == -200;
}

bool KY_FieldIsState201(const intptr_t* record) {
    return static_cast<int32_t>(record[4]) == -201;
}
