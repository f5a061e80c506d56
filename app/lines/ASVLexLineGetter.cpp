// The lexicon line getters and their table-row callback.
#include "app/lines/ASVLexLineGetter.h"

#include <cstring>
#include <string>

#include "app/lines/KyTabRowFormat.h"
#include "search/facade/AKeyIndex.h"
#include "search/facade/SearchError.h"

const LexRange& DefaultLexRange() {
    static const LexRange range;
    return range;
}

AString ASVTableLineGetterCallBack::row(const char* name, const char* key) {
    std::string out = "/&TABLE:100%:N0:[[100,0,0,0,0:0|//";
    out += KyTab::EscapeCell(name).c_str();
    out += "]]&/#";
    out += key ? key : "";
    return AString(out.c_str());
}

AString ASVTableLineGetterCallBack::formatLine(long line, const AString& raw, int16_t rowMarkup) {
    (void)line, (void)rowMarkup;
    std::string text(raw.c_str());
    size_t stop = text.find_first_of("\r\n");
    if (stop != std::string::npos)
        text.resize(stop);
    size_t hash = text.find('#');
    if (hash == std::string::npos)
        return row(text.c_str(), "");
    return row(text.substr(0, hash).c_str(), text.c_str() + hash + 1);
}

ASVStandardLexLineGetter::ASVStandardLexLineGetter(AKeyIndex* index, const AString& text)
    : ASVStandardLexLineGetter(index, DefaultLexRange()) {
    text_ = text;
}

ASVStandardLexLineGetter::ASVStandardLexLineGetter(AKeyIndex* index, const LexRange& range)
    : StandardLexLineGetter(range.start, range.end), index_(index), count_(-1) {
    setCallBack(new ASVTableLineGetterCallBack);
}

long ASVStandardLexLineGetter::entryCount() {
    if (count_ < 0) {
        count_ = 0;
        if (index_) {
            try {
                count_ = index_->getCount();
            } catch (const ASearchError&) {
                count_ = 0;  // an index without data: no rows
            }
        }
    }
    return count_;
}

AString ASVStandardLexLineGetter::entryText(long n) {
    if (!index_ || n < 0 || n >= entryCount())
        return AString();
    try {
        return index_->getText(n);
    } catch (const ASearchError&) {
        return AString();
    }
}

ASVAtlasLexLineGetter::ASVAtlasLexLineGetter(AKeyIndex* index, const LexRange& range)
    : ASVStandardLexLineGetter(index, range) {}
