// Document references and the parse of HDGINFO records.
#include "app/state/ADocRef.h"

#include <cstdlib>
#include <initializer_list>
#include <cstring>
#include <string>
#include <vector>

#include "app/state/MarkedLines.h"
#include "app/state/TextFields.h"
#include "base/object/ARefObj.h"

ADocBaseNames* gDocBaseNames = nullptr;

namespace {

long Number(const std::string& text) {
    return std::atol(text.c_str());
}

}  // namespace

ADocRef::ADocRef(const ADocRef& other)
    : fDocNo(other.fDocNo), fBase(other.fBase), fTable(other.fTable), fRecord(other.fRecord) {
    AssignRef(fAttached, other.fAttached);
}

ADocRef::~ADocRef() {
    ReleaseAndNull(fAttached);
}

void ADocRefInfo::parse(const char* text) {
    std::vector<std::string> fields = SplitFields(text, '\t');
    const std::string& flags = fields[0];
    if (flags.size() != 15)
        ThrowStateFormat("information record: field 0 is not 15 flags", 60);
    fInfo.clear();
    for (long k = 0; k < 15; ++k) {
        char c = flags[static_cast<size_t>(k)];
        fInfo.slot(k) = c >= '0' && c <= '9' ? c - '0' : 0;
    }
    fType = static_cast<int16_t>(Number(FieldAt(fields, 1)));
    std::vector<std::string> record = SplitFields(FieldAt(fields, 2).c_str(), ':');
    fRecord = Number(record[0]);
    if (record.size() > 1)
        fNbFrame = static_cast<int16_t>(Number(record[1]));
    fField3 = Number(FieldAt(fields, 3));
    fField4 = Number(FieldAt(fields, 4));
    std::vector<std::string> base = SplitFields(FieldAt(fields, 5).c_str(), ':');
    fDocBase = gDocBaseNames ? gDocBaseNames->baseIndex(base[0].c_str()) : -1;
    fDocBaseNo = static_cast<int16_t>(Number(FieldAt(base, 1)));
    int16_t cdBase = -1;
    fCdBase = gDocBaseNames && gDocBaseNames->cdBaseOf(fDocNo, &cdBase) ? cdBase : fDocBase;
    fField6 = Number(FieldAt(fields, 6));
    std::vector<std::string> last = SplitFields(FieldAt(fields, 7).c_str(), ':');
    if (!last[0].empty())
        fField7First = Number(last[0]);
    if (!FieldAt(last, 1).empty())
        fField7Second = Number(last[1]);
}

int16_t ADocRefInfo::getInfo(long key) {
    return static_cast<int16_t>(fInfo.slot(key));
}

bool ADocRefInfo::hasAnyInfo() {
    for (long key : {0L, 1L, 2L, 3L, 4L, 5L, 6L, 7L, 8L, 12L, 13L, 14L})
        if (getInfo(key) != 0)
            return true;
    return false;
}

long ADocRefInfo::firstMediaInfo() {
    for (long key = 4; key <= 8; ++key)
        if (getInfo(key) != 0)
            return key;
    return -1;
}

long ADocRefInfo::firstMediaIconId() {
    static const long kIcons[] = {1503, 1502, 1527, 1501, 1528};
    long key = firstMediaInfo();
    return key < 0 ? -1 : kIcons[key - 4];
}

long ADocRefInfo::getMediaKind() const {
    static const long kKinds[] = {0, 4, 3, 3, 5, 6, 4};
    return fType >= 0 && fType <= 6 ? kKinds[fType] : -1;
}
