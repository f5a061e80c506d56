// Shared set-up of the application tests: a class registry, a real AApp
// opened on this module (no frame window), a captured error stream and the
// test clock, made and released inside each test.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/app/AApp.h"
#include "framework/components/AComponent.h"
#include "tests/support/TestHooks.h"

// A component whose timers call onTimer; it logs "<name>:<id>@<now> ".
class Ticker : public AComponent {
public:
    Ticker(AComponent* parent, const char* name) : AComponent(parent, 0), name_(name) {}
    long handleTimer(uint16_t id, uint32_t now) override;

    static std::string log;
    // The answer for each firing (nonzero: drop the timer); null answers 0.
    std::function<long(Ticker& self, uint16_t id)> onTimer;

private:
    std::string name_;
};

// The beeps of the test application (it makes no sound).
extern int TestBeeps;

class AppTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Removes every message waiting in this thread's queue.
    static void drainMessages();

    AApp* app = nullptr;
    CaptureStream errors;
};
