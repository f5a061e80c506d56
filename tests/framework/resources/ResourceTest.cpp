// Program resources: open counts, sizes, references, string lists and the
// compiled forms of the other resource kinds.
#include <gtest/gtest.h>

#include <string>

#include "framework/resources/AResource.h"
#include "framework/resources/AStringListResource.h"
#include "tests/support/TestHooks.h"

namespace {

std::string Bytes(uint16_t type, const char* name) {
    AResource resource(type, name);
    resource.open();
    std::string out(static_cast<const char*>(resource.getData()), resource.getSize());
    resource.close();
    return out;
}

}  // namespace

TEST(Resource, OpenNestsAndSizeNeedsAnOpenResource) {
    AResource resource(257, "IdSeven");
    EXPECT_TRUE(resource.exists());
    EXPECT_FALSE(AResource(257, "NoSuchLayout").exists());
    EXPECT_FALSE(AResource(258, "IdSeven").exists()) << "the type is part of the search";

    EXPECT_GT(FatalExitCodeOf([&] { resource.getSize(); }), 0);
    EXPECT_STREQ("AResource::getSize() : Resource must be open", g_errorMessage);

    resource.open();
    resource.open();
    resource.close();
    EXPECT_TRUE(resource.isOpen()) << "two opens need two closes";
    EXPECT_EQ(31, resource.getSize());
    EXPECT_NE(nullptr, resource.getData());
    resource.close();
    EXPECT_FALSE(resource.isOpen());
    EXPECT_GT(FatalExitCodeOf([&] { resource.close(); }), 0) << "a close without open";
}

TEST(Resource, RefsCompareByKindNameAndLibrary) {
    AFileSpec library("C:\\windows\\system32\\kernel32.dll");
    struct Row {
        const char* what;
        AResourceRef a;
        AResourceRef b;
        bool equal;
    } rows[] = {
        {"same number", AResourceRef(129), AResourceRef(reinterpret_cast<const char*>(129)), true},
        {"number and name", AResourceRef(129), AResourceRef("AAPPPOPUPS"), false},
        {"same name", AResourceRef("AAPPPOPUPS"), AResourceRef("AAPPPOPUPS"), true},
        {"names differ in case", AResourceRef("AAppPopups"), AResourceRef("AAPPPOPUPS"), false},
        {"same name, other library", AResourceRef("AAPPPOPUPS"), AResourceRef("AAPPPOPUPS", library), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(row.equal, row.a == row.b);
    }
    EXPECT_TRUE(AResourceRef(reinterpret_cast<const char*>(129)).byNumber());
    EXPECT_FALSE(AResourceRef("AAPPPOPUPS").byNumber());
}

TEST(Resource, StringListAnswersItsItems) {
    AStringListResource list(300);
    ASSERT_EQ(4, list.count());
    const char* const items[] = {"Sans Titre", "Sans Titre %d",
                                 "Encyclop\xe9"
                                 "die",
                                 ""};
    for (short i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(items[i], list.get(i).c_str());
    }
    EXPECT_GT(FatalExitCodeOf([&] { list.get(4); }), 0) << "an index equal to the count";
    EXPECT_GT(FatalExitCodeOf([&] { list.get(-1); }), 0);
}

TEST(Resource, TextStylesAndPopupListsCompileToTheirRecords) {
    const std::string style = Bytes(259, reinterpret_cast<const char*>(300));
    EXPECT_EQ(std::string("\xFF\xFF"
                          "Arial\0"
                          "\x0A\0"
                          "\x01\0"
                          "\x02\0"
                          "\0\0\0\0\0\0\x80\0"
                          "\xFE\xFF\0\0\0\0\0\0",
                          30),
              style);
    EXPECT_EQ(std::string("\x0A\0\x1E\0\xA2\x03\xFF\xFF\0\0", 10), Bytes(256, "TestPopups"));
}
