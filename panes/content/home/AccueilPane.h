// The home screen (screen mode 0): its container, which marks the state as
// no longer new once its panes were updated, and the container of its top
// band. The frame is SVPane's (not owned).
#pragma once

#include "app/frame/SVPane.h"

class AccueilPane : public SVPane {
    SV_DECLARE_CLASS(AccueilPane)
public:
    AccueilPane() = default;
    int16_t isPaneWanted() override;
    void updatePane() override;
};

class TopAccueilPane : public SVPane {
    SV_DECLARE_CLASS(TopAccueilPane)
public:
    TopAccueilPane() = default;
};
