// What the descriptor parser's modules share: raising errors, owned copies,
// value conversions, inheritance of file settings and the tag handlers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "search/engine/descriptor/KyParse.h"

// Raises "KyParse Error no %d in %s" and stops the parse.
[[noreturn]] void ParseFail(int32_t code, const char* routine);
// Raises a text of its own (no "KyParse Error" frame) with a code.
[[noreturn]] void ParseFailText(int32_t code, const char* format, ...);
void* ParseAlloc(size_t size, const char* routine);
// An owned copy (KY_Malloc), null for null.
char* ParseDup(const char* text, const char* routine);
// Replaces *slot by an owned copy of text.
void ParseSet(char** slot, const char* text, const char* routine);
// Enters value under key in *table (created when null).
void ParseEnter(KY_Assoc** table, const char* key, void* value, const char* routine);
void* ParseFind(const KY_Assoc* table, const char* key);

// Whether a handler's value was written in the tag (not a default, not null).
bool Written(const char* value);
// Decimal as the standard library reads it; null gives 0; clamped to 32 bits.
int32_t ParseNumber(const char* value);
// First character upper-cased, "O" counting as "Y": 1 when "Y".
int8_t ParseFlag(const char* value);

struct KyKeyword {
    const char* name;
    int32_t value;
};
// The first keyword that begins with the upper-cased value; otherwise raises
// "ParsGetCompCharInt %s <>" followed by every keyword and ",".
int32_t ParseKeyword(const char* value, const KyKeyword* list, int count);
template <int N>
int32_t ParseKeyword(const char* value, const KyKeyword (&list)[N]) {
    return ParseKeyword(value, list, N);
}
extern const KyKeyword kKwProx[4];
extern const KyKeyword kKwOpdef[6];
extern const KyKeyword kKwMedium[9];
extern const KyKeyword kKwFormat[3];
extern const KyKeyword kKwPathType[4];
extern const KyKeyword kKwTypeIdx[2];
extern const KyKeyword kKwWhere[4];
extern const KyKeyword kKwBloc[3];
extern const KyKeyword kKwOrder[2];
extern const KyKeyword kKwAccess[2];
extern const KyKeyword kKwClean[4];
extern const KyKeyword kKwCompression[5];

// The default file settings of a group that nothing sets.
KyFileSettings DefaultSettings();
// The path variable or sub-path named by a written value, else null;
// an unknown name raises 1302, a missing table 1301.
KyPathVar* LookupPath(KyDescriptor* d, const char* value, bool sub, const char* routine);
// Settings from values (priority, iscrypt, nbcache, sizecache, path, subpath;
// a null pointer skips one): each written value, else the group's.
struct SettingValues {
    const char* priority;
    const char* crypt;
    const char* nbcache;
    const char* sizecache;
    const char* path;
    const char* subpath;
};
KyFileSettings Inherit(KyDescriptor* d, const KyFileSettings& group, const SettingValues& v, const char* routine);
// Requires the descriptor (user data of every handler).
KyDescriptor* Desc(void* user, const char* routine);
// Sets the content state for text of the element.
void SetState(KyDescriptor* d, int32_t state);

// Element text of each state; handlers of the tag table.
void ProcessContent(void* user, const char* text);
void ParseMappingLine(KyDescriptor* d, const char* markup);

#define KY_TAG_HANDLER(name) void name(void* user, int start, const char* const* v, int count)
KY_TAG_HANDLER(kydescTagFun);
KY_TAG_HANDLER(pathinfoTagFun);
KY_TAG_HANDLER(pathTagFun);
KY_TAG_HANDLER(subpathTagFun);
KY_TAG_HANDLER(extinfoTagFun);
KY_TAG_HANDLER(resourceTagFun);
KY_TAG_HANDLER(generalTagFun);
KY_TAG_HANDLER(dataTagFun);
KY_TAG_HANDLER(indexTagFun);
KY_TAG_HANDLER(filterTagFun);
KY_TAG_HANDLER(fltTagFun);
KY_TAG_HANDLER(thesTagFun);
KY_TAG_HANDLER(noTagFun);
KY_TAG_HANDLER(stpTagFun);
KY_TAG_HANDLER(lexTagFun);
KY_TAG_HANDLER(userdataTagFun);
KY_TAG_HANDLER(platformTagFun);
KY_TAG_HANDLER(commonTagFun);
KY_TAG_HANDLER(baseTagFun);
KY_TAG_HANDLER(supportTagFun);
KY_TAG_HANDLER(connectTagFun);
KY_TAG_HANDLER(dbTagFun);
KY_TAG_HANDLER(subdbTagFun);
KY_TAG_HANDLER(hdgTagFun);
KY_TAG_HANDLER(idxTagFun);
KY_TAG_HANDLER(subidxTagFun);
KY_TAG_HANDLER(lexabpTagFun);
KY_TAG_HANDLER(linkabpTagFun);
KY_TAG_HANDLER(lexhdgTagFun);
KY_TAG_HANDLER(linkinfoTagFun);
KY_TAG_HANDLER(linkbaseTagFun);
KY_TAG_HANDLER(linkbitsTagFun);
KY_TAG_HANDLER(mappingTagFun);
KY_TAG_HANDLER(reqDefaultsTagFun);
KY_TAG_HANDLER(reqTagFun);
KY_TAG_HANDLER(formTagFun);
KY_TAG_HANDLER(formDefaultsTagFun);
KY_TAG_HANDLER(prefixTagFun);
KY_TAG_HANDLER(opTagFun);
KY_TAG_HANDLER(proxopTagFun);
KY_TAG_HANDLER(dateopTagFun);
KY_TAG_HANDLER(sepTagFun);
KY_TAG_HANDLER(hisepTagFun);
KY_TAG_HANDLER(userstrTagFun);
KY_TAG_HANDLER(strTagFun);

// Release of records (ParsFree.cpp).
void FreeSettings(KyFileSettings* s);
void FreeField(KyField* f);
void FreeForm(KyForm* f);
