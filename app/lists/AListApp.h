// What the list panes ask of the application object: the result count that
// the count lines write and the lists read, the style sheets and display
// options of its list renderers, the LINKS base's records, and whether a
// plain disc list is shown. The application object installs its own (and
// answers for it); without one a process-wide default answers.
//
// Not owned by the panes. The style-sheet set is not owned.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class ALo;
class AListRenderer;
class SortableLineGetter;
class ARendererView;
class AStyleSheet;
class AStyleSheetSet;

class AListApp {
public:
    AListApp() = default;
    virtual ~AListApp() = default;

    // The installed one, else the default.
    static AListApp& current();
    // Null puts the default back.
    static void install(AListApp* app);

    long getResultCount() const { return resultCount; }
    void setResultCount(long count) { resultCount = count; }
    void setStyleSheets(AStyleSheetSet* set) { sheets = set; }
    // Sheet number n of the application's set, or null.
    virtual AStyleSheet* getStyleSheet(long n);
    // A list renderer for the view with sheet n and the display options,
    // installed in the view (the view holds it); null without a view layer.
    virtual AListRenderer* createListRenderer(ARendererView* view, int16_t option, int16_t sheet);
    // The rows of a result list (no reference taken for the caller): one
    // row per document, in the list's order, keyed by document number.
    virtual SortableLineGetter* newResultLineGetter(ALo* lo);
    // Record m of table 0 of the LINKS base (base 4); n is not used.
    virtual AString getLinkRecord(long n, long m);
    void setPlainListShown(int16_t shown) { plainListShown = shown; }
    int16_t isPlainListShown() const { return plainListShown; }

    uint16_t displayOptions = 0;  // the renderer options the application's lists take

private:
    long resultCount = 0;
    AStyleSheetSet* sheets = nullptr;  // not owned
    int16_t plainListShown = 0;
};
