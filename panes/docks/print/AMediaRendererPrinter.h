// The printer of a media image: one pass over the given renderer, a page
// header 4 units taller with a rule under it. With key 10 clear the image
// view prints unchanged, its first layer shown again.
//
// The options are not owned. A renderer without a view, a view without an
// image view child, or no options object are assertions ("appclass").
#pragma once

#include <cstdint>

#include "docengine/render/ARendererPrinter.h"

class ALongDicInfo;

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
    ALongDicInfo* options_;  // not owned
};
