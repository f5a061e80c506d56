// A result list of the disc with the display choice of its options panel:
// display buttons 2501 to 2503 (list, summary, thumbnails; each optional)
// send command 2500 with their place in the range. Every change of display
// rebuilds the renderer, the rows and the renderer's settings from the same
// list, and the selection goes back to the top. The disc and online option
// panes derive from it and fill its hooks; it also builds the grouped (tree)
// model they use.
//
// Holds one reference on its thumbnail supplier (data base 1, table 9), and
// its line getter through ListPane. A display button of another class than
// AIconButton fails the allocation check ("layout" 1266); a missing data
// base, list or supplier is an assertion ("layout").
#pragma once

#include "app/lists/LROptionsPane.h"

class ABaseState;
class ARenderer;
class ASVVigBitmapSupplier;
class AIconButton;

class LROptionsAfficherDVDPane : public LROptionsPane {
    SV_DECLARE_CLASS(LROptionsAfficherDVDPane)
public:
    enum : int16_t { kDisplayCommand = 2500, kFirstDisplayButton = 2501, kDisplayNames = 1210 };
    enum : int16_t { kDocumentBase = 13, kThumbnailBase = 1, kThumbnailTable = 9 };

    void readFrom(AMemoryStream& stream) override;
    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    // 2500: the display button at the record's place; other ids to the base.
    ACommand* doCommand(int16_t id, long argument) override;
    // 2500: 2 when that display is not available, 5 when it is the current one, else 1.
    int16_t commandStatus(int16_t id, long argument) override;

    // A set number key whose query gives a list: the rows are rebuilt with
    // the current choices and counted; else the view shows no rows.
    void loadList(const char* key) override;
    // None: the list display. A state: panel flag and display from keys 1300 and 1302.
    void takeLeftState(ALeftState* left) override;
    int16_t hasOptionChoice() override { return display != 0; }
    // Summary rows need a list of the current search and a highlight expression.
    void refreshChoices(int16_t reason) override;
    AString optionLabel() override;

    // Choices moved by refreshChoices, then renderer, rows and settings.
    void applyDisplay(int16_t reason);
    virtual void createRenderer();
    virtual void buildLineGetter();
    virtual void configureRenderer(int16_t select);
    // Rows of list grouped by theme, all groups closed, as the renderer's model.
    virtual void buildTreeModel(ARenderer* renderer, ALo* list);

    // 1 for the filters whose rows can be thumbnails (2 to 5).
    static int16_t isThumbnailFilter(int16_t filter);
    // The place of the pressed button in its range (the record's third
    // field), -1 without a record.
    static int16_t rangePosition(long argument);
    // Item index of string list (0-based).
    static AString listText(int16_t list, int16_t index);
    // The document number of row, -1 for a row without one.
    long docOfRow(long row);

    int16_t display = 0;
    int16_t available[3] = {0, 0, 0};

protected:
    // The button of id, null when the layout has none; another class fails
    // the allocation check at line.
    AIconButton* optionalButton(int16_t id, long line);
    ARenderer* listRenderer() const;
    void replaceBitmapSupplier();
    // Tables on, and with select the selection back to the top.
    static void finishRenderer(ARenderer* renderer, int16_t select);
    // The state's value under key, 0 when absent (asking records no key).
    static int16_t stateValue(ABaseState* state, long key);

    ASVVigBitmapSupplier* bitmapSupplier = nullptr;  // one reference held
};
