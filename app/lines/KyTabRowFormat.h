// The row formatter of the line getters: a parsed kytab table description
// (columns, named value lists, a character filter) that splits a raw line
// into fields and writes it as a row of the list's markup.
//
// Raw line:  field0 TAB field1 TAB ... '#' tail [line end]
// Row:       ["{r #n}{@R0!0,^!/@ #C:n}{r "] cells | table row
//            ["/A/$///S/0" + 825 x 0x97] '#' tail ["}"]
//
// Owns its filter and its named lists; a missing column set or named list is
// an assertion ("ulinegtr"). Texts come from the data: a number format is
// used only when it holds exactly one integer conversion.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/object/AFilter.h"
#include "base/object/AString.h"

class ALongTextDic;
class AStringList;

namespace KyTab {

// The record handed to the table-row writer: options and three cell items.
struct RowTable {
    AString options;  // "100%:N0:"
    AString cells[3];  // "header|content"
};

// One column: its descriptor (kind, field lists, named list) and its record
// (own text, separator).
struct Column {
    int16_t kind = 0;
    std::vector<int16_t> displayFields;
    std::vector<int16_t> sortFields;
    std::string listName;
    AString text;       // the column's own text
    AString separator;  // after each field of the cell
};

class RowFormat {
public:
    RowFormat();
    ~RowFormat();
    RowFormat(const RowFormat&) = delete;
    RowFormat& operator=(const RowFormat&) = delete;

    void addColumn(const Column& column) { columns.push_back(column); }
    // Takes the list (owned) under name, replacing one of the same name.
    void addList(const char* name, ALongTextDic* list);
    void setFilter(const AFilter& f);

    // Splits raw at its first '#' into fields (at TAB; AStringList with the
    // split option as its markup filter) and tail (line end removed). Date
    // cells read their fields unfiltered: a date's slashes are no codes.
    void setLine(const char* raw, int16_t split);
    const char* field(long i) const;
    long fieldLength(long i) const;
    const AString& tail() const { return tail_; }
    long fieldCount() const;

    AString formatRow(long n, int16_t rowMarkup, const RowTable* rowTable) const;
    AString columnSortText(int16_t c) const;
    // The cell of column index under the kinds' rules.
    AString cell(const Column& column, bool sortMode, int16_t index) const;

    int32_t currentValue = 0;
    int16_t location = 0;
    int16_t locationPerLine = 0;
    int16_t alternateRows = 0;

private:
    AString cellText(const Column& column, bool sortMode, const AStringList* from) const;

    std::vector<Column> columns;
    std::map<std::string, std::unique_ptr<ALongTextDic>> lists;
    std::unique_ptr<AFilter> filter;  // null: none
    AStringList* fields;              // one reference held, or null
    AStringList* plainFields;         // the same unfiltered; one reference held, or null
    AString tail_;
};

// text with '\\' before each of "[]&#|{}:*/\\", the characters that a
// kytab cell or the slash markup would read as codes.
AString EscapeCell(const char* text);

// True when format holds exactly one integer conversion ("%d", "%05ld",
// "%-3i"...) and no other conversion ("%%" is a plain percent sign); isLong
// tells whether the conversion takes a long.
bool IsNumberFormat(const char* format, bool* isLong);

}  // namespace KyTab
