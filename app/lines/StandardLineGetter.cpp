// Table, result, word-list and buffer sources of the line getters.
#include "app/lines/StandardLineGetter.h"

#include <cctype>

#include "base/object/AStringList.h"
#include "base/procedural/AError.h"
#include "search/engine/request/KyRequest.h"
#include "search/facade/ASearchBase.h"
#include "search/facade/ASearchRequest.h"

StandardLineGetter::StandardLineGetter(ASearchBase* base_, ASearchRequest* request_, int16_t table_, long start_,
                                       long end_)
    : base(base_), request(request_), table(table_), start(start_), end(end_), recordBase(0), levelStyles{0, 0} {
    if (!base)
        ThrowAssert("ulinegtr", 200);
    // A request without a run has no result to show.
    if (request && request->getResultCount(0) < 0)
        ThrowAssert("ulinegtr", 204);
}

long StandardLineGetter::getLineCount() {
    if (request)
        return request->getResultCount(0);
    if (end == start)
        return base->getRecordCount(table);
    return end - start;
}

long StandardLineGetter::referenceOf(long record, long* number) {
    if (!request) {
        *number = record + start;
        return base->makeDocRef(table, *number);
    }
    int32_t doc = 0;
    int part = 0;
    KY_SplitDocRef(&doc, &part, static_cast<KyDocRef>(request->getResultDoc(record + 1)));
    *number = doc;
    return part > 0 ? base->makeDocRef(table, doc + recordBase) : doc;
}

int16_t StandardLineGetter::getLineLocation(long record) {
    long number = 0;
    long reference = request ? request->getResultDoc(record + 1) : referenceOf(record, &number);
    return base->getRecordKey(table, reference);
}

AString StandardLineGetter::getRawLine(long record, long line) {
    (void)line;
    long number = 0;
    long reference = referenceOf(record, &number);
    AString text = base->getText(table, reference, 1);
    if (callBack_)
        text = callBack_->transformRawText(text);
    text += "\n";
    if (!base->getTableFlag(table))
        return text;
    short level = base->getTableValue(table, number, 1);
    if (!level)
        return text;
    const char style = static_cast<char>('0' + (level == 2 ? levelStyles[0] : levelStyles[1]) % 10);
    if (text[0] == '/' && isdigit(static_cast<unsigned char>(text[1]))) {
        const char digit[2] = {style, 0};
        text.replaceInterval(1, 2, digit, 0, 1);
    } else {
        const char head[3] = {'/', style, 0};
        AString styled(head);
        styled += text;
        text = styled;
    }
    return text;
}

StandardLexLineGetter::StandardLexLineGetter(AStringList* words_, long start_, long end_)
    : words(words_), start(start_), end(end_) {
    if (!words)
        ThrowAssert("ulinegtr", 300);
    words->addRef();
}

StandardLexLineGetter::StandardLexLineGetter(long start_, long end_) : words(nullptr), start(start_), end(end_) {}

StandardLexLineGetter::~StandardLexLineGetter() {
    ReleaseAndNull(words);
}

long StandardLexLineGetter::entryCount() {
    return words ? words->count() : 0;
}

AString StandardLexLineGetter::entryText(long n) {
    return AString(words && n >= 0 && n <= INT16_MAX ? words->at(static_cast<short>(n)) : "");
}

long StandardLexLineGetter::getLineCount() {
    return end == start ? entryCount() : end - start;
}

AString StandardLexLineGetter::getRawLine(long record, long line) {
    (void)line;
    AString text = entryText(record + start);
    text += "\n";
    return text;
}

BufferedLineGetter::BufferedLineGetter(const char* text, long length) : lines(nullptr) {
    setText(text, length);
}

BufferedLineGetter::~BufferedLineGetter() {
    ReleaseAndNull(lines);
}

void BufferedLineGetter::setText(const char* text, long length) {
    if (!text)
        ThrowAssert("ulinegtr", 400);
    AString copy = length < 0 ? AString(text) : AString(text, length);
    AssignRef(lines, new AStringList(copy.c_str(), '\n'));
}

long BufferedLineGetter::getLineCount() {
    if (!lines)
        ThrowAssert("ulinegtr", 410);
    return lines->count();
}

AString BufferedLineGetter::getRawLine(long record, long line) {
    (void)line;
    if (!lines)
        ThrowAssert("ulinegtr", 420);
    return AString(record >= 0 && record <= INT16_MAX ? lines->at(static_cast<short>(record)) : "");
}
