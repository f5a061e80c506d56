// Change notices: immediate delivery, brackets, registration and removal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "docengine/depend/ADependable.h"

namespace {

// Logs "name:code/data" for every notice.
class Recorder : public ADependent {
public:
    Recorder(std::string* log, const char* name) : log_(log), name_(name) {}
    void changed(ADependable*, long code, long data) override {
        *log_ += name_ + ":" + std::to_string(code) + "/" + std::to_string(data) + " ";
    }

private:
    std::string* log_;
    std::string name_;
};

}  // namespace

TEST(DependableTest, BracketsDeferDatalessNoticesUntilTheOutermostCloses) {
    struct Step {
        char op;  // n notify, b begin, e end, m mark the log
        long code = 0;
        long data = 0;
    };
    struct Row {
        const char* name;
        std::vector<Step> steps;
        const char* want;
    } rows[] = {
        {"no bracket", {{'n', 5, 0}, {'n', 3, 7}}, "r:5/0 r:3/7 "},
        {"one bracket", {{'b'}, {'n', 5, 0}, {'n', 3, 0}, {'n', 5, 0}, {'m'}, {'e'}}, "| r:3/0 r:5/0 "},
        {"nested", {{'b'}, {'b'}, {'n', 9, 0}, {'e'}, {'m'}, {'e'}}, "| r:9/0 "},
        {"data passes", {{'b'}, {'n', 4, 1}, {'m'}, {'e'}}, "r:4/1 | "},
        {"negative codes first", {{'b'}, {'n', 2, 0}, {'n', -6, 0}, {'e'}}, "r:-6/0 r:2/0 "},
        {"reopened", {{'b'}, {'n', 1, 0}, {'e'}, {'b'}, {'e'}}, "r:1/0 "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string log;
        Recorder r(&log, "r");
        ADependable source;
        r.dependOn(&source);
        for (const Step& s : row.steps) {
            if (s.op == 'n')
                source.notify(s.code, s.data);
            else if (s.op == 'b')
                source.beginChange();
            else if (s.op == 'e')
                source.endChange();
            else
                log += "| ";
        }
        EXPECT_EQ(row.want, log);
        r.stopDependingOn(&source);
    }
}

TEST(DependableTest, RegistrationIsASetAndNullIsIgnored) {
    std::string log;
    Recorder a(&log, "a");
    ADependable source;
    a.dependOn(&source);
    a.dependOn(&source);
    a.dependOn(nullptr);
    a.stopDependingOn(nullptr);
    source.notify(1, 0);
    EXPECT_EQ("a:1/0 ", log);
    a.stopDependingOn(&source);
    EXPECT_EQ(0, source.dependentCount());
    source.notify(2, 0);
    {
        AChangeBracket bracket(&source);
        AChangeBracket none(nullptr);
        source.notify(3, 0);
    }
    EXPECT_EQ("a:1/0 ", log);
}

TEST(DependableTest, ADependentMayLeaveFromInsideItsNotice) {
    std::string log;
    ADependable source;
    // Each one removes both; whichever is called first, the other is not called.
    struct Leaver : public ADependent {
        ADependable* source = nullptr;
        ADependent* other = nullptr;
        int calls = 0;
        void changed(ADependable*, long, long) override {
            ++calls;
            stopDependingOn(source);
            source->removeDependent(other);
        }
    } x, y;
    x.source = y.source = &source;
    x.other = &y;
    y.other = &x;
    x.dependOn(&source);
    y.dependOn(&source);
    source.notify(8, 0);
    EXPECT_EQ(1, x.calls + y.calls);
    EXPECT_EQ(0, source.dependentCount());
}

TEST(DependableTest, ABracketClosesOnAnExceptionPath) {
    std::string log;
    Recorder r(&log, "r");
    ADependable source;
    r.dependOn(&source);
    try {
        AChangeBracket bracket(&source);
        source.notify(6, 0);
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ("r:6/0 ", log);
    source.notify(7, 0);
    EXPECT_EQ("r:6/0 r:7/0 ", log);
    r.stopDependingOn(&source);
}
