// The rows of the keyword refinement list: a head line (the whole result), a
// title line (the keyword count), then one line per keyword of an index
// result, read from table 0 of the keyword base.
//
// Raw lines are TAB lines; fields 3 to 6 (1-based) are the row's result key:
//   label TAB count TAB a TAB b TAB c TAB d
//   head:    "Tous les résultats" | "Résultat", n, -2, -2, -1, 0
//   title:   "3 mots clés Savantorium", "", -1, -1, 0, 0
//   keyword: the keyword base's record as stored: keyword, count, a, b, c, d
// Row (kytab, one table row, the label and the count as cells):
//   /&TABLE:100%:N0:[[100,0,0,0,0:0|//label*-40,0,0,0,0:0|//count]]&/#a:b:c:d
// With the callback's flag at 0 a row is the plain label, "#", the key: the
// label a caller reads back. Label and count are escaped ('\' before each of
// "[]&#|{}:*/\").
//
// Holds one reference on the keyword list; the base is not owned. A keyword
// record that cannot be read gives an empty keyword row (the engine's error
// is not passed: a damaged keyword must not hide the rest of the list).
#pragma once

#include "app/lines/SortableLineGetter.h"

class ALo;
class ASearchBase;

class ASVIndexLineGetterCallBack : public ALineGetterCallBack {
public:
    AString formatLine(long line, const AString& raw, int16_t rowMarkup) override;
    // fields 3 to 6 joined by ':'.
    static AString keyOf(const AString& raw);
    int16_t flag = 1;  // 1: kytab rows, 0: "label#key"
};

class ASVIndexLineGetter : public SortableLineGetter {
public:
    // keywords: record numbers of table 0 of base; null: the head line alone.
    ASVIndexLineGetter(ASearchBase* base, int16_t unused, ALo* keywords, const char* head, const char* title,
                       const char* query);
    ~ASVIndexLineGetter() override;

    long getLineCount() override;
    AString getRawLine(long record, long line) override;
    ASVIndexLineGetterCallBack* indexCallBack() const { return static_cast<ASVIndexLineGetterCallBack*>(callBack_); }
    const AString& getQuery() const { return query; }

private:
    ASearchBase* base;  // not owned, or null
    ALo* keywords;      // one reference held, or null
    long keywordCount;
    AString head;
    AString title;
    AString query;
};
