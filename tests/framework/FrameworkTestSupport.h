// Shared set-up of the framework tests: a class registry, the least
// application object (the tree's root with its command queue, update list,
// shared answers and command target) and a captured error stream, all made
// and released inside each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/commands/ACommandQueue.h"
#include "framework/commands/AUpdateList.h"
#include "framework/components/ACommand.h"
#include "framework/components/AComponent.h"
#include "tests/support/TestHooks.h"

class AActionTable;

class TestApp : public AComponent {
public:
    TestApp();
    ~TestApp() override;
    long executeCommand(ACommand* command) override;
    void componentDeleted(AComponent* component) override;
    // The flush after an outermost open or before a close: delivers the updates.
    void flush();
    // A turn of the main loop's pending work: updates, then the queued commands.
    void runPending();
    // Makes the component (null: the application) the target: 1 done, 0 refused.
    int16_t setTarget(AComponent* component);

    ACommandQueue queue{this, 1};
    AUpdateList updates;
    ANoChangeCommand* noChange;        // owned
    APassThroughCommand* passThrough;  // owned
    AComponent* target = nullptr;
    AActionTable* tables[2] = {nullptr, nullptr};  // not owned
    int flushes = 0;
    int clipboardNotices = 0;
};

class FrameworkTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads layout bytes under parent; answers the first component, or null
    // when the layout is empty or the load failed (then loadFailed is set).
    AComponent* loadBytes(const std::vector<unsigned char>& bytes, AComponent* parent, int16_t graft = 0);
    // The class names and ids of parent's children: "AComponent:7 ATreeIncluder:0".
    static std::string describeChildren(AComponent* parent);

    TestApp* app = nullptr;
    bool loadFailed = false;
    CaptureStream errors;
};

// A layout in bytes: the header 02 00 02 00, then the given block bytes.
std::vector<unsigned char> LayoutBytes(std::initializer_list<std::vector<unsigned char>> parts);
// One object: class name with its NUL, then record and children bytes.
std::vector<unsigned char> ObjectBytes(const char* className, std::vector<unsigned char> rest);
