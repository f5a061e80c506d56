// The decoding of the animations' and pages' command texts.
#include "app/data/AFSCommInfo.h"

#include <string>
#include <vector>

#include "app/state/TextFields.h"

namespace {

struct KindWord {
    const char* word;
    long kind;
};

const KindWord kVersion9[] = {{"cmd", 1}, {"atl", 5}};
const KindWord kVersion10[] = {{"appl", 2}, {"fla", 3}, {"web", 4}, {"ini", 6}};

template <size_t N>
long KindOf(const KindWord (&table)[N], const std::string& word, long otherwise) {
    for (const KindWord& row : table)
        if (word == row.word)
            return row.kind;
    return otherwise;
}

}  // namespace

AFSCommInfo::AFSCommInfo(const char* text) {
    read(text);
}

void AFSCommInfo::read(const char* text) {
    std::string t = text ? text : "";
    std::vector<std::string> parts = SplitFields(t, '?');
    fVersion = t.compare(0, 4, "sv10") == 0 ? 10 : 9;
    if (fVersion == 9) {
        fKind = KindOf(kVersion9, FieldAt(SplitFields(parts[0], ':'), 1), 2);
        std::string argument = FieldAt(SplitFields(FieldAt(parts, 1), ':'), 0);
        if (fKind == 2 || fKind == 5) {
            std::vector<std::string> pair = SplitFields(argument, '=');
            fName = AString(pair[0].c_str());
            fValue = AString(FieldAt(pair, 1).c_str());
        } else if (fKind == 1) {
            fName = AString(argument.c_str());
            fValue = fName;
        }
        return;
    }
    std::vector<std::string> p = SplitFields(FieldAt(parts, 1), ':');
    std::vector<std::string> pair = SplitFields(p[0], '=');
    fKind = KindOf(kVersion10, pair[0], -1);
    fValue = AString(FieldAt(pair, 1).c_str());
    std::string extra;
    for (char c : FieldAt(p, 1))
        if (c != ' ')
            extra += c;
    fExtra = AString(extra.c_str());
}
