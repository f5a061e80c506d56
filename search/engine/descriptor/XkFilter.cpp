// The filter package and the compiler of filter description files.
#include "search/engine/descriptor/XkFilter.h"

#include <strings.h>
#include <windows.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/procedural/BAlloc.h"
#include "base/procedural/StringUtil.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyFilter.h"
#include "base/procedural/KyRegExp.h"
#include "base/procedural/KyString.h"
#include "base/procedural/SgmlEntity.h"
#include "base/procedural/Trace.h"

namespace {

enum Keyword {
    kUnused = -1,
    kUnchanged = -2,
    kError = -3,
    kCommon = -4,
    kIso = -5,
    kMac = -6,
    kPc = -7,
    kTable = -8,
    kPrefixList = -9,
    kEnd = -10,
    kPrefix = -11,
    kAddPrefix = -12,
    kConstant = -13,
    kAssocTable = -14,
    kType = -15,
    kDelim = -16,
    kSynch = -17,
    kBefore = -18,
    kCase = -19,
};

struct KeywordEntry {
    const char* name;
    int value;
};

const KeywordEntry kKeywords[] = {
    {"TABLE", kTable},       {"PREFIXLIST", kPrefixList}, {"END", kEnd},         {"UNUSED", kUnused},
    {"UNCHANGED", kUnchanged}, {"ERROR", kError},         {"PREFIX", kPrefix},   {"ADDPREFIX", kAddPrefix},
    {"ISO", kIso},           {"MAC", kMac},               {"PC", kPc},           {"COMMON", kCommon},
    {"CONSTANT", kConstant}, {"ASSOCTABLE", kAssocTable}, {"TYPE", kType},       {"DELIM", kDelim},
    {"SYNCH", kSynch},       {"BEFORE", kBefore},         {"CASE", kCase},
};

// ISO 8859-1 code of each byte 0x80..0xFF of Mac Roman and of code page 437; -1: none.
const int16_t kMacToIso[128] = {
    0xC4, 0xC5, 0xC7, 0xC9, 0xD1, 0xD6, 0xDC, 0xE1, 0xE0, 0xE2, 0xE4, 0xE3, 0xE5, 0xE7, 0xE9, 0xE8,
    0xEA, 0xEB, 0xED, 0xEC, 0xEE, 0xEF, 0xF1, 0xF3, 0xF2, 0xF4, 0xF6, 0xF5, 0xFA, 0xF9, 0xFB, 0xFC,
    -1,   0xB0, 0xA2, 0xA3, 0xA7, -1,   0xB6, 0xDF, 0xAE, 0xA9, -1,   0xB4, 0xA8, -1,   0xC6, 0xD8,
    -1,   0xB1, -1,   -1,   0xA5, 0xB5, -1,   -1,   -1,   -1,   -1,   0xAA, 0xBA, -1,   0xE6, 0xF8,
    0xBF, 0xA1, 0xAC, -1,   -1,   -1,   -1,   0xAB, 0xBB, -1,   0xA0, 0xC0, 0xC3, 0xD5, -1,   -1,
    -1,   -1,   -1,   -1,   -1,   -1,   0xF7, -1,   0xFF, -1,   -1,   -1,   -1,   -1,   -1,   -1,
    -1,   0xB7, -1,   -1,   -1,   0xC2, 0xCA, 0xC1, 0xCB, 0xC8, 0xCD, 0xCE, 0xCF, 0xCC, 0xD3, 0xD4,
    -1,   0xD2, 0xDA, 0xDB, 0xD9, -1,   -1,   -1,   0xAF, -1,   -1,   -1,   0xB8, -1,   -1,   -1,
};
const int16_t kPcToIso[128] = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, -1,   -1,
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA, 0xBF, -1,   0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,
    -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,
    -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,
    -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,
    -1,   0xDF, -1,   -1,   -1,   -1,   0xB5, -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,
    -1,   0xB1, -1,   -1,   -1,   -1,   0xF7, -1,   0xB0, -1,   0xB7, -1,   -1,   0xB2, -1,   0xA0,
};

// The ISO 8859-1 codes that all three character sets hold.
const unsigned char kCommonRepertoire[] = {
    0xA1, 0xA2, 0xA3, 0xA5, 0xAA, 0xAB, 0xAC, 0xB0, 0xB1, 0xB5, 0xB7, 0xBA, 0xBB, 0xBF, 0xC4, 0xC5, 0xC6,
    0xC7, 0xC9, 0xD1, 0xD6, 0xDC, 0xDF, 0xE0, 0xE1, 0xE2, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB,
    0xEC, 0xED, 0xEE, 0xEF, 0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFF,
};

const int kPieceSize = 255;
const int kMaxTokens = 128;

int KeywordValue(const char* token) {
    for (const KeywordEntry& k : kKeywords)
        if (strcasecmp(token, k.name) == 0)
            return k.value;
    return 0;
}

int ToIso(int set, int b) {
    if (b < 0x80 || set == kIso)
        return b;
    return (set == kMac ? kMacToIso : kPcToIso)[b - 0x80];
}

int FromIso(int set, int iso) {
    if (iso < 0x80 || set == kIso)
        return iso;
    const int16_t* table = set == kMac ? kMacToIso : kPcToIso;
    for (int i = 0; i < 128; ++i)
        if (table[i] == iso)
            return 0x80 + i;
    return -1;
}

// A byte of one character set in another (ISO, MAC or PC); -1 when the target lacks it.
int ConvertCharSet(int from, int to, int b) {
    int iso = ToIso(from, b);
    return iso < 0 ? -1 : FromIso(to, iso);
}

bool InCommonRepertoire(int iso) {
    return std::memchr(kCommonRepertoire, iso, sizeof kCommonRepertoire) != nullptr && iso >= 0;
}

void FreeAssociations(SgmlEntityTable* table) {
    if (!table)
        return;
    for (int32_t i = 0; i < table->count; ++i) {
        KY_Free(const_cast<char*>(table->entities[i].name));
        KY_Free(const_cast<char*>(table->entities[i].value));
    }
    KY_Free(table->entities);
    KY_Free(table);
}

void ReleaseCompiled(KY_Filter* f) {
    FreeAssociations(f->entityTable);
    KY_RegFree(f->entityPattern);
    f->entityTable = nullptr;
    f->entityPattern = nullptr;
}

int CompareSensitive(const void* a, const void* b) {
    return std::strcmp(static_cast<const SgmlEntity*>(a)->name, static_cast<const SgmlEntity*>(b)->name);
}

int CompareInsensitive(const void* a, const void* b) {
    return strcasecmp(static_cast<const SgmlEntity*>(a)->name, static_cast<const SgmlEntity*>(b)->name);
}

// Cuts a piece into tokens at blanks and tabs; a token that opens with a quote
// runs to its closing quote, so a quoted blank stays one token.
int Tokenize(char* piece, char** tokens) {
    int n = 0;
    char* p = piece;
    while (*p && n < kMaxTokens) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            break;
        tokens[n++] = p;
        if (*p == '"' || *p == '\'') {
            char quote = *p++;
            while (*p && *p != quote) {
                if (*p == '\\' && p[1])
                    ++p;
                ++p;
            }
            if (*p)
                ++p;
        }
        while (*p && *p != ' ' && *p != '\t')
            ++p;
        if (*p)
            *p++ = 0;
    }
    return n;
}

class Compiler {
public:
    explicit Compiler(const char* path) : path_(path) {}

    KY_Filter* run(const char* text, size_t size);

private:
    void report(const char* format, ...);
    int value(const char* token);
    int addedPrefix(const char* token);
    bool allocate();
    int16_t* page(int p);
    void line(char** t, int n);
    void prefixLine(char** t, int n, int from);
    void entryLine(char** t, int n);
    void commonLine(char** t, int n);
    void assocDeclaration(char** t, int n);
    void assocLine(char** t, int n);
    char* unquote(const char* text);
    void finish();

    const char* path_;
    int lineNumber_ = 0;
    bool isPrefix_[256] = {};
    int prefixCount_ = 0;
    int lowest_ = 1;
    int highest_ = 0;
    KY_Filter* f_ = nullptr;
    int currentPage_ = 0;
    enum { kNoSection, kPrefixSection, kAssocSection } section_ = kNoSection;
    SgmlEntityTable* assoc_ = nullptr;
    int32_t assocCapacity_ = 0;
    int caseMode_ = 2;
    char delimOpen_ = '&';
    char delimClose_ = ';';
    bool before_ = false;
    bool failed_ = false;
};

void Compiler::report(const char* format, ...) {
    char message[300];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof message, format, args);
    va_end(args);
    TraceLevel(0, "%s", message);
    TraceLevel(0, "File %s; Line %d\n", path_, lineNumber_);
}

// Quoted characters, hexadecimal (0x, \x) or decimal units, each unit
// combined as value x 256 + unit; a keyword gives its value.
int Compiler::value(const char* token) {
    if (!token) {
        report("#EXK_CompileFilter error : value expected\n");
        return 0;
    }
    if (int k = KeywordValue(token))
        return k;
    // Unsigned: four or more units shift past a signed 32-bit long.
    unsigned long v = 0;
    const char* p = token;
    while (*p) {
        unsigned long unit = 0;
        if (*p == '\'' || *p == '"') {
            char quote = *p++;
            for (; *p && *p != quote; ++p)
                v = (v * 256 + static_cast<unsigned char>(*p)) & 0xFFFFFF;
            break;
        }
        if ((p[0] == '0' || p[0] == '\\') && (p[1] == 'x' || p[1] == 'X')) {
            p += 2;
            for (int d; (d = HexDigit(*p)) >= 0; ++p)
                unit = (unit * 16 + static_cast<unsigned long>(d)) & 0xFFFFFF;
        } else if (std::isdigit(static_cast<unsigned char>(*p))) {
            for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
                unit = (unit * 10 + static_cast<unsigned long>(*p - '0')) & 0xFFFFFF;
        } else {
            break;
        }
        v = (v * 256 + unit) & 0xFFFFFF;
    }
    return static_cast<int>(v);
}

int Compiler::addedPrefix(const char* token) {
    int v = value(token);
    if (v < 1 || v > 255) {
        report("#Bad prefix %d\n", v);
        return 0;
    }
    return v;
}

// The filter is made at the first entry line, with a page for each prefix declared by then.
bool Compiler::allocate() {
    if (f_)
        return true;
    if (failed_)
        return false;
    f_ = KY_FilterNew(prefixCount_, lowest_, highest_);
    if (!f_) {
        failed_ = true;
        return false;
    }
    f_->version = 0;
    f_->invalidChar = EXK_InvalidCharWarning;
    int next = 0;
    for (int c = lowest_; c <= highest_; ++c)
        if (isPrefix_[c])
            f_->pageOf[c - lowest_] = f_->pages + 256 * next++;
    return true;
}

int16_t* Compiler::page(int p) {
    return EXK_FilterPage(f_, p);
}

void Compiler::prefixLine(char** t, int n, int from) {
    for (int i = from; i < n; ++i) {
        int v = value(t[i]);
        if (v < 0 || v > 255) {
            report("#ADDPREFIX invalid : %d\n", v);
        } else if (f_) {
            report("#invalid prefix in CompileFilter\n");
        } else if (!isPrefix_[v]) {
            isPrefix_[v] = true;
            ++prefixCount_;
            if (prefixCount_ == 1) {
                lowest_ = highest_ = v;
            } else {
                lowest_ = v < lowest_ ? v : lowest_;
                highest_ = v > highest_ ? v : highest_;
            }
        }
    }
}

void Compiler::commonLine(char** t, int n) {
    int from = n > 1 ? value(t[1]) : 0;
    int to = n > 2 ? value(t[2]) : 0;
    if (from < kPc || from > kIso || to < kPc || to > kIso) {
        report("#COMMON : bad values\n");
        return;
    }
    int added = 0;
    for (int k = 3; k < n; ++k)
        if (KeywordValue(t[k]) == kAddPrefix)
            added = addedPrefix(k + 1 < n ? t[++k] : nullptr);
    for (int b = 0x80; b <= 0xFE; ++b)
        if (InCommonRepertoire(ToIso(from, b)))
            f_->base[b] = static_cast<int16_t>(ConvertCharSet(from, to, b) + (added << 8));
}

// source count replacement [CONSTANT] [ADDPREFIX n], or COMMON set1 set2.
void Compiler::entryLine(char** t, int n) {
    if (!allocate())
        return;
    if (KeywordValue(t[0]) == kCommon) {
        commonLine(t, n);
        return;
    }
    int source = value(t[0]);
    int count = value(n > 1 ? t[1] : nullptr);
    int replacement = value(n > 2 ? t[2] : nullptr);
    int added = 0;
    bool constant = false;
    int k = 3;
    if (replacement == kAddPrefix) {
        replacement = kUnchanged;
        added = addedPrefix(k < n ? t[k++] : nullptr);
    }
    for (; k < n; ++k) {
        int option = KeywordValue(t[k]);
        if (option == kConstant)
            constant = true;
        else if (option == kAddPrefix)
            added = addedPrefix(k + 1 < n ? t[++k] : nullptr);
    }
    if (source < 0 || count <= 0) {
        report("Error in CompileFilter\n");
        return;
    }
    int16_t* codes = page(source > 255 ? source >> 8 : currentPage_);
    int low = source > 255 ? source & 0xFF : source;
    if (!codes) {
        report("#invalid prefix in CompileFilter\n");
        return;
    }
    if (low + count > 256) {
        report("#invalid range in CompileFilter\n");
        return;
    }
    if (replacement < 0 && replacement != kUnused && replacement != kError && replacement != kUnchanged) {
        report("#invalid replacer in CompileFilter\n");
        return;
    }
    for (int i = 0; i < count; ++i) {
        int code;
        if (replacement == kUnused || replacement == kError)
            code = replacement;
        else if (replacement == kUnchanged)
            code = source + i + (added << 8);
        else if (constant)
            code = replacement + (added << 8);
        else
            code = replacement + i + (added << 8);
        codes[low + i] = static_cast<int16_t>(code);
    }
}

// Removes surrounding double quotes and decodes \n \r \t \xHH; a backslash
// before any other character keeps that character. A KY_Malloc copy or null.
char* Compiler::unquote(const char* text) {
    size_t length = std::strlen(text);
    if (text[0] == '"') {
        if (length < 2 || text[length - 1] != '"')
            report("#Unmatched Quotes\n");
        else
            --length;
        ++text;
        --length;
    }
    char* out = static_cast<char*>(KY_Malloc(length + 1));
    if (!out)
        return nullptr;
    size_t o = 0;
    for (size_t i = 0; i < length; ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < length) {
            c = text[++i];
            if (c == 'n') {
                c = '\n';
            } else if (c == 'r') {
                c = '\r';
            } else if (c == 't') {
                c = '\t';
            } else if ((c == 'x' || c == 'X') && i + 2 < length && HexDigit(text[i + 1]) >= 0 &&
                       HexDigit(text[i + 2]) >= 0) {
                c = static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
                i += 2;
            }
        }
        out[o++] = c;
    }
    out[o] = 0;
    return out;
}

// ASSOCTABLE CASE=... DELIM="xy" TYPE=BEFORE
void Compiler::assocDeclaration(char** t, int n) {
    for (int i = 1; i < n; ++i) {
        char* eq = std::strchr(t[i], '=');
        if (!eq) {
            report("#Invalid ASSOCTABLE declaration\n");
            continue;
        }
        *eq = 0;
        int key = KeywordValue(t[i]);
        char* v = unquote(eq + 1);
        if (!v)
            continue;
        if (key == kCase)
            caseMode_ = (v[0] == 'N' || v[0] == 'n') ? 0 : 2;
        else if (key == kDelim && v[0] && v[1])
            delimOpen_ = v[0], delimClose_ = v[1];
        else if (key == kType && KeywordValue(v) == kBefore)
            before_ = true;
        else
            report("#Invalid ASSOCTABLE declaration\n");
        KY_Free(v);
    }
    if (!assoc_)
        assoc_ = static_cast<SgmlEntityTable*>(KY_Calloc(1, sizeof(SgmlEntityTable)));
    if (!assoc_)
        report("#Alloc Failed for REPLACDESC\n");
    section_ = kAssocSection;
}

void Compiler::assocLine(char** t, int n) {
    if (!assoc_)
        return;
    if (n < 2) {
        report("#Invalid ASSOC declaration\n");
        return;
    }
    if (assoc_->count == assocCapacity_) {
        int32_t capacity = assocCapacity_ ? assocCapacity_ * 2 : 16;
        void* grown = KY_Realloc(assoc_->entities, sizeof(SgmlEntity) * size_t(capacity));
        if (!grown) {
            report("#Alloc Failed for REPLACER\n");
            return;
        }
        assoc_->entities = static_cast<SgmlEntity*>(grown);
        assocCapacity_ = capacity;
    }
    char* source = unquote(t[0]);
    char* replacement = unquote(t[1]);
    if (!source || !replacement) {
        KY_Free(source);
        KY_Free(replacement);
        report("#Alloc Failed for REPLACER\n");
        return;
    }
    assoc_->entities[assoc_->count++] = SgmlEntity{source, replacement, 0};
}

void Compiler::line(char** t, int n) {
    switch (KeywordValue(t[0])) {
    case kTable:
        return;
    case kPrefixList:
        section_ = kPrefixSection;
        prefixLine(t, n, 1);
        return;
    case kEnd:
        section_ = kNoSection;
        return;
    case kPrefix:
        if (allocate()) {
            currentPage_ = value(n > 1 ? t[1] : nullptr);
            if (!page(currentPage_)) {
                report("#invalid prefix in CompileFilter\n");
                currentPage_ = 0;
            }
        }
        return;
    case kAssocTable:
        assocDeclaration(t, n);
        return;
    default:
        break;
    }
    if (section_ == kPrefixSection)
        prefixLine(t, n, 0);
    else if (section_ == kAssocSection)
        assocLine(t, n);
    else
        entryLine(t, n);
}

void Compiler::finish() {
    if (!f_ || !assoc_ || assoc_->count == 0) {
        FreeAssociations(assoc_);
        assoc_ = nullptr;
        return;
    }
    std::qsort(assoc_->entities, size_t(assoc_->count), sizeof(SgmlEntity),
               caseMode_ ? CompareSensitive : CompareInsensitive);
    assoc_->flags = caseMode_ ? kSgmlEntityCaseSensitive : 0;
    f_->entityTable = assoc_;
    f_->entityPattern = before_ ? SgmlCompileDelimited(delimOpen_, delimClose_) : nullptr;
    f_->entityStart = static_cast<unsigned char>(delimOpen_);
    f_->entityEnd = static_cast<unsigned char>(delimClose_);
    f_->release = ReleaseCompiled;
    assoc_ = nullptr;
}

// Lines end at a line feed, a carriage return or both; each is read in pieces
// of at most 255 characters. Empty pieces and comments (# or ;) are skipped.
KY_Filter* Compiler::run(const char* text, size_t size) {
    size_t i = 0;
    char piece[kPieceSize + 1];
    char* tokens[kMaxTokens];
    while (i < size) {
        size_t end = i;
        while (end < size && text[end] != '\n' && text[end] != '\r')
            ++end;
        ++lineNumber_;
        for (size_t from = i; from < end || from == i; from += kPieceSize) {
            size_t n = end - from < size_t(kPieceSize) ? end - from : size_t(kPieceSize);
            std::memcpy(piece, text + from, n);
            piece[n] = 0;
            if (n > 0 && piece[0] != '#' && piece[0] != ';') {
                int count = Tokenize(piece, tokens);
                if (count > 0)
                    line(tokens, count);
            }
            if (end - from <= size_t(kPieceSize))
                break;
        }
        i = end;
        if (i < size && text[i] == '\r')
            ++i;
        if (i < size && text[i] == '\n')
            ++i;
    }
    allocate();
    finish();
    return failed_ ? nullptr : f_;
}

}  // namespace

KY_Filter* EXK_CompileFilter(const KY_OpenSpec* spec) {
    if (!EXK_PkgInit())
        return nullptr;
    size_t size = 0;
    unsigned char* text = KY_FilterReadFile(spec, &size);
    const char* path = spec && spec->path.text ? spec->path.text : "";
    if (!text) {
        TraceLevel(0, "CompileFilter : cannot open %s\n", path);
        EXK_PkgEnd();
        return nullptr;
    }
    Compiler compiler(path);
    KY_Filter* f = compiler.run(reinterpret_cast<const char*>(text), size);
    KY_Free(text);
    EXK_PkgEnd();
    return f;
}

int EXK_KeywordValue(const char* token) {
    return token ? KeywordValue(token) : 0;
}

int EXK_ConvertChar(int from, int to, int byte) {
    bool known = from >= kPc && from <= kIso && to >= kPc && to <= kIso;
    if (!known || byte < 0 || byte > 255)
        return -1;
    return ConvertCharSet(from, to, byte);
}

void EXK_InstallCompiler() {
    KY_SetFilterCompiler(EXK_CompileFilter);
}

// The compiled layout, all words 16-bit little-endian:
//   version | page count | first prefix | last prefix | base[256]
//   | page[page count][256] in increasing prefix order | flag byte per code 0..last
// A flag byte is 1 when its code is a prefix with a page. Without prefixes
// first is 1, last 0 and there are no flag bytes.
int EXK_WriteFilter(const KY_Filter* f, const char* path) {
    if (!f || !path)
        return 110;
    std::string bytes;
    auto word = [&bytes](int v) {
        bytes += static_cast<char>(v & 0xFF);
        bytes += static_cast<char>((v >> 8) & 0xFF);
    };
    bool prefixes = f->last >= f->first;
    int pages = 0;
    for (int c = f->first; prefixes && c <= f->last; ++c)
        pages += f->pageOf[c - f->first] != nullptr;
    word(f->version);
    word(pages);
    word(prefixes ? f->first : 1);
    word(prefixes ? f->last : 0);
    for (int16_t code : f->base)
        word(code);
    for (int c = f->first; prefixes && c <= f->last; ++c)
        if (const int16_t* page = f->pageOf[c - f->first])
            for (int i = 0; i < 256; ++i)
                word(page[i]);
    for (int c = 0; prefixes && c <= f->last; ++c)
        bytes += static_cast<char>(c >= f->first && f->pageOf[c - f->first] ? 1 : 0);
    // Written beside the file and renamed over it: a failure keeps the old file.
    std::string temp = std::string(path) + ".tmp";
    HANDLE h = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return 2001;
    DWORD written = 0;
    bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size() && FlushFileBuffers(h);
    ok = CloseHandle(h) && ok;
    if (ok)
        ok = MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok)
        DeleteFileA(temp.c_str());
    return ok ? 0 : 2001;
}
