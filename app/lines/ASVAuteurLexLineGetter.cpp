// The author lexicon and its row.
#include "app/lines/ASVAuteurLexLineGetter.h"

#include <string>

AString ASVAuteurLineGetterCallBack::formatLine(long line, const AString& raw, int16_t rowMarkup) {
    (void)line, (void)rowMarkup;
    std::string text(raw.c_str());
    size_t stop = text.find_first_of("\r\n");
    if (stop != std::string::npos)
        text.resize(stop);
    size_t hash = text.find('#');
    std::string name = text.substr(0, hash);
    // Index keys may be padded to their field width.
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return row(name.c_str(), hash == std::string::npos ? "" : text.c_str() + hash + 1);
}

ASVAuteurLexLineGetter::ASVAuteurLexLineGetter(AKeyIndex* index, ALineGetterCallBack* callBack)
    : ASVStandardLexLineGetter(index, AString()) {
    setCallBack(callBack ? callBack : new ASVAuteurLineGetterCallBack);
}
