// Writers of several files: failing any one write or replacement of a set
// leaves the old set whole, byte for byte, and no temporary behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "search/engine/common/KyFileSet.h"
#include "search/writers/DescriptorWriter.h"
#include "search/writers/FileImage.h"
#include "search/writers/TableWriter.h"
#include "search/writers/ThesWriter.h"
#include "tests/base/procedural/TextTestSupport.h"

namespace {

typedef std::map<std::string, std::string> Snapshot;  // path -> bytes, "<none>" when absent

Snapshot Take(const std::vector<std::string>& paths) {
    Snapshot out;
    for (const std::string& path : paths) {
        std::string bytes;
        out[path] = LoadFile(path, &bytes) ? bytes : "<none>";
        std::string ignored;
        for (const char* suffix : {".new~", ".old~"})
            EXPECT_FALSE(LoadFile(path + suffix, &ignored)) << path << suffix << " left behind";
    }
    return out;
}

// Disarms the seam whatever the test does.
struct SeamGuard {
    ~SeamGuard() { KyFileSetFailStep = 0; }
};

struct Writer {
    const char* name;
    std::vector<std::string> files;
    std::function<std::string(int version)> write;  // version 0 old, 1 new
};

}  // namespace

TEST(FileSet, AFailedStepLeavesTheOldSetWhole) {
    TempFolder folder;
    SeamGuard guard;
    TablePartFiles part{folder.path("t.dat"), folder.path("t.cat"), folder.path("t.cmp"), folder.path("t.cor")};
    std::string sgm = folder.path("d.sgm");
    std::vector<Writer> writers = {
        {"table part",
         {part.data, part.catalogue, part.companion, part.cor},
         [&](int v) {
             std::vector<std::string> records = {v ? "nouveau premier" : "ancien", v ? "deux" : "ancien second"};
             return WriteTablePart(part, records, 1, 2, {v, 1 - v});
         }},
        {"descriptor",
         {sgm, folder.path("d.gen")},
         [&](int v) {
             DescriptorSpec spec;
             spec.keys = {{"VER", v ? "2" : "1"}};
             spec.generated = {{"USER", v ? "Marie" : "Jean"}};
             return WriteDescriptor(sgm, spec);
         }},
        {"thesaurus",
         {folder.path("th.abp"), folder.path("th.dct")},
         [&](int v) {
             std::vector<ThesRelation> relations = {{"fruit", 1, v ? "poire" : "pomme"}};
             if (v)
                 relations.push_back({"fruit", 3, "baie"});
             return WriteThesaurus(folder.path("th"), "", relations);
         }},
    };
    for (const Writer& w : writers) {
        SCOPED_TRACE(w.name);
        // Fails each step in turn until the write goes through: the set before
        // is kept whole at every failure, and the write's set is made at last.
        auto failEachStep = [&](const Snapshot& before, const Snapshot& after) {
            int failed = 0;
            for (int step = 1;; ++step) {
                SCOPED_TRACE(step);
                KyFileSetFailStep = step;
                KyFileSetSteps = 0;
                std::string why = w.write(1);
                KyFileSetFailStep = 0;
                if (why.empty()) {
                    EXPECT_EQ(after, Take(w.files));
                    return failed;
                }
                ++failed;
                EXPECT_EQ(before, Take(w.files));
                if (HasFailure())
                    return failed;
            }
        };
        KyFileSetFailStep = 0;
        ASSERT_EQ("", w.write(1));
        Snapshot fresh = Take(w.files);
        Snapshot none = fresh;
        for (auto& file : none) {
            DeleteFileA(file.first.c_str());
            file.second = "<none>";
        }
        // Each file is written and put in place; an old one is first set aside.
        EXPECT_EQ(2 * static_cast<int>(w.files.size()), failEachStep(none, fresh)) << "no set before";
        ASSERT_EQ("", w.write(0));
        Snapshot old = Take(w.files);
        for (const auto& file : old)
            EXPECT_NE(file.second, fresh[file.first]) << file.first << ": the versions must differ";
        EXPECT_EQ(3 * static_cast<int>(w.files.size()), failEachStep(old, fresh));
        ASSERT_EQ("", w.write(0));
    }
}
