// Temporary folders and whole-file helpers of the file-layer tests.
#include "tests/base/procedural/FileTestSupport.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(h, &data));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

void TempFolderTest::SetUp() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    GetTempFileNameA(temp, "kyt", 0, name);
    DeleteFileA(name);
    ASSERT_TRUE(CreateDirectoryA(name, nullptr)) << name;
    folder_ = name;
    fs_ = KY_NewFileSys();
    ASSERT_NE(nullptr, fs_);
}

void TempFolderTest::TearDown() {
    for (int i = 0; i < specCount_; ++i)
        KY_FreeOpenSpec(&specs_[i]);
    KY_FreeFileSys(fs_);
    KY_ResetFileSystemCalls();
    RemoveTree(folder_);
}

KY_OpenSpec* TempFolderTest::Spec(const std::string& name, int kind, long blockSize, int blockCount) {
    // A test that needs more requests must say so, not write past the table.
    if (specCount_ >= static_cast<int>(sizeof specs_ / sizeof specs_[0])) {
        ADD_FAILURE() << "more than " << specCount_ << " open requests in one test";
        std::abort();
    }
    KY_OpenSpec* spec = &specs_[specCount_++];
    KY_FileSpec path = {nullptr};
    EXPECT_EQ(0, KY_FullPath(PathOf(name).c_str(), &path));
    EXPECT_EQ(0, KY_MakeOpenSpec(fs_, &path, kind, blockSize > 0, blockSize, blockCount, spec));
    KY_FreeFileSpec(&path);
    return spec;
}

std::string ReadAll(const std::string& path) {
    std::string data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return "<missing>";
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, n);
    std::fclose(f);
    return data;
}

void WriteAll(const std::string& path, const std::string& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
}

bool PathExistsOnDisk(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
