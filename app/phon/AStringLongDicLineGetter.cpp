// Link rows over a numbered dictionary of strings.
#include "app/phon/AStringLongDicLineGetter.h"

#include <new>

#include "base/object/ALongDic.h"
#include "base/procedural/AError.h"

AString AStringLongDicLineGetterCallBack::formatLine(long line, const AString& raw, int16_t rowMarkup) {
    (void)line, (void)rowMarkup;
    if (raw.empty())
        return AString();
    AString row("/E");
    row += escape_ ? escape_(raw.c_str()) : raw;
    row += "#";
    row += raw;
    return row;
}

AStringLongDicLineGetter::AStringLongDicLineGetter(const AStringLongDic* dic,
                                                   AStringLongDicLineGetterCallBack::Escape escape)
    : dic_(dic) {
    setCallBack(CheckAlloc(new (std::nothrow) AStringLongDicLineGetterCallBack(std::move(escape)), "PhonemPane",
                           __LINE__));
}

long AStringLongDicLineGetter::getLineCount() {
    return dic_ ? dic_->count() : 0;
}

AString AStringLongDicLineGetter::getRawLine(long record, long line) {
    (void)line;
    if (!dic_ || record < 0 || record >= dic_->count())
        return AString();
    return dic_->getString(record);
}

AString AStringLongDicLineGetter::getColumnSortText(int16_t column) {
    (void)column;
    return preparedText_;
}

void AStringLongDicLineGetter::prepareLine(long record, int16_t sortMode) {
    (void)sortMode;
    preparedLine_ = record;
    preparedText_ = getRawLine(record, -1);
}
