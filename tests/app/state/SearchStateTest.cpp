// Search states of result lists: their text form with the list files saved
// once, the display query, the keys they register under, the string
// container, and damaged texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/state/ASVLoSearchState.h"
#include "base/object/ARefObj.h"
#include "search/facade/ALoFile.h"
#include "search/facade/ALoVect.h"
#include "tests/app/state/StateTestSupport.h"

namespace {

class SearchStateText : public StateText {
protected:
    std::string form(ASVLoSearchState& state) {
        return written([&](AFileStream& s) { state.writeTo(s, folder(), 1); });
    }
    AFileSpec folder() { return AFileSpec(folder_.c_str()); }
    // The files of the test's folder whose names begin with prefix.
    int filesNamed(const char* prefix) {
        int n = 0;
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder_ + "\\" + prefix + "*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE)
            return 0;
        do
            ++n;
        while (FindNextFileA(h, &found));
        FindClose(h);
        return n;
    }
    TestSearchTable table;
};

std::string Docs(ALo* list) {
    std::string out;
    list->open();
    for (long d = list->first(); d != -1; d = list->next())
        out += std::to_string(d) + ",";
    list->close();
    return out;
}

const char kNoLists[] =
    "<!--ASVLoSearchState-->\n1\n262144\nr\xE9sum\xE9\x01suite\n0\n<!--fQuery-->chat noir\n<!--fIndexQuery-->\n"
    "<!--fNetSearch-->\n0\n<!--fLoFull-->0\n<!--fLoIdxSV-->0\n";

}  // namespace

TEST_F(SearchStateText, WritesItsListsOnceAndReadsThemBack) {
    ARefHold<ASVLoSearchState> plain(new ASVLoSearchState());
    plain->setQuery("chat noir");
    plain->setText(4, "r\xE9sum\xE9\nsuite");
    EXPECT_EQ(kNoLists, form(*plain.get()));
    ARefHold<ASVLoSearchState> readBack(new ASVLoSearchState(700));
    EXPECT_EQ("ok", read(kNoLists, [&](AFileStream& s) { readBack->readFrom(s, 0, folder()); }));
    EXPECT_EQ(kNoLists, form(*readBack.get()));

    ARefHold<ASVLoSearchState> state(new ASVLoSearchState());
    ALoScore* full = new ALoScore(200, 3, 1);
    for (long d : {3, 40, 150})
        full->add(d, d, 0);
    full->getStrings().insert("chat");
    ALoFile* index = new ALoFile(0L);
    for (long d : {7, 8})
        index->add(d, 0, 0);
    index->getStrings().insert("Animaux");
    state->setNetSearch(1);
    state->setTextResults(full);
    EXPECT_EQ(0, state->isNetSearch()) << "a list clears the online flag";
    state->setIndexResults(index);
    EXPECT_STREQ("chat\nAnimaux", state->getHighlightWords().c_str());
    state->setNetFile(-1, "r1.net", folder());
    state->setNetFile(3, "r3.net", folder());
    std::string first = form(*state.get());
    std::string second = form(*state.get());
    EXPECT_EQ(first, second) << "the second form names the same files";
    EXPECT_EQ(1, filesNamed("ft"));
    EXPECT_EQ(1, filesNamed("sv"));
    EXPECT_NE(std::string::npos, first.find("\n2\n0\nr1.net\n3\nr3.net\n<!--fLoFull-->1\n<!--fLoFullPath-->" +
                                            std::string(state->textListPath().path().c_str()) + "\n"));

    ARefHold<ASVLoSearchState> back(new ASVLoSearchState(state->getSearchKey() + 100));
    EXPECT_EQ("ok", read(first, [&](AFileStream& s) { back->readFrom(s, 0, folder()); }));
    ASSERT_NE(nullptr, back->getTextResults());
    ASSERT_NE(nullptr, back->getIndexResults());
    EXPECT_EQ("3,40,150,", Docs(back->getTextResults()));
    EXPECT_EQ("7,8,", Docs(back->getIndexResults()));
    EXPECT_EQ(state->textListPath(), back->textListPath()) << "the full-text list is read in place";
    EXPECT_EQ(state->indexListPath(), back->indexListPath())
        << "the index list is read from a copy, and the state goes on naming the file it was read from";
    EXPECT_STREQ("r3.net", back->getNetFile(3).c_str());
    EXPECT_EQ(2, filesNamed("sv"));

    std::string cut = first.substr(0, first.find("<!--fLoIdxSVPath-->"));
    ARefHold<ASVLoSearchState> damaged(new ASVLoSearchState());
    EXPECT_EQ("state text: <!--fLoIdxSVPath--> expected",
              read(cut, [&](AFileStream& s) { damaged->readFrom(s, 0, folder()); }));
    EXPECT_EQ(nullptr, damaged->getTextResults()) << "no list is left half-read";
}

TEST_F(SearchStateText, TakesKeysNoStateHoldsAndLeavesTheTableOnlyItsOwn) {
    ARefHold<ASVLoSearchState> read(new ASVLoSearchState(5000));
    ARefHold<ASVLoSearchState> fresh(new ASVLoSearchState());
    EXPECT_GT(fresh->getSearchKey(), 5000) << "a new state never takes a key read from the history";
    EXPECT_EQ(fresh.get(), table.findSearchState(fresh->getSearchKey()));
    {
        // A second state of the same key is refused by the table; going, it
        // leaves the first one's entry.
        ARefHold<ASVLoSearchState> twin(new ASVLoSearchState(5000));
    }
    EXPECT_EQ(read.get(), table.findSearchState(5000));
    ALoFile* index = new ALoFile(0L);
    index->getStrings().insert("Europe");
    read->setIndexResults(index);
    EXPECT_STREQ("Europe", read->getHighlightWords().c_str()) << "no leading line break";

    struct Row {
        const char* text;
        const char* shown;
    } const rows[] = {
        {"chat /@1234/noir", "chat noir"},
        {"chat /@1234x noir", "chat /@1234x noir"},
        {"chat /@12/4/ noir", "chat  noir"},
        {"a/@xxxx/", "a"},
        {"/@aaaa//@bbbb/c", "/@bbbb/c"},
        {"/@ab", "/@ab"},
        {"", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        fresh->setDisplayQuery(r.text);
        EXPECT_STREQ(r.shown, fresh->getDisplayQuery().c_str());
    }
    std::string longText;
    for (int i = 0; i < 500; ++i)
        longText += "mot /@0000/";
    fresh->setDisplayQuery(longText.c_str());
    EXPECT_EQ(2000, fresh->getDisplayQuery().length()) << "no fixed buffer";
}

TEST_F(SearchStateText, StringContainersChooseTheFirstFreeKey) {
    struct Row {
        std::vector<long> keys;
        long wanted, answer;
    } const rows[] = {{{0, 1, 3}, -1, 2}, {{}, -1, 0}, {{0, 1}, -1, 2}, {{-4, 0}, -1, 1}, {{2}, 2, -1}, {{2}, 7, 7}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.answer);
        AStringContainer c;
        for (long k : r.keys)
            EXPECT_EQ(k, c.add("x", k));
        EXPECT_EQ(r.answer, c.add("nouveau", r.wanted));
        EXPECT_EQ(static_cast<long>(r.keys.size()) + (r.answer >= 0 ? 1 : 0), c.count());
    }
    AStringContainer empty;
    EXPECT_EQ("0\n", written([&](AFileStream& s) { empty.write(s); }));
    EXPECT_EQ(1, empty.isWritten());
    AStringContainer bad;
    EXPECT_EQ("state text: a line expected", read("3\n1\na\n", [&](AFileStream& s) { bad.read(s); }));
    EXPECT_EQ(0, bad.count());
}

TEST_F(SearchStateText, DamagedTextsFailWithTheRecoverableError) {
    std::mt19937 random(26);
    long nodes = longa_pvoidAVLNode::instanceCount();
    int failed = 0;
    for (int i = 0; i < 5000; ++i) {
        std::string text = kNoLists;
        switch (random() % 3) {
            case 0:
                text.resize(random() % text.size());
                break;
            case 1:
                text.erase(random() % text.size(), 1 + random() % 12);
                break;
            default:
                text[random() % text.size()] = static_cast<char>(random());
        }
        ARefHold<ASVLoSearchState> state(new ASVLoSearchState(100000 + i));
        std::string outcome = read(text, [&](AFileStream& s) { state->readFrom(s, 0, AFileSpec()); });
        if (outcome != "ok") {
            ++failed;
            ASSERT_EQ(0u, outcome.find("state text: ")) << outcome;
        }
    }
    EXPECT_GT(failed, 1000);
    EXPECT_EQ(nodes, longa_pvoidAVLNode::instanceCount()) << "no dictionary entry leaked";
}
