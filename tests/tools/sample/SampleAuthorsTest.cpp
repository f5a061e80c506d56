// The sample's authors: the names read from the man pages' author and
// translation sections and the pages each person is listed with.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/samplebase/SampleAuthors.h"

namespace {

using Names = std::vector<std::string>;

TEST(SampleAuthorsTest, SectionNamesComeAfterParWithoutAddressesOrRemarks) {
    struct Row {
        const char* markup;
        Names names;
    };
    const Row rows[] = {
        {"/HT \x97 AUTEUR\n/A\xC9" "crit par Kevin Braunsdorf et Matthew Bradburn.\n", {"Kevin Braunsdorf", "Matthew Bradburn"}},
        {"/HT \x97 TRADUCTION\n/ALa traduction a \xE9t\xE9 cr\xE9\xE9" "e par Julien Cristau <jc@d.org>, "
         "Jean-Luc Coulon (f5ibh) <j@w.fr> et Jean-Pierre Giraud <jp@n.fr>\n/ACette traduction par Autre Nom.\n",
         {"Julien Cristau", "Jean-Luc Coulon", "Jean-Pierre Giraud"}},
        // Not names: one word, lower-case words, digits, nothing after "par".
        {"/HT\n/A\xC9" "crit par the GNU project, Linus, Zed 2000 et Ann Lee.\n", {"Ann Lee"}},
        {"/HT\n/ASans auteur connu.\n", {}},
        {"no paragraph", {}},
        {"/HT\n/A\xC9" "crit par Ann Lee, Ann Lee.\n", {"Ann Lee"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.markup);
        EXPECT_EQ(row.names, SectionNames(row.markup));
    }
}

TEST(SampleAuthorsTest, EachPersonListsTheWholePagesOfTheSectionsNamingThem) {
    const std::vector<std::string> titles = {
        "ls(1)", "ls(1) \x97 AUTEUR", "ls(1) \x97 TRADUCTION", "cp(1)", "cp(1) \x97 TRADUCTION",
        "cp(1) \x97 EXEMPLES", "gimp page \x97 AUTEUR", "rm(1) \x97 TRADUCTION"};
    const std::vector<std::string> sources = {
        "manpages-fr/man1/ls.1", "manpages-fr/man1/ls.1#1", "manpages-fr/man1/ls.1#2", "manpages-fr/man1/cp.1",
        "manpages-fr/man1/cp.1#1", "manpages-fr/man1/cp.1#2", "gimp-help-fr/x.html#1", "manpages-fr/man1/rm.1#1"};
    const std::vector<std::string> markups = {
        "", "/H\n/A\xC9" "crit par Ann Lee.\n", "/H\n/Acr\xE9\xE9" "e par Bob Roy et Ann Lee\n", "",
        "/H\n/Acr\xE9\xE9" "e par Bob Roy\n", "/H\n/APar exemple par Carl Dupont.\n", "/H\n/Apar Dan Gris\n",
        "/H\n/Apar Eve Noir\n"};
    std::vector<SampleAuthor> authors = PlanSampleAuthors(titles, sources, markups);
    // The examples section, another source and a page without its whole article name nobody.
    ASSERT_EQ(2u, authors.size());
    EXPECT_EQ("Ann Lee", authors[0].name);
    EXPECT_EQ((std::vector<long>{0}), authors[0].docs);
    EXPECT_EQ("Bob Roy", authors[1].name);
    EXPECT_EQ((std::vector<long>{0, 3}), authors[1].docs);

    unsigned char table[256];
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    std::map<std::string, std::vector<std::string>> records;
    records["LINKS:HDG"] = {"first"};
    auto entries = AddSampleAuthorRecords(authors, 10, table, &records);
    ASSERT_EQ(2u, entries.size());
    EXPECT_EQ("BOB ROY", entries[1].first);
    EXPECT_EQ("Bob Roy#0:2", entries[1].second);
    EXPECT_EQ("2:9:0,3", records["LINKS:HDG"][2]);
    EXPECT_EQ("Bob Roy", records["AUTEURS:NOMS"][1]);
    EXPECT_EQ("2:9:0,3", records["AUTEURS:DOCLIST"][1]);
}

}  // namespace
