// The printer of a media image: one pass over the given renderer, a page
// header 4 units taller with a rule under it. With key 10 clear the image
// view prints unchanged, its first layer shown again. With key 10 set, and a
// media document holder around the view, it prints the caption page of that
// document instead: the picture centred above its legend and copyright.
//
// The options are not owned. A renderer without a view, a view without an
// image view child, or no options object are assertions ("appclass").
#pragma once

#include <cstdint>

#include "docengine/render/ARendererPrinter.h"

class ADisplayComponent;
class ALongDicInfo;
class AMediaPreviewApp;
class AString;

class AMediaRendererPrinter : public ARendererPrinter {
public:
    explicit AMediaRendererPrinter(ALongDicInfo* options) : options_(options) {}

    // Pass 0 with a renderer installs it (again, when one is installed); 1, else 0.
    virtual int16_t preparePass(int16_t pass, ARenderer* renderer);
    long prepare(const ARect& pageRect, ARenderer* renderer) override;
    ARect headerRect(const ARect& pageRect, ARenderer* header) override;
    void drawHeader(ARenderer* header) override;
    ARenderer* makePrintedRenderer(ARenderer* renderer) override;

private:
    // A detached caption page at the body (the caller releases it), or null
    // without a holder, a document or an installed application.
    ARenderer* makeCaptionPage(ADisplayComponent* w);

    ALongDicInfo* options_;  // not owned
};

// Gives a text renderer the caption page of a document: its picture supplier
// and lead followed by the caption markup, laid out as a caption.
void SetUpCaptionRenderer(ARenderer& renderer, AMediaPreviewApp& app, long docNo, const char* lead);

// Gives a renderer view (its renderer installed) a media printer reading the
// application's print options, under the header "/|" + title in sheet 2. The
// view's layer owns the printer until its renderer changes. A view without a
// renderer layer, or no installed application, is an assertion ("appclass").
AMediaRendererPrinter* InstallMediaPrinter(ADisplayComponent* view, const AString& title);
