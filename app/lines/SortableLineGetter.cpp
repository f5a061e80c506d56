// The shared row algorithm of the line getters.
#include "app/lines/SortableLineGetter.h"

#include "app/lines/ALineSorter.h"
#include "app/lines/KyTabRowFormat.h"
#include "base/procedural/AError.h"

AString ALineGetterCallBack::transformRawText(const AString& raw) {
    return raw;
}

AString ALineGetterCallBack::formatLine(long line, const AString& raw, int16_t rowMarkup) {
    (void)line;
    (void)rowMarkup;
    return raw;
}

int16_t ALineGetterLocationCallBack::locate(const AString& raw) {
    (void)raw;
    return 0;
}

SortableLineGetter::SortableLineGetter()
    : callBack_(nullptr),
      locationCallBack_(nullptr),
      split_(1),
      sorter_(nullptr),
      formatter_(nullptr),
      rowTable_(nullptr),
      rowMarkup_(0) {}

SortableLineGetter::~SortableLineGetter() {
    ReleaseAndNull(sorter_);
    delete callBack_;
    delete locationCallBack_;
}

void SortableLineGetter::setLineMap(ALineSorter* sorter) {
    if (!sorter)
        ThrowAssert("ulinegtr", 120);
    AssignRef(sorter_, sorter);
}

void SortableLineGetter::setCallBack(ALineGetterCallBack* callBack) {
    if (callBack == callBack_)
        return;
    delete callBack_;
    callBack_ = callBack;
}

void SortableLineGetter::setLocationCallBack(ALineGetterLocationCallBack* callBack) {
    if (callBack == locationCallBack_)
        return;
    delete locationCallBack_;
    locationCallBack_ = callBack;
}

long SortableLineGetter::recordOf(long line) {
    return sorter_ ? sorter_->lineToRecord(line) : lineToRecord(line);
}

void SortableLineGetter::getLine(AString& out, long line) {
    long record = recordOf(line);
    if (formatter_) {
        AString raw = getRawLine(record, line);
        if (formatter_->locationPerLine)
            formatter_->location = locationCallBack_ ? locationCallBack_->locate(raw) : getLineLocation(record);
        formatter_->setLine(raw.c_str(), split_);
        out = formatter_->formatRow(line, rowMarkup_, rowTable_);
    } else if (callBack_) {
        AString raw = getRawLine(record, line);
        out = callBack_->formatLine(line, raw, rowMarkup_);
    } else {
        out = getRawLine(record, line);
    }
}

AString SortableLineGetter::getColumnSortText(int16_t column) {
    return formatter_ ? formatter_->columnSortText(column) : AString();
}

uint32_t SortableLineGetter::getSortKey(int16_t field) {
    // The formatter gives no numeric key: subclasses that sort override this.
    (void)field;
    return 0;
}

void SortableLineGetter::prepareLine(long record, int16_t sortMode) {
    if (!formatter_)
        return;
    AString raw = getRawLine(record, -1);
    formatter_->setLine(raw.c_str(), sortMode ? 1 : split_);
}
