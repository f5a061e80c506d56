// xmlinput: tokenizer, content parser and value conversion of the XML reader.
#include "base/procedural/XmlIn.h"

#include "base/procedural/BAlloc.h"
#include "base/procedural/Trace.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

const char kModule[] = "xmlinput_c";

[[noreturn]] void Fault(const char* text, long line) {
    KY_SetErrorText("%s", text);
    KY_RaiseError(kModule, line);
}

void SetError(XmlIn_Reader* r, int code) {
    if (r->error == 0)
        r->error = static_cast<unsigned char>(code);
}

// ---- bytes ----------------------------------------------------------------

// True when at least n raw bytes wait in the buffer.
bool Ensure(XmlIn_Reader* r, long n) {
    while (r->filled - r->next < n && !r->ended) {
        if (r->next > 0) {
            std::memmove(r->buffer, r->buffer + r->next, static_cast<size_t>(r->filled - r->next));
            r->filled -= r->next;
            r->next = 0;
        }
        long room = r->size - r->filled;
        long got = r->source->read(r->source, r->buffer + r->filled, room);
        if (got <= 0)
            r->ended = 1;
        else
            r->filled += got > room ? room : got;
    }
    return r->filled - r->next >= n;
}

// The next character without taking it: any line end reads as '\n'; -1 at the end.
int Peek(XmlIn_Reader* r) {
    if (!Ensure(r, 1))
        return -1;
    unsigned char c = static_cast<unsigned char>(r->buffer[r->next]);
    return c == '\r' ? '\n' : c;
}

// Takes one character. CR, LF, CR LF and LF CR are each one line end, read as '\n'.
int Get(XmlIn_Reader* r) {
    if (!Ensure(r, 1))
        return -1;
    unsigned char c = static_cast<unsigned char>(r->buffer[r->next++]);
    ++r->position;
    if (c == '\r' || c == '\n') {
        if (Ensure(r, 1)) {
            char pair = c == '\r' ? '\n' : '\r';
            if (r->buffer[r->next] == pair) {
                ++r->next;
                ++r->position;
            }
        }
        ++r->line;
        r->column = 0;
        return '\n';
    }
    ++r->column;
    return c;
}

bool IsBlank(int c) {
    return c == ' ' || c == '\t';
}

bool IsSpace(int c) {
    return c == ' ' || c == '\t' || c == '\n';
}

// ---- tables ---------------------------------------------------------------

struct Match {
    const XmlIn_Entry* entry;
    void* target;
};

// The entry for an element name (or, with name null, the first of a kind), includes searched in place.
bool Lookup(const XmlIn_Entry* table, const char* name, long kind, void* target, Match& out, int level = 0) {
    if (!table)
        return false;
    if (level > 16)
        Fault("xmlinput: include tables nest too deep", 160);
    for (const XmlIn_Entry* e = table; e->kind != 0; ++e) {
        long k = e->kind & 0xFF;
        if (k == 9) {
            void* t = e->size ? static_cast<char*>(target) + e->offset
                              : (e->low ? reinterpret_cast<void*>(e->low) : target);
            if (Lookup(static_cast<const XmlIn_Entry*>(e->address), name, kind, t, out, level + 1))
                return true;
            continue;
        }
        bool hit = name ? (k >= 1 && k <= 8 && (e->name ? std::strcmp(e->name, name) == 0 : k == 1)) : k == kind;
        if (hit) {
            out.entry = e;
            out.target = target;
            return true;
        }
    }
    return false;
}

// ---- text runs ------------------------------------------------------------

// Hands text to a kind-10..12 entry in blocks; a null entry drops it.
// The block is the reader's: text callbacks never start a parse, so one suffices.
struct TextSink {
    XmlIn_Reader* r;
    const Match* match;
    long n = 0;
    void put(char c) {
        if (!match)
            return;
        r->textBlock[n++] = c;
        if (n == kXmlInBufferSize)
            flush();
    }
    void flush() {
        if (match && n > 0)
            r->textCallback(r, match->entry, r->textBlock, n, match->target);
        n = 0;
    }
    void end() {
        flush();
        if (match)
            r->textCallback(r, match->entry, r->textBlock, 0, match->target);
    }
};

void ReadCharData(XmlIn_Reader* r, const Match* match) {
    TextSink sink{r, match};
    for (int c = Peek(r); c != -1 && c != '<'; c = Peek(r))
        sink.put(static_cast<char>(Get(r)));
    sink.end();
}

// Skips to a closing sequence: "-->" (close '-') or "]]>" (close ']'). The text before it goes to match.
void SkipSection(XmlIn_Reader* r, char close, const Match* match) {
    TextSink sink{r, match};
    long run = 0;  // closing characters held back
    for (;;) {
        int c = Get(r);
        if (c == -1) {
            SetError(r, XMLIN_PREMATURE_EOF);
            return;
        }
        if (c == close) {
            ++run;
            continue;
        }
        if (c == '>' && run >= 2) {
            for (long i = 2; i < run; ++i)
                sink.put(close);
            sink.end();
            return;
        }
        for (; run > 0; --run)
            sink.put(close);
        sink.put(static_cast<char>(c));
    }
}

// A document type declaration: to ">" outside quotes and outside an internal subset in brackets.
void SkipDoctype(XmlIn_Reader* r) {
    int quote = 0, brackets = 0;
    for (;;) {
        int c = Get(r);
        if (c == -1) {
            SetError(r, XMLIN_PREMATURE_EOF);
            return;
        }
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '[') {
            ++brackets;
        } else if (c == ']' && brackets > 0) {
            --brackets;
        } else if (c == '>' && brackets == 0) {
            return;
        }
    }
}

// ---- tags -----------------------------------------------------------------

enum TagEnd { kTagError, kTagOpen, kTagEmpty, kTagPI };

void FreeList(XmlIn_Reader* r, XmlIn_Attribute* list) {
    while (list) {
        XmlIn_Attribute* next = list->next;
        XmlIn_FreeAttribute(r, list);
        list = next;
    }
}

// A name ending at whitespace, "/", ">" (or "?" and "=" where given); false on an
// empty or over-long name, or at the end of input.
bool ReadName(XmlIn_Reader* r, char* out, long capacity, const char* stops) {
    long n = 0;
    for (int c = Peek(r);; c = Peek(r)) {
        if (c == -1) {
            SetError(r, XMLIN_PREMATURE_EOF);
            return false;
        }
        if (IsSpace(c) || c == '/' || c == '>' || std::strchr(stops, c))
            break;
        if (n == capacity - 1) {
            SetError(r, XMLIN_NOT_WELL_FORMED);
            return false;
        }
        out[n++] = static_cast<char>(Get(r));
    }
    out[n] = 0;
    if (n == 0)
        SetError(r, XMLIN_NOT_WELL_FORMED);
    return n > 0;
}

// Attributes up to the end of a start tag or processing instruction. A
// processing instruction allows only spaces and tabs between them, on one line.
TagEnd ReadAttributes(XmlIn_Reader* r, XmlIn_Attribute** list, bool pi) {
    XmlIn_Attribute** tail = list;
    for (;;) {
        int c = Peek(r);
        while (pi ? IsBlank(c) : IsSpace(c)) {
            Get(r);
            c = Peek(r);
        }
        if (c == -1) {
            SetError(r, XMLIN_PREMATURE_EOF);
            return kTagError;
        }
        if (c == '/' || c == '?') {
            Get(r);
            int d = Peek(r);
            if (d == -1) {
                SetError(r, XMLIN_PREMATURE_EOF);
                return kTagError;
            }
            if (d != '>' || (c == '?') != pi) {
                SetError(r, XMLIN_NOT_WELL_FORMED);
                return kTagError;
            }
            Get(r);
            return pi ? kTagPI : kTagEmpty;
        }
        if (c == '>') {
            Get(r);
            if (pi) {
                SetError(r, XMLIN_NOT_WELL_FORMED);
                return kTagError;
            }
            return kTagOpen;
        }
        if (c == '\n') {  // only reached in a processing instruction
            SetError(r, XMLIN_NOT_WELL_FORMED);
            return kTagError;
        }
        if (r->inUse >= kXmlInPoolSize) {
            SetError(r, XMLIN_NOT_WELL_FORMED);
            return kTagError;
        }
        char name[kXmlInNameMax + 1];
        if (!ReadName(r, name, sizeof name, "=?\"'"))
            return kTagError;
        while (pi ? IsBlank(Peek(r)) : IsSpace(Peek(r)))
            Get(r);
        c = Get(r);
        if (c != '=') {
            SetError(r, c == -1 ? XMLIN_PREMATURE_EOF : XMLIN_NOT_WELL_FORMED);
            return kTagError;
        }
        while (pi ? IsBlank(Peek(r)) : IsSpace(Peek(r)))
            Get(r);
        int quote = Get(r);
        if (quote != '"' && quote != '\'') {
            SetError(r, quote == -1 ? XMLIN_PREMATURE_EOF : XMLIN_NOT_WELL_FORMED);
            return kTagError;
        }
        XmlIn_Attribute* a = XmlIn_NewAttribute(r);
        std::strcpy(a->name, name);
        *tail = a;
        tail = &a->next;
        long n = 0;
        for (c = Get(r); c != quote; c = Get(r)) {
            if (c == -1) {
                SetError(r, XMLIN_PREMATURE_EOF);
                return kTagError;
            }
            if (n == kXmlInValueMax) {
                SetError(r, XMLIN_NOT_WELL_FORMED);
                return kTagError;
            }
            a->value[n++] = static_cast<char>(c);
        }
        a->value[n] = 0;
    }
}

// ---- values ---------------------------------------------------------------

void Trim(char*& text) {
    while (IsSpace(static_cast<unsigned char>(*text)))
        ++text;
    char* end = text + std::strlen(text);
    while (end > text && IsSpace(static_cast<unsigned char>(end[-1])))
        --end;
    *end = 0;
}

void StoreInteger(void* dest, long size, unsigned long value) {
    if (size < 1 || size > 4)
        Fault("xmlinput: integer size other than 1 to 4", 700);
    unsigned char bytes[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                              static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
    std::memcpy(dest, bytes, static_cast<size_t>(size));
}

// Whether v fits an integer field of size bytes (1..4), signed or not.
bool FitsSigned(long size, long v) {
    if (size >= 4)
        return true;
    long half = 1L << (8 * size - 1);
    return v >= -half && v < half;
}

bool FitsUnsigned(long size, unsigned long v) {
    return size >= 4 || v < (1UL << (8 * size));
}

// Reads the element's text (nothing for an empty element) and stores it by kind; false: error 2.
bool StoreValue(XmlIn_Reader* r, const XmlIn_Entry* e, void* target, const XmlIn_Element& el) {
    long kind = e->kind & 0xFF;
    void* dest = e->address ? e->address : static_cast<char*>(target) + e->offset;
    if (!e->address && !target)
        Fault("xmlinput: no target for a value", 720);
    if (kind == 7) {
        long capacity = static_cast<long>(e->low);
        if (capacity <= 0)
            return true;
        char* out = static_cast<char*>(dest);
        out[0] = 0;
        if (!el.empty)
            XmlIn_ReadText(r, out, capacity);
        return true;
    }
    char buffer[81];
    buffer[0] = 0;
    long capacity = (kind == 5 || kind == 8) ? 81 : 41;
    if (!el.empty)
        XmlIn_ReadText(r, buffer, capacity);
    char* text = buffer;
    Trim(text);
    char* end = nullptr;
    errno = 0;
    switch (kind) {
    case 2: {
        long v = std::strtol(text, &end, 10);
        if (end == text || *end || errno == ERANGE)
            return false;
        if (e->low || e->high) {
            if (v < static_cast<long>(e->low))
                v = static_cast<long>(e->low);
            if (v > static_cast<long>(e->high))
                v = static_cast<long>(e->high);
        }
        if (!FitsSigned(e->size, v))
            return false;
        StoreInteger(dest, e->size, static_cast<unsigned long>(v));
        return true;
    }
    case 3: {
        if (*text == '-')
            return false;
        unsigned long v = std::strtoul(text, &end, 10);
        if (end == text || *end || errno == ERANGE)
            return false;
        if (e->low || e->high) {
            if (v < static_cast<unsigned long>(e->low))
                v = static_cast<unsigned long>(e->low);
            if (v > static_cast<unsigned long>(e->high))
                v = static_cast<unsigned long>(e->high);
        }
        if (!FitsUnsigned(e->size, v))
            return false;
        StoreInteger(dest, e->size, v);
        return true;
    }
    case 4: {
        double v = std::strtod(text, &end);
        if (end == text || *end || !std::isfinite(v))
            return false;
        if (e->low || e->high) {
            if (v < static_cast<double>(e->low))
                v = static_cast<double>(e->low);
            if (v > static_cast<double>(e->high))
                v = static_cast<double>(e->high);
        }
        if (std::fabs(v) > static_cast<double>(FLT_MAX))
            return false;
        float f = static_cast<float>(v);
        std::memcpy(dest, &f, sizeof f);
        return true;
    }
    case 5: {
        double v = std::strtod(text, &end);
        if (end == text || *end || !std::isfinite(v))
            return false;
        if (e->low && v < *reinterpret_cast<const double*>(e->low))
            v = *reinterpret_cast<const double*>(e->low);
        if (e->high && v > *reinterpret_cast<const double*>(e->high))
            v = *reinterpret_cast<const double*>(e->high);
        std::memcpy(dest, &v, sizeof v);
        return true;
    }
    case 6:
        StoreInteger(dest, e->size, std::strcmp(text, "True") == 0 || std::strcmp(text, "true") == 0);
        return true;
    case 8: {
        const char* const* names = reinterpret_cast<const char* const*>(e->low);
        for (long i = 0; names && i < static_cast<long>(e->high); ++i)
            if (names[i] && std::strcmp(names[i], text) == 0) {
                StoreInteger(dest, e->size, static_cast<unsigned long>(i));
                break;
            }
        return true;
    }
    default:
        Fault("xmlinput: unknown entry kind", 780);
    }
}

// ---- content --------------------------------------------------------------

void ParseContent(XmlIn_Reader* r, const XmlIn_Entry* table, void* target, long startDepth);

// A start tag whose "<" was taken: its name, attributes and the element's handling.
// With table null (skipping) the element only moves the depth.
void StartTag(XmlIn_Reader* r, const XmlIn_Entry* table, void* target) {
    char name[kXmlInElementNameMax + 1];
    if (!ReadName(r, name, sizeof name, ""))
        return;
    XmlIn_Attribute* attributes = nullptr;
    TagEnd end = ReadAttributes(r, &attributes, false);
    if (end == kTagError) {
        FreeList(r, attributes);
        return;
    }
    bool empty = end == kTagEmpty;
    if (!empty && r->depth >= kXmlInDepthMax) {
        FreeList(r, attributes);
        SetError(r, XMLIN_NOT_WELL_FORMED);
        return;
    }
    Match m;
    if (!table || !Lookup(table, name, 0, target, m)) {
        FreeList(r, attributes);
        if (!empty) {
            ++r->depth;
            if (table)
                ParseContent(r, nullptr, nullptr, r->depth);
        }
        return;
    }
    XmlIn_Element el = {name, attributes, empty ? 1 : 0, empty ? 1 : 0, nullptr};
    if (!empty)
        ++r->depth;
    long inner = r->depth;
    {
        // A handler's own error may pass through here: the element and its records
        // must not outlive this frame, and the reader, stopped mid-element, answers error 1.
        struct Handling {
            XmlIn_Reader* r;
            XmlIn_Element* outer;
            XmlIn_Attribute* attributes;
            bool done;
            ~Handling() {
                r->current = outer;
                FreeList(r, attributes);
                if (!done)
                    SetError(r, XMLIN_NOT_WELL_FORMED);
            }
        } handling = {r, r->current, attributes, false};
        r->current = &el;
        if ((m.entry->kind & 0xFF) == 1) {
            void* t = m.entry->low ? reinterpret_cast<void*>(m.entry->low) : m.target;
            r->elementCallback(r, m.entry, &el, t);
        } else if (!StoreValue(r, m.entry, m.target, el)) {
            SetError(r, XMLIN_INVALID_VALUE);
        }
        handling.done = true;
    }
    // What the handler left of the element is skipped, children included.
    if (!empty && r->error == 0 && !el.finished && r->depth >= inner)
        ParseContent(r, nullptr, nullptr, inner);
}

// Tokens until the end tag that closes startDepth (or, at depth 0, the end of
// input). table null: skip everything, tracking depth without recursion.
void ParseContent(XmlIn_Reader* r, const XmlIn_Entry* table, void* target, long startDepth) {
    Match text, cdata, comment;
    bool wantText = table && Lookup(table, nullptr, 10, target, text);
    bool wantCdata = table && Lookup(table, nullptr, 11, target, cdata);
    bool wantComment = table && Lookup(table, nullptr, 12, target, comment);
    while (r->error == 0) {
        int c = Peek(r);
        if (c == -1) {
            if (r->depth > 0)
                SetError(r, XMLIN_PREMATURE_EOF);
            return;
        }
        if (c != '<') {
            ReadCharData(r, r->depth == startDepth && wantText ? &text : nullptr);
            continue;
        }
        Get(r);
        c = Peek(r);
        if (c == -1) {
            SetError(r, XMLIN_PREMATURE_EOF);
        } else if (c == '/') {
            Get(r);
            char name[kXmlInElementNameMax + 1];
            if (!ReadName(r, name, sizeof name, ""))
                return;
            c = Get(r);
            if (c != '>') {
                SetError(r, c == -1 ? XMLIN_PREMATURE_EOF : XMLIN_NOT_WELL_FORMED);
                return;
            }
            if (r->depth == 0) {
                SetError(r, XMLIN_NOT_WELL_FORMED);
                return;
            }
            if (--r->depth < startDepth)
                return;
        } else if (c == '?') {
            Get(r);
            char name[kXmlInElementNameMax + 1];
            if (!ReadName(r, name, sizeof name, "?"))
                return;
            XmlIn_Attribute* attributes = nullptr;
            ReadAttributes(r, &attributes, true);
            FreeList(r, attributes);
        } else if (c == '!') {
            Get(r);
            c = Get(r);
            bool here = r->depth == startDepth;
            if (c == '-') {
                Get(r);  // the second hyphen, taken as it comes
                SkipSection(r, '-', here && wantComment ? &comment : nullptr);
            } else if (c == '[') {
                for (int i = 0; i < 6; ++i)  // "CDATA["
                    Get(r);
                SkipSection(r, ']', here && wantCdata ? &cdata : nullptr);
            } else if (c == 'D') {
                for (int i = 0; i < 6; ++i)  // "OCTYPE"
                    Get(r);
                SkipDoctype(r);
            } else {
                SetError(r, c == -1 ? XMLIN_PREMATURE_EOF : XMLIN_NOT_WELL_FORMED);
            }
        } else if (IsSpace(c) || c == '>' || c == '<') {
            SetError(r, XMLIN_NOT_WELL_FORMED);
        } else {
            StartTag(r, r->depth == startDepth ? table : nullptr, target);
        }
    }
}

void DefaultElement(XmlIn_Reader* r, const XmlIn_Entry* entry, XmlIn_Element* element, void* target) {
    if (!entry->address)
        Fault("xmlinput: kind 1 entry without a handler", 900);
    reinterpret_cast<XmlIn_Handler>(entry->address)(r, element, target);
}

void DefaultText(XmlIn_Reader*, const XmlIn_Entry* entry, const char* data, long length, void* target) {
    if (!entry->address)
        Fault("xmlinput: text entry without a function", 910);
    reinterpret_cast<XmlIn_TextFunction>(entry->address)(data, length, target);
}

}  // namespace

XmlIn_Reader* XmlIn_Create(XmlIn_Source* source) {
    if (!source || !source->read)
        Fault("xmlinput: null source", 100);
    XmlIn_Reader* r = static_cast<XmlIn_Reader*>(KY_Calloc(1, sizeof(XmlIn_Reader)));
    if (!r)
        return nullptr;
    r->buffer = static_cast<char*>(KY_Malloc(kXmlInBufferSize));
    r->textBlock = static_cast<char*>(KY_Malloc(kXmlInBufferSize));
    r->pool = static_cast<XmlIn_Attribute*>(KY_Calloc(kXmlInPoolSize, sizeof(XmlIn_Attribute)));
    if (!r->buffer || !r->textBlock || !r->pool) {
        XmlIn_Free(r);
        return nullptr;
    }
    r->source = source;
    r->size = kXmlInBufferSize;
    for (int i = kXmlInPoolSize - 1; i >= 0; --i) {
        r->pool[i].next = r->freeList;
        r->freeList = &r->pool[i];
    }
    r->elementCallback = DefaultElement;
    r->textCallback = DefaultText;
    return r;
}

void XmlIn_Free(XmlIn_Reader* r) {
    if (!r)
        return;
    KY_Free(r->buffer);
    KY_Free(r->textBlock);
    KY_Free(r->pool);
    KY_Free(r);
}

int XmlIn_Parse(XmlIn_Reader* r, const XmlIn_Entry* table, void* target) {
    if (!r || !table)
        Fault("xmlinput: null reader or table", 1200);
    if (r->error)
        return r->error;
    XmlIn_Element* el = r->current;
    if (el && el->finished)
        return 0;
    ParseContent(r, table, target, r->depth);
    if (el && r->error == 0)
        el->finished = 1;
    return r->error;
}

long XmlIn_ReadText(XmlIn_Reader* r, char* buffer, long size) {
    if (!r || !buffer)
        Fault("xmlinput: null reader or buffer", 1300);
    if (size <= 0)
        return 0;
    long n = 0;
    if (!(r->current && r->current->finished))
        for (int c = Peek(r); c != -1 && c != '<' && n < size - 1; c = Peek(r))
            buffer[n++] = static_cast<char>(Get(r));
    buffer[n] = 0;
    return n;
}

XmlIn_Attribute* XmlIn_FindNamed(XmlIn_Attribute* list, const char* name) {
    for (; list && name; list = list->next)
        if (std::strcmp(list->name, name) == 0)
            return list;
    return nullptr;
}

long XmlIn_AttrLong(const XmlIn_Attribute* attribute, long fallback) {
    return attribute ? std::strtol(attribute->value, nullptr, 10) : fallback;
}

long XmlIn_GetLine(const XmlIn_Reader* r) {
    return r->line + 1;
}

long XmlIn_GetColumn(const XmlIn_Reader* r) {
    return r->column + 1;
}

const char* XmlIn_ErrorString(int code) {
    switch (code) {
    case 0:
        return "no error";
    case 1:
        return "not well-formed";
    case 2:
        return "invalid value";
    case 3:
        return "premature eof";
    default:
        return "unknown error";
    }
}

XmlIn_Attribute* XmlIn_NewAttribute(XmlIn_Reader* r) {
    if (!r)
        Fault("xmlinput: null reader", 840);
    if (!r->freeList)
        Fault("xmlinput: too many attributes", 849);
    XmlIn_Attribute* a = r->freeList;
    r->freeList = a->next;
    std::memset(a, 0, sizeof *a);
    ++r->inUse;
    return a;
}

void XmlIn_FreeAttribute(XmlIn_Reader* r, XmlIn_Attribute* a) {
    if (!r || !a)
        return;
    a->next = r->freeList;
    r->freeList = a;
    --r->inUse;
}
