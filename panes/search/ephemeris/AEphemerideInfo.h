// The record of one calendar day of the ephemeris base (base 10): its events,
// the selected event's year, text record, article and picture record, and the
// document lists of every event. A plain object made on the stack.
//
// The day's text is split by the navigation state's record parser
// (AEphemerideRecord, with its format diagram): fields are 32-bit, and an
// event of fewer than four fields keeps its index with empty lists. Day index:
//   (month - 1) * 31 + (day - 1)   month 1..12, day 1..31; 372 slots
// The selected event's fields stay -1 when the day has no such event or the
// event has fewer than four fields. Read errors of the base reach the caller.
#pragma once

#include <cstdint>

#include "app/data/AEphemerideRecord.h"

class AEphemerideInfo : public AEphemerideRecord {
public:
    enum : int16_t { kBase = 10, kDayTable = 0, kTextTable = 1 };

    // Loads when day and event are both 0 or more.
    AEphemerideInfo(int16_t base, int16_t table, long day, int16_t event)
        : AEphemerideRecord(base, table, day, event) {}

    // The day index of a day (1..31) of a month (1..12).
    static long dayIndex(long month, long day) { return (month - 1) * 31 + day - 1; }

    // "count:largest:docs" of the event's related documents (fields 4 on), "" when none was stored.
    AString relatedListText(long event) const { return getDocList(event); }
    // "1:doc:doc" of the event's article.
    AString docListText(long event) const { return getMainDocList(event); }
    // The event's first related document, or -1 when it has none.
    long firstRelatedDoc(long event) const { return getFirstDoc(event); }

    long year() const { return fField0; }
    long textRecord() const { return fField1; }
    long docNo() const { return fMainDoc; }
    long pictureRecord() const { return fField3; }
    int16_t count() const { return fEventCount; }
};
