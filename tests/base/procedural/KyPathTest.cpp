// Paths: normalising, joining and cutting, temporary names, folder chains,
// drives and the shell's special folders.
#include "base/procedural/BAlloc.h"
#include "base/procedural/KyPath.h"
#include "tests/base/procedural/FileTestSupport.h"

#include <windows.h>

#include <string>

namespace {

using Paths = TempFolderTest;

std::string Text(const KY_FileSpec& spec) {
    return spec.text ? spec.text : "<empty>";
}

std::string CurrentFolder() {
    char buffer[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

}  // namespace

TEST(PathText, FullPathNormalises) {
    struct Row {
        const char* name;
        int code;
        std::string expected;
    } rows[] = {
        {"C:", 0, "C:"},
        {"C:\\", 0, "C:"},
        {"c:/dir//sub/", 0, "c:\\dir\\sub"},
        {"\\\\server\\\\share\\\\dir\\", 0, "\\\\server\\share\\dir"},
        {"//server/share", 0, "\\\\server\\share"},
        {"\\", 0, "\\"},
        {"name.txt", 0, CurrentFolder() + "\\name.txt"},
        {"", kFileErrPath, "<empty>"},
        {nullptr, kFileErrPath, "<empty>"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name ? r.name : "null");
        KY_FileSpec spec = {nullptr};
        EXPECT_EQ(r.code, KY_FullPath(r.name, &spec));
        EXPECT_EQ(r.expected, Text(spec));
        KY_FreeFileSpec(&spec);
    }
    EXPECT_EQ(kFileErrArg, KY_FullPath("C:", nullptr));
}

TEST(PathText, ParentsNamesAndJoins) {
    struct Row {
        const char* path;
        const char* parent;
        const char* name;
    } rows[] = {
        {"C:\\a\\b\\f.txt", "C:\\a\\b", "f.txt"},
        {"C:\\a.txt", "C:", "a.txt"},
        {"C:", "C:", ""},
        {"\\\\server", "\\\\server", ""},
        {"\\\\server\\share", "\\\\server", "share"},
        {"C:\\a-component-longer-than-thirty-one-characters.txt", "C:",
         "a-component-longer-than-thirty-one-characters.txt"},
    };
    KY_FileSpec spec = {nullptr};
    KY_FileSpec out = {nullptr};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        ASSERT_EQ(0, KY_FullPath(r.path, &spec));
        EXPECT_EQ(0, KY_GetParentDir(&spec, &out));
        EXPECT_EQ(r.parent, Text(out));
        char name[64];
        EXPECT_EQ(0, KY_GetFileName(&spec, name, sizeof name));
        EXPECT_STREQ(r.name, name);
    }
    KY_FileSpec empty = {nullptr};
    char small[4] = "xyz";
    EXPECT_EQ(kFileErrPath, KY_GetParentDir(&empty, &out));
    EXPECT_EQ(kFileErrPath, KY_GetFileName(&empty, small, sizeof small));
    ASSERT_EQ(0, KY_FullPath("C:\\dir\\longname.txt", &spec));
    EXPECT_EQ(kFileErrArg, KY_GetFileName(&spec, small, sizeof small)) << "no copy past the buffer";
    EXPECT_STREQ("", small);
    EXPECT_EQ(0, KY_SetPathExtension(".idx", &spec, false));
    EXPECT_EQ("C:\\dir\\longname.idx", Text(spec));
    EXPECT_EQ(0, KY_SetPathExtension("bak", &spec, true));
    EXPECT_EQ("C:\\dir\\longname.idx.bak", Text(spec));

    struct Join {
        const char* folder;
        const char* name;
        const char* expected;
    } joins[] = {
        {"C:\\dir", "\\sub/f.txt", "C:\\dir\\sub\\f.txt"},
        {"C:", "f.txt", "C:\\f.txt"},
        {"C:\\dir", nullptr, "C:\\dir"},
    };
    for (const Join& j : joins) {
        SCOPED_TRACE(j.expected);
        ASSERT_EQ(0, KY_FullPath(j.folder, &spec));
        EXPECT_EQ(0, KY_MakePath(&spec, j.name, &out));
        EXPECT_EQ(j.expected, Text(out));
    }
    KY_FreeFileSpec(&spec);
    KY_FreeFileSpec(&out);
}

TEST_F(Paths, TemporaryNamesDeletionAndChains) {
    KY_FileSpec folder = {nullptr};
    KY_FileSpec file = {nullptr};
    ASSERT_EQ(0, KY_FullPath(folder_.c_str(), &folder));
    EXPECT_EQ(kFileErrPath, KY_MakeTempName("abc", &folder, &file));
    EXPECT_EQ(nullptr, file.text);
    ASSERT_EQ(0, KY_MakeTempName("ab", &folder, &file));
    EXPECT_TRUE(KY_FileExists(&file));
    EXPECT_EQ(folder_ + "\\ab", std::string(file.text).substr(0, folder_.size() + 3));
    EXPECT_EQ(0, KY_DeleteFile(&file));
    EXPECT_FALSE(KY_FileExists(&file));
    EXPECT_EQ(0, KY_DeleteFile(&file)) << "a missing file is no failure";

    WriteAll(PathOf("plain"), "x");
    struct Row {
        std::string path;
        int code;
        std::string made;  // a folder that exists afterwards
    } rows[] = {
        {PathOf("a\\b\\c"), 0, PathOf("a\\b\\c")},
        {PathOf("d/e/"), 0, PathOf("d\\e")},
        {PathOf("plain\\sub\\x"), kPathErrFolder, ""},
        {"", 0, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_EQ(r.code, KY_CreateDirs(r.path.c_str()));
        if (!r.made.empty()) {
            EXPECT_TRUE(PathExistsOnDisk(r.made));
        }
    }
    EXPECT_EQ(PathOf("plain"), KY_LastFailedDir());

    KY_FileSpec dir = {nullptr};
    EXPECT_EQ(0, KY_JoinPath(&folder, "/j1/j2", &dir));
    EXPECT_EQ(PathOf("j1\\j2"), Text(dir));
    EXPECT_TRUE(KY_PathExists(dir.text));
    EXPECT_EQ(0, KY_NewDirSpec((folder_ + "/n1/").c_str(), &dir));
    EXPECT_EQ(PathOf("n1"), Text(dir));
    EXPECT_TRUE(KY_PathExists(dir.text));
    EXPECT_EQ(kFileErrPath, KY_NewDirSpec("", &dir));
    char small[8];
    EXPECT_FALSE(KY_FileSpecText(&dir, small, sizeof small));
    KY_FreeFileSpec(&dir);
    EXPECT_TRUE(KY_FileSpecText(&dir, small, sizeof small));
    KY_FreeFileSpec(&folder);
    KY_FreeFileSpec(&file);
}

// Names read from files are joined only when they stay inside the folder.
TEST_F(Paths, NamesFromFilesStayInTheirFolder) {
    struct Row {
        const char* name;
        const char* joined;  // below the folder, or null when refused
    } rows[] = {
        {"f.txt", "f.txt"},
        {"sub/f.txt", "sub\\f.txt"},
        {"sub\\..\\f.txt", "sub\\..\\f.txt"},
        {"./sub//f.txt", ".\\sub\\f.txt"},
        {"a..b\\.f", "a..b\\.f"},
        {"..\\f.txt", nullptr},
        {"../f.txt", nullptr},
        {"sub/../../f.txt", nullptr},
        {"..", nullptr},
        {"...\\f.txt", nullptr},
        {"sub\\.. \\..\\f.txt", nullptr},
        {"\\f.txt", nullptr},
        {"/f.txt", nullptr},
        {"\\\\server\\share\\f.txt", nullptr},
        {"C:f.txt", nullptr},
        {"D:\\f.txt", nullptr},
        {"f.txt:stream", nullptr},
        {nullptr, nullptr},
    };
    KY_FileSpec folder = {nullptr};
    ASSERT_EQ(0, KY_FullPath(folder_.c_str(), &folder));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name ? r.name : "null");
        std::string expected = r.joined ? PathOf(r.joined) : "<empty>";
        KY_FileSpec made = {nullptr};
        EXPECT_EQ(r.joined ? 0 : kFileErrPath, KY_MakePathInside(&folder, r.name, &made));
        EXPECT_EQ(expected, Text(made));
        KY_FreeFileSpec(&made);
        if (!r.name)
            continue;
        EXPECT_EQ(r.joined ? 0 : kFileErrPath, KY_JoinPathInside(&folder, r.name, &made));
        EXPECT_EQ(expected, Text(made));
        KY_FreeFileSpec(&made);
    }
    KY_FileSpec made = {nullptr};
    EXPECT_EQ(kFileErrPath, KY_MakePathInside(&made, "f.txt", &made)) << "no folder to stay in";
    KY_FreeFileSpec(&folder);
}

TEST(Drives, KindsAndCurrentFolder) {
    int missing = 25;
    while (missing > 2 && (GetLogicalDrives() & (1u << missing)))
        --missing;
    ASSERT_GT(missing, 2);
    EXPECT_EQ(0, KY_DriveKind(missing));
    EXPECT_EQ(0, KY_DriveKind(-1));
    EXPECT_EQ(2, KY_DriveKind(2)) << "C: is a fixed disk";

    char* cwd = KY_GetCwd();
    ASSERT_NE(nullptr, cwd);
    EXPECT_EQ(CurrentFolder(), cwd);
    int drive = cwd[0] - 'A';
    KY_Free(cwd);
    EXPECT_EQ(drive, KY_FindDriveWith("", 0, 25));
    EXPECT_EQ(2, KY_FindDriveWith("windows\\system32", 2, 2));
    EXPECT_EQ(-1, KY_FindDriveWith("no-such-folder-anywhere\\x", 0, 25));
}

TEST(SpecialFolders, ShellThenRegistry) {
    char buffer[1024];
    EXPECT_EQ(static_cast<long>(E_FAIL), SHF_FolderFromRegistry(2, 1, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(0, SHF_FolderFromRegistry(2, 28, buffer, sizeof buffer));
    EXPECT_NE('\0', buffer[0]);

    KY_FileSpec spec = {nullptr};
    struct Row {
        int (*get)(KY_FileSpec*);
        const char* what;
    } rows[] = {
        {KY_GetLocalAppDataDir, "local application data"},
        {KY_GetCommonAppDataDir, "common application data"},
        {KY_GetWindowsDir, "windows"},
        {KY_GetPersonalDir, "personal"},
        {KY_GetCurrentDir, "current"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ASSERT_EQ(0, r.get(&spec));
        EXPECT_TRUE(KY_FileExists(&spec)) << Text(spec);
    }
    EXPECT_EQ(0, SHF_GetFolderPath(&spec, 37));
    KY_FreeFileSpec(&spec);

    // A folder asked again is the same text, whole, and a short buffer is
    // still refused rather than filled past its end.
    char first[MAX_PATH], again[MAX_PATH] = "x";
    ASSERT_EQ(0, SHF_LoadGetFolderPath(2, 26, first, sizeof first));
    ASSERT_EQ(0, SHF_LoadGetFolderPath(2, 26, again, sizeof again));
    EXPECT_NE('\0', first[0]);
    EXPECT_STREQ(first, again);
    EXPECT_EQ(static_cast<long>(E_INVALIDARG), SHF_LoadGetFolderPath(2, 26, again, 10));
}

// The folders looked up beside the one asked for are each kept under their
// own number: asked for afterwards, each is the shell's own answer for it.
TEST(SpecialFolders, FoldersFoundTogetherKeepTheirOwnNames) {
    HMODULE shell = LoadLibraryA("shell32.dll");
    ASSERT_NE(nullptr, shell);
    using Fn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    auto direct = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")));
    ASSERT_NE(nullptr, direct);
    char ours[MAX_PATH], theirs[MAX_PATH];
    ASSERT_EQ(0, SHF_LoadGetFolderPath(2, 35, ours, sizeof ours));
    for (int number : {28, 26, 35}) {
        SCOPED_TRACE(number);
        ASSERT_EQ(0, SHF_LoadGetFolderPath(2, number, ours, sizeof ours));
        ASSERT_TRUE(SUCCEEDED(direct(nullptr, number, nullptr, 0, theirs)));
        EXPECT_STREQ(theirs, ours);
    }
    FreeLibrary(shell);

    KY_FileSpec spec = {nullptr};
    char windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    ASSERT_EQ(0, SHF_GetFolderPath(&spec, 36));
    EXPECT_EQ(0, _stricmp(windows, Text(spec).c_str())) << Text(spec);
    KY_FreeFileSpec(&spec);
}
