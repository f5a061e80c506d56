// A small table-driven reader of SGML-like markup: a client describes its
// language by a sorted tag table with attribute defaults, an entity table and
// a text callback; the reader cuts the input into text runs and tags, replaces
// entity references and calls the handlers.
//
// Errors of the markup never end the process: the message is traced, copied
// (without its line feed) into KY_EngineErrorText and the parse stops with a
// code that SgmlInit answers.
#pragma once

#include <cstdint>

#include "base/procedural/SgmlEntity.h"

struct KY_File;
struct KY_RegExp;
struct KY_String;

// Options of a parser definition.
enum : int32_t {
    kSgmlSorted = 0x01,         // the tag table is sorted in the comparator's order
    kSgmlTagCase = 0x02,        // tag names compared with regard to case
    kSgmlKeepLineFeeds = 0x04,  // line feeds kept in text, as blanks
    kSgmlCheckCounts = 0x08,    // start and end tag counts checked
    kSgmlCheckStack = 0x10,     // element stack checked
    kSgmlKeepBlanks = 0x20,     // runs of blanks kept, otherwise collapsed to one
    kSgmlDropBlankText = 0x40,  // text made only of blanks, tabs and line breaks dropped
    kSgmlSingleQuotes = 0x80,   // attribute values in single or double quotes
    kSgmlLenient = 0x100,       // unknown tags ignored, a stray ">" a blank, an unclosed tag unreported
};

// Codes of a stopped parse.
enum : int32_t {
    kSgmlErrMemory = 110,     // the definition cannot be prepared, or memory ran out
    kSgmlErrMarkup = 1300,    // a raised markup error; its text in KY_EngineErrorText
    kSgmlErrInternal = 1310,  // null definition, no line buffer, or a stream not open for reading
};

const int kSgmlMaxValues = 19;      // values a handler receives at most
const int kSgmlMaxAttributes = 30;  // a tag with more gets none matched
const int kSgmlStackDepth = 32;
const int32_t kSgmlMinLineSize = 1000;

struct SgmlAttribute {
    const char* name;          // not owned
    const char* defaultValue;  // not owned; null: none
    KY_RegExp* pattern;        // owned by the parse in progress, null outside it
};

// Receives the start flag (1 start tag, 0 end tag) and, for a start tag, one
// value per attribute of the table in order: a pointer into the current line
// when written (SgmlValueWritten), the default, or null.
typedef void (*SgmlHandler)(void* user, int start, const char* const* values, int count);

// Mark of an element without end tag.
const int32_t kSgmlEmpty = 1;

struct SgmlTag {
    const char* name;           // not owned
    SgmlHandler handler;        // or null
    SgmlAttribute* attributes;  // not owned; attributeCount entries
    int32_t attributeCount;
    int32_t empty;  // kSgmlEmpty or 0
    int32_t starts;
    int32_t ends;
    long bytes;
};

struct SgmlParser {
    SgmlTag* tags;  // not owned; tagCount entries, sorted by SgmlSetTagCase
    int32_t tagCount;
    void (*text)(void* user, const char* text);                                        // or null
    int32_t lineSize;                                                                  // raised to kSgmlMinLineSize
    int32_t options;                                                                   // kSgml*
    SgmlEntityTable* entities;                                                         // not owned, or null
    void (*tagSeen)(void* user, int start, const char* name, const char* attributes);  // or null
    void (*unknownTag)(void* user, const char* name);                                  // or null
    int (*compare)(const char* a, const char* b);                                      // set by SgmlSetTagCase
    long textRuns;
    long textBytes;
    SgmlTag* stack[kSgmlStackDepth];
    int32_t depth;
    SgmlTag* lastStart;
    int32_t stopCode;
    KY_RegExp* general;  // owned during a parse
    KY_String* line;     // owned during a parse
};

// Prepares the definition, parses the whole stream (open for reading), then
// releases what it prepared. 0, or the code that stopped the parse.
int SgmlInit(KY_File* stream, SgmlParser* parser, void* user);
// Reads the next token (a text run or a tag) into the parser's line (made by
// SgmlInit); its length, 0 at the end of input or without a line. A ">" in
// text raises "#Extra End Tag" (SgmlError) unless the parser is lenient.
long SgmlGetLine(SgmlParser* parser, KY_File* stream);
// Stores the options, chooses the tag comparator and sorts the tags by it;
// answers the previous options.
int32_t SgmlSetTagCase(SgmlParser* parser, int32_t options);
// The same for an entity table (kSgmlEntityCaseSensitive); clears the use counts.
int32_t SgmlSetNameCase(SgmlEntityTable* table, int32_t flags);
// The shared pattern of "&name;" references: created by the first
// SgmlNewEntityTable, freed by the last SgmlFreeEntityTable. 1 ready, 0 when it
// cannot be compiled ("cannot allocate Entity regexp" in KY_EngineErrorText).
int SgmlNewEntityTable();
void SgmlFreeEntityTable();
// Dispatches one line of markup at once inside the parse in progress (without
// statistics). 0, or the code of an error it raised.
int SgmlFeedLine(const char* markup);
// Ends the parse in progress after the current token with the code.
void SgmlStop(int32_t code);
// Whether a value handed to a handler was written in the tag being dispatched.
bool SgmlValueWritten(const char* value);
// What SgmlRaise throws; SgmlInit and SgmlFeedLine catch it, and so must any
// other caller of code that raises outside them.
struct SgmlError {
    int32_t code;
};
// Raises a markup error: traces the text, then "Warning %s %ld: ParseLib
// message\n" with the input's name and line, copies the text without its line
// feed into KY_EngineErrorText and throws SgmlError.
[[noreturn]] void SgmlRaise(int32_t code, const char* format, ...);
