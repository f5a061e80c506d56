// The request layer: the descriptor opened with its mounted bases, bases opened
// for requests, named requests on their forms (each with an engine part), their
// runs over local and remote bases, and document references.
// Codes: 0, 105/106/110, 1262-1269, 1303-1327, or the engine's; -100..-109 are statuses.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "search/engine/questions/KyQuest.h"
#include "search/engine/remote/KyRemote.h"

struct KyMount;
struct KyMountedBase;
struct KyMountedForm;
struct KyTable;

// Bits 24-31: base number + 1; bits 0-23: document number. 0xFFFFFFFF: none.
typedef uint32_t KyDocRef;
void KY_MakeDocRef(int32_t doc, int16_t base, KyDocRef* out);
void KY_SplitDocRef(int32_t* doc, int* base, KyDocRef ref);

// One support of a mounted base as the requests see it.
struct KY_BaseRecord {
    int32_t state = 0;  // 0 searched, 1 excluded
    int32_t changed = 0;
    int32_t kind = 0;  // 1 remote; 0 and 2 local
};

struct KY_Request;
struct KY_Engine;

struct KY_MountedUse {
    KyMountedBase* base = nullptr;  // not owned
    KY_Engine* engine = nullptr;    // not owned
    int32_t openCount = 0;
    std::map<std::string, KY_Request*> requests;  // owned
    KyTable* heading = nullptr;                   // owned while open
    KyTable* docs = nullptr;
    std::vector<KY_BaseRecord> bases;
    int localCount = 0;
    int noClean = 0;
};

struct KY_Engine {
    KyMount* mount = nullptr;  // owned
    std::map<std::string, KY_MountedUse> bases;
    int networkOn = 0;
};

struct KY_Request {
    std::string name;
    KY_MountedUse* base = nullptr;        // not owned
    const KyMountedForm* form = nullptr;  // not owned
    KY_EnginePart part;
    uint16_t fieldCount = 0;
    int32_t lastIndex = 0;
    KyDocRef lastRef = 0xFFFFFFFFu;
    int32_t lastScore = -1, lastPos = -1;
    int32_t total = -1, status = kStatusEmpty;
    std::vector<KY_RemoteBase> remotes;          // one per remote base, in base order
    std::map<std::string, KY_Lexicon> lexicons;  // by name, with kForceProximity
    int scores = 0;
    int realData = 0;  // steps one base at a time when locating hits
};

// Network use of the engine: off unless the application turns it on.
extern int KY_NetworkUse;

// volumePath and appFolder (or null) go to the mount: the signature and ini
// paths, and _APPLIPATH_.
int KY_OpenDescriptor(const char* path, KY_Engine** engine, const char* volumePath = nullptr,
                      const char* appFolder = nullptr);
int KY_CloseDescriptor(KY_Engine** engine);
int KY_OpenMountedBase(KY_Engine* engine, const char* name, KY_MountedUse** base);
int KY_CloseMountedBase(KY_MountedUse* base);
void KY_CloseAllBases(KY_Engine* engine);
int KY_IsBaseAvailable(KY_Engine* engine, const char* name);
int KY_SearchedPart(const KY_MountedUse* base, int i);
void KY_SuspendOthers(KY_Engine* engine);
int KY_IsSuspended(const KY_Request* request);
int KY_CloseBaseRequests(KY_MountedUse* base);
int KY_NetworkOn(const KyMount* mount);
// The open tree of the field's plain-list index whose path is path (any case), or null.
AbpTree* KY_FieldIndexByPath(KY_Request* request, int field, const char* path);
// A copy of the index's file specification for the support (the caller frees it).
int KY_GetIndexFile(const KY_MountedUse* base, const char* index, int support, KY_OpenSpec* spec);

// folder: the working folder of its lists ("" for the system's temporary folder).
int KY_OpenRequest(KY_MountedUse* base, const char* name, const char* folder, KY_Request** request);
int KY_CloseRequest(KY_Request** request);
int KY_SetFieldText(KY_Request* request, int field, const char* text);
int KY_SetQuestion(KY_Request* request, int criterion, int op, int open, const char* text, int close);
int KY_SetFieldOption(KY_Request* request, int first, int last, int op);
int KY_SetBaseState(KY_Request* request, int base, int state);
int KY_ClearField(KY_Request* request, int base);
// Keeps a document of a run in mode 0 when it answers non-zero.
typedef int (*KY_DocFilter)(int32_t doc, void* argument);
int KY_RunRequest(KY_Request* request, int mode, KY_DocFilter filter = nullptr, void* argument = nullptr);
int32_t KY_GetResultCount(const KY_Request* request);
int32_t KY_GetRequestStatus(const KY_Request* request, int criterion);
// The hit count of a criterion (0: the local result), -1 without one; 1267 for a null request.
int32_t KY_GetCriterionCount(const KY_Request* request, int criterion);
int KY_GetResultDoc(KY_Request* request, KyDocRef* ref, int32_t* index);
// The same with the hit's score (0 without scores).
int KY_GetScoredDoc(KY_Request* request, KyDocRef* ref, int32_t* index, int32_t* score);
int KY_CheckStopWord(const char* word);
int KY_GetFieldCount(const KY_Request* request, uint16_t* count);
int KY_GetBaseCount(const KY_MountedUse* base, uint8_t* count);
int KY_GetBaseKind(const KY_MountedUse* base, int number, int32_t* kind);

// The remote bases of a request (KyRequestRemote.cpp): its hits located across
// bases, the question their servers are sent, their local caches emptied.
int KY_GetBaseHitCount(const KY_Request* request, int base);
int KY_FirstBaseWithHits(const KY_Request* request, int* base);
int KY_LocateHit(const KY_Request* request, int32_t* hit, int* base, int* remoteIndex);
int KY_GetQuestionTerms(KY_Request* request, int base, std::vector<std::string>* words, int which);
// The same for the base that holds the record in the table (its part's number).
int KY_GetRecordTerms(KY_Request* request, KyTable* table, int32_t record, std::vector<std::string>* words, int which);
int KY_ApplyBaseChanges(KY_Request* request);
void KY_MarkRemoteBases(KY_Request* request);
int KY_CleanRemoteCache(KY_MountedUse* base, int mode);
// The question text sent to a remote base's server.
int KY_RemoteQuestion(const KY_Request* request, std::string* text);
