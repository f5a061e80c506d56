// Writer of a thesaurus: its data file "<base>.dct" (the filter name, then one
// term a line) and its relation tree "<base>.abp" (layout in BASE-LAYOUT.md).
#pragma once

#include <string>
#include <vector>

// Relation numbers: 1 TS, 2 TG, 3 SYN, 4 UT, 5 TA.
struct ThesRelation {
    std::string term;
    int relation;
    std::string related;
};

const int kThesMaxTerm = 122;      // a relation key with its suffix fits 127 bytes
const int kThesMaxRelated = 1000;  // terms of one relation of one term

// The key of the n-th term (from 0) of a relation of a term.
std::string ThesRelationKey(int relation, const std::string& term, int n);

// Writes both files, replacing them together or not at all; relations keep their order for each
// term and relation. filter names the ".flt" table, or "". "" or the reason.
std::string WriteThesaurus(const std::string& base, const std::string& filter,
                           const std::vector<ThesRelation>& relations);
