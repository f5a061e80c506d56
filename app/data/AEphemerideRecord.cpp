// Ephemeris records and their events.
#include "app/data/AEphemerideRecord.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/data/ADataManager.h"
#include "app/state/TextFields.h"
#include "base/object/ARefObj.h"
#include "search/facade/ALoSimple.h"
#include "search/facade/ASearchBase.h"

namespace {

}  // namespace

AEphemerideRecord::AEphemerideRecord(int16_t base, int16_t table, long record, int16_t eventIndex)
    : fBase(base), fTable(table) {
    if (record >= 0 && eventIndex >= 0)
        load(record, eventIndex);
}

AEphemerideRecord::~AEphemerideRecord() {
    ReleaseAndNull(fHeld);
    clear();
}

void AEphemerideRecord::clear() {
    fDocLists.removeAll();
    fMainDocLists.removeAll();
}

void AEphemerideRecord::load(long record, int16_t eventIndex) {
    if (record < 0 || eventIndex < 0 || !gDataManager)
        return;
    ASearchBase* base = gDataManager->getBase(fBase);
    // A record beyond the table (a day the base does not hold) is an empty day.
    if (!base || record >= base->getRecordCount(fTable))
        return;
    loadText(base->getText(fTable, record, 1).c_str(), record, eventIndex);
}

void AEphemerideRecord::loadText(const char* text, long record, int16_t eventIndex) {
    fRecord = record;
    fEventIndex = eventIndex;
    std::vector<std::string> events = SplitFields(text, ',');
    if (static_cast<long>(events.size()) - 1 < eventIndex)
        return;
    clear();
    fEventCount = static_cast<int16_t>(events.size());
    for (size_t i = 0; i < events.size(); ++i) {
        std::vector<std::string> fields = SplitFields(events[i].c_str(), ':');
        long key = static_cast<long>(i);
        if (fields.size() < 4) {
            // Kept in its place: the later events stay on their own documents.
            fDocLists.setString(key, "");
            fMainDocLists.setString(key, "");
            continue;
        }
        if (key == eventIndex) {
            fField0 = std::atol(fields[0].c_str());
            fField1 = std::atol(fields[1].c_str());
            fMainDoc = std::atol(fields[2].c_str());
            fField3 = std::atol(fields[3].c_str());
        }
        long largest = -1;
        std::string joined;
        for (size_t f = 4; f < fields.size(); ++f) {
            long doc = std::atol(fields[f].c_str());
            largest = doc > largest ? doc : largest;
            joined += (f > 4 ? "," : "") + std::to_string(doc);
        }
        std::string list = std::to_string(fields.size() - 4) + ":" + std::to_string(largest) + ":" + joined;
        fDocLists.setString(key, list.c_str());
        long m = std::atol(fields[2].c_str());
        std::string main = "1:" + std::to_string(m) + ":" + std::to_string(m);
        fMainDocLists.setString(key, main.c_str());
    }
}

long AEphemerideRecord::getFirstDoc(long event) const {
    AString text = getDocList(event);
    // An empty list ("0:-1:") or none: no list object to read.
    if (std::atol(text.c_str()) <= 0)
        return -1;
    ALoSimple list(text.c_str());
    list.open();
    long doc = list.first();
    list.close();
    return doc;
}
