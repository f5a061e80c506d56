// The content of the "Forme approchante" window: the looked-up word (item
// 6901) over the list of the application's sound-alike proposals (6902).
// A click on a proposal, or 6904 on the selected one, makes it the chosen
// text; 6903 closes without a choice. Every command ends the application's
// local loop and closes the window.
//
// Holds one reference on its line getter; the views and the proposals are
// not owned. A missing view fails the allocation check ("PhonemPane").
// The window shell supplies the header renderer, the escaping of shown
// texts and the end of the loop through the three hooks.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "framework/app/AWindow.h"

class ARendererView;
class AStringLongDicLineGetter;
class IPhonAbp;

class PhonemPane : public AWindow {
    SV_DECLARE_CLASS(PhonemPane)
public:
    enum : int16_t { kHeader = 6901, kList = 6902, kCancel = 6903, kTake = 6904 };

    PhonemPane() = default;
    ~PhonemPane() override;

    void setUpItems() override;
    void detachItems() override;
    void bindActions() override;
    int16_t commandStatus(int16_t id, long argument) override;
    ACommand* doCommand(int16_t id, long argument) override;

    // Fills both views from the application's proposals.
    void refreshList();

    ARendererView* headerView() const { return header_; }
    ARendererView* candidateView() const { return list_; }
    AStringLongDicLineGetter* candidateGetter() const { return getter_; }
    // The header's markup as refreshList last set it.
    const AString& headerMarkup() const { return headerText_; }

protected:
    // The text renderer of the header; none here.
    virtual void setUpHeaderView(ARendererView* view) { (void)view; }
    // The shown text of a proposal; as it is here.
    virtual AString escapeRowText(const char* text) { return AString(text); }
    // Ends the caller's local loop (flag 2).
    virtual void endLocalLoop() {}
    virtual IPhonAbp* proposals();

private:
    ACommand* finish(const AString& chosen);

    ARendererView* header_ = nullptr;            // not owned
    ARendererView* list_ = nullptr;              // not owned
    AStringLongDicLineGetter* getter_ = nullptr;  // one reference held
    AString headerText_;
};
