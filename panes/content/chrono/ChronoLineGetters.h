// The rows of the chronology's left dock: the event list's rows (one per
// heading record an occurrence list names) and the theme list's rows (one per
// line of the theme tree).
//
// Event row, from the HDG record "doc TAB title TAB f2 TAB f3" (a missing
// field reads ""):
//   /&TABLE:100%:N0:[[-20,0,0,0,0:0|/!5!/*100,0,0,0,0:0|<title>]]&/#<doc>:<f2>:<f3>
// Theme tree line: depth TABs (more than 5 count as 5), the label, then '#'
// and the theme's LNK record, or no '#' for a heading without events:
//   /&TABLE:100%:N0:[[-<8 + 16 x depth>,0,0,0,0:0| *100,0,0,0,0:0|<label>]]&/[#<record>]
// A heading's label is bold (/B). Titles and labels are escaped so that they
// never end a cell, start a code or become the row's key.
//
// Shared (ARefObj). The event rows hold their list as ALoLineGetter does;
// the theme rows hold one reference on their source.
#pragma once

#include "app/lists/ALoLineGetter.h"

class ASVChronoLineGetter : public ALoLineGetter {
public:
    // The characters a title or label escapes: the cell, table and code
    // characters, and '#', '/', '{', '}' so that a title is never a key or markup.
    static const char kEscaped[];

    ASVChronoLineGetter(ASearchBase* source, int16_t number, ALo* list) : ALoLineGetter(source, number, list) {}
    ~ASVChronoLineGetter() override = default;
    AString getRawLine(long record, long line) override;
    // The row of one HDG record's text.
    static AString rowOf(const char* heading);
};

class ASVThemeChronoLineGetter : public SortableLineGetter {
public:
    static const int kMaxDepth = 5;

    // A null source is an assertion ("ChronoThemePrec").
    explicit ASVThemeChronoLineGetter(ALineGetter* source);
    ~ASVThemeChronoLineGetter() override;
    long getLineCount() override;
    AString getRawLine(long record, long line) override;
    // The row of one theme tree line.
    static AString rowOf(const char* line);
    void setOption(int16_t option, int16_t value) { option == 7 ? (expanded_ = value) : 0; }

private:
    ALineGetter* source_;  // one reference held
    int16_t expanded_ = 0;
};
