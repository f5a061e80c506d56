// Finding, replacing and expanding with a compiled regular expression.
#include "base/object/ARegExp.h"

#include "base/procedural/KyRegExp.h"
#include "base/procedural/KyString.h"

namespace {

AString Expanded(const char* templ) {
    KY_String s;
    KY_InitString(&s, 0, "");
    KY_ReplaceFormatted(&s, templ);
    AString result(s.text, static_cast<long>(s.length));
    KY_FreeString(&s);
    return result;
}

[[noreturn]] void Raise(int number) {
    FormatErrorMessage("regexp error %d : %s", number, number ? KY_RegErrorText(number) : "Not enough room");
    ThrowTyped(ARegExpError("bregexp", 47, number));
}

// KY_RegExecAt that raises where it would answer -1.
bool Search(const char* subject, long offset, const KY_RegExp* re, long* start, long* end) {
    int found = KY_RegExecAt(subject, offset, re, start, end);
    if (found < 0)
        Raise(KY_RegLastError());
    return found == 1;
}

}  // namespace

ARegExp::ARegExp(const char* pattern) : re_(KY_RegComp(pattern)) {
    if (!re_)
        Raise(KY_RegLastError());
}

ARegExp::~ARegExp() {
    KY_RegFree(re_);
}

bool ARegExp::match(const AString& text, long* start, long* end) const {
    subject_ = text;
    return Search(subject_.c_str(), 0, re_, start, end);
}

AString ARegExp::replace(const AString& text, const char* replacement, bool expanded, bool all) const {
    subject_ = text;
    const char* s = subject_.c_str();
    long length = subject_.length();
    long position = 0;
    long start = 0;
    long end = 0;
    AString result;
    while (Search(s, position, re_, &start, &end)) {
        result.append(s + position, start - position);
        if (expanded)
            result += Expanded(replacement);
        else
            result += replacement;
        position = end;
        if (end == start) {
            if (start >= length)
                break;
            result.append(s + start, 1);
            position = start + 1;
        }
        if (!all || re_->anchored)
            break;
    }
    result.append(s + position, length - position);
    return result;
}

AString ARegExp::replaceFirst(const AString& text, const char* replacement) const {
    return replace(text, replacement, false, false);
}

AString ARegExp::replaceAll(const AString& text, const char* replacement) const {
    return replace(text, replacement, false, true);
}

AString ARegExp::replaceAllExpanded(const AString& text, const char* templ) const {
    return replace(text, templ, true, true);
}

AString ARegExp::group(int n) const {
    long start = 0;
    long end = 0;
    if (!KY_RegGroup(n, &start, &end))
        return AString();
    return AString(KY_RegLastSubject() + start, end - start);
}

AString ARegExp::expand(const char* templ) const {
    return Expanded(templ);
}
