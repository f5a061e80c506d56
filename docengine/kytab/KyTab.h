// The kytab inline table notation: the searches and readers of a table
// description, and the writer that turns a shape and a cell source into
// markup that the readers parse back.
//
// Description grammar (bytes between "/&" and the closing '&'):
//   TABLE: width['%'] ':' [N|B|D]margin ':' [lineColour [':' [defaultFill]]] cells
//   cells  = '[' item {sep item} [sep] ']'  |  item        (no '[': one cell, no rows)
//   item   = '[' item {sep item} ']'  (group: a row)  |  header '|' content
//   header = ['T']width[':'height] ',' rowSpan ',' colSpan ',' valign ',' fill
//            [':' sides [':' lineColour [':' lineWidth]]]
//   colour = "RGB" hex digits (0xFF000000 + value)  |  decimal (style colour number)
// Every reading failure raises AParserError ("kytab") with its text also in the
// shared error text; sizes and spans are bounded (kMaxRows, kMaxColumns).
#pragma once

#include "base/object/AString.h"

class AKytabCell;
class AKytabFragment;

// What the writer asks for each numbered cell of a shape.
class ATableCellSource {
public:
    virtual ~ATableCellSource() = default;
    // The cell's text; first, fifth and sixth are the header's width, fill and sides.
    virtual AString getCell(int cellNumber, int16_t* first, int16_t* fifth, int16_t* sixth, void* context) = 0;
};

namespace KyTab {

const long kMaxRows = 2000;
const long kMaxColumns = 500;
// Pixel and percent values beyond this are refused: no table is drawn that wide.
const long kMaxLength = 100000;

// The first c not escaped by '\', or the terminating NUL.
const char* FindUnescaped(const char* text, char c);
// The first c before end, unescaped and outside '[' '{' nesting; null when none.
const char* FindUnnested(const char* text, char c, const char* end);
// Reads a colour value; answers where reading stopped.
const char* ParseColour(const char* text, long* value);

// Reads the description [start, end) into the table's fields and answers the
// root node, one reference held for the caller.
AKytabCell* ParseTable(AKytabFragment& table, const char* start, const char* end);
// One node over [start, end): a group or a cell; one reference held for the caller.
AKytabCell* ParseItem(AKytabFragment& table, const char* start, const char* end, int depth);
// Appends one child per separated item of a group's inside.
void ParseList(AKytabFragment& table, AKytabCell* node, const char* start, const char* end, int depth);
// Reads a cell item: header into the node, then its content.
void ParseCell(AKytabFragment& table, AKytabCell* node, const char* start, const char* end);

// Markup for a shape ("0|1|-1,2|3|4": rows by ',', cell numbers by '|', -1 a
// span or an empty cell); a shape beyond 50 positions or cell numbers is refused.
AString WriteTable(ATableCellSource* source, const char* shape, const char* options, const char* separator,
                   void* context);

// The separator of the rows the application writes (its renderers parse
// tables with '*').
const char kRowSeparator = '*';
// The style-sheet colour that fills alternate rows.
const long kAlternateFill = 2;

// One table row: "/&TABLE:" options, then, for an alternate row, the line
// colour 0 and the default fill kAlternateFill, then "[[" the three items
// ("header|content", as the caller writes them) separated by kRowSeparator,
// and "]]&/". Options end with the ':' after the margin ("100%:N0:").
AString MakeTableRow(const char* options, const char* first, const char* second, const char* third,
                     bool alternate);

// Raises AParserError ("kytab") with the text, also put in the shared error text.
[[noreturn]] void Fail(const char* text, long line);

}  // namespace KyTab
