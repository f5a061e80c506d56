// Reading, sharing and applying compiled character filters.
#include "base/procedural/KyFilter.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyString.h"
#include "base/procedural/SgmlEntity.h"
#include "base/procedural/Trace.h"

#include <climits>
#include <cstring>

namespace {

const int kPageCodes = 256;
int g_nesting = 0;
KY_String* g_work = nullptr;
KY_FilterCompiler g_compiler = nullptr;

int16_t Word(const unsigned char* p) {
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

bool IsPrefix(const KY_Filter* f, unsigned c) {
    return static_cast<int>(c) >= f->first && static_cast<int>(c) <= f->last;
}

void HookAddRef(KY_Filter* f) {
    KY_FilterAddRef(f);
}

void HookRelease(KY_Filter* f) {
    KY_FilterRelease(f);
}

void HookByteTable(KY_Filter* f, unsigned char out[256]) {
    for (int i = 0; i < kPageCodes; ++i)
        out[i] = static_cast<unsigned char>(f->base[i] & 0xFF);
}

// Files translate through filters only once this module is linked in.
struct InstallFileHooks {
    InstallFileHooks() {
        static const KY_FilterHooks hooks = {HookAddRef, HookRelease, HookByteTable};
        KY_SetFilterHooks(&hooks);
    }
} g_installFileHooks;

// Output of EXK_FilterString: grows out in steps, terminated at the end.
struct Output {
    KY_String* s;
    uint32_t step;
    uint32_t used;

    void put(unsigned char c) {
        if (used >= s->capacity)
            KY_StringReserve(s, step);
        fixStringLen(s, used + 1)[used] = static_cast<char>(c);
        ++used;
    }
    void putCode(int code) {
        if (code & 0xFF00)
            put(static_cast<unsigned char>((code >> 8) & 0xFF));
        put(static_cast<unsigned char>(code & 0xFF));
    }
};

}  // namespace

// One block: the record, the page pointers of first..last, then the pages.
KY_Filter* KY_FilterNew(int pageCount, int first, int last) {
    if (pageCount < 0 || pageCount > kKyFilterMaxPages)
        return nullptr;
    size_t prefixes = last >= first ? size_t(last - first + 1) : 0;
    size_t size = sizeof(KY_Filter) + prefixes * sizeof(int16_t*) + size_t(pageCount) * kPageCodes * sizeof(int16_t);
    char* block = static_cast<char*>(KY_Calloc(1, size));
    if (!block)
        return nullptr;
    KY_Filter* f = reinterpret_cast<KY_Filter*>(block);
    f->pageCount = static_cast<int16_t>(pageCount);
    f->first = static_cast<int16_t>(first);
    f->last = static_cast<int16_t>(last);
    f->references = 1;
    f->pageOf = prefixes ? reinterpret_cast<int16_t**>(block + sizeof(KY_Filter)) : nullptr;
    f->pages = pageCount ? reinterpret_cast<int16_t*>(block + sizeof(KY_Filter) + prefixes * sizeof(int16_t*)) : nullptr;
    return f;
}

// Compiled filter file: signed 16-bit little-endian words, then bytes, packed.
//   word 0        version (signed); above 1 is refused
//   word 1        page count P (0..)
//   word 2, 3     first and last prefix codes F, L (L < F: no prefixes, F taken as L + 1)
//   words 4..259  base table: the code of each byte 0..255
//   P x 256 words the prefix pages, in order
//   bytes         flag bytes indexed by code from the start of the area (at least
//                 L + 1 of them when F <= L): each code F..L, ascending, whose
//                 flag is non-zero takes the next page; at most P flagged
KY_Filter* KY_FilterParse(const void* block, size_t size) {
    const unsigned char* p = static_cast<const unsigned char*>(block);
    const size_t kHeaderWords = 4 + kPageCodes;
    if (!p || size < kHeaderWords * 2)
        return nullptr;
    int version = Word(p);
    int pageCount = Word(p + 2);
    int first = Word(p + 4);
    int last = Word(p + 6);
    if (version > 1 || pageCount < 0)
        return nullptr;
    if (last < first)
        first = last + 1;
    bool hasPrefixes = last >= first;
    if (hasPrefixes && (first < 0 || last > 255))
        return nullptr;
    size_t flagsAt = (kHeaderWords + size_t(pageCount) * kPageCodes) * 2;
    if (size < flagsAt || (hasPrefixes && size - flagsAt < size_t(last) + 1))
        return nullptr;
    const unsigned char* flags = p + flagsAt;
    int flagged = 0;
    for (int c = first; hasPrefixes && c <= last; ++c)
        flagged += flags[c] != 0;
    if (flagged > pageCount)
        return nullptr;

    KY_Filter* f = KY_FilterNew(pageCount, first, last);
    if (!f)
        return nullptr;
    f->version = static_cast<int16_t>(version);
    for (int i = 0; i < kPageCodes; ++i)
        f->base[i] = Word(p + 8 + 2 * i);
    const unsigned char* pageWords = p + kHeaderWords * 2;
    for (size_t i = 0; i < size_t(pageCount) * kPageCodes; ++i)
        f->pages[i] = Word(pageWords + 2 * i);
    int next = 0;
    for (int c = first; hasPrefixes && c <= last; ++c)
        if (flags[c])
            f->pageOf[c - first] = f->pages + kPageCodes * next++;
    return f;
}

unsigned char* KY_FilterReadFile(const KY_OpenSpec* spec, size_t* size) {
    *size = 0;
    KY_File* file = spec ? KY_FOpen(spec, "rb") : nullptr;
    if (!file)
        return nullptr;
    long length = KY_FileSize(file);
    unsigned char* data = length >= 0 && length < LONG_MAX ? static_cast<unsigned char*>(KY_Malloc(size_t(length) + 1)) : nullptr;
    if (data && length > 0 && KY_FRead(file, data, length) != length) {
        KY_Free(data);
        data = nullptr;
    }
    KY_FClose(file);
    if (data)
        *size = static_cast<size_t>(length);
    return data;
}

KY_Filter* KY_FilterLoad(const KY_OpenSpec* spec) {
    size_t size = 0;
    unsigned char* data = KY_FilterReadFile(spec, &size);
    if (!data)
        return nullptr;
    KY_Filter* f = KY_FilterParse(data, size);
    KY_Free(data);
    return f;
}

KY_Filter* KY_FilterNewIdentity(const unsigned char* table) {
    KY_Filter* f = KY_FilterNew(0, 1, 0);
    if (!f)
        return nullptr;
    f->version = 1;
    for (int i = 0; i < kPageCodes; ++i)
        f->base[i] = static_cast<int16_t>(table ? table[i] : i);
    return f;
}

int KY_FilterAddRef(KY_Filter* f) {
    if (!f || f->references == UINT16_MAX)
        return 110;
    ++f->references;
    return 0;
}

int KY_FilterRelease(KY_Filter* f) {
    if (!f)
        return 110;
    if (f->references > 1) {
        --f->references;
        return 0;
    }
    if (f->release)
        f->release(f);
    KY_Free(f);
    return 0;
}

const int16_t* KY_FilterTable(const KY_Filter* f) {
    return f ? f->base : nullptr;
}

int KY_FilterMapChar(int code, int prefix, const KY_Filter* f) {
    if (!f)
        return code;
    if (IsPrefix(f, static_cast<unsigned>(prefix))) {
        const int16_t* page = f->pageOf[prefix - f->first];
        return page ? page[code & 0xFF] : kKyFilterDrop;
    }
    return f->base[code & 0xFF];
}

long KY_FilterMapString(char* text, const KY_Filter* f) {
    if (!f)
        return static_cast<long>(std::strlen(text));
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
    unsigned char* out = reinterpret_cast<unsigned char*>(text);
    while (*in) {
        unsigned c = *in++;
        int code;
        bool fromPage = false;
        if (IsPrefix(f, c)) {
            const int16_t* page = f->pageOf[c - f->first];
            if (!page)
                continue;
            if (*in == 0)
                break;
            code = page[*in++];
            fromPage = true;
        } else {
            code = f->base[c];
        }
        if (code == kKyFilterInvalid || code == kKyFilterDrop)
            continue;
        if (code & 0xFF00) {
            // Two bytes only from a page: they replace the two bytes read.
            if (fromPage) {
                *out++ = static_cast<unsigned char>((code >> 8) & 0xFF);
                *out++ = static_cast<unsigned char>(code & 0xFF);
            }
            continue;
        }
        *out++ = static_cast<unsigned char>(code);
    }
    *out = 0;
    return static_cast<long>(reinterpret_cast<char*>(out) - text);
}

int KY_FilterNoOp(const KY_Filter*) {
    return 0;
}

long EXK_FilterString(KY_String* out, const char* text, long length, const KY_Filter* f) {
    if (!EXK_PkgInit())
        return 0;
    uint32_t n = 0;
    while ((length <= 0 || n < static_cast<uint32_t>(length)) && text[n])
        ++n;
    if (!f) {
        KY_StringSetPart(out, text, 0, n);
        EXK_PkgEnd();
        return static_cast<long>(out->length);
    }
    const unsigned char* in = reinterpret_cast<const unsigned char*>(text);
    bool inOwnBuffer = text >= out->text && text <= out->text + out->capacity;
    if (f->entityPattern || inOwnBuffer) {
        KY_String* work = EXK_WorkString();
        KY_StringSetPart(work, text, 0, n);
        if (f->entityPattern)
            SgmlReplaceEntities(work, f->entityPattern, f->entityTable);
        in = reinterpret_cast<const unsigned char*>(work->text);
        n = work->length;
    }
    Output o{out, n > 2 ? n : 2, 0};
    fixStringLen(out, 0);
    if (out->capacity < o.step)
        KY_StringReserve(out, o.step - out->capacity);
    const char* consumed = reinterpret_cast<const char*>(in);
    bool entities = !f->entityPattern && f->entityTable;
    for (uint32_t i = 0; i < n;) {
        unsigned c = in[i++];
        if (entities && static_cast<int>(c) == f->entityStart) {
            uint32_t nameStart = i;
            while (i < n && static_cast<int>(in[i]) != f->entityEnd)
                ++i;
            uint32_t nameEnd = i;
            if (i < n)
                ++i;
            KY_String name;
            KY_InitString(&name, 0, "");
            KY_StringSetPart(&name, consumed, nameStart, nameEnd);
            const char* value = nullptr;
            if (SgmlFindEntity(f->entityTable, name.text, &value) && value) {
                for (const char* v = value; *v; ++v)
                    o.put(static_cast<unsigned char>(*v));
            } else if (f->invalidChar) {
                f->invalidChar(name.text, static_cast<int>(name.length), static_cast<int>(c));
            }
            KY_FreeString(&name);
            continue;
        }
        int code;
        int charCode = static_cast<int>(c);
        if (IsPrefix(f, c)) {
            const int16_t* page = f->pageOf[c - f->first];
            if (!page || i >= n) {
                if (f->invalidChar)
                    f->invalidChar(consumed, static_cast<int>(i), charCode);
                continue;
            }
            charCode = charCode << 8 | in[i];
            code = page[in[i++]];
        } else {
            code = f->base[c];
        }
        if (code == kKyFilterInvalid) {
            if (f->invalidChar)
                f->invalidChar(consumed, static_cast<int>(i), charCode);
            continue;
        }
        if (code == kKyFilterDrop)
            continue;
        o.putCode(code);
    }
    fixStringLen(out, o.used);
    out->text[o.used] = 0;
    EXK_PkgEnd();
    return static_cast<long>(out->length);
}

int EXK_PkgInit() {
    if (g_nesting++ > 0)
        return 1;
    g_work = KY_NewString(0, "");
    if (!g_work) {
        --g_nesting;
        return 0;
    }
    return 1;
}

void EXK_PkgEnd() {
    if (g_nesting == 0 || --g_nesting > 0)
        return;
    g_work = KY_FreeString(g_work);
}

KY_String* EXK_WorkString() {
    return g_work;
}

int16_t* EXK_FilterPage(KY_Filter* f, int page) {
    if (!f)
        return nullptr;
    if (page == 0)
        return f->base;
    if (page < f->first || page > f->last)
        return nullptr;
    return f->pageOf[page - f->first];
}

void EXK_InvalidCharWarning(const char* text, int length, int code) {
    TraceLevel(0, "#EXK_FILTER Warning : invalid char 0x%.04X in %.*s\n", code, length, text);
}

void KY_SetFilterCompiler(KY_FilterCompiler compiler) {
    g_compiler = compiler;
}

KY_Filter* KY_CompileFilter(const KY_OpenSpec* spec) {
    return g_compiler ? g_compiler(spec) : nullptr;
}
