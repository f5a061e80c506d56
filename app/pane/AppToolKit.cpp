// The application's date text and table separator services.
#include "app/pane/AppToolKit.h"

#include <cstdio>

#include "base/procedural/AError.h"
#include "docengine/render/ARendererViews.h"

namespace {

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm* local = std::localtime(&now);
    return local ? *local : std::tm{};
}

}  // namespace

AString AppToolKit::dateText() const {
    std::tm today = clock_ ? clock_() : LocalNow();
    // The year within its century: 1999 gives "99", never a signed "-1".
    int year = (today.tm_year + 1900) % 100;
    if (year < 0)
        year += 100;
    char text[32];
    std::snprintf(text, sizeof text, "%02d-%02d-%02d", today.tm_mday, today.tm_mon + 1, year);
    return AString(text);
}

void AppToolKit::setKytabSeparator(ARendererView* view, char separator) {
    if (!view || !view->renderer())
        ThrowAssert("apptoolkit", 30);
    view->renderer()->enableTables(separator);
}
