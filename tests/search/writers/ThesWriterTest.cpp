// The thesaurus writer: every term of a relation reads back, in order, from the
// relation tree and the data file; terms a key cannot hold are refused.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "search/engine/questions/KyQuest.h"
#include "search/engine/trees/KyAbp.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"
#include "search/writers/ThesWriter.h"
#include "tests/base/procedural/TextTestSupport.h"

namespace {

std::string LineAt(const std::string& data, int32_t at) {
    if (at < 0 || static_cast<size_t>(at) >= data.size())
        return "<bad offset>";
    return data.substr(at, data.find('\n', at) - at);
}

// The terms of a relation as a thesaurus lookup walks them: the exact key,
// then following keys while they are that key with a numbered suffix.
std::vector<std::string> Related(AbpTree* tree, const std::string& data, int relation, const std::string& term) {
    std::vector<std::string> out;
    std::string key = ThesRelationKey(relation, term, 0);
    AbpEntry e;
    snprintf(e.key, sizeof e.key, "%s", key.c_str());
    if (abpSearchKey(&e, tree, 1) != 0)
        return out;
    do {
        std::string found = e.key;
        if (found != key && found.compare(0, key.size() + 1, key + "\x01") != 0)
            break;
        out.push_back(LineAt(data, e.values[0]));
    } while (abpNextKey(tree, &e, 0) == 0);
    return out;
}

}  // namespace

TEST(ThesWriter, RelationsReadBackInOrder) {
    TempFolder folder;
    std::string base = folder.write("t.abp", "");
    base.resize(base.size() - 4);
    folder.write("t.dct", "");
    std::vector<ThesRelation> relations = {
        {"chat", 1, "chaton"}, {"chat", 3, "minet"}, {"chat", 1, "matou"},
        {"chaton", 2, "chat"}, {"chats", 1, "x"},    {"cha", 5, "chat"},
    };
    std::vector<std::string> many;
    for (int i = 0; i < kThesMaxRelated; ++i) {
        many.push_back("terme" + std::to_string(i));
        relations.push_back({"large", 4, many.back()});
    }
    ASSERT_EQ("", WriteThesaurus(base, "filtre", relations));
    ASSERT_EQ("", AbpCheckTree(base + ".abp", 32, nullptr));
    std::string data;
    ASSERT_TRUE(LoadFile(base + ".dct", &data));
    EXPECT_EQ("filtre", LineAt(data, 0));

    OpenSpecOf spec(base + ".abp");
    AbpTree tree{};
    ASSERT_EQ(0, abpOpen(spec.get(), &tree, 0, 0));
    struct Row {
        int relation;
        std::string term;
        std::vector<std::string> related;
    };
    const Row rows[] = {
        {0, "chat", {"chat"}},  {0, "minet", {"minet"}}, {1, "chat", {"chaton", "matou"}},
        {3, "chat", {"minet"}}, {2, "chat", {}},         {2, "chaton", {"chat"}},
        {1, "chats", {"x"}},    {5, "cha", {"chat"}},    {4, "large", many},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.relation) + r.term);
        EXPECT_EQ(r.related, Related(&tree, data, r.relation, r.term));
    }
    abpClose(&tree);
}

TEST(ThesWriter, RefusesWhatAKeyCannotHoldAndKeepsTheOldFiles) {
    TempFolder folder;
    std::string tree = folder.write("t.abp", "old tree");
    std::string dct = folder.write("t.dct", "old data");
    std::string base = tree.substr(0, tree.size() - 4);
    std::vector<ThesRelation> tooMany;
    for (int i = 0; i <= kThesMaxRelated; ++i)
        tooMany.push_back({"a", 1, "b" + std::to_string(i)});
    struct Row {
        const char* why;
        std::vector<ThesRelation> relations;
    };
    const Row rows[] = {
        {"index key end", {{"a@b", 1, "c"}}},
        {"suffix mark", {{"a", 1, "c\x01"}}},
        {"line feed", {{"a", 1, "c\nd"}}},
        {"empty term", {{"", 1, "c"}}},
        {"long term", {{std::string(kThesMaxTerm + 1, 'a'), 1, "c"}}},
        {"relation 0", {{"a", 0, "c"}}},
        {"relation 6", {{"a", 6, "c"}}},
        {"1001 related terms", tooMany},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        EXPECT_NE("", WriteThesaurus(base, "", r.relations));
        std::string bytes;
        ASSERT_TRUE(LoadFile(tree, &bytes));
        EXPECT_EQ("old tree", bytes);
        ASSERT_TRUE(LoadFile(dct, &bytes));
        EXPECT_EQ("old data", bytes);
    }
    EXPECT_EQ("", WriteThesaurus(base, "", {{std::string(kThesMaxTerm, 'a'), 1, "c"}}));
}

// Terms are read whole whatever their length; a line too long to be a term is
// damage and answers an error, never a shorter term.
TEST(ThesWriter, TermsOfAnyLengthReadWhole) {
    TempFolder folder;
    const std::string longTerm = std::string(200, 'l') + "z", hugeTerm(5000, 'h');
    std::string data = "\n";
    std::vector<AbpKeyItem> keys;
    auto add = [&](const std::string& key, const std::string& line) {
        AbpKeyItem item;
        item.key = key;
        item.value = static_cast<int32_t>(data.size());
        keys.push_back(item);
        data += line;
    };
    add("1crlf", "poire\r\n");
    add("1huge", hugeTerm + "\n");
    add("1long", longTerm + "\n");
    add("1last", "cerise");  // the file's end ends it
    std::swap(keys[2], keys[3]);
    AbpTreeOptions options;
    options.occurrences = false;
    ASSERT_EQ("", AbpWriteTree(folder.path("t.abp"), keys, options));
    ASSERT_EQ("", SaveFileReplacing(folder.path("t.dct"), data));
    KY_Thes thes;
    thes.base = folder.path("t");
    ASSERT_EQ(0, KY_ThesOpen(&thes, 1));
    struct Row {
        const char* term;
        int code;
        std::string out;
    } rows[] = {{"long", 0, longTerm}, {"crlf", 0, "poire"}, {"last", 0, "cerise"}, {"huge", 106, ""}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.term);
        std::string out;
        EXPECT_EQ(row.code, KY_ThesFirst(&thes, 1, row.term, &out, 0));
        EXPECT_EQ(row.out, out);
    }
    EXPECT_EQ(0, KY_ThesClose(&thes));
}
