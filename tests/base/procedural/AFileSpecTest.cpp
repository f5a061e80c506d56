// File specifications, the folder lister and the well-known folders.
#include "base/object/AFileSpec.h"
#include "base/object/AFolderSpecs.h"
#include "base/object/BAlloc.h"
#include "base/procedural/ADirectoryLister.h"
#include "tests/base/procedural/FileTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using FileSpecs = TempFolderTest;

std::string P(const AFileSpec& spec) {
    return spec.empty() ? "<empty>" : spec.path().c_str();
}

// Runs fn; answers "file:line:code" of the AFileSpecError it raised, or "none".
template <class Fn>
std::string RaisedBy(Fn fn) {
    try {
        fn();
    } catch (const AFileSpecError& e) {
        return std::string(e.file()) + ":" + std::to_string(e.line()) + ":" + std::to_string(e.code());
    }
    return "none";
}

}  // namespace

TEST(FileSpec, EqualityParentsAndNames) {
    EXPECT_TRUE(AFileSpec("C:/Dir/F.TXT") == AFileSpec("c:\\dir\\f.txt"));
    EXPECT_TRUE(AFileSpec() == AFileSpec());
    EXPECT_TRUE(AFileSpec("C:\\dir\\f.txt") != AFileSpec("C:\\dir\\g.txt"));
    EXPECT_TRUE(AFileSpec("C:\\dir") != AFileSpec());

    AFileSpec fallback("C:\\fallback");
    struct Row {
        const char* path;
        std::string parent;  // with mustExist clear and the fallback
        std::string raised;  // with mustExist set
        const char* name;
    } rows[] = {
        {"C:\\f.txt", "C:", "none", "f.txt"},
        {"C:\\", "C:\\fallback", "bstream:177:2009", ""},
        {"\\\\server", "C:\\fallback", "bstream:177:2009", ""},
        {"C:\\a-component-well-beyond-thirty-one-characters", "C:", "none",
         "a-component-well-beyond-thirty-one-characters"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        AFileSpec spec(r.path);
        EXPECT_EQ(r.parent, P(spec.parent(false, &fallback)));
        EXPECT_EQ(r.raised, RaisedBy([&] { spec.parent(true); }));
        EXPECT_STREQ(r.name, spec.name().c_str());
    }
    EXPECT_EQ("<empty>", P(AFileSpec("C:").parent(false)));
    EXPECT_EQ("bstream:99:2009", RaisedBy([] { AFileSpec(""); }));
    EXPECT_EQ("bstream:195:2009", RaisedBy([] { AFileSpec().name(); }));

    AFileSpec copy("C:\\dir\\index.dat");
    copy = copy;
    EXPECT_EQ("C:\\dir\\index.dat", P(copy));
    EXPECT_EQ("C:\\dir\\sub\\x", P(AFileSpec(AFileSpec("C:\\dir"), "sub/x")));
}

TEST_F(FileSpecs, FoldersOnDisk) {
    AFileSpec folder(folder_.c_str());
    EXPECT_TRUE(folder.isDirectory());
    EXPECT_EQ("C:", P(folder.root()));
    AFileSpec missing(folder, "missing");
    EXPECT_EQ("<empty>", P(missing.root()));
    EXPECT_EQ(P(folder), P(missing.root(&folder)));

    struct Row {
        const char* what;
        int (AFileSpec::*op)() const;
        AFileSpec spec;
        int code;
    } rows[] = {
        {"create new", &AFileSpec::createDirectory, AFileSpec(folder, "d1"), 0},
        {"create existing", &AFileSpec::createDirectory, AFileSpec(folder, "d1"), kFileErrExists},
        {"create in missing", &AFileSpec::createDirectory, AFileSpec(folder, "no\\d2"), kPathErrFolder},
        {"create empty", &AFileSpec::createDirectory, AFileSpec(), kFileErrPath},
        {"remove existing", &AFileSpec::removeDirectory, AFileSpec(folder, "d1"), 0},
        {"remove missing", &AFileSpec::removeDirectory, AFileSpec(folder, "d1"), kFileErrExists},
        {"remove empty", &AFileSpec::removeDirectory, AFileSpec(), kFileErrPath},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(r.code, (r.spec.*r.op)());
    }

    AFileSpec chain((folder_ + "\\c1\\c2").c_str(), true);
    EXPECT_TRUE(chain.isDirectory());

    WriteAll(PathOf("src.txt"), "payload");
    EXPECT_EQ(0, AFileSpec(folder, "src.txt").copyTo(AFileSpec(folder, "dst.txt")));
    EXPECT_EQ("payload", ReadAll(PathOf("dst.txt")));
    EXPECT_EQ(105, AFileSpec(folder, "none.txt").copyTo(AFileSpec(folder, "dst.txt")));
}

TEST_F(FileSpecs, ListerSkipsDotNamesAndTreesAreRemoved) {
    AFileSpec folder(folder_.c_str());
    WriteAll(PathOf(".hidden"), "h");
    WriteAll(PathOf("file.txt"), "f");
    ASSERT_EQ(0, AFileSpec(folder, "sub").createDirectory());
    WriteAll(PathOf("sub\\inner.txt"), "i");
    ASSERT_EQ(0, AFileSpec(folder, "sub\\deeper").createDirectory());

    std::vector<std::string> listed;
    ADirectoryLister lister(folder);
    EXPECT_FALSE(lister.hasEntry());
    for (AFileSpec entry = lister.first(); lister.hasEntry(); entry = lister.next()) {
        EXPECT_TRUE(entry == lister.entrySpec());
        listed.push_back(std::string(entry.name().c_str()) + (lister.entryIsDirectory() ? "/" : ""));
    }
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ((std::vector<std::string>{"file.txt", "sub/"}), listed);
    EXPECT_TRUE(lister.next().empty());
    EXPECT_TRUE(ADirectoryLister(AFileSpec(folder, "missing")).first().empty());

    AFileSpec sub(folder, "sub");
    sub.removeTree(true);
    EXPECT_FALSE(sub.exists());
    EXPECT_TRUE(AFileSpec(folder, "file.txt").exists());
}

TEST_F(FileSpecs, WellKnownFolders) {
    char buffer[MAX_PATH];
    GetTempPathA(MAX_PATH, buffer);
    EXPECT_TRUE(ATempFolderSpec() == AFileSpec(buffer));
    GetCurrentDirectoryA(MAX_PATH, buffer);
    EXPECT_TRUE(ACurrentFolderSpec() == AFileSpec(buffer));
    EXPECT_TRUE(AProgramFolderSpec() == AFileSpec(buffer));
    EXPECT_TRUE(AStartFolderSpec() == AFileSpec(buffer));
    GetWindowsDirectoryA(buffer, MAX_PATH);
    EXPECT_TRUE(AWindowsFolderSpec("") == AFileSpec(buffer));

    AFileSpec folder(folder_.c_str());
    ATempFileSpec temp("ab", folder);
    EXPECT_TRUE(temp.exists());
    EXPECT_TRUE(temp.parent(true) == folder);
    EXPECT_EQ("bstream:642:2009", RaisedBy([&] { ATempFileSpec("abc", folder); }));
    ATempFileSpec inTemp;
    EXPECT_TRUE(inTemp.exists());
    inTemp.removeTree(false);
    EXPECT_FALSE(inTemp.exists());

    // A subfolder that can be made is made; one that cannot gives the folder itself.
    AFileSpec local = ALocalAppDataSpec("");
    std::string base = "sv-test-" + std::to_string(GetCurrentProcessId());
    AFileSpec made = ALocalAppDataSpec(base.c_str());
    EXPECT_TRUE(made.isDirectory());
    EXPECT_TRUE(made.parent(true) == local);
    WriteAll(std::string(made.path().c_str()) + "\\blocker", "x");
    EXPECT_TRUE(ALocalAppDataSpec((base + "\\blocker\\sub").c_str()) == local);
    made.removeTree(true);
    EXPECT_FALSE(made.exists());
}

TEST_F(FileSpecs, RefusedFolderChainRaisesWithoutLeaking) {
    WriteAll(PathOf("blocker"), "x");
    std::string path = folder_ + "\\blocker\\" + std::string(150, 'n');
    EXPECT_EQ("bstream:113:106", RaisedBy([&] { AFileSpec(path.c_str(), true); }));
    uint32_t before = BAlloc::segmentCount();
    for (int i = 0; i < 600; ++i)
        RaisedBy([&] { AFileSpec(path.c_str(), true); });
    EXPECT_LE(BAlloc::segmentCount(), before + 1) << "the refused path is freed before the raise";
}
