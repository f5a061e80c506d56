// The keyword refinement list's rows.
#include "app/lines/ASVIndexLineGetter.h"

#include <new>
#include <string>
#include <vector>

#include "app/lines/KyTabRowFormat.h"
#include "base/procedural/AError.h"
#include "search/facade/ALo.h"
#include "search/facade/ASearchBase.h"

namespace {

std::vector<std::string> TabFields(const char* raw) {
    std::vector<std::string> fields(1);
    for (const char* p = raw ? raw : ""; *p && *p != '\n' && *p != '\r'; ++p) {
        if (*p == '\t')
            fields.emplace_back();
        else
            fields.back() += *p;
    }
    return fields;
}

std::string Field(const std::vector<std::string>& fields, size_t i) {
    return i < fields.size() ? fields[i] : std::string();
}

std::string Escaped(const std::string& text) {
    return KyTab::EscapeCell(text.c_str()).c_str();
}

}  // namespace

AString ASVIndexLineGetterCallBack::keyOf(const AString& raw) {
    std::vector<std::string> fields = TabFields(raw.c_str());
    std::string key = Field(fields, 2);
    for (size_t i = 3; i < 6; ++i)
        key += ":" + Field(fields, i);
    return AString(key.c_str());
}

AString ASVIndexLineGetterCallBack::formatLine(long line, const AString& raw, int16_t rowMarkup) {
    (void)line, (void)rowMarkup;
    std::vector<std::string> fields = TabFields(raw.c_str());
    std::string label = Field(fields, 0);
    std::string key = keyOf(raw).c_str();
    if (!flag)
        return AString((Escaped(label) + "#" + key).c_str());
    std::string row = "/&TABLE:100%:N0:[[100,0,0,0,0:0|//" + Escaped(label) + "*-40,0,0,0,0:0|//" +
                      Escaped(Field(fields, 1)) + "]]&/#" + key;
    return AString(row.c_str());
}

ASVIndexLineGetter::ASVIndexLineGetter(ASearchBase* searchBase, int16_t unused, ALo* keywordList, const char* headLine,
                                       const char* titleLine, const char* queryText)
    : base(searchBase), keywords(nullptr), keywordCount(0), head(headLine ? headLine : ""),
      title(titleLine ? titleLine : ""), query(queryText ? queryText : "") {
    (void)unused;
    AssignRef(keywords, keywordList);
    keywordCount = keywords ? keywords->getCount() : 0;
    setCallBack(new ASVIndexLineGetterCallBack);
}

ASVIndexLineGetter::~ASVIndexLineGetter() {
    ReleaseAndNull(keywords);
}

long ASVIndexLineGetter::getLineCount() {
    return keywords ? 2 + keywordCount : 1;
}

AString ASVIndexLineGetter::getRawLine(long record, long line) {
    (void)line;
    if (record == 0)
        return head;
    if (record == 1)
        return AString((std::string(title.c_str()) + "\t\t-1\t-1\t0\t0").c_str());
    long n = keywords && record - 2 < keywordCount ? keywords->seek(record - 2) : -1;
    if (n < 0 || !base)
        return AString();
    try {
        return base->getText(0, n, 0);
    } catch (const AError&) {
        return AString();
    }
}
