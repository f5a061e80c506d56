// The chronology screen's top dock: a text view (item 3012, left empty) and
// the button 2605 that takes the reader from the chronology back to the
// article whose historical context it shows; the button shows only while
// there is such an article.
//
// The items, the main window and the switcher are not owned; a missing one
// fails the allocation check ("DockTopChronoPane").
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"

class AIconButton;
class ARendererView;
class DockLCRPane;

class DockTopChronoPane : public SVPane {
    SV_DECLARE_CLASS(DockTopChronoPane)
public:
    enum : int16_t { kTextView = 3012, kReturn = 2605, kDocument = 2606 };

    DockTopChronoPane() = default;

    // Record: SVPane's, FFFF.
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void setUpItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    void updatePane() override;
    // The state's document part shows the chronology (type 7).
    int16_t isPaneWanted() override;

    // A chronology reached from an article (fDocNo >= 0) whose left part is not the chronology's own (kind 5).
    bool canReturn();
    // Back to the article, in a new state that keeps the chronology's year; the chronology's state becomes temporary.
    void returnToArticle();
    AIconButton* returnButton() const { return return_; }

private:
    DockLCRPane* switcher_ = nullptr;    // not owned
    ARendererView* text_ = nullptr;      // item 3012, not owned
    AIconButton* return_ = nullptr;      // item 2605, not owned
};
