// String lists.
#include "base/object/AStringList.h"

#include "base/procedural/AError.h"

#include <cstring>
#include <new>

namespace {
const char kEmptyItem[1] = "";
// Items past this are not indexable by a 16-bit number.
const long kMaxItems = 32767;
}  // namespace

AStringList::AStringList(const char* text, char separator, bool filter, const char* substitution)
    : count_(0), items_(nullptr), separators_(AString(&separator, 1)), filter_(filter), substitution_(substitution) {
    if (!text)
        ThrowAssert("bstrutil", 33);
    setText(text);
    build();
}

AStringList::AStringList(const char* text, const char* separators, bool filter, const char* substitution)
    : count_(0), items_(nullptr), separators_(separators), filter_(filter), substitution_(substitution) {
    if (!text)
        ThrowAssert("bstrutil", 46);
    setText(text);
    build();
}

AStringList::~AStringList() {
    DeleteAndNullArray(items_);
}

const char* AStringList::at(short index) const {
    if (index < 0 || index >= count_)
        return kEmptyItem;
    return items_[index];
}

long AStringList::lengthAt(short index) const {
    if (index < 0 || index >= count_)
        return 0;
    return static_cast<long>(std::strlen(items_[index]));
}

void AStringList::setText(const char* text) {
    if (!filter_) {
        text_ = AString(text);
        return;
    }
    // "/$" is the substitution; "/x" is a code and goes, unless the slash is
    // escaped by a backslash; a slash that ends the text stays.
    AString out;
    const char* sub = substitution_.c_str();
    for (const char* p = text; *p; ++p) {
        if (p[0] == '/' && p[1] == '$') {
            out.append(sub, substitution_.length());
            ++p;
        } else if (p[0] == '/' && p[1] && !(p > text && p[-1] == '\\')) {
            ++p;
        } else {
            out += *p;
        }
    }
    text_ = out;
}

void AStringList::build() {
    if (items_)
        ThrowAssert("bstrutil", 160);
    text_.makeUnique(true);
    char* t = text_.body()->text;
    const char* seps = separators_.c_str();
    long len = text_.length();
    long n = 1;
    for (long i = 0; i < len; ++i) {
        if (t[i] && std::strchr(seps, t[i]))
            ++n;
    }
    items_ = CheckAlloc(new (std::nothrow) char*[n + 1], "bstrutil", 161);
    long k = 0;
    items_[k++] = t;
    for (long i = 0; i < len; ++i) {
        if (t[i] && std::strchr(seps, t[i])) {
            t[i] = 0;
            items_[k++] = t + i + 1;
        }
    }
    items_[k] = nullptr;
    if (*items_[n - 1] == 0 && seps[0] == '\n')
        --n;
    count_ = static_cast<short>(n > kMaxItems ? kMaxItems : n);
}
