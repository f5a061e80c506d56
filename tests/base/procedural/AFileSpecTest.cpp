// File specifications, the folder lister and the well-known folders.
#include "base/object/ADirectoryLister.h"
#include "base/object/AFileSpec.h"
#include "base/object/AFolderSpecs.h"
#include "base/procedural/BAlloc.h"
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

bool IsLink(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Polls for what another process does: a Unix program started by Wine gives
// no handle to wait on.
template <class Fn>
bool Eventually(Fn done) {
    for (int i = 0; i < 500 && !done(); ++i)
        Sleep(10);
    return done();
}

// The Unix path of a Windows one under Wine; "" elsewhere.
std::string UnixPath(const std::string& path) {
    using UnixNameFn = char*(CDECL*)(const WCHAR*);
    auto unixName = reinterpret_cast<UnixNameFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH];
    if (!unixName || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH))
        return "";
    char* text = unixName(wide);
    std::string result = text ? text : "";
    HeapFree(GetProcessHeap(), 0, text);
    return result;
}

bool RunUnix(const std::string& commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hProcess)
        CloseHandle(process.hProcess);
    if (process.hThread)
        CloseHandle(process.hThread);
    return true;
}

// A symbolic link to a folder: through the system where it makes one, else
// through Unix "ln" (Wine 8 answers CreateSymbolicLinkA with success and makes
// nothing; it shows a Unix link as a folder with the reparse attribute).
bool MakeFolderLink(const std::string& link, const std::string& target) {
    using CreateLinkFn = BOOLEAN(WINAPI*)(LPCSTR, LPCSTR, DWORD);
    auto createLink = reinterpret_cast<CreateLinkFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    if (createLink && createLink(link.c_str(), target.c_str(), 1) && IsLink(link))
        return true;
    std::string from = UnixPath(target);
    std::string to = UnixPath(link);
    return !from.empty() && !to.empty() && RunUnix("Z:\\bin\\ln -s \"" + from + "\" \"" + to + "\"") &&
           Eventually([&] { return IsLink(link); });
}

// Wine removes the folder behind a link rather than the link: Unix "rm" there.
void DropFolderLink(const std::string& link) {
    std::string path = UnixPath(link);
    if (path.empty())
        RemoveDirectoryA(link.c_str());
    else if (RunUnix("Z:\\bin\\rm -f \"" + path + "\""))
        Eventually([&] { return !IsLink(link); });
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

TEST_F(FileSpecs, ListerNamesAndTreesAreRemoved) {
    AFileSpec folder(folder_.c_str());
    WriteAll(PathOf(".hidden"), "h");
    WriteAll(PathOf("file.txt"), "f");
    ASSERT_EQ(0, AFileSpec(folder, "sub").createDirectory());
    WriteAll(PathOf("sub\\inner.txt"), "i");
    ASSERT_EQ(0, AFileSpec(folder, "sub\\deeper").createDirectory());

    struct Row {
        ADirectoryLister::Names names;
        std::vector<std::string> listed;
    } rows[] = {
        {ADirectoryLister::kSkipDotNames, {"file.txt", "sub/"}},
        {ADirectoryLister::kAllNames, {".hidden", "file.txt", "sub/"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.names);
        std::vector<std::string> listed;
        ADirectoryLister lister(folder, r.names);
        EXPECT_FALSE(lister.hasEntry());
        for (AFileSpec entry = lister.first(); lister.hasEntry(); entry = lister.next()) {
            EXPECT_TRUE(entry == lister.entrySpec());
            listed.push_back(std::string(entry.name().c_str()) + (lister.entryIsDirectory() ? "/" : ""));
        }
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(r.listed, listed);
        EXPECT_TRUE(lister.next().empty());
    }
    EXPECT_TRUE(ADirectoryLister(AFileSpec(folder, "missing")).first().empty());

    AFileSpec sub(folder, "sub");
    sub.removeTree(true);
    EXPECT_FALSE(sub.exists());
    EXPECT_TRUE(AFileSpec(folder, "file.txt").exists());
}

// Hidden entries go with their folder; whatever stays raises.
TEST_F(FileSpecs, TreeRemovalTakesHiddenEntriesAndRaisesWhatStays) {
    struct Row {
        const char* entry;  // made inside the folder
        bool inUse;         // held open, deletion refused
        const char* raised;
    } rows[] = {
        {".keep", false, "none"},
        {".cache\\.index", false, "none"},
        {"busy.dat", true, "bstream:226:106"},
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.entry);
        std::string tree = PathOf("tree" + std::to_string(++n));
        AFileSpec spec((tree + "\\" + r.entry).c_str());
        ASSERT_FALSE(AFileSpec(spec.parent(true).path().c_str(), true).empty());
        WriteAll(spec.path().c_str(), "x");
        HANDLE held = r.inUse ? CreateFileA(spec.path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            0, nullptr)
                              : INVALID_HANDLE_VALUE;
        EXPECT_EQ(r.raised, RaisedBy([&] { AFileSpec(tree.c_str()).removeTree(true); }));
        EXPECT_EQ(r.inUse, PathExistsOnDisk(tree));
        if (held != INVALID_HANDLE_VALUE)
            CloseHandle(held);
    }
}

// A link inside a tree goes itself, or the removal raises with the link left;
// the folder behind it stays whole (Wine 8 removes no folder link without
// following it, and follows it to an empty folder).
TEST_F(FileSpecs, TreeRemovalStopsAtLinks) {
    struct Row {
        const char* what;
        bool outsideHoldsFile;
    } rows[] = {
        {"link to a folder holding a file", true},
        {"link to an empty folder", false},
    };
    int n = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::string tree = PathOf("tree" + std::to_string(++n));
        std::string outside = PathOf("outside" + std::to_string(n));
        ASSERT_TRUE(CreateDirectoryA(tree.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryA(outside.c_str(), nullptr));
        WriteAll(tree + "\\file.txt", "f");
        if (r.outsideHoldsFile)
            WriteAll(outside + "\\victim.txt", "v");
        std::string link = tree + "\\link";
        if (!MakeFolderLink(link, outside))
            GTEST_SKIP() << "no folder link can be made here";

        std::string raised = RaisedBy([&] { AFileSpec(tree.c_str()).removeTree(true); });
        EXPECT_TRUE(PathExistsOnDisk(outside));
        EXPECT_EQ(r.outsideHoldsFile ? "v" : "<missing>", ReadAll(outside + "\\victim.txt"));
        if (raised == "none") {
            EXPECT_FALSE(PathExistsOnDisk(tree));
        } else {
            EXPECT_EQ("bstream:227:106", raised);
            EXPECT_TRUE(IsLink(link));
        }
        DropFolderLink(link);
    }
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
