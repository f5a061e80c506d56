// Helpers of the file-layer tests: a fresh temporary folder per test, whole-file
// reads and writes through the C library, and open requests on a test context.
#pragma once

#include "base/procedural/KyFile.h"
#include "base/procedural/KyPath.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class TempFolderTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The full path of name inside the test's folder.
    std::string PathOf(const std::string& name) const { return folder_ + "\\" + name; }
    // An open request for name in the folder on fs_ (freed at tear-down).
    KY_OpenSpec* Spec(const std::string& name, int kind = 0, long blockSize = 0, int blockCount = 0);

    std::string folder_;
    KY_FileSys* fs_ = nullptr;

private:
    KY_OpenSpec specs_[16];
    int specCount_ = 0;
};

std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& data);
bool PathExistsOnDisk(const std::string& path);
// The names in a folder but "." and "..", in listing order.
std::vector<std::string> FolderEntries(const std::string& folder);
// Deletes the folder with everything in it.
void RemoveTree(const std::string& folder);
