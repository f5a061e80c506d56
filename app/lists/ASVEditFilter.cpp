// The application's edit-field filter.
#include "app/lists/ASVEditFilter.h"

#include <cstring>

AString ASVEditFilter::Clean(const AString& text) {
    const char* s = text.c_str();
    const char* cut = strchr(s, '\xA9');
    AString out(s, cut ? static_cast<long>(cut - s) : text.length());
    return out.replacingChars("\t\n\r", ' ', false);
}
