// A node of a kytab table: a row or group of the parsed description, a cell
// with its header values and its own content model, a covered placeholder
// under another cell's span, or an empty filler.
//
// Shared (ARefObj): grid slots and the table fragment hold references; the
// tree links and `table` borrow. Null table or child are assertions ("kytab").
#pragma once

#include <cstdint>

#include "base/object/ARefObj.h"
#include "base/object/AString.h"

class AIndexedDocModel;
class AKytabFragment;

class AKytabCell : public ARefObj {
public:
    explicit AKytabCell(AKytabFragment* table);
    ~AKytabCell() override;
    AKytabCell(const AKytabCell&) = delete;
    AKytabCell& operator=(const AKytabCell&) = delete;

    void addChild(AKytabCell* child);
    // Builds the content model over [start, end) of the table's segment text
    // ('\' 'n' read as a blank and a line feed); two nulls give an empty model.
    void setContent(const char* start, const char* end);
    // The plain text of the cell within a range of segment offsets, without trailing CR and LF.
    AString getText(long rangeStart, long rangeEnd) const;
    long textLength() const;
    long childCount() const;

    long start, end;         // segment offsets of the content; 0 when none
    AKytabFragment* table;   // not owned
    AKytabCell* firstChild;  // not owned
    AKytabCell* nextSibling;
    AKytabCell* parent;
    AKytabCell* previousSibling;
    AIndexedDocModel* fModel;  // one reference held, or null
    long verticalAlign;
    long textColour;
    long fill;
    long lineColour;
    long width;
    long height;
    int16_t rowSpan, colSpan;
    int16_t covered;
    uint16_t sides;
    long lineWidth;
    long picture;  // style-sheet bitmap number, -1 for none
    int16_t titleFlag;
    int16_t isGroup;
};
