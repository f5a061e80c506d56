// Rows over a numbered dictionary of strings (keys 0 .. n - 1): each row a
// link whose shown text is the string with the markup's characters escaped
// and whose value is the string itself, for the sound-alike proposals.
//
// The dictionary is not owned and must outlive the getter; the callback is
// the getter's (made by its constructor). A line outside 0 .. n - 1 is empty.
#pragma once

#include <functional>

#include "app/lines/SortableLineGetter.h"

class AStringLongDic;

class AStringLongDicLineGetterCallBack : public ALineGetterCallBack {
public:
    using Escape = std::function<AString(const char*)>;
    explicit AStringLongDicLineGetterCallBack(Escape escape) : escape_(std::move(escape)) {}
    // "/E" + escaped text + "#" + text; an empty text gives an empty row.
    AString formatLine(long line, const AString& raw, int16_t rowMarkup) override;

private:
    Escape escape_;
};

class AStringLongDicLineGetter : public SortableLineGetter {
public:
    // Without escape the shown text is the string as it is.
    explicit AStringLongDicLineGetter(const AStringLongDic* dic, AStringLongDicLineGetterCallBack::Escape escape = {});

    long getLineCount() override;
    AString getRawLine(long record, long line) override;
    // The raw text of the line last prepared.
    AString getColumnSortText(int16_t column) override;
    void prepareLine(long record, int16_t sortMode) override;

private:
    const AStringLongDic* dic_;  // not owned
    AString preparedText_;
    long preparedLine_ = -1;
};
