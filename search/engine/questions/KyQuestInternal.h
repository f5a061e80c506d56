// What the question modules share: the engine's process-wide state.
#pragma once

#include <string>
#include <vector>

#include "search/engine/questions/KyQuest.h"

struct KY_EngineState {
    bool open = false;
    const KY_EngineTables* tables = nullptr;  // not owned
    std::vector<KY_QuestEntry> stack;         // capacity grows by 100
    int used = 0;
    int lastPush = 0;
    std::vector<int> extra[2];  // extra index lists: [0] fields with 0x80, [1] the others
    std::string separators;
    int prefixMode = 0;
    int scoreMode = 0;
    bool hiliteOn = true;
    std::vector<KY_EnteredWord> entered;  // sorted by word, without duplicates
    bool enteredMade = false;
    std::vector<std::string> hilite;
    unsigned char queryTable[256];
    const unsigned char* filter = nullptr;  // not owned: the current filter
    bool stopWords = false;
    KY_Thes thes;
    std::string listFolder;
    // The keys one evaluation looked up, with what their index answered: an
    // AND's words are looked up for their sizes, then again to be read.
    struct SoughtKey {
        const KY_IndexRecord* index;
        std::string key;
        AbpEntry entry;
        int code;
    };
    std::vector<SoughtKey> sought;
};

KY_EngineState& KyEngine();
// The index list of a record's field (null: none).
const std::vector<KY_IndexItem>* KyFieldList(uint32_t field);
KY_IndexRecord* KyIndexAt(int index);
// Unit mask that an entry's result can carry.
uint32_t KyEntryUnits(int i);
const int kEnteredCapacity = 401;
int KyEnterWord(const std::string& word, uint8_t kind, int owner, uint32_t indexFlags);
bool KyIsStopWord(const std::string& word);
bool KyIsStopWord(const char* word);
