// The base of the panes that show Flash animations: it turns the
// animations' requests into navigation (documents, targets named by the
// application's map index and link texts, web addresses) and shows a popup
// list of documents at the mouse.
//
// popupList holds one reference from one popup to the next or to the
// destructor; popupCallBack is owned from set-up to detach. Texts and
// numbers out of range answer 0 and open nothing.
#pragma once

#include <cstdint>

#include "app/frame/SVPane.h"
#include "app/popup/APopupTreeCallBack.h"

class ALoSimple;
class SVFlashPane;

// The document popup's callback: the chosen line goes to its Flash pane.
class APopupTreeCallBackFlash : public APopupTreeCallBack {
public:
    // The owner must be an SVFlashPane (allocation check, source SVPane).
    explicit APopupTreeCallBackFlash(AComponent* owner);
    void itemChosen(const char* value, const char* name, int16_t line, PopupTree* top) override;
};

class SVFlashPane : public SVPane {
    SV_DECLARE_CLASS(SVFlashPane)
public:
    SVFlashPane() = default;
    ~SVFlashPane() override;

    void attachItems() override { SVPane::attachItems(); }
    // SVPane's, then the popup callback.
    void setUpItems() override;
    void detachItems() override;

    // Codes 5 (map target), 2 and 3 (link target, else the text as an address).
    void onFlashCommand(int16_t code, const char* text);
    // Code 4: the text as an online address, when the service may be used.
    void onFlashNetCommand(int16_t code, const char* text);
    // "k:n": k 0 opens document n in the centre, k 1 follows link record n.
    // 1 when handled, 0 otherwise.
    int16_t openTarget(const char* text);
    // A popup of the documents of the list text at the mouse; answers 1.
    int16_t showDocumentPopup(const char* text);
    void openChosenDocument(long ignored, const char* text);

    ALoSimple* popupList() const { return popupList_; }

private:
    ALoSimple* popupList_ = nullptr;                    // one reference held, or null
    APopupTreeCallBackFlash* popupCallBack_ = nullptr;  // owned (one reference)
};
