// The base of the application's line getters: the shared row algorithm
// (record through the line map, raw text, then formatter, callback or the raw
// text itself), the row callbacks, and the sort hooks over a formatter.
//
// Owns its callback and location callback; holds one reference on its line
// map; the formatter and the row table are not owned (their maker keeps them
// for the getter's life). A missing line map given to setLineMap is an
// assertion ("ulinegtr").
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "docengine/text/AReader.h"

class ALineSorter;

namespace KyTab {
class RowFormat;
struct RowTable;
}  // namespace KyTab

// Turns raw texts into rows when a getter has no formatter.
class ALineGetterCallBack {
public:
    virtual ~ALineGetterCallBack() = default;
    // Applied to every raw text as it is read; a copy by default.
    virtual AString transformRawText(const AString& raw);
    // The row of line n; the raw text by default.
    virtual AString formatLine(long line, const AString& raw, int16_t rowMarkup);
};

// Gives each raw line its location value when the formatter wants one per line.
class ALineGetterLocationCallBack {
public:
    virtual ~ALineGetterLocationCallBack() = default;
    virtual int16_t locate(const AString& raw);
};

class SortableLineGetter : public ALineGetter {
public:
    SortableLineGetter();
    ~SortableLineGetter() override;

    void getLine(AString& out, long line) final;
    AString getColumnSortText(int16_t column) override;
    uint32_t getSortKey(int16_t field) override;
    void prepareLine(long record, int16_t sortMode) override;

    // Holds the sorter (released with the getter) and drops the previous one.
    void setLineMap(ALineSorter* sorter);
    ALineSorter* getLineMap() const { return sorter_; }
    // Takes the callback (owned), deleting the previous one.
    void setCallBack(ALineGetterCallBack* callBack);
    ALineGetterCallBack* getCallBack() const { return callBack_; }
    void setLocationCallBack(ALineGetterLocationCallBack* callBack);
    void setFormatter(KyTab::RowFormat* formatter) { formatter_ = formatter; }
    KyTab::RowFormat* getFormatter() const { return formatter_; }
    void setRowTable(const KyTab::RowTable* rowTable) { rowTable_ = rowTable; }
    void setRowMarkup(int16_t on) { rowMarkup_ = on; }
    void setSplitOption(int16_t split) { split_ = split; }

protected:
    // The record of display line n: through the line map when there is one.
    long recordOf(long line);

    ALineGetterCallBack* callBack_;                  // owned, or null
    ALineGetterLocationCallBack* locationCallBack_;  // owned, or null
    int16_t split_;
    ALineSorter* sorter_;            // one reference held, or null
    KyTab::RowFormat* formatter_;    // not owned, or null
    const KyTab::RowTable* rowTable_;  // not owned, or null
    int16_t rowMarkup_;
};
