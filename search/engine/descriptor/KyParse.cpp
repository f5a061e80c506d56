// The descriptor parser's entry: the entity prolog, the tag and attribute
// table, value conversions and the element text of each content state.
#include "search/engine/descriptor/KyParse.h"

#include <strings.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/procedural/AError.h"
#include "base/procedural/Assoc.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyPath.h"
#include "base/procedural/KyString.h"
#include "base/procedural/Trace.h"
#include "search/engine/descriptor/AssocValue.h"
#include "search/engine/descriptor/KyParseInternal.h"
#include "search/engine/descriptor/SgmlLib.h"
#include "search/engine/descriptor/StringPut.h"

namespace {

KySgmVarCallback g_varCallback = nullptr;

// Attribute tables, in the order the handlers receive the values.
#define FILE_ATTRIBUTES                                                                 \
    {"priority", "1", nullptr}, {"iscrypt", "N", nullptr}, {"nbcache", "1", nullptr}, { \
        "sizecache", "2048", nullptr                                                    \
    }
#define REQ_ATTRIBUTES                                                                                                \
    {"direct", nullptr, nullptr}, {"indirect", nullptr, nullptr}, {"lexdir", nullptr, nullptr},                       \
        {"lexind", nullptr, nullptr}, {"bloc", "norm", nullptr}, {"date", "N", nullptr}, {"prox", "N", nullptr},      \
        {"thes", "N", nullptr}, {"opdef", "AND", nullptr}, {"lexsec", nullptr, nullptr}, {"minkey", "0", nullptr},    \
        {"norecup", "N", nullptr}, {"noscore", "Y", nullptr}, {"poids", "0", nullptr}, {"proxdef", nullptr, nullptr}, \
        {"dirlist", nullptr, nullptr}, {"indlist", nullptr, nullptr}, {                                               \
        "nosearch", "N", nullptr                                                                                      \
    }

SgmlAttribute aKydesc[] = {{"name", nullptr, nullptr}, {"connect", "N", nullptr}};
SgmlAttribute aPath[] = {{"id", nullptr, nullptr},   {"type", "rel", nullptr},   {"key", nullptr, nullptr},
                         {"root", nullptr, nullptr}, {"tocreate", "N", nullptr}, {"mountable", "N", nullptr}};
SgmlAttribute aSubpath[] = {{"id", nullptr, nullptr}};
SgmlAttribute aGroup[] = {FILE_ATTRIBUTES, {"path", nullptr, nullptr}, {"subpath", nullptr, nullptr}};
SgmlAttribute aFilter[] = {{"id", nullptr, nullptr}, {"path", nullptr, nullptr}, {"subpath", nullptr, nullptr}};
SgmlAttribute aThes[] = {{"id", nullptr, nullptr}, {"nbdoc", "140000", nullptr}, {"flt", nullptr, nullptr},
                         FILE_ATTRIBUTES,          {"path", nullptr, nullptr},   {"subpath", nullptr, nullptr}};
SgmlAttribute aStp[] = {{"id", nullptr, nullptr},        FILE_ATTRIBUTES,
                        {"path", nullptr, nullptr},      {"subpath", nullptr, nullptr},
                        {"filterkey", nullptr, nullptr}, {"fltkey", nullptr, nullptr}};
SgmlAttribute aPlatform[] = {{"plat", nullptr, nullptr}, {"path", nullptr, nullptr}, {"subpath", nullptr, nullptr}};
SgmlAttribute aBase[] = {{"id", nullptr, nullptr},   {"nbSupports", "1", nullptr}, {"nbSuppRech", "1", nullptr},
                         {"order", "norm", nullptr}, {"consOrder", "", nullptr},   {"clean", "usr", nullptr}};
SgmlAttribute aSupport[] = {{"num", nullptr, nullptr},      FILE_ATTRIBUTES,          {"path", nullptr, nullptr},
                            {"firstdoc", "-1", nullptr},    {"nbdoc", "-1", nullptr}, {"where", "off", nullptr},
                            {"reqfilter", nullptr, nullptr}};
SgmlAttribute aConnect[] = {{"serveur", nullptr, nullptr}, {"script", nullptr, nullptr}};
SgmlAttribute aDb[] = {{"id", nullptr, nullptr},
                       {"compression", "NONE", nullptr},
                       {"medium", "TXT", nullptr},
                       {"filter", nullptr, nullptr},
                       {"adjust", "0", nullptr},
                       {"access", "norm", nullptr},
                       FILE_ATTRIBUTES,
                       {"subpath", nullptr, nullptr},
                       {"path", nullptr, nullptr},
                       {"clean", "usr", nullptr},
                       {"realdb", nullptr, nullptr},
                       {"nodb", "N", nullptr},
                       {"live", "N", nullptr},
                       {"posit", nullptr, nullptr}};
SgmlAttribute aSubdb[] = {{"db", nullptr, nullptr},
                          {"compression", "NONE", nullptr},
                          {"medium", "TXT", nullptr},
                          {"filter", nullptr, nullptr},
                          {"adjust", "0", nullptr},
                          {"access", "norm", nullptr},
                          FILE_ATTRIBUTES,
                          {"subpath", nullptr, nullptr},
                          {"path", nullptr, nullptr},
                          {"tabcor", "N", nullptr},
                          {"clean", "usr", nullptr},
                          {"exist", "Y", nullptr}};
SgmlAttribute aHdg[] = {{"db", "NONE", nullptr}, {"docdb", nullptr, nullptr}};
SgmlAttribute aIdx[] = {{"id", nullptr, nullptr},      {"typeidx", "direct", nullptr}, {"prox", "NOPROX", nullptr},
                        {"dup", "Y", nullptr},         {"nbdoc", "140000", nullptr},   FILE_ATTRIBUTES,
                        {"subpath", nullptr, nullptr}, {"path", nullptr, nullptr},     {"poids", "0", nullptr}};
SgmlAttribute aSubidx[] = {{"idx", nullptr, nullptr},     {"nbdoc", "140000", nullptr}, FILE_ATTRIBUTES,
                           {"subpath", nullptr, nullptr}, {"path", nullptr, nullptr},   {"poids", "0", nullptr}};
SgmlAttribute aLexabp[] = {{"prox", "NOPROX", nullptr},  {"dup", "Y", nullptr},
                           {"nbdoc", "140000", nullptr}, FILE_ATTRIBUTES,
                           {"path", nullptr, nullptr},   {"subpath", nullptr, nullptr}};
SgmlAttribute aLexhdg[] = {{"compression", "NONE", nullptr},
                           {"format", "TXT", nullptr},
                           {"filter", nullptr, nullptr},
                           {"adjust", "0", nullptr},
                           FILE_ATTRIBUTES,
                           {"path", nullptr, nullptr},
                           {"subpath", nullptr, nullptr}};
SgmlAttribute aLinkinfo[] = {{"id", nullptr, nullptr},
                             {"nbbases", nullptr, nullptr},
                             {"nbbitsDoc", nullptr, nullptr},
                             {"nbBitsInfo", "0", nullptr},
                             FILE_ATTRIBUTES,
                             {"path", nullptr, nullptr},
                             {"subpath", nullptr, nullptr}};
SgmlAttribute aLinkbase[] = {{"base", nullptr, nullptr}, {"num", nullptr, nullptr}};
SgmlAttribute aReqDefaults[] = {REQ_ATTRIBUTES};
SgmlAttribute aReq[] = {{"num", nullptr, nullptr}, REQ_ATTRIBUTES};
SgmlAttribute aForm[] = {
    {"id", nullptr, nullptr}, {"nbReq", nullptr, nullptr}, {"netlim", "10000", nullptr}, {"live", "N", nullptr}};
SgmlAttribute aFormDefaults[] = {
    {"thes", nullptr, nullptr}, {"stp", nullptr, nullptr}, {"stpflt", nullptr, nullptr}, {"keyflt", nullptr, nullptr}};
SgmlAttribute aPrefix[] = {{"direct", nullptr, nullptr}, {"indirect", nullptr, nullptr}};
SgmlAttribute aStr[] = {{"id", nullptr, nullptr}};

void ExtElement(void* user, int start, int slot) {
    SetState(Desc(user, "extTagFun"), start ? slot : -1);
}
#define EXT_HANDLER(n)                                                    \
    void ext##n##TagFun(void* user, int start, const char* const*, int) { \
        ExtElement(user, start, n);                                       \
    }
EXT_HANDLER(0)
EXT_HANDLER(1)
EXT_HANDLER(2)
EXT_HANDLER(3)
EXT_HANDLER(4)
EXT_HANDLER(5)
EXT_HANDLER(6)
EXT_HANDLER(7)
EXT_HANDLER(8)
EXT_HANDLER(9)
EXT_HANDLER(10)
EXT_HANDLER(11)
EXT_HANDLER(12)
EXT_HANDLER(13)

#define TAG(name, handler, attributes) \
    { name, handler, attributes, sizeof attributes / sizeof attributes[0], 0, 0, 0, 0 }
#define TAG0(name, handler) \
    { name, handler, nullptr, 0, 0, 0, 0, 0 }

// The descriptor's 59 tags; the reader sorts them.
const SgmlTag kTags[] = {
    TAG("KYDesc", kydescTagFun, aKydesc),
    TAG0("pathinfo", pathinfoTagFun),
    TAG("path", pathTagFun, aPath),
    TAG("subpath", subpathTagFun, aSubpath),
    TAG0("extinfo", extinfoTagFun),
    TAG0("extabp", ext0TagFun),
    TAG0("extfmt", ext1TagFun),
    TAG0("extfmtcat", ext2TagFun),
    TAG0("extfmtucat", ext3TagFun),
    TAG0("exthdg", ext4TagFun),
    TAG0("exthdgcat", ext5TagFun),
    TAG0("exthdgucat", ext6TagFun),
    TAG0("extlex", ext7TagFun),
    TAG0("extlexcat", ext8TagFun),
    TAG0("extlexucat", ext9TagFun),
    TAG0("extflt", ext10TagFun),
    TAG0("extfilter", ext11TagFun),
    TAG0("extstp", ext12TagFun),
    TAG0("exttabcor", ext13TagFun),
    TAG("resource", resourceTagFun, aGroup),
    TAG("general", generalTagFun, aGroup),
    TAG("data", dataTagFun, aGroup),
    TAG("index", indexTagFun, aGroup),
    TAG("flt", fltTagFun, aFilter),
    TAG("filter", filterTagFun, aFilter),
    TAG("thes", thesTagFun, aThes),
    TAG0("thesabp", noTagFun),
    TAG("stp", stpTagFun, aStp),
    TAG("lex", lexTagFun, aStp),
    TAG("userdata", userdataTagFun, aStp),
    TAG("platform", platformTagFun, aPlatform),
    TAG0("common", commonTagFun),
    TAG("base", baseTagFun, aBase),
    TAG("support", supportTagFun, aSupport),
    TAG("connect", connectTagFun, aConnect),
    TAG("db", dbTagFun, aDb),
    TAG("subdb", subdbTagFun, aSubdb),
    TAG("hdg", hdgTagFun, aHdg),
    TAG("idx", idxTagFun, aIdx),
    TAG("subidx", subidxTagFun, aSubidx),
    TAG("lexabp", lexabpTagFun, aLexabp),
    TAG("linkabp", linkabpTagFun, aLexabp),
    TAG("lexhdg", lexhdgTagFun, aLexhdg),
    TAG("linkinfo", linkinfoTagFun, aLinkinfo),
    {"linkbase", linkbaseTagFun, aLinkbase, 2, kSgmlEmpty, 0, 0, 0},
    TAG("linkbits", linkbitsTagFun, aGroup),
    TAG0("mapping", mappingTagFun),
    TAG("reqDefaults", reqDefaultsTagFun, aReqDefaults),
    TAG("req", reqTagFun, aReq),
    TAG("form", formTagFun, aForm),
    TAG("formDefaults", formDefaultsTagFun, aFormDefaults),
    {"prefix", prefixTagFun, aPrefix, 2, kSgmlEmpty, 0, 0, 0},
    TAG0("op", opTagFun),
    TAG0("proxop", proxopTagFun),
    TAG0("dateop", dateopTagFun),
    TAG0("sep", sepTagFun),
    TAG0("hisep", hisepTagFun),
    TAG0("userstr", userstrTagFun),
    TAG("str", strTagFun, aStr),
};
const int kTagCount = sizeof kTags / sizeof kTags[0];
static_assert(kTagCount == 59, "the descriptor language has 59 tags");

const char* const kBuiltIns[][2] = {
    {"sup", ">"}, {"inf", "<"},  {"ampersand", "&"}, {"semicolon", ";"}, {"nl", "\n"},
    {"cr", "\r"}, {"tab", "\t"}, {"bs", "\b"},       {"binsec", "\xA0"},
};

void AddEntity(KyDescriptor* d, const char* name, const char* value) {
    if (d->entityCount == d->entityCapacity) {
        // More declarations than START announced: the table grows.
        int32_t capacity = d->entityCapacity ? d->entityCapacity * 2 : 16;
        void* grown = KY_Realloc(d->entities, sizeof(SgmlEntity) * static_cast<size_t>(capacity));
        if (!grown)
            ParseFail(kKyParseErrMemory, "SgmlEntity");
        d->entities = static_cast<SgmlEntity*>(grown);
        d->entityCapacity = capacity;
    }
    SgmlEntity& e = d->entities[d->entityCount];
    e.name = ParseDup(name, "SgmlEntity");
    e.value = nullptr;
    e.uses = 0;
    ++d->entityCount;
    e.value = ParseDup(value, "SgmlEntity");
}

const long kMaxReserved = 100000;  // entities reserved ahead; more grow the table

void Reserve(KyDescriptor* d, long wanted) {
    if (wanted <= d->entityCapacity || wanted > kMaxReserved)
        return;
    void* grown = KY_Realloc(d->entities, sizeof(SgmlEntity) * static_cast<size_t>(wanted));
    if (!grown)
        ParseFail(kKyParseErrMemory, "SgmlEntity");
    d->entities = static_cast<SgmlEntity*>(grown);
    d->entityCapacity = static_cast<int32_t>(wanted);
}

void EnsureBuiltIns(KyDescriptor* d) {
    if (d->entities)
        return;
    Reserve(d, 10);
    for (const auto& b : kBuiltIns)
        AddEntity(d, b[0], b[1]);
}

// The next word of a prolog line: up to a blank, a tab or the end.
const char* Word(const char*& p, char* out, size_t size) {
    while (*p == ' ' || *p == '\t')
        ++p;
    size_t n = 0;
    while (*p && *p != ' ' && *p != '\t') {
        if (n + 1 < size)
            out[n++] = *p;
        ++p;
    }
    out[n] = 0;
    return out;
}

void EntityLine(KyDescriptor* d, const char* line) {
    const char* p = line + std::strlen("<!ENTITY");
    char name[kKyPrologLine];
    char value[kKyPrologLine];
    Word(p, name, sizeof name);
    Word(p, value, sizeof value);
    if (strcasecmp(name, "START") == 0) {
        EnsureBuiltIns(d);
        // Only a hint of the table's size: a value out of range is passed over,
        // and checked before the sum that would overflow a 32-bit long.
        long n = std::strtol(value, nullptr, 10);
        if (n > 0 && n <= kMaxReserved)
            Reserve(d, d->entityCount + n + 1);
        return;
    }
    if (strcasecmp(name, "END") == 0)
        return;
    EnsureBuiltIns(d);
    const char* v = value;
    if (std::strcmp(value, "\"\"") == 0) {
        v = "";
    } else if (strcasecmp(value, "ASK") == 0) {
        if (!g_varCallback)
            ParseFailText(kKyParseErrPrologVar, "Missing SgmVar callBack");
        v = g_varCallback(name);
        if (!v)
            ParseFailText(kKyParseErrPrologVar, "No Value for Sgm Var: %s", name);
    }
    AddEntity(d, name, v);
}

// Reads one line (without its line feed) into line; false at the end of input.
bool ReadLine(KY_File* f, KY_String* line) {
    KY_StringSet(line, "");
    int c = KY_FGetc(f);
    if (c < 0)
        return false;
    for (; c >= 0 && c != '\n'; c = KY_FGetc(f)) {
        if (!StringPut(line, static_cast<char>(c)))
            ParseFail(kKyParseErrMemory, "KY_ParseDescriptor");
    }
    return true;
}

// Reads the prolog; answers the offset of the first markup line.
long ReadProlog(KyDescriptor* d, KY_File* f) {
    KY_String line;
    KY_InitString(&line, 0, "");
    long offset = 0;
    bool inComment = false;
    struct Free {
        KY_String* s;
        ~Free() { KY_FreeString(s); }
    } guard{&line};
    for (;;) {
        long start = offset;
        if (!ReadLine(f, &line))
            return start;
        offset += static_cast<long>(line.length) + 1;
        const char* t = line.text;
        if (inComment) {
            if (std::strncmp(t, "-->", 3) == 0)
                inComment = false;
            continue;
        }
        if (t[0] == '\r' || t[0] == 0)
            continue;
        if (std::strncmp(t, "<!--", 4) == 0) {
            inComment = std::strstr(t + 4, "-->") == nullptr;
            continue;
        }
        if (std::strncmp(t, "<!ENTITY", 8) != 0)
            return start;
        // The line buffer holds 127 characters and its line feed.
        size_t length = line.length;
        if (length > 0 && t[length - 1] == '\r')
            --length;
        if (length >= static_cast<size_t>(kKyPrologLine) - 1)
            ParseFailText(kKyParseErrPrologVar, "Prolog line too long: %.40s", t);
        char copy[kKyPrologLine];
        std::memcpy(copy, t, length);
        copy[length] = 0;
        EntityLine(d, copy);
    }
}

}  // namespace

void ParseFail(int32_t code, const char* routine) {
    ParseFailText(code, "KyParse Error no %d in %s", code, routine);
}

void ParseFailText(int32_t code, const char* format, ...) {
    char message[kEngineErrorTextSize];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof message, format, args);
    va_end(args);
    TraceLevel(0, "%s\n", message);
    KY_SetEngineErrorText(message);
    throw SgmlError{code};
}

void* ParseAlloc(size_t size, const char* routine) {
    void* p = KY_Calloc(1, size);
    if (!p)
        ParseFail(kKyParseErrMemory, routine);
    return p;
}

char* ParseDup(const char* text, const char* routine) {
    if (!text)
        return nullptr;
    size_t n = std::strlen(text);
    char* copy = static_cast<char*>(KY_Malloc(n + 1));
    if (!copy)
        ParseFail(kKyParseErrMemory, routine);
    std::memcpy(copy, text, n + 1);
    return copy;
}

void ParseSet(char** slot, const char* text, const char* routine) {
    char* copy = ParseDup(text, routine);
    KY_Free(*slot);
    *slot = copy;
}

void ParseEnter(KY_Assoc** table, const char* key, void* value, const char* routine) {
    if (!AssocEnter(table, key, value))
        ParseFail(kKyParseErrMemory, routine);
}

void* ParseFind(const KY_Assoc* table, const char* key) {
    return AssocValue(table, key);
}

bool Written(const char* value) {
    return SgmlValueWritten(value);
}

int32_t ParseNumber(const char* value) {
    if (!value)
        return 0;
    errno = 0;
    long n = std::strtol(value, nullptr, 10);
    if (n > INT32_MAX)
        return INT32_MAX;
    if (n < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(n);
}

int8_t ParseFlag(const char* value) {
    if (!value)
        return 0;
    int c = std::toupper(static_cast<unsigned char>(value[0]));
    return c == 'Y' || c == 'O';
}

int32_t ParseKeyword(const char* value, const KyKeyword* list, int count) {
    char upper[64];
    size_t n = 0;
    const char* v = value ? value : "";
    for (; v[n] && n + 1 < sizeof upper; ++n)
        upper[n] = static_cast<char>(std::toupper(static_cast<unsigned char>(v[n])));
    upper[n] = 0;
    if (!v[n])
        for (int i = 0; i < count; ++i)
            if (std::strncmp(list[i].name, upper, n) == 0)
                return list[i].value;
    char message[kEngineErrorTextSize];
    int used = std::snprintf(message, sizeof message, "ParsGetCompCharInt %s <>", upper);
    for (int i = 0; i < count && used > 0 && used < static_cast<int>(sizeof message); ++i)
        used += std::snprintf(message + used, sizeof message - static_cast<size_t>(used), "%s,", list[i].name);
    ParseFailText(kKyParseErrMissing, "%s", message);
}

const KyKeyword kKwProx[4] = {{"NOPROX", 0}, {"PROXW", 1}, {"PROXP", 2}, {"PROXS", 3}};
const KyKeyword kKwOpdef[6] = {{"AND", 1}, {"ET", 1}, {"OR", 2}, {"OU", 2}, {"NOT", 3}, {"SAUF", 3}};
const KyKeyword kKwMedium[9] = {{"TXT", 0}, {"USR", 1}, {"CHM", 2}, {"HYM", 3}, {"AVI", 4},
                                {"PCT", 5}, {"BMP", 6}, {"MOV", 7}, {"WAV", 8}};
const KyKeyword kKwFormat[3] = {{"TXT", 0}, {"USR", 1}, {"CHM", 2}};
const KyKeyword kKwPathType[4] = {{"REL", 0}, {"INI", 2}, {"SGN", 1}, {"DBG", 3}};
const KyKeyword kKwTypeIdx[2] = {{"DIRECT", 0}, {"INDIRECT", 1}};
const KyKeyword kKwWhere[4] = {{"OFF", 0}, {"NET", 1}, {"OFFNET", 2}, {"UPDATE", 3}};
const KyKeyword kKwBloc[3] = {{"NORM", 0}, {"BEG", 1}, {"END", 2}};
const KyKeyword kKwOrder[2] = {{"NORM", 1}, {"INV", 0}};
const KyKeyword kKwAccess[2] = {{"NORM", 0}, {"BYMASK", 1}};
const KyKeyword kKwClean[4] = {{"USR", 0}, {"SESSION", 1}, {"BASE", 2}, {"EXEC", 3}};
const KyKeyword kKwCompression[5] = {{"NONE", 0}, {"TEXT", 1}, {"GRAPH", 3}, {"SON", 2}, {"BIN", 4}};

KyFileSettings DefaultSettings() {
    KyFileSettings s{};
    s.priority = 1;
    s.nbcache = 1;
    s.sizecache = 2048;
    return s;
}

KyPathVar* LookupPath(KyDescriptor* d, const char* value, bool sub, const char* routine) {
    if (!Written(value))
        return nullptr;
    KyPathTable* table = sub ? d->subpaths : d->paths;
    if (!table)
        ParseFail(kKyParseErrMissing, routine);
    KyPathVar* p = static_cast<KyPathVar*>(ParseFind(table->byName, value));
    if (!p)
        ParseFail(kKyParseErrUndeclared, routine);
    return p;
}

KyFileSettings Inherit(KyDescriptor* d, const KyFileSettings& group, const SettingValues& v, const char* routine) {
    KyFileSettings s = group;
    s.name = nullptr;
    if (Written(v.priority))
        s.priority = ParseNumber(v.priority);
    if (Written(v.crypt))
        s.crypt = ParseFlag(v.crypt);
    if (Written(v.nbcache))
        s.nbcache = ParseNumber(v.nbcache);
    if (Written(v.sizecache))
        s.sizecache = ParseNumber(v.sizecache);
    if (Written(v.path))
        s.path = LookupPath(d, v.path, false, routine);
    if (Written(v.subpath))
        s.subpath = LookupPath(d, v.subpath, true, routine);
    return s;
}

KyDescriptor* Desc(void* user, const char* routine) {
    if (!user)
        ParseFail(kKyParseErrMissing, routine);
    return static_cast<KyDescriptor*>(user);
}

void SetState(KyDescriptor* d, int32_t state) {
    d->state = state;
}

// ":" becomes "\" and then "|" becomes ":"; longer than 259 characters is refused.
void SetPathText(char** slot, const char* text, const char* routine) {
    char path[kKyPathBuffer];
    size_t n = std::strlen(text);
    if (n >= sizeof path)
        ParseFail(kKyParseErrMemory, routine);
    for (size_t i = 0; i <= n; ++i)
        path[i] = text[i] == ':' ? '\\' : text[i] == '|' ? ':' : text[i];
    ParseSet(slot, path, routine);
}

void ProcessContent(void* user, const char* text) {
    KyDescriptor* d = Desc(user, "processContent");
    int32_t s = d->state;
    if (s >= 0 && s < kKyExtensionSlots) {
        if (!d->extensions || std::strlen(text) > 3)
            ParseFail(kKyParseErrMemory, "processContent-EXT");
        ParseSet(&d->extensions[s], text, "processContent-EXT");
        return;
    }
    KyForm* form = d->curForm;
    // The slot of the record being built that takes the text, or null.
    char** slot = nullptr;
    const char* routine = "processContent";
    auto target = [&](char** field, const char* mark) {
        slot = field;
        routine = mark;
    };
    switch (s) {
        case 100:
            target(d->curLex && d->curLex->abp ? &d->curLex->abp->settings.name : nullptr, "processContent-LEXABP");
            break;
        case 101:
            target(d->curLex && d->curLex->hdg ? &d->curLex->hdg->settings.name : nullptr, "processContent-LEXHDG");
            break;
        case 102:
        case 103:
            if (d->curPath)
                SetPathText(&d->curPath->value, text, s == 102 ? "processContent-PATH" : "processContent-SUBPATH");
            return;
        case 104:
        case 105:
            target(d->curPlatform ? &d->curPlatform->name : nullptr, "processContent-FLT");
            break;
        case 106:
            target(d->curThes ? &d->curThes->settings.name : nullptr, "processContent-THES");
            break;
        case 107:
            target(d->curStp ? &d->curStp->settings.name : nullptr, "processContent-STP");
            break;
        case 128:
            target(d->curUserData ? &d->curUserData->settings.name : nullptr, "processContent-USERDATA");
            break;
        case 108:
            target(d->curIndex && d->curIndex->records ? &d->curIndex->records[0].settings.name : nullptr,
                   "processContent-IDX");
            break;
        case 109:
            target(d->curData && d->curData->records ? &d->curData->records[0].settings.name : nullptr,
                   "processContent-DB");
            break;
        case 110:
        case 122:
            target(form ? &form->op : nullptr, "processContent-OP");
            break;
        case 111:
        case 123:
            target(form ? &form->proxop : nullptr, "processContent-PROXOP");
            break;
        case 112:
        case 124:
            target(form ? &form->dateop : nullptr, "processContent-OP");
            break;
        case 113:
        case 126:
        case 114:
        case 125: {
            bool sep = s == 113 || s == 126;
            const char* mark = sep ? "processContent-SEP" : "processContent-HISEP";
            if (!form)
                return;
            for (uint16_t i = 0; i < form->fieldCount; ++i) {
                KyField* f = &form->fields[i];
                if (d->curField && f != d->curField)
                    continue;
                ParseSet(sep ? &f->sep : &f->hisep, text, mark);
            }
            return;
        }
        case 115:
            target(d->curSubData ? &d->curSubData->settings.name : nullptr, "processContent-SUBDB");
            break;
        case 116:
            target(d->curSubIndex ? &d->curSubIndex->settings.name : nullptr, "processContent-SUBIDX");
            break;
        case 120:
            target(d->curLink ? &d->curLink->bits.name : nullptr, "processContent-LINKBITS");
            break;
        case 121:
            target(d->curLink ? &d->curLink->abp.name : nullptr, "processContent-LINKABP");
            break;
        case 127:
            if (d->userStrings && d->curString) {
                KY_AssocEntry* e = KY_FindAssoc(d->userStrings, d->curString);
                char* value = ParseDup(text, "processContent-STR");
                if (e) {
                    KY_Free(e->value);
                    e->value = value;
                } else if (AddAssoc(d->userStrings, d->curString, value) == 0) {
                    KY_Free(value);
                    ParseFail(kKyParseErrMemory, "processContent-STR");
                }
            }
            return;
        default:
            return;
    }
    if (slot)
        ParseSet(slot, text, routine);
}

void ParseMappingLine(KyDescriptor*, const char* markup) {
    int code = SgmlFeedLine(markup);
    if (code != 0)
        throw SgmlError{code};
}

KySgmVarCallback KY_SetSgmVarCallback(KySgmVarCallback callback) {
    KySgmVarCallback previous = g_varCallback;
    g_varCallback = callback;
    return previous;
}

const char* KY_DescriptorEntity(const KyDescriptor* desc, const char* name) {
    if (!desc || !name)
        return nullptr;
    for (int32_t i = 0; i < desc->entityCount; ++i)
        if (std::strcmp(desc->entities[i].name, name) == 0)
            return desc->entities[i].value;
    return nullptr;
}

int KY_ParseDescriptor(const KY_OpenSpec* spec, KyDescriptor** out) {
    if (!out)
        return kKyParseErrMissing;
    *out = nullptr;
    KyDescriptor* d = static_cast<KyDescriptor*>(KY_Calloc(1, sizeof(KyDescriptor)));
    if (!d) {
        KY_SetEngineErrorText("KyParse Error no 110 in KY_ParseDescriptor");
        return kKyParseErrMemory;
    }
    d->state = -1;
    d->curSupport = -1;
    // Reading opens lazily: a missing file would only read as an empty one.
    // The reader takes a character at a time: through a cache, not a system call each.
    KY_OpenSpec cached;
    KY_ClearOpenSpec(&cached);
    KY_File* f = nullptr;
    if (spec && KY_FileExists(&spec->path) && KY_CopyOpenSpec(spec, &cached) == 0 &&
        KY_SetOpenSpecParams(-1, 1, 4096, 4, (spec->flags & kOpenScrambled) != 0, &cached) == 0)
        f = KY_FOpen(&cached, "rb");
    KY_FreeOpenSpec(&cached);
    if (!f) {
        KY_SetEngineErrorText(spec && spec->path.text ? spec->path.text : "");
        KY_FreeDescriptor(d);
        return kFileErrOpen;
    }
    int code = 0;
    SgmlTag tags[kTagCount];
    std::memcpy(tags, kTags, sizeof tags);
    try {
        long markup = ReadProlog(d, f);
        EnsureBuiltIns(d);
        if (KY_FSeek(f, markup, 0) != markup)
            ParseFailText(kFileErrIO, "%s", spec->path.text ? spec->path.text : "");
        SgmlEntityTable entities{d->entities, d->entityCount, kSgmlEntityCaseSensitive};
        SgmlParser parser{};
        parser.tags = tags;
        parser.tagCount = kTagCount;
        parser.text = ProcessContent;
        parser.lineSize = 1000;
        parser.options = kSgmlSorted | kSgmlDropBlankText;
        parser.entities = &entities;
        code = SgmlInit(f, &parser, d);
    } catch (const SgmlError& e) {
        code = e.code;
    } catch (const AError&) {
        KY_SetEngineErrorText("KyParse Error no 110 in KY_ParseDescriptor");
        code = kKyParseErrMemory;
    }
    KY_FClose(f);
    if (code != 0) {
        KY_FreeDescriptor(d);
        return code;
    }
    *out = d;
    return 0;
}
