// Nested start and end of the filter package and its work string.
#include "search/engine/XkFilter.h"

#include "base/procedural/KyString.h"

namespace {

int g_nesting = 0;
KY_String* g_work = nullptr;

}  // namespace

int EXK_PkgInit() {
    if (g_nesting++ > 0)
        return 1;
    g_work = KY_NewString(0, "");
    if (!g_work) {
        --g_nesting;
        return 0;
    }
    return 1;
}

void EXK_PkgEnd() {
    if (g_nesting == 0 || --g_nesting > 0)
        return;
    g_work = KY_FreeString(g_work);
}

KY_String* EXK_WorkString() {
    return g_work;
}
