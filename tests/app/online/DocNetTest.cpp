// The reader's web documents: numbers by address, entries split back, the
// file's text form, a damaged file, and the pages dropped at save.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/online/ADocNetManager.h"
#include "base/procedural/AError.h"
#include "tests/base/procedural/FileTestSupport.h"

namespace {

class DocNetFiles : public TempFolderTest {
protected:
    AFileSpec folder() const { return AFileSpec(folder_.c_str()); }
};

TEST_F(DocNetFiles, AddressesGetNumbersAndEntriesSplitBack) {
    ADocNetManager docNet(folder(), "docnet.par", nullptr);
    docNet.load();
    struct Row {
        const char* entry;
        long number;
        const char* address;  // of the stored entry, split back
        const char* title;
    } const rows[] = {
        {"http://a.test/p?x=1;Page A", 0, "http://a.test/p?x=1", "Page A"},
        {"http://b.test/;", 1, "http://b.test/", ""},
        // Known addresses keep their number, whatever the title.
        {"http://a.test/p?x=1;Autre titre", 0, "http://a.test/p?x=1", "Page A"},
        {"http://a.test/p?x=1", 0, "http://a.test/p?x=1", "Page A"},
        // An unknown address without a title is not registered.
        {"http://c.test/", -1, "", ""},
        {"", -1, "", ""},
        {"http://d.test/doc#part;Ancre; deux", 2, "http://d.test/doc#part", "Ancre; deux"},
        {"http://d.test/doc#part", 2, "http://d.test/doc#part", "Ancre; deux"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.entry);
        long n = docNet.getUrlDocNo(r.entry);
        EXPECT_EQ(r.number, n);
        AString address, title;
        ADocNetManager::splitEntry(docNet.getEntry(n), address, title);
        EXPECT_STREQ(r.address, address.c_str());
        EXPECT_STREQ(r.title, title.c_str());
    }
    // The "#" of an address never reaches the stored entry.
    EXPECT_STREQ("http://d.test/doc_KY_part;Ancre; deux", docNet.getEntry(2).c_str());
    EXPECT_STREQ("Page A", docNet.getTitle("http://a.test/p?x=1").c_str());
    EXPECT_STREQ("", docNet.getTitle("http://z.test/").c_str());
    AString address, title;
    ADocNetManager::splitRecord(AString("http://e.test/;L\\'\\\\été"), address, title);
    EXPECT_STREQ("L'été", title.c_str());
}

TEST_F(DocNetFiles, TheFileKeepsTheNumbersAndDropsWhatNothingShows) {
    std::set<long> shown = {0, 2};
    {
        ADocNetManager docNet(folder(), "docnet.par", [&](long n) { return shown.count(n) != 0; });
        docNet.load();
        for (const char* entry : {"http://a.test/;A", "http://b.test/;B", "http://c.test/;C\r\nsuite"})
            docNet.getUrlDocNo(entry);
    }
    EXPECT_EQ("2\n0\nhttp://a.test/;A\n2\nhttp://c.test/;C\x02\x01suite\n", ReadAll(PathOf("docnet.par")));
    ADocNetManager again(folder(), "docnet.par", nullptr);
    again.load();
    EXPECT_EQ(2, again.count());
    EXPECT_STREQ("http://c.test/;C\r\nsuite", again.getEntry(2).c_str());
    // A freed number goes to the next new page.
    EXPECT_EQ(1, again.getUrlDocNo("http://d.test/;D"));
}

TEST_F(DocNetFiles, ADamagedFileFailsToLoadAndIsNotSavedOver) {
    const std::string damaged[] = {"3\n0\nhttp://a.test/;A\n", "2\n0\n", "99999\n"};
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text);
        WriteAll(PathOf("docnet.par"), text);
        {
            ADocNetManager docNet(folder(), "docnet.par", nullptr);
            EXPECT_THROW(docNet.load(), AError);
            docNet.getUrlDocNo("http://b.test/;B");
        }
        EXPECT_EQ(text, ReadAll(PathOf("docnet.par")));
    }
}

}  // namespace
