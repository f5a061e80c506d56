// The tile renderer: the items of a list as boxes of one width side by side
// in rows filling the view, each holding one item's text; items are
// selected as list rows, arrow keys move between tiles, and scrolling steps
// by rows of tiles.
//
// Shared (ARefObj). A tile width or a column count below 1 is taken as 1.
#pragma once

#include "docengine/render/AListRenderer.h"

class ATileRenderer : public AListRenderer {
public:
    // display: how runs measure and draw (null: the drawing layer's display); not owned.
    explicit ATileRenderer(ADisplayComponent* view, ARunDisplay* display = nullptr);

    // Items at or above itemCount have no tile (0: every row of the model is one); tileWidth in pixels.
    void setTileLayout(long itemCount, long tileWidth);
    // The application's entry: the layout, and the first tile back at the top.
    void setTiles(int16_t count, long size);
    ARenderer* makeCopy(const ARect& frame, long scaleX, long scaleY, ARenderer* parent) override;
    ACommand* moveSelection(uint16_t key, uint16_t modifiers) override;

    // The item of the tile above (below) an item, or -1; below the last full row, the last item.
    long tileAbove(long item);
    long tileBelow(long item);
    // The number of items that have a tile.
    long tileCount();

    long itemCount = 0;
    int16_t fixedColumns = 0;  // nonzero: the number of columns, and the tile width follows from it
    long tileWidth = 92;
    int16_t columns = 1;  // computed before each layout
    long spanWidth = 0;   // the width the columns share, computed with them

protected:
    ALineRenderer* newLineLayer(ARunDisplay* display) override;
    // Tiles are never refused.
    bool refusesRow(long) override { return false; }
};
