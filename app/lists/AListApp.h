// What the list panes ask of the application object: the result count that
// the count lines write and the lists read, the style sheets and display
// options of its list renderers, the LINKS base's records, and whether a
// plain disc list is shown. The application object installs its own (and
// answers for it); without one a process-wide default answers.
//
// Not owned by the panes. The style-sheet set is not owned.
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

class ABaseState;
class ASVClusterIDProvider;
class ASVLineClusterer;
class ALo;
class AHotspotRenderer;
class AListRenderer;
class ARenderer;
class ATileRenderer;
class SortableLineGetter;
class ARendererView;
class AStyleSheet;
class AStyleSheetSet;

class AListApp {
public:
    AListApp() = default;
    virtual ~AListApp();
    AListApp(const AListApp&) = delete;
    AListApp& operator=(const AListApp&) = delete;

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
    // The same for a tile renderer (thumbnails) and a hotspot renderer (no sheet).
    virtual ATileRenderer* createTileRenderer(ARendererView* view, int16_t sheet);
    virtual AHotspotRenderer* createHotspotRenderer(ARendererView* view);
    // The query of the current search and whether it holds "<EXPR>"; here none.
    virtual AString getHighlightQuery(int16_t* hasExpression);
    // The rows of a result list (no reference taken for the caller): one
    // row per document, in the list's order, keyed by document number.
    virtual SortableLineGetter* newResultLineGetter(ALo* lo);
    // Category list k (1 to 6) of the data manager, or null; no reference
    // taken for the caller.
    virtual ALo* getCategoryList(int16_t k);
    // The two theme objects of the grouped result lists, made at the first
    // request and held until the end: documents go to the theme that record
    // doc of GLB's table 1 names, and themes have no names here.
    virtual ASVLineClusterer* getThemeClusterer();
    virtual ASVClusterIDProvider* getClusterIDProvider();
    // The folder of the generated and temporary files (the ".net" results).
    virtual AFileSpec getTempDir();
    // Record m of table 0 of the LINKS base (base 4); n is not used.
    virtual AString getLinkRecord(long n, long m);
    void setPlainListShown(int16_t shown) { plainListShown = shown; }

    // List positions (rows of the view's list renderer; nothing without a
    // renderer or a model).
    // Selects first .. last and, when first is outside the shown rows,
    // scrolls it to the middle.
    void centerListLine(ARendererView* view, long first, long last);
    // Scrolls so that the line is in the middle of the shown rows.
    void scrollListToLine(ARenderer* renderer, long line);
    // The first shown row under key1, the selected row plus 1 (0: none) under key2.
    void saveListPosition(ARenderer* renderer, ABaseState* part, int16_t key1, int16_t key2);
    // Takes back what saveListPosition wrote (absent keys read 0: the top,
    // no selection); with onlyWhenNotNew, a new part keeps the list as it
    // is. With redraw the view is redrawn.
    void restoreListPosition(ARenderer* renderer, ABaseState* part, int16_t key1, int16_t key2,
                             int16_t onlyWhenNotNew, int16_t redraw);
    // The row height of the result lists: its two spacing settings.
    static void setRowSpacing(ARenderer* renderer, long height, long gap);
    int16_t isPlainListShown() const { return plainListShown; }

    uint16_t displayOptions = 0;  // the renderer options the application's lists take

private:
    long resultCount = 0;
    AStyleSheetSet* sheets = nullptr;  // not owned
    int16_t plainListShown = 0;
    ASVLineClusterer* themes = nullptr;             // one reference held, or null
    ASVClusterIDProvider* themeProvider = nullptr;  // one reference held, or null
};
