// The fragment of an inline kytab table: reads its description, places the
// cells on a grid honouring spans, fills the holes, and gives the table's
// plain text, its export and its one data run. The sub-parser that makes it
// is the document parser's hand-off for "/&...&/".
//
// Owns its grid's references and the description root. Reading failures raise
// AParserError ("kytab") from the constructor; no fragment is made then.
#pragma once

#include <cstdint>
#include <vector>

#include "docengine/model/AFragParser.h"
#include "docengine/model/AFragment.h"

class AKytabCell;
class ARunDisplay;
class AStyleSheet;

class AKytabFragment : public ATextFragment {
public:
    enum : int16_t { kAuto = 1, kAbsolute = 2, kPercent = 3 };

    AKytabFragment(ASegment* segment, AFragment* previous, ALocalRange range, uint16_t flags, ALocalRange name,
                   uint16_t linkKind, long defaultFill, char separator);
    ~AKytabFragment() override;

    ADataRun* nextDataRun(ADataRun* previous, bool cutAtBlanks) override;
    AString getText(ALocalRange range) override;
    bool isTable() const override { return true; }
    void exportTo(AExportWriter* writer, ALocalRange range, const AExportContext& context) override;

    // 0 in auto mode, else pixels for the available width.
    long tableWidth(long available) const;
    // The grid slot, grown on demand; a negative or out-of-bounds index is refused.
    AKytabCell* cellAt(long row, long column);
    // Keeps one reference on the cell, drops the old occupant's.
    void setCell(AKytabCell* cell, long row, long column);
    AKytabCell* description() const { return description_; }

    int16_t rowCount;
    int16_t columnCount;
    int16_t widthMode;
    long marginH, marginV;
    long widthValue;
    int16_t frameKind;
    long defaultFill;  // -1: none
    long lineColour;
    char separator;

private:
    void placeCells();
    void fillHoles();
    // A new cell of this table (bounded in number), one reference for the caller.
    AKytabCell* newCell();
    AKytabCell* filler();
    void storeNew(AKytabCell* cell, long row, long column);
    void clearGrid();
    static void dropRow(AKytabCell* node);
    // The column widths of an export for the available width; natural-width
    // cells are measured on the display with the sheet when both are given.
    std::vector<long> exportWidths(long available, ARunDisplay* measure, AStyleSheet* sheet);
    long measuredWidth(AKytabCell* cell, ARunDisplay* measure, AStyleSheet* sheet);

    std::vector<std::vector<AKytabCell*>> grid_;  // one reference per non-null slot
    long cellsMade_;
    AKytabCell* description_;  // one reference held; its tree holds one on each node
};

class AKytabSubParser : public ASubParser {
public:
    explicit AKytabSubParser(char separator) : separator_(separator), defaultFill_(-1) {}
    AFragment* makeFragment(ASegment* segment, AFragment* previous, ALocalRange range, uint16_t flags, ALocalRange name,
                            uint16_t linkKind) override;

private:
    char separator_;
    int16_t defaultFill_;
};

class ALineRenderer;
// Installs a new table sub-parser with the separator on the fragment parser of
// the renderer's model; a renderer without a model or parser is an assertion.
void EnableTables(ALineRenderer* renderer, char separator);
