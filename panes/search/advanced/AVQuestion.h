// The question of the advanced search: which question slots and field
// options a query fills, given the request's field count, the inflection
// switch, the source and the theme. Kept apart from the pane so that the
// numbering is tested without an engine.
#pragma once

#include <string>
#include <vector>

struct AVQuestionStep {
    enum Kind { kSlot, kFieldText, kFieldOption } kind;
    short first;
    short last;  // field options only
    std::string text;
};

struct AVQuestionInput {
    short fieldCount = 0;      // the request's question fields
    int flexion = 0;           // 1: the question goes into the second half
    std::string text;          // ligatures expanded
    std::string filteredText;  // text through the query character filter
    std::string fieldOption;   // the proximity option or ""
    long sourceNumber = 0;
    std::string themeValue;    // "" for every theme
};

// Slots 1..n cleared first, then the steps of the Part's numbering; no step
// names a field above the field count.
std::vector<AVQuestionStep> ComposeAVQuestion(const AVQuestionInput& in);
// "slot 3=a; text 3=W2; option 3-7=1" for the tests.
std::string DescribeAVQuestion(const std::vector<AVQuestionStep>& steps, bool withClears);
