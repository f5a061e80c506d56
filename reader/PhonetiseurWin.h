// The window "Forme approchante" (layout "Phonetiseur"): the proposal pane
// with the application's header renderer, its escaping of shown texts and
// its local loop, which ends when a command says so or the window goes by
// any road (close box, Escape, quit).
//
// The views are not owned. The GLB base missing is an assertion ("appclass").
#pragma once

#include <cstdint>

#include "panes/search/phonetic/PhonemPane.h"

class PhonetiseurWin : public PhonemPane {
    SV_DECLARE_CLASS(PhonetiseurWin)
public:
    enum : int16_t { kText = kHeader, kFirstCommand = kList, kLastCommand = kTake };

    PhonetiseurWin();
    ~PhonetiseurWin() override;

    void setUpItems() override;

    // True while window exists (TheApp::openPhonetiseur's loop).
    static bool isOpen(const PhonetiseurWin* window);

    ARendererView* textView() const { return headerView(); }
    ARendererView* listView() const { return candidateView(); }

protected:
    void setUpHeaderView(ARendererView* view) override;
    AString escapeRowText(const char* text) override;
    void endLocalLoop() override;
};
