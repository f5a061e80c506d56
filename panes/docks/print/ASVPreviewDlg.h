// The reader's print preview ("Impression"): the framework's preview with a
// grey surround, the page label "Page n sur m" (1016) and a check box (1021)
// that switches between the whole page and the actual size. IMPRIMER prints
// and closes; a resize returns to the whole page.
//
// Items are the window's children (not owned); a missing or mistyped page
// label is the allocation-check error ("appclass").
#pragma once

#include <cstdint>

#include "framework/preview/APreviewDlg.h"

class AStaticText;

class ASVPreviewDlg : public APreviewDlg {
    SV_DECLARE_CLASS(ASVPreviewDlg)
public:
    enum : int16_t { kPageLabel = 1016, kWholePageBox = 1021 };
    static constexpr const char* kLayoutName = "Impression";

    ASVPreviewDlg() = default;

    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    ACommand* doCommand(int16_t id, long argument) override;
    int16_t commandStatus(int16_t id, long argument) override;
    long frameChanged(const APoint& size) override;
    void pageShown(int16_t number) override;

    // Actual size (zoom 100) from the whole page, else back to the whole page.
    void toggleWholePage();
    bool wholePage() const { return wholePage_ != 0; }
    AString pageLabel() const;

private:
    AStaticText* label_ = nullptr;  // not owned
    int16_t wholePage_ = 1;
};
