// The online result list: the documents the online service returned for the
// current search, rows keyed by web address. Opening a row shows the web
// page the application registers for the address (a kind-8 state); an
// address it does not know beeps.
//
// Left part keys: 1004 the open request, 1012 and 1013 the selection, 1305
// and 1307 the options shown and the display. Missing enclosing panes fail
// the allocation check ("LR_NET"); a refresh without a list view is an
// assertion.
#pragma once

#include "panes/search/left/LRNetPane.h"

class DockLeftRechSIPane;

class LR_NET : public LRNetPane {
    SV_DECLARE_CLASS(LR_NET)
public:
    LR_NET();
    void readFrom(AMemoryStream& stream) override;
    void attachItems() override;
    void detachItems() override;
    void updatePane() override;

private:
    DockLeftRechSIPane* searchPane = nullptr;  // not owned
};
