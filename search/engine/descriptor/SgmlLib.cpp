// The SGML parsing library: token reader, entity replacement, tag lookup,
// attribute matching and handler dispatch.
#include "search/engine/descriptor/SgmlLib.h"

#include <strings.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/procedural/AError.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyRegExp.h"
#include "base/procedural/KyString.h"
#include "base/procedural/Trace.h"
#include "search/engine/common/KySort.h"
#include "search/engine/descriptor/StringPut.h"

namespace {

// The parse in progress; a nested parse saves and restores it.
struct ParseState {
    SgmlParser* parser = nullptr;
    void* user = nullptr;
    const char* input = "";
    long lineNumber = 0;
    const char* line = nullptr;  // the token being dispatched
    size_t lineLength = 0;
    int pushed = -1;  // a byte given back to the input: not every stream can take one back
};

ParseState g_state;
int g_entityUses = 0;
KY_RegExp* g_entityPattern = nullptr;

int CompareCase(const char* a, const char* b) {
    return std::strcmp(a, b);
}

int CompareNoCase(const char* a, const char* b) {
    return strcasecmp(a, b);
}

int (*g_sortCompare)(const char*, const char*) = CompareNoCase;

int CompareTags(const void* a, const void* b) {
    return g_sortCompare(static_cast<const SgmlTag*>(a)->name, static_cast<const SgmlTag*>(b)->name);
}

int CompareEntities(const void* a, const void* b) {
    return g_sortCompare(static_cast<const SgmlEntity*>(a)->name, static_cast<const SgmlEntity*>(b)->name);
}

// Traces a library message and the input's place; the message stays in out.
void VReport(int level, char (&out)[300], const char* format, va_list args) {
    vsnprintf(out, sizeof out, format, args);
    TraceLevel(level, "%s", out);
    TraceLevel(level, "Warning %s %ld: ParseLib message\n", g_state.input, g_state.lineNumber);
}

void Report(int level, const char* format, ...) {
    char message[300];
    va_list args;
    va_start(args, format);
    VReport(level, message, format, args);
    va_end(args);
}

int Get(KY_File* stream) {
    int c = g_state.pushed;
    if (c >= 0) {
        g_state.pushed = -1;
        return c;
    }
    return KY_FGetc(stream);
}

void Unget(int c) {
    g_state.pushed = c;
}

bool IsBlankOnly(const char* text) {
    for (; *text; ++text)
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r')
            return false;
    return true;
}

// A bracket set of the quotes a value may stand in.
const char* Quotes(const SgmlParser* p) {
    return (p->options & kSgmlSingleQuotes) ? "\"'" : "\"";
}

KY_RegExp* CompileAttribute(const SgmlParser* p, const char* name) {
    char pattern[160];
    const char* q = Quotes(p);
    int n = std::snprintf(pattern, sizeof pattern, " %s=[%s]\\([^%s]*\\)[%s]", name, q, q, q);
    if (n < 0 || n >= static_cast<int>(sizeof pattern))
        return nullptr;
    return KY_RegComp(pattern);
}

void ReleasePatterns(SgmlParser* p) {
    for (int32_t t = 0; t < p->tagCount; ++t)
        for (int32_t a = 0; a < p->tags[t].attributeCount; ++a)
            p->tags[t].attributes[a].pattern = KY_RegFree(p->tags[t].attributes[a].pattern);
    p->general = KY_RegFree(p->general);
}

bool Prepare(SgmlParser* p) {
    if (p->lineSize < kSgmlMinLineSize)
        p->lineSize = kSgmlMinLineSize;
    p->line = KY_NewString(static_cast<uint32_t>(p->lineSize), "");
    if (!p->line)
        return false;
    SgmlSetTagCase(p, p->options);
    if (p->entities)
        SgmlSetNameCase(p->entities, p->entities->flags);
    p->depth = 0;
    p->lastStart = nullptr;
    p->stopCode = 0;
    const char* q = Quotes(p);
    char general[120];
    std::snprintf(general, sizeof general, " \\([_a-zA-Z][_a-zA-Z0-9]*\\)=[%s]\\([^%s]*\\)[%s]", q, q, q);
    p->general = KY_RegComp(general);
    if (!p->general)
        return false;
    for (int32_t t = 0; t < p->tagCount; ++t)
        for (int32_t a = 0; a < p->tags[t].attributeCount; ++a) {
            SgmlAttribute& attribute = p->tags[t].attributes[a];
            if (attribute.pattern)
                continue;  // an attribute table shared by several tags
            attribute.pattern = CompileAttribute(p, attribute.name);
            if (!attribute.pattern)
                return false;
        }
    return true;
}

SgmlTag* FindTag(SgmlParser* p, const char* name) {
    int32_t low = 0;
    int32_t high = p->tagCount - 1;
    while (low <= high) {
        int32_t mid = low + (high - low) / 2;
        int order = p->compare(name, p->tags[mid].name);
        if (order == 0)
            return &p->tags[mid];
        if (order < 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    return nullptr;
}

// The buffer grows by the line size when full.
void Append(const SgmlParser* p, KY_String* s, char c) {
    if (!StringPut(s, c, static_cast<uint32_t>(p->lineSize > 0 ? p->lineSize : kSgmlMinLineSize)))
        SgmlRaise(kSgmlErrMemory, "SgmlGetLine : no memory\n");
}

// Skips a comment after "<" up to the ">" that balances it.
void SkipComment(KY_File* stream, int first) {
    Report(5, "#Skipping %c comments\n", first);
    int depth = 1;
    for (int c = first; c >= 0; c = Get(stream)) {
        if (c == '\n')
            ++g_state.lineNumber;
        if (c == '<')
            ++depth;
        else if (c == '>' && --depth == 0)
            return;
    }
}

// Values of the tag's attributes in table order, cut in place in the line.
int MatchAttributes(SgmlParser* p, SgmlTag* tag, char* attributes, const char** values) {
    long position = 0;
    long start = 0;
    long end = 0;
    while (*attributes && KY_RegExecAt(attributes, position, p->general, &start, &end) == 1) {
        long nameStart = 0;
        long nameEnd = 0;
        KY_RegGroup(1, &nameStart, &nameEnd);
        bool known = false;
        for (int32_t a = 0; a < tag->attributeCount && !known; ++a) {
            const char* name = tag->attributes[a].name;
            known = std::strlen(name) == size_t(nameEnd - nameStart) &&
                    strncasecmp(name, attributes + nameStart, size_t(nameEnd - nameStart)) == 0;
        }
        if (!known) {
            char name[64];
            std::snprintf(name, sizeof name, "%.*s", static_cast<int>(nameEnd - nameStart), attributes + nameStart);
            SgmlRaise(kSgmlErrMarkup, "#Invalid attribute %s\n", name);
        }
        position = end > start ? end : start + 1;
    }
    int32_t count = tag->attributeCount;
    if (count > kSgmlMaxAttributes)
        return 0;
    if (count > kSgmlMaxValues)
        SgmlRaise(kSgmlErrMarkup, "Too much attributes : %d\n", count);
    long ends[kSgmlMaxValues];
    for (int32_t a = 0; a < count; ++a) {
        const SgmlAttribute& attribute = tag->attributes[a];
        ends[a] = -1;
        values[a] = attribute.defaultValue;
        if (*attributes && attribute.pattern && KY_RegExec(attributes, attribute.pattern, &start, &end) == 1) {
            long valueStart = 0;
            KY_RegGroup(1, &valueStart, &ends[a]);
            values[a] = attributes + valueStart;
        }
    }
    // Cut after every match: a terminator written earlier would hide later attributes.
    for (int32_t a = 0; a < count; ++a)
        if (ends[a] >= 0)
            attributes[ends[a]] = 0;
    return count;
}

void DispatchTag(SgmlParser* p, char* token, void* user) {
    char* close = std::strrchr(token, '>');
    *close = 0;
    bool start = token[1] != '/';
    const char* written = token + (start ? 1 : 2);
    // The attribute text keeps its leading blank: each attribute pattern begins with one.
    char* attributes = const_cast<char*>(written) + std::strcspn(written, " \t");
    char name[256];
    std::snprintf(name, sizeof name, "%.*s", static_cast<int>(attributes - written), written);
    static char noAttributes[2] = "";
    SgmlTag* tag = nullptr;
    if (!start && !*name) {
        tag = p->lastStart;
    } else {
        tag = FindTag(p, name);
    }
    if (!tag) {
        if (p->options & kSgmlLenient)
            return;
        if (p->unknownTag) {
            p->unknownTag(user, name);
            return;
        }
        SgmlRaise(kSgmlErrMarkup, "#findTag : tag not found : %s\n", name);
    }
    if (start) {
        ++tag->starts;
        p->lastStart = tag;
    } else {
        ++tag->ends;
    }
    if (p->options & kSgmlCheckCounts) {
        if (!start && tag->ends > tag->starts)
            SgmlRaise(kSgmlErrMarkup, "#too many end tags for %s\n", tag->name);
        if (start && tag->ends != 0 && tag->starts > tag->ends + 1)
            SgmlRaise(kSgmlErrMarkup, "#too many start tags for %s\n", tag->name);
    }
    if ((p->options & kSgmlCheckStack) && tag->empty != kSgmlEmpty) {
        if (start) {
            if (p->depth >= kSgmlStackDepth)
                SgmlRaise(kSgmlErrMarkup, "#Element stack overflow\n");
            p->stack[p->depth++] = tag;
        } else if (p->depth == 0 || p->stack[--p->depth] != tag) {
            SgmlRaise(kSgmlErrMarkup, "#Element bracing mismatch\n");
        }
    }
    if (p->tagSeen)
        p->tagSeen(user, start, tag->name, start ? attributes : noAttributes);
    const char* values[kSgmlMaxValues] = {};
    int count = start ? MatchAttributes(p, tag, attributes, values) : 0;
    if (tag->handler)
        tag->handler(user, start ? 1 : 0, values, count);
}

// Entities replaced, then the token goes to the text callback or its tag.
void Dispatch(SgmlParser* p, KY_String* line, void* user, bool counted) {
    // Text or tag as read: a text whose entities give "<b>c" is still text.
    bool isTag = line->text[0] == '<' && std::strchr(line->text, '>');
    if (p->entities && g_entityPattern) {
        KY_String missing;
        KY_InitString(&missing, 0, "");
        if (!SgmlReplaceEntities(line, g_entityPattern, p->entities, user, &missing)) {
            char name[200];
            std::snprintf(name, sizeof name, "%s", missing.text);
            KY_FreeString(&missing);
            SgmlRaise(kSgmlErrMarkup, "#Entity not found: %s\n", name);
        }
        KY_FreeString(&missing);
    }
    // Restored on every way out, raised errors included.
    struct LineGuard {
        const char* line = g_state.line;
        size_t length = g_state.lineLength;
        ~LineGuard() {
            g_state.line = line;
            g_state.lineLength = length;
        }
    } guard;
    g_state.line = line->text;
    g_state.lineLength = line->length;
    char* token = line->text;
    if (!isTag || token[0] != '<' || !std::strchr(token, '>')) {
        if (counted) {
            ++p->textRuns;
            p->textBytes += static_cast<long>(line->length);
        }
        if (p->text)
            p->text(user, token);
    } else {
        DispatchTag(p, token, user);
    }
}

}  // namespace

void SgmlRaise(int32_t code, const char* format, ...) {
    char message[300];
    va_list args;
    va_start(args, format);
    VReport(0, message, format, args);
    va_end(args);
    size_t n = std::strlen(message);
    if (n > 0 && message[n - 1] == '\n')
        message[n - 1] = 0;
    KY_SetEngineErrorText(message);
    throw SgmlError{code};
}

int32_t SgmlSetTagCase(SgmlParser* parser, int32_t options) {
    int32_t previous = parser->options;
    parser->compare = (options & kSgmlTagCase) ? CompareCase : CompareNoCase;
    g_sortCompare = parser->compare;
    KY_SortArray(parser->tags, static_cast<uint32_t>(parser->tagCount), sizeof(SgmlTag), CompareTags);
    parser->options = options | kSgmlSorted;
    return previous;
}

int32_t SgmlSetNameCase(SgmlEntityTable* table, int32_t flags) {
    int32_t previous = table->flags;
    g_sortCompare = (flags & kSgmlEntityCaseSensitive) ? CompareCase : CompareNoCase;
    KY_SortArray(table->entities, static_cast<uint32_t>(table->count), sizeof(SgmlEntity), CompareEntities);
    table->flags = flags | 0x01;
    for (int32_t i = 0; i < table->count; ++i)
        table->entities[i].uses = 0;
    return previous;
}

int SgmlNewEntityTable() {
    if (g_entityUses++ > 0)
        return 1;
    g_entityPattern = SgmlCompileDelimited('&', ';');
    if (!g_entityPattern) {
        g_entityUses = 0;
        KY_SetEngineErrorText("cannot allocate Entity regexp");
        return 0;
    }
    return 1;
}

void SgmlFreeEntityTable() {
    if (g_entityUses == 0 || --g_entityUses > 0)
        return;
    g_entityPattern = KY_RegFree(g_entityPattern);
}

long SgmlGetLine(SgmlParser* p, KY_File* stream) {
    if (!p || !p->line || !stream)
        return 0;
    KY_String* line = p->line;
    KY_StringSet(line, "");
    bool inTag = false;
    uint32_t capacity = line->capacity;
    for (int c; (c = Get(stream)) >= 0;) {
        if (c == '\n')
            ++g_state.lineNumber;
        if (inTag) {
            if (c == '\t' || c == '\r' || c == '\n')
                c = ' ';
            if (c == '<') {
                if (!(p->options & kSgmlLenient))
                    Report(5, "#Unclosed Tag\n");
                Unget(c);
                c = '>';
            }
            if (c == '>') {
                while (line->length > 0 && line->text[line->length - 1] == ' ')
                    fixStringLen(line, line->length - 1)[line->length] = 0;
                Append(p, line, '>');
                break;
            }
        } else {
            if (c == '\t' || c == '\r')
                continue;
            if (c == '\n') {
                if (!(p->options & kSgmlKeepLineFeeds))
                    continue;
                c = ' ';
            }
            if (c == '>') {
                if (!(p->options & kSgmlLenient))
                    SgmlRaise(kSgmlErrMarkup, "#Extra End Tag\n");
                c = ' ';
            }
            if (c == ' ' && !(p->options & kSgmlKeepBlanks) && line->length > 0 && line->text[line->length - 1] == ' ')
                continue;
            if (c == '<') {
                if (line->length > 0 && !((p->options & kSgmlDropBlankText) && IsBlankOnly(line->text))) {
                    Unget(c);
                    break;
                }
                KY_StringSet(line, "");
                int next = Get(stream);
                if (next != '/' && !std::isalpha(next)) {
                    SkipComment(stream, next);
                    continue;
                }
                Unget(next);
                inTag = true;
            }
        }
        Append(p, line, static_cast<char>(c));
        if (line->capacity > capacity) {
            capacity = line->capacity;
            Report(5, "SgmlGetLine : Buffer extended\n");
        }
    }
    if (!inTag && (p->options & kSgmlDropBlankText) && IsBlankOnly(line->text))
        KY_StringSet(line, "");
    return static_cast<long>(line->length);
}

int SgmlInit(KY_File* stream, SgmlParser* parser, void* user) {
    if (!parser || !stream || (stream->openMode & kModeAccess) == 1)
        return kSgmlErrInternal;
    ParseState saved = g_state;
    g_state = ParseState();
    g_state.parser = parser;
    g_state.user = user;
    g_state.input = stream->spec.path.text ? stream->spec.path.text : "";
    g_state.lineNumber = 1;
    int32_t code = 0;
    bool entities = false;
    try {
        entities = SgmlNewEntityTable() != 0;
        if (!entities || !Prepare(parser)) {
            code = kSgmlErrMemory;
        } else {
            while (parser->stopCode == 0 && SgmlGetLine(parser, stream) > 0)
                Dispatch(parser, parser->line, user, true);
            code = parser->stopCode;
        }
    } catch (const SgmlError& e) {
        code = e.code;
    } catch (const AError&) {
        KY_SetEngineErrorText("SgmlInit : memory exhausted");
        code = kSgmlErrMemory;
    }
    ReleasePatterns(parser);
    parser->line = KY_FreeString(parser->line);
    if (entities)
        SgmlFreeEntityTable();
    g_state = saved;
    return code;
}

int SgmlFeedLine(const char* markup) {
    SgmlParser* p = g_state.parser;
    if (!p || !p->line)
        return kSgmlErrInternal;
    KY_String line;
    KY_InitString(&line, 0, markup ? markup : "");
    int32_t code = 0;
    try {
        Dispatch(p, &line, g_state.user, false);
    } catch (const SgmlError& e) {
        code = e.code;
    }
    KY_FreeString(&line);
    return code;
}

void SgmlStop(int32_t code) {
    if (g_state.parser)
        g_state.parser->stopCode = code;
}

bool SgmlValueWritten(const char* value) {
    return value && g_state.line && value >= g_state.line && value < g_state.line + g_state.lineLength;
}
