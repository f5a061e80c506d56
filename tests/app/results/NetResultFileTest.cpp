// The ".net" files of the online search: the rows read agree with the rows
// counted, whatever bytes the service sent.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/results/ANetResultFile.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

class NetResultFileTest : public TempFolderTest {};

TEST_F(NetResultFileTest, RowsAndTheirCountAgree) {
    const std::string nul(1, '\0');
    struct Row {
        const char* what;
        std::string bytes;
        long count;
        const char* categories;
    } rows[] = {
        {"plain rows", "1:A:2\na\tUn\nb\tDeux\n", 2, "1:A:2"},
        {"a NUL inside a row", "1:A:3\na\tU" + nul + "n\nb\tDeux\nc\tTrois\n", 3, "1:A:3"},
        {"a NUL in the category line", "1:A" + nul + ":1\na\tUn\n", 1, "1:A:1"},
        {"a row of NULs ends the rows", "1:A:2\na\tUn\n" + nul + nul + "\nb\tDeux\n", 1, "1:A:2"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WriteAll(PathOf("r.net"), row.bytes);
        ANetResult read;
        ASSERT_TRUE(ANetResultFile::read(AFileSpec(folder_.c_str()), "r", &read));
        std::string text = read.resultText.c_str();
        EXPECT_EQ(row.count, read.rowCount);
        EXPECT_EQ(row.count, std::count(text.begin(), text.end(), '\n')) << text;
        EXPECT_STREQ(row.categories, read.categoryLine.c_str());
    }
}

}  // namespace
