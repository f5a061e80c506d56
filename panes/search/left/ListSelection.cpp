// Row runs of the search panes' lists.
#include "panes/search/left/ListSelection.h"

#include <string>

#include "docengine/render/AListRenderer.h"
#include "docengine/render/ARendererViews.h"

void SelectListRun(ARendererView* view, long first, long last) {
    auto* list = dynamic_cast<AListRenderer*>(view ? view->renderer() : nullptr);
    if (!list || !list->model())
        return;
    if (first < 0 || last < first) {
        list->selectLines(-1, 0);
        list->showLine(-2);
    } else {
        list->selectRow(first, 0, 0, -1);
    }
    view->invalidate();
}

long NextRow(long line, long lineCount) {
    return line + 1 < lineCount ? line + 1 : (lineCount > 0 ? lineCount - 1 : 0);
}

AString UnescapedKey(const AString& key) {
    std::string out;
    for (const char* p = key.c_str(); *p; ++p) {
        if (*p == '\\' && p[1])
            ++p;
        out += *p;
    }
    return AString(out.c_str());
}
