// The history popup's rows.
#include "app/frame/ASVHistoLineGetter.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "app/frame/AFrameServices.h"
#include "app/state/ABaseState.h"
#include "app/state/AppState.h"
#include "base/object/AStringList.h"
#include "base/procedural/AError.h"

namespace {

bool Has(const ALongLongDic& info, long key) {
    Pix p = info.seek(key);
    return p && info.numberOf(p) != 0;
}

long Distance(AppState* head, AppState* state) {
    long n = 0;
    for (AppState* s = head; s; s = s->getPrev(), ++n)
        if (s == state)
            return n;
    return -1;
}

}  // namespace

ASVHistoLineGetter::ASVHistoLineGetter(AppState* head, AppState* current, long lines) {
    if (!head)
        ThrowAssert("frame1", __LINE__);
    if (lines < 0)
        lines = 0;
    // Up to half the lines newer than the current state, counting it.
    const long above = lines / 2 > 0 ? lines / 2 : 1;
    AppState* start = nullptr;
    long count = 0;
    for (AppState* s = current; s; s = s->getNext()) {
        if (s->isPermanent() && ++count >= above) {
            start = s;
            break;
        }
    }
    if (!start)
        start = head;
    long key = Distance(head, start);
    for (AppState* s = start; s && static_cast<long>(states_.size()) <= lines; s = s->getPrev(), ++key) {
        if (!s->isPermanent())
            continue;
        if (s == current)
            currentLine_ = static_cast<long>(states_.size());
        states_.push_back(s);
        keys_.push_back(key);
    }
}

AString ASVHistoLineGetter::getRawLine(long record, long line) {
    (void)line;
    if (record < 0 || record >= getLineCount())
        return AString();
    return rowOf(states_[static_cast<size_t>(record)], keys_[static_cast<size_t>(record)]);
}

AString ASVHistoLineGetter::rowOf(AppState* state, long key) {
    char head[24];
    std::snprintf(head, sizeof head, "%ld\t", key);
    AString row(head);
    AFrameServices& services = FrameServices();
    ADocState* doc = state->getDocState();
    const int16_t mode = state->getScreenMode();
    const int16_t room = state->fSalle;
    const ALongLongDic& info = state->fUserInfo;
    AString title;
    if (doc && doc->fDocType == 8) {
        title = services.webPageTitle(state->getDocNo());
        row += "19\t";
        row += title.empty() ? AString("Sans titre") : title;
        return row;
    }
    if (mode == 0) {
        row += "17\tAccueil";
        return row;
    }
    if (mode == 3 || (mode == 4 && room == 7 && Has(info, 1174)) ||
        (mode == 4 && room == 6 && (Has(info, 1175) || Has(info, 1176)))) {
        row += "17\t";
        row += services.roomTitle(state);
        return row;
    }
    if (state->getDocNo() == -1) {
        row += "17\tGuide";
        return row;
    }
    AString record = services.docListRecord(state->getDocNo());
    AStringList fields(record.c_str(), '\t');
    // A record of the title alone (as the result lists read it) would leave
    // the row without a text, a popup of one empty row: the title is the record.
    if (fields.count() < 2) {
        row += "\t";
        row += record;
        return row;
    }
    row += fields.at(1);
    row += "\t";
    row += fields.at(2);
    return row;
}

AppState* ASVHistoLineGetter::stateOfKey(AppState* head, const char* key) {
    if (!key)
        return nullptr;
    errno = 0;
    char* end = nullptr;
    long n = std::strtol(key, &end, 10);
    if (end == key || errno == ERANGE || n < 0)
        return nullptr;
    AppState* s = head;
    while (s && n-- > 0)
        s = s->getPrev();
    return s;
}
