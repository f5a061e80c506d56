// The question pipeline of the search engine: the parenthesised question text and
// its builder, the postfix question stack, its evaluation into occurrence lists
// (indexes, patterns, thesaurus, stored lists, proximity), character tables, stop
// words, highlight words and date range lists. Codes: 0 or 105-112, 600-657,
// 700-704, 1100-1113, with a context in KY_EngineErrorText. Single-threaded: the
// engine is process-wide, one question at a time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/procedural/KyFile.h"
#include "search/engine/lists/Lo.h"
#include "search/engine/trees/KyAbp.h"

enum : int {
    kQuestErrMemory = 110,
    kQuestErrEmptyTerm = 600,
    kQuestErrKind = 601,
    kQuestErrSource = 602,
    kQuestErrUnit = 603,
    kQuestErrOperands = 604,
    kQuestWaiting = 605,  // more than one operand waiting: normal while pushing
    kQuestErrThesPattern = 607,
    kQuestErrCount = 608,
    kQuestErrUnitW = 609,  // 610 S, 611 P, 612 F
    kQuestErrNoList = 613,
    kQuestErrUnitPlace = 614,
    kQuestErrPushFailed = 616,
    kQuestErrDelete = 617,
    kQuestErrEmpty = 650,
    kQuestErrBalance = 651,
    kQuestErrNoRight = 652,
    kQuestErrChain = 654,  // internal: the rest of a split is a chain
    kQuestErrAddOperator = 655,
    kQuestErrAddTerm = 656,
    kQuestErrTruncThes = 657,
    kQuestErrIndexClosed = 700,
    kQuestNotFound = 701,
    kQuestErrQueryTable = 702,
    kQuestErrStopTable = 703,
    kQuestErrStopList = 704,
};

enum : int32_t {
    kQuestAnd = 1,
    kQuestOr = 2,
    kQuestExcept = 3,
    kQuestTerm = 4,
    kQuestPattern = 5,
    kQuestThes = 6,
    kQuestList = 7,
    kQuestDone = 0x80,  // added to the kind of an evaluated entry
};

// Proximity units.
enum : uint8_t { kUnitW = 1, kUnitS = 2, kUnitP = 4, kUnitF = 8 };

const int kQuestTextSize = 136;

struct KY_QuestRecord {
    int32_t kind;    // kQuest*, -1 unset
    int32_t source;  // 1 indexes of the field, 2 a list
    uint32_t field;  // low 7 bits the field; 0x80 its second index list
    char text[kQuestTextSize];
    int32_t termFlag;  // 1 made from a term, 2 otherwise
    int32_t relation;  // thesaurus relation 1..5, -1 none
    int32_t count;     // thesaurus depth, or proximity distance
    uint8_t unit;      // proximity unit of an AND, 0 none
};

struct KY_QuestEntry {
    int32_t done;      // taken by an operator
    LoHandle list;     // result, -1 none
    int32_t listSize;  // stored list size, -1 unset
    KY_QuestRecord record;
};

void KY_QuestRecordInit(KY_QuestRecord* record);

// The current question text (created by KY_QuestNew, freed by KY_QuestFree).
int KY_QuestNew();
int KY_QuestFree();
const char* KY_QuestText();  // null without a buffer
int KY_QuestAppend(const char* text);
// term is normalised in place (at least kQuestTextSize bytes); relation null, "",
// "#" (stored list named by term), "@" (no list) or a thesaurus code.
int KY_QuestAddTerm(char* term, int field, int flags, const char* relation);
int KY_QuestAddOperator(const char* word, int unit, int distance);
int KY_QuestOpenGroup();
int KY_QuestCloseGroup();
// Sets the extra index lists ("n:n:..." or null) and parses the buffer onto the stack.
int KY_QuestCompile(const char* list1, const char* list2);
int KY_QuestParse(const KY_QuestRecord* pending, const char* text);
// The record of one term text (the parser's term step); 0 or 657.
int KY_QuestTermRecord(const char* text, KY_QuestRecord* record);
// The record of one operator word; kind -1 for an unknown word, 603 for a bad unit.
int KY_QuestOperatorRecord(const char* word, KY_QuestRecord* record);
int KY_QuestPush(const KY_QuestRecord* record);
int KY_QuestPop();
void KY_EngineClearQuests();
int KY_QuestCount();
const KY_QuestEntry* KY_QuestAt(int i);
// The bit-field of a unit in the position layout of a unit mask (0 when absent).
uint32_t KY_UnitField(uint32_t mask, int unit);

// Indexes and lists the engine searches. An index list is a run of items ended by
// index -1; a field maps to two list numbers (plain, second), 254 or -1 none.
struct KY_IndexItem {
    int8_t index;
    int8_t skip;  // 1: not searched
};

struct KY_IndexRecord {
    std::string path;
    KY_OpenSpec spec{};  // owned while open
    AbpTree tree{};      // open while `open`
    int open = 0;
    uint8_t unitByte = 0;     // positions request: kUnitW | kUnitP, or 0
    uint8_t noThes = 0;       // 1: kind-6 terms are looked up plainly
    uint8_t occurrences = 1;  // occurrences request
    uint8_t reserved = 0;
    uint16_t weight = 0;
    uint32_t flags = 0;         // 0x10: keys start with a prefix character left out of highlight words
    uint32_t maxValue = 65535;  // largest document number, for the tree's width
};

struct KY_EngineTables {
    std::vector<uint8_t> fields;  // 2 per field number
    std::vector<std::vector<KY_IndexItem>> lists;
    std::vector<KY_IndexRecord>* indexes;  // not owned
};

// Starts the engine: keeps the tables (not owned), starts the list package with
// the swap path (null: a temporary file) and the largest document, makes the stack.
int KY_EngineInit(const KY_EngineTables* tables, const char* swapPath, int32_t maxDoc);
int KY_EngineClose();
int KY_EngineIsOpen();
int KY_IndexOpen(KY_IndexRecord* index);
int KY_IndexClose(KY_IndexRecord* index);
// Evaluates the stack: *result the list (owned by the caller, LoFree), or -1.
int KY_EngineEvaluate(LoHandle* result, int mode, const char* separators);
// A question of one stored list alone, which its caller takes as the result
// without opening it: the engine's state as an evaluation leaves it.
void KY_EngineTakeStoredList(int mode, const char* separators);
void KY_EngineSetPrefixMode(int on);
void KY_EngineSetScoreMode(int on);

// Highlight words: the entered-word queue (sorted, kind 4 direct, 6 thesaurus) and
// the final list built from it.
struct KY_EnteredWord {
    uint8_t kind;
    std::string word;
    int owner;
};
const std::vector<KY_EnteredWord>& KY_EngineEnteredWords();
int KY_EngineBuildHilite(int mode);
const std::vector<std::string>& KY_EngineHilite();
void KY_HiliteFree();

// Character tables: 256 bytes, 255 drops the byte.
// 1 loaded, 0 on a syntax or range error, 105 when the file cannot be opened.
int KY_LoadCharTable(unsigned char table[256], const char* file);
int KY_LoadStopwords(const char* queryFilter, const char* stopFilter, const char* list);
int KY_StopWordsOn();
void KY_StopWordsFree();
const unsigned char* KY_EngineCurrentFilter();

// Thesaurus: "<base>.dct" (filter name, then the terms) and "<base>.abp".
struct KY_Thes {
    std::string base;
    std::string filter;
    FILE* data = nullptr;  // owned while open
    unsigned char table[256];
    int hasTable = 0;
    KY_OpenSpec spec{};  // owned while open
    AbpTree tree{};
    int open = 0;
    std::string key;   // bare key of the last KY_ThesFirst, "" none
    int32_t next = 0;  // numbered suffix of the next related term
};
int KY_ThesOpen(KY_Thes* thes, int mode);
int KY_ThesClose(KY_Thes* thes);
int KY_ThesFirst(KY_Thes* thes, int relation, const char* term, std::string* out, int filtered);
int KY_ThesNext(KY_Thes* thes, std::string* out);
int KY_EngineLoadThes(const char* name);
KY_Thes* KY_EngineThes();

// Stored lists with their highlight words ("<name less extension>.qsv"). A list
// named without a folder in a question lies in the list folder ("" the current one).
void KY_EngineSetListFolder(const std::string& folder);
std::string KY_EngineListPath(const char* name);
int KY_EngineSaveList(LoHandle* list, const char* name);
// Saves a working list of the folder under a new name (in *name): in memory
// when it holds at most kMemoryListElements elements, else as a list file.
const int32_t kMemoryListElements = 100000;
int KY_EngineSaveWorkList(LoHandle* list, const std::string& folder, std::string* name);
// Opens a stored list; with words and highlighting on, its words are entered
// as the question's.
int KY_EngineOpenStoredList(const char* name, LoHandle* list, bool words = true);
void KY_EngineEnterListWords(const char* name);
int KY_EngineDeleteList(const char* name);
// Every document of the runs whose keys lie between low and high in the field's indexes.
int MakeHlo(int field, const char* low, const char* high, LoHandle* result);

// A lexicon of phrases: its key file (a B+ tree whose keys are phrases) and the
// character table its keys were normalised with. Opened on first use.
struct KY_Lexicon {
    std::string name;  // kForceProximity: finds no phrase
    std::string keyFile, filterFile;
    char keyChar = 0;           // written before every key, or 0
    AbpTree* shared = nullptr;  // not owned: an open index tree of the same file
    AbpTree own{};
    KY_OpenSpec spec{};
    unsigned char table[256];
    int loaded = 0;
};
extern const char kForceProximity[];  // "_FORCESECTOPROX_"
// found: 1 when the phrase is a key of the lexicon (a phrase without separator always is).
int KY_CheckPhrase(KY_Lexicon* lexicon, const char* phrase, const std::string& separators, int* found);
void KY_FreeLexicon(KY_Lexicon* lexicon);

// Criteria: the text a reader types into one question field, turned into question
// text through the builder. Codes: 604, 701, 105, 110, 1200-1209, 1252, 1260.
struct KY_CriterionField {
    int field = 0;
    std::string separators = " ,;.";
    std::string opWords = "|AND|OR|EX|";      // first character: the list's separator
    std::string proxWords = "|PRES|F|PARA|";  // units W, F, P by position
    std::string dateWords = "|EGAL|AVANT|JUSQUA|APRES|DEPUIS|";
    int op = 0;               // 0 AND, 1 OR, 2 EX: joins adjacent terms
    std::string defaultProx;  // unit letter and distance ("W5"), or ""
    char prefix[2] = {0, 0};  // written before terms without / with the thesaurus
    int proxFlag = 0, thesFlag = 0;
    std::string lexicon;        // "" none; kForceProximity finds no phrase
    KY_Lexicon* lex = nullptr;  // not owned: the named lexicon, when it has files
    int minLength = 0;
    int date = 0;  // a date field: its text is read as dates
};

const int kCriterionMaxText = 4096;
const int kCriterionMaxDepth = 64;  // groups in one criterion
const int kQuestMaxDepth = 1000;    // nested groups and chained operands of a question text

int KY_TextCriterion(const char* text, const KY_CriterionField& field);
// Date text to range keys by comparison mode (0 equal, 1 before, 2 up to, 3 after, 4 from).
int KY_DateKeys(const char* date, int mode, std::string* low, std::string* high);
// Reads the date items of text, makes each range list (saved in folder) and writes
// them as "#" terms; the saved files are added to lists (the caller deletes them).
int KY_DateCriterionText(const char* text, const KY_CriterionField& field, const char* folder,
                         std::vector<std::string>* lists);
// 1 when the text is empty or holds only separator characters.
int KY_IsBlank(const char* text, const std::string& separators);
// The proximity rewriting of a quoted phrase; 1208 for fewer than two words kept.
int KY_PhraseToProximity(const char* phrase, const KY_CriterionField& field, std::string* out);
// A new list file name in the folder ("KY" prefix), "" on failure.
std::string KY_MakeListName(const char* folder);

// Engine parts: what one request needs of the engine, only one active at a time.
// Codes: 1253 no result for a criterion, 1265 no engine part, 1267 closed.
enum : int32_t {
    kStatusEmpty = -100,
    kStatusNothing = -101,
    kStatusFailed = -102,
    kStatusDone = -104,
    kStatusNone = -105,
    kStatusChanged = -106,
    kStatusOpening = -107,
    kStatusClosing = -108,
    kMarkOpen = -200,
    kMarkClose = -201,
    kMarkEnd = -1,
};

struct KY_Criterion {
    int32_t op = 0;  // joins it to the one before: 0 AND, 1 OR, 2 EX
    bool open = false, close = false;
    int32_t mark = 0;  // 0, kMarkOpen, kMarkClose, kMarkEnd
    std::string value;
    uint8_t changed = 0, rank = 0, evaluated = 0;
    std::string listName;  // file name of its saved result, in the working folder
    int32_t status = kStatusEmpty, count = 0;
    std::string fieldText;
    int32_t options[2] = {0, 0};
    // Its field.
    KY_CriterionField field;
    bool empty = false;  // the field is never searched
    uint8_t lists[2] = {254, 254};
    std::string extra[2];  // extra index lists, "n:n"
    uint8_t positions = 0, highlight = 0;
    uint16_t noOccurrences = 0, weight = 0;
};

struct KY_EnginePart {
    std::vector<KY_Criterion> criteria;  // 0 the request, 1..n fields, then the end record
    KY_EngineTables tables;
    std::vector<KY_IndexRecord> indexes;
    std::string folder;
    int listOpen = 0;
    int16_t openCriterion = -1;
    int32_t mode = -1, hiliteMode = 1, swapChoice = 0, closeIndexes = 0;
    int32_t walk[5] = {-1, -1, -1, -1, -1};  // criterion, index, document, position, score
    std::vector<int32_t> walked;              // document, position, score of each element walked
    LoHandle result = -1;
    std::string queryFilter, stopFilter, stopList, thesaurus;
    int32_t maxDoc = 65535;
    std::vector<std::string> words[2];  // all highlight words; those that are not stop words
    bool wordsMade = false;
    int32_t state = 0;  // 0 closed, 1 active, -1 suspended
    // Told of each criterion evaluated and its status, when set.
    void (*notify)(void* argument, int criterion, int32_t status) = nullptr;
    void* notifyArgument = nullptr;
};

// The criteria of n fields: record 0, n field records and the end record.
void KY_CriteriaMake(KY_EnginePart* part, int fields);
int KY_EngineSetup(KY_EnginePart* part);
int KY_EngineRun(KY_EnginePart* part, int criterion);
int KY_CriterionState(const KY_EnginePart* part, int criterion);
int KY_GetCriterionHits(const KY_EnginePart* part, int criterion);
int KY_CriterionClearList(KY_EnginePart* part, int criterion);
// Whether another criterion's result is the same saved list.
bool KY_CriterionListShared(const KY_EnginePart* part, int criterion);
int KY_CriteriaClearAll(KY_EnginePart* part);
void KY_CriteriaReset(KY_EnginePart* part);
int KY_ResultOpen(KY_EnginePart* part, int criterion);
void KY_ResultClose(KY_EnginePart* part);
void KY_WalkReset(KY_EnginePart* part);
int KY_ResultPrepare(KY_EnginePart* part, int criterion);
int KY_ResultSeek(KY_EnginePart* part, int32_t* doc, int32_t* pos, int32_t* score, int32_t* index, int criterion);
// KY_ResultSeek on criterion 0, the whole request.
int KY_ResultSeekRequest(KY_EnginePart* part, int32_t* doc, int32_t* pos, int32_t* score, int32_t* index);
// Sets index n's file, its tree's width from the largest value, and its weight.
void KY_SetIndexRecord(std::vector<KY_IndexRecord>* indexes, int n, const char* path, uint32_t largest,
                       uint16_t weight);
// which 0: every highlight word; else those that are not stop words. Null: none.
const std::vector<std::string>* KY_GetWordList(KY_EnginePart* part, int which);
int KY_EnginePartSuspend(KY_EnginePart* part);
int KY_EnginePartResume(KY_EnginePart* part);
int KY_EnginePartClose(KY_EnginePart* part);
int KY_CriterionOrder(const KY_EnginePart* part, int16_t order[30]);
int KY_SwapFilePath(const std::string& folder, int choice, std::string* path);
std::string KY_ListPath(const std::string& folder, const std::string& name);
// Sets a criterion's question and marks it changed.
int KY_SetCriterion(KY_EnginePart* part, int criterion, int op, int open, const char* text, int close);
