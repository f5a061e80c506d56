// The descriptor parser: reads a descriptor file (entity prolog, then markup
// in the SGML reader's syntax) into the records of a set of search bases.
//
// Every record and string below is owned by the descriptor (KY_FreeDescriptor
// frees them); pointers between records are not owned. Tables keyed by name
// are association tables with case-insensitive keys whose values are records.
// Failures answer a code with its text in KY_EngineErrorText.
#pragma once

#include <cstdint>

struct KY_Assoc;
struct KY_OpenSpec;

enum : int32_t {
    kKyParseErrMemory = 110,      // memory, or a named record that cannot be entered or found
    kKyParseErrPrologVar = 1006,  // the prolog's variable callback is missing or has no value
    kKyParseErrMissing = 1301,    // a required attribute or enclosing record is missing
    kKyParseErrUndeclared = 1302,
    kKyParseErrReqIndex = 1304,  // a request's index is neither the base's nor the mapping's
};

const int kKyExtensionSlots = 14;
const int kKyMaxFormIndexes = 100;  // a field stores an index number in two digits
const int kKyMaxBaseName = 99;
const int kKyPathBuffer = 260;  // a converted path holds at most 259 characters
const int kKyPrologLine = 128;  // a prolog line holds at most 127 characters

// Path-variable types; 4 marks a predefined variable.
enum : int16_t { kKyPathRel = 0, kKyPathSgn = 1, kKyPathIni = 2, kKyPathDbg = 3, kKyPathPredefined = 4 };

struct KyPathVar {
    char* name;
    char* value;  // the element text, converted
    char* root;
    char* key;
    int16_t type;
    int8_t toCreate;
    int8_t mountable;
};

struct KyPathTable {
    KY_Assoc* byName;
    KyPathVar** items;  // declaration order
    uint16_t count;
};

// Settings of a file-like element, or of a group that its files inherit.
struct KyFileSettings {
    KyPathVar* path;     // or null
    KyPathVar* subpath;  // or null
    char* name;          // the file name (element text), or null
    int32_t priority;
    int32_t nbcache;
    int32_t sizecache;
    int32_t crypt;
};

struct KyFilterRec {
    KyFileSettings settings;
    KY_Assoc* platforms;  // plat -> KyFileSettings*
};

struct KyThes {
    KyFileSettings settings;
    int32_t nbdoc;
    KyFilterRec* flt;
};

struct KyStp {
    KyFileSettings settings;
};

struct KyLexAbp {
    KyFileSettings settings;
    int32_t prox;
    int32_t dup;
    int32_t nbdoc;
};

struct KyLexHdg {
    KyFileSettings settings;
    int32_t compression;
    int32_t format;
    KyFilterRec* filter;
    int32_t adjust;
};

struct KyLex {
    KyFileSettings* own;  // only when path, subpath, priority or nbcache is written
    KyFileSettings inherited;
    KyLexAbp* abp;
    KyLexHdg* hdg;
    KyFilterRec* filterKey;  // in the filter table
    KyFilterRec* fltKey;     // in the flt table
};

struct KyResource {
    KY_Assoc* filters;  // KyFilterRec*
    KY_Assoc* flts;     // KyFilterRec*
    KY_Assoc* thes;     // KyThes*
    KY_Assoc* stps;     // KyStp*
    KY_Assoc* lexs;     // KyLex*
    KY_Assoc* userdata;  // KyStp*: files registered by key (`userdata`)
    KyFileSettings group;
};

struct KyConnect {
    char* server;
    char* script;
};

struct KySupport {
    int32_t first;
    int32_t end;
    int32_t where;
    KyConnect* connect;
    KyFilterRec* reqFilter;
};

// One record of a data file for one support.
struct KyDataFile {
    KyFileSettings settings;
    int32_t compression;
    int32_t medium;
    int32_t access;
    int32_t adjust;
    KyFilterRec* filter;
    int32_t clean;
    char* realdb;
    int8_t nodb;
    int8_t live;
    int8_t tabcor;
    int8_t exist;
    char* posit;
};

struct KyData {
    char* id;
    KyDataFile* records;  // one per support once the element ends
    int32_t count;
};

struct KyIndexRec {
    KyFileSettings settings;
    int32_t nbdoc;
    int32_t prox;
    int32_t dup;
    int32_t poids;
};

struct KyIndex {
    char* id;
    int32_t type;
    int32_t searched;     // count of supports searched
    KyIndexRec* records;  // one per searched support once the element ends
    int32_t count;
};

struct KyField {
    int32_t bloc;
    int8_t thes;
    int8_t prox;
    int8_t date;
    int8_t norecup;
    int8_t noscore;
    int8_t nosearch;
    int32_t opdef;
    char* sep;
    char* hisep;
    char* indirect;  // the decimal number of the index in the form's table
    char* direct;
    char* lexind;
    char* lexdir;
    char directPrefix;
    char indirectPrefix;
    char* lexsec;
    int32_t minkey;
    int32_t poids;
    char* proxdef;
    char* indlist;  // ":"-separated index numbers
    char* dirlist;
};

// A request mapping (one field) or a form.
struct KyForm {
    char* id;
    KyThes* thes;
    KyStp* stp;
    KyFilterRec* stpflt;
    KyFilterRec* keyflt;
    char* op;
    char* proxop;
    char* dateop;
    uint16_t fieldCount;
    int32_t netlim;
    KyField* fields;
    KY_Assoc* used;  // index name -> number + 1; released at the mapping's end
    KyIndex* usedIndexes[kKyMaxFormIndexes];
    uint16_t usedCount;
    uint16_t usedSum;  // the searched-support counts of the indexes used
};

struct KyBase {
    char* id;
    uint8_t supports;
    uint8_t searched;
    int16_t order;
    int16_t consOrder;
    int32_t clean;
    KySupport* supportArray;
    int8_t hasGeneral;
    KyFileSettings general;
    int8_t hasGroup;
    KyFileSettings group;  // the open data or index group
    KY_Assoc* dataById;
    KyData** data;  // declaration order
    int32_t dataCount;
    KY_Assoc* indexById;
    KyIndex** indexes;
    int32_t indexCount;
    KyData* hdg;
    KyData* docDb;
    KyForm* mapping;
    KY_Assoc* forms;  // KyForm*
};

struct KyLink {
    char* id;
    int32_t nbbases;
    int32_t nbbitsDoc;
    int32_t nbBitsInfo;
    KyFileSettings abp;
    int32_t abpNbdoc;
    int32_t abpProx;
    int32_t abpDup;
    KyFileSettings bits;
    char** bases;  // nbbases names, null where none was given
};

struct KyDescriptor {
    int8_t connect;
    int32_t state;  // the content state; -1 none
    KyPathTable* paths;
    KyPathTable* subpaths;
    char** extensions;  // kKyExtensionSlots strings, or null
    KyResource* resource;
    KY_Assoc* links;        // KyLink*
    KY_Assoc* bases;        // KyBase*
    KY_Assoc* userStrings;  // char*

    // What the open elements build (not owned).
    KyPathVar* curPath;
    KyFilterRec* curFilter;
    KyFileSettings* curPlatform;
    KyThes* curThes;
    KyStp* curStp;
    KyStp* curUserData;
    KyLex* curLex;
    KyBase* curBase;
    KyData* curData;
    KyIndex* curIndex;
    int32_t curSupport;  // -1 none
    KyFileSettings supportSettings;
    int8_t supportWritten[5];  // priority, nbcache, sizecache, iscrypt, path
    KyDataFile* curSubData;
    KyIndexRec* curSubIndex;
    KyLink* curLink;
    KyForm* openMapping;          // the mapping while its element is open
    KyForm* curForm;              // the mapping or the form being built
    KyField* curField;            // null: every field of curForm
    char* curString;              // id of the open str
    char* lastString;             // owned
    struct SgmlEntity* entities;  // owned names and values
    int32_t entityCount;
    int32_t entityCapacity;
};

// Parses the descriptor file. 0 and the new descriptor in *out (free with
// KY_FreeDescriptor), or a code (out null) with its text in KY_EngineErrorText.
int KY_ParseDescriptor(const KY_OpenSpec* spec, KyDescriptor** out);
// Frees a descriptor and every record it holds; null is ignored.
void KY_FreeDescriptor(KyDescriptor* desc);
// Answers the value of a prolog entity declared "ASK", or null.
typedef const char* (*KySgmVarCallback)(const char* name);
// Installs the prolog's variable callback (null: none, the default); answers the previous one.
KySgmVarCallback KY_SetSgmVarCallback(KySgmVarCallback callback);
// The value of an entity of the last parsed prolog, for tests and lookups; null when absent.
const char* KY_DescriptorEntity(const KyDescriptor* desc, const char* name);
