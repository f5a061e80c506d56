// A bar filled from its left edge in proportion to a position between 0 and
// a maximum (the application's progress dialogs).
//
// Positions above the maximum are clamped; setting a position before a
// maximum is an assertion ("fextras"). Coordinates are the bar's local pixels.
#pragma once

#include "framework/views/AView.h"

class AProgressBar : public AView {
    SV_DECLARE_CLASS(AProgressBar)
public:
    // Palette-relative grey 128, 128, 128.
    static constexpr COLORREF kDefaultBarColour = 0x02808080;

    AProgressBar();
    AProgressBar(AComponent* parent, int16_t id, const ASizeSpec& rule, int16_t cursorId, uint16_t idMode,
                 const char* environment, uint16_t focusMode);

    // Stores the value of a full bar; nothing is redrawn.
    void setMaximum(long maximum) { maximum_ = maximum; }
    // Moves the fill edge and invalidates the strip between the old and new edges.
    void setPosition(long value);
    void setBarColour(COLORREF colour) { barColour_ = colour; }

    long maximum() const { return maximum_; }
    long position() const { return position_; }
    long fillEdge() const { return fillEdge_; }
    COLORREF barColour() const { return barColour_; }

    void attachItems() override;
    // Fills up to the edge in the bar colour, then frames the bounds in the text colour.
    long drawContent(const ARect& rect) override;

private:
    long maximum_;
    long position_;
    long fillEdge_;  // local x where the filled part ends
    COLORREF barColour_;
};
