// The records an export walk passes around: the context (style sheet,
// paragraph defaults, note-marker switch), the cursor (context plus the
// models), the link record, and the table, row and cell descriptions that
// the inline-table fragment fills. Values: copies adjust reference counts.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "docengine/model/AFragment.h"

class ADocModel;
class ARefObj;
class ARunDisplay;
class AStyleSheet;

// Turns a bitmap name into an image (the export of pictures); shared.
class ABitmapSupplier;

class AExportContext {
public:
    AExportContext();
    AExportContext(const AExportContext& other);
    AExportContext& operator=(const AExportContext& other);
    virtual ~AExportContext();

    AStyleSheet* styleSheet() const { return styleSheet_; }
    void setStyleSheet(AStyleSheet* sheet);

    ABitmapSupplier* bitmapSupplier() const { return bitmapSupplier_; }
    // Holds a reference, so a cursor may outlive the renderer that made it.
    void setBitmapSupplier(ABitmapSupplier* supplier);
    void* component;                  // not owned
    int16_t styles[3];
    uint16_t scaleTabStops;
    int32_t referenceWidth;
    AParagraphFormat paragraphFormat;
    uint16_t noteMarkers;  // 0: note markers are left out
    // Measures the content of natural-width table cells (not owned); null: none, they take the row.
    ARunDisplay* measuringDisplay;

private:
    AStyleSheet* styleSheet_;          // one reference held, or null
    ABitmapSupplier* bitmapSupplier_;  // one reference held, or null
};

class AExportCursor : public AExportContext {
public:
    AExportCursor() : AExportCursor(nullptr, nullptr, nullptr, AString()) {}
    // Holds a reference on each model and the sheet (any may be null).
    AExportCursor(ADocModel* model, AStyleSheet* sheet, ADocModel* trailer, const AString& title);
    AExportCursor(const AExportCursor& other);
    AExportCursor& operator=(const AExportCursor& other);
    ~AExportCursor() override;

    ADocModel* model() const { return model_; }
    void setModel(ADocModel* model);
    ADocModel* trailerModel() const { return trailer_; }

    AString linkPrefix;
    AString title;

private:
    ADocModel* model_;    // one reference held, or null
    ADocModel* trailer_;  // one reference held, or null
};

class AExportLink : public AExportCursor {
public:
    AExportLink() : flags(0) {}
    AString text;
    uint16_t flags;  // 1: the link carries a footnote
};

struct AExportTable {
    AExportTable(int16_t first, int16_t second)
        : a(first), b(second), widthUnit(3), width(100), gap(0), value(0), kind(0), extra(0), leading(0x23) {}
    int16_t a, b;
    int16_t widthUnit;  // 3: percent
    int32_t width;
    int32_t gap;  // pixels between cells
    int32_t value;
    int16_t kind;  // -1, 1, 2 are the kinds N, B, D
    int16_t extra;
    int32_t leading;  // leading character
};

struct AExportRow : AExportTable {
    AExportRow(const AExportTable& table, uint16_t noLeading) : AExportTable(table), noLeadingRow(noLeading) {}
    uint16_t noLeadingRow;
};

struct AExportCell : AExportRow {
    AExportCell(const AExportRow& row, int16_t span, int16_t span2, int32_t right, uint16_t noLeading)
        : AExportRow(row),
          rowSpan(span),
          secondSpan(span2),
          rightEdge(right),
          value2(100),
          value3(0),
          background(0),
          borders(0),
          verticalAlign(0),
          noLeadingCell(noLeading),
          spanIndex(0) {}
    int16_t rowSpan, secondSpan;
    int32_t rightEdge;
    int32_t value2;
    int16_t value3;
    int16_t background;     // colour number
    uint16_t borders;       // 1 top, 2 left, 4 bottom, 8 right
    int32_t verticalAlign;  // 0 top, 1 centre, 2 bottom
    uint16_t noLeadingCell;
    int16_t spanIndex;
};
