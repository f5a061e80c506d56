// The author lexicon and its row.
#include "app/lines/ASVAuteurLexLineGetter.h"

#include <string>

AString ASVAuteurLineGetterCallBack::formatLine(long line, const AString& raw, int16_t rowMarkup) {
    // Index keys may be padded to their field width: the name loses its trailing spaces.
    std::string text(raw.c_str());
    size_t hash = text.find('#');
    size_t end = text.find_last_not_of(' ', hash == std::string::npos ? std::string::npos : hash - 1);
    if (hash != 0)
        text.erase(end == std::string::npos ? 0 : end + 1, (hash == std::string::npos ? text.size() : hash) -
                                                              (end == std::string::npos ? 0 : end + 1));
    return ASVTableLineGetterCallBack::formatLine(line, AString(text.c_str()), rowMarkup);
}

ASVAuteurLexLineGetter::ASVAuteurLexLineGetter(AKeyIndex* index, ALineGetterCallBack* callBack)
    : ASVStandardLexLineGetter(index, AString()) {
    setCallBack(callBack ? callBack : new ASVAuteurLineGetterCallBack);
}
