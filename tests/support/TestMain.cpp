// Entry of every test executable: installs the test seams and a listener that
// fails the test which leaks framework objects or string bodies.
#include "base/object/AObject.h"
#include "base/object/AString.h"
#include "tests/support/TestHooks.h"

#include <gtest/gtest.h>

namespace {

class LeakListener : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        objects_ = AObject::liveCount();
        strings_ = _AString::instanceCount();
        ClearBoxes();
        g_reportInProgress = 0;
    }
    void OnTestEnd(const testing::TestInfo& info) override {
        if (info.result()->Failed())
            return;
        EXPECT_EQ(objects_, AObject::liveCount()) << "live objects leaked by " << info.name();
        EXPECT_EQ(strings_, _AString::instanceCount()) << "string bodies leaked by " << info.name();
    }
    long objects_ = 0;
    long strings_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    InstallTestSeams();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new LeakListener);
    return RUN_ALL_TESTS();
}
