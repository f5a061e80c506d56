// A generated base of French documents with its word, date and thesaurus files,
// and the engine opened on it once per test executable.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "search/engine/questions/KyQuest.h"
#include "search/writers/ThesWriter.h"
#include "tests/base/procedural/TextTestSupport.h"

const int kDocs = 20000;

struct QuestData {
    struct Word {
        std::string word;
        int n;  // position in the document
    };
    struct Doc {
        std::vector<std::vector<Word>> paras;
        int date;  // yyyymmdd
    };

    QuestData();
    ~QuestData();
    // Built once per test executable.
    static QuestData& Get();
    // The documents of a criterion of the field (2: dates), with the code.
    std::set<int> Run(const std::string& text, const KY_CriterionField& field, int* code);

    TempFolder folder;
    std::string error;
    std::vector<Doc> docs;
    std::vector<ThesRelation> thes;
    std::vector<KY_IndexRecord> indexes;
    KY_EngineTables tables;
};

// Whether the document holds the word.
inline bool Has(const QuestData::Doc& d, const std::string& w) {
    for (const auto& p : d.paras)
        for (const auto& x : p)
            if (x.word == w)
                return true;
    return false;
}

// A Windows path in the descriptor's path syntax ("C|:dir:sub").
inline std::string EncodeDescriptorPath(std::string path) {
    for (char& c : path)
        c = c == ':' ? '|' : c == '\\' ? ':' : c;
    return path;
}

class QuestBase : public testing::Test {
public:
    using Doc = QuestData::Doc;
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    static QuestData* base_;
};
