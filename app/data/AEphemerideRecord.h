// One record of the ephemeris base split into its events: each event names a
// main document and further documents, and one event is the selected one.
//
// Record text: events separated by ',', fields of an event by ':', each a
// decimal number (32-bit; non-digits read as 0):
//   f0 : f1 : main document : f3 [: further document]...
// An event of fewer than four fields is no event: its lists are empty texts,
// and the events after it keep their own index. The lists are occurrence-list
// texts "count:largest:d1,d2,..." (largest -1 when empty).
#pragma once

#include <cstdint>

#include "base/object/ALongDic.h"
#include "base/object/AString.h"

class ARefObj;

class AEphemerideRecord {
public:
    // Loads when record and event index are both 0 or more.
    AEphemerideRecord(int16_t base, int16_t table, long record, int16_t eventIndex);
    ~AEphemerideRecord();
    AEphemerideRecord(const AEphemerideRecord&) = delete;
    AEphemerideRecord& operator=(const AEphemerideRecord&) = delete;

    // Reads record's text through the data manager, then loadText. A
    // negative record reads nothing.
    void load(long record, int16_t eventIndex);
    // Splits text; an event index past the last event changes nothing.
    void loadText(const char* text, long record, int16_t eventIndex);
    // The further documents of event, "" when the last load stored none.
    AString getDocList(long event) const { return fDocLists.getString(event); }
    AString getMainDocList(long event) const { return fMainDocLists.getString(event); }
    // The first further document of event, or -1.
    long getFirstDoc(long event) const;
    void clear();

    long fRecord = -1;
    long fEventIndex = -1;
    int16_t fBase;
    int16_t fTable;
    long fField1 = -1;
    long fMainDoc = -1;
    long fField3 = -1;
    long fField0 = -1;
    int16_t fEventCount = 0;

private:
    AStringLongDic fDocLists;      // event -> further documents
    AStringLongDic fMainDocLists;  // event -> main document
    ARefObj* fHeld = nullptr;      // one reference held, or null
};
