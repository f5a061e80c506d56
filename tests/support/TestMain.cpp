// Entry of every test executable: installs the test seams and a listener that
// fails the test which leaks framework objects or string bodies, and one that
// notes each skipped test for the run's count.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "base/object/AObject.h"
#include "base/object/AString.h"
#include "tests/support/TestHooks.h"

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

// With SV_SKIP_DIR set (tools/test.sh sets it), each skipped test is one line
// "program: Suite.Test: reason" in a file of this process in that folder, so
// the run can count skips across every program and the children they start.
class SkipListener : public testing::EmptyTestEventListener {
public:
    explicit SkipListener(std::string file) : file_(std::move(file)) {}

private:
    void OnTestEnd(const testing::TestInfo& info) override {
        if (!info.result()->Skipped())
            return;
        std::string reason;
        for (int i = 0; i < info.result()->total_part_count(); ++i) {
            const testing::TestPartResult& part = info.result()->GetTestPartResult(i);
            if (part.skipped() && part.message())
                reason += part.message();
        }
        for (char& c : reason) {
            if (c == '\n' || c == '\r')
                c = ' ';
        }
        if (FILE* f = std::fopen(file_.c_str(), "a")) {
            std::fprintf(f, "%s: %s.%s: %s\n", program().c_str(), info.test_suite_name(), info.name(), reason.c_str());
            std::fclose(f);
        }
    }
    static std::string program() {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string name = path;
        size_t slash = name.find_last_of("\\/");
        return slash == std::string::npos ? name : name.substr(slash + 1);
    }
    std::string file_;
};

void AddSkipListener() {
    const char* dir = std::getenv("SV_SKIP_DIR");
    if (!dir || !*dir)
        return;
    // Process numbers repeat across the run's Wine servers: the clock tells them apart.
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    std::string file = std::string(dir) + "\\skipped-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(now.QuadPart) + ".txt";
    testing::UnitTest::GetInstance()->listeners().Append(new SkipListener(file));
}

}  // namespace

int main(int argc, char** argv) {
    InstallTestSeams();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new LeakListener);
    AddSkipListener();
    return RUN_ALL_TESTS();
}
