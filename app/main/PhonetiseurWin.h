// The window of the phonetic search (layout "Phonetiseur"): a text view
// (item 6901) and a list (6902) that the phonetic pane of the layout fills
// and answers; the window itself only enables commands 6902 to 6904.
//
// The views are not owned. Missing items and the GLB base missing are
// assertions ("appclass").
#pragma once

#include <cstdint>

#include "framework/app/AWindow.h"

class ARendererView;

class PhonetiseurWin : public AWindow {
    SV_DECLARE_CLASS(PhonetiseurWin)
public:
    enum : int16_t { kText = 6901, kList = 6902, kFirstCommand = 6902, kLastCommand = 6904 };

    PhonetiseurWin();
    ~PhonetiseurWin() override;

    void setUpItems() override;
    void bindActions() override;
    int16_t commandStatus(int16_t id, long argument) override;

    // True while window exists (TheApp::openPhonetiseur's loop).
    static bool isOpen(const PhonetiseurWin* window);

    ARendererView* textView() const { return text_; }
    ARendererView* listView() const { return list_; }

private:
    ARendererView* text_ = nullptr;  // not owned
    ARendererView* list_ = nullptr;  // not owned
};
