// Shared parts of the find tests: a search pane whose hits come from a fake
// navigator, and the pane of the test frame whose hit view is a real renderer.
#pragma once

#include <string>
#include <vector>

#include "app/find/SearchPane.h"

// Hits at fixed positions; "current" is the index of the hit shown, -1 before any.
class FakeStepper : public AHitStepper {
public:
    long showNextHit() override { return go(current + 1); }
    long showPreviousHit() override { return go(current < 0 ? -1 : current - 1); }
    long showFirstHit() override { return go(0); }
    long showLastHit() override { return go(long(hits.size()) - 1); }
    long currentPosition() override { return current < 0 ? -1 : hits[size_t(current)]; }

    std::vector<long> hits;
    long current = -1;

private:
    long go(long index) {
        if (index < 0 || index >= long(hits.size()))
            return 0;
        current = index;
        return 1;
    }
};

class FakeSearchPane : public SearchPane {
public:
    FakeSearchPane() {
        AFilter identity;
        identity.makeIdentity();
        makeHiliteSet(identity);
    }
    FakeStepper stepper;

protected:
    AHitStepper* hitStepper() override { return &stepper; }
};

// The test frame's article pane: its hit view is the renderer the test gives it.
class ArticleProbe : public SearchPane {
    SV_DECLARE_CLASS(ArticleProbe)
public:
    ArticleProbe() { restartOnFind = 1; }
    ARenderer* getHitView() override { return renderer; }
    ARenderer* renderer = nullptr;  // not owned
};
