// The table accessor over written parts: ranges, correspondence, plain and
// compressed records, reference counts.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyFilter.h"
#include "base/procedural/KyString.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/remote/KyRemote.h"
#include "search/writers/AbpWriter.h"
#include "search/writers/FileImage.h"
#include "search/writers/TableWriter.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/engine/records/TableTestSupport.h"

namespace {

std::vector<std::string> Plain() {
    return {"premier", "second enregistrement"};
}

std::vector<std::string> Packed() {
    return {std::string(3000, 'a') + "encyclop\xE9" + "die", "", "la la la la la la la"};
}

// A base of two supports holding one table "DB": part 0 plain with a
// correspondence table, part 1 compressed with the given mode.
struct TestBase : TwoPartBase {
    TestBase(TempFolder& folder, int mode)
        : TwoPartBase(folder, {Plain(), 0, 0, {1, -1, 0}}, {Packed(), mode, 4, {}}) {
        supports[0] = {0, 3, 0, nullptr, nullptr};
    }
    std::vector<std::string> plain = Plain();
    std::vector<std::string> packed = Packed();
};

std::string Read(KyTable* t, int32_t record, int* code) {
    uint8_t buffer[8192];
    int32_t got = 0;
    *code = KyReadRecord(t, record, buffer, sizeof buffer, &got);
    return std::string(reinterpret_cast<char*>(buffer), got);
}

}  // namespace

TEST(KyAccessor, RecordsReadBackByteForByte) {
    struct Row {
        int mode;
        const char* name;
    } modes[] = {{1, "LZW"}, {2, "arithmetic"}, {3, "LZSS"}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.name);
        TempFolder folder;
        TestBase b(folder, m.mode);
        KyTable* t = nullptr;
        ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t)) << KY_EngineErrorText;
        struct Case {
            int32_t record;
            int code;
            std::string text;
        } cases[] = {
            {0, 0, b.plain[1]},       {1, 106, ""},        {2, 0, b.plain[0]}, {3, 0, b.packed[0]},
            {4, 0, b.packed[1]},      {5, 0, b.packed[2]}, {6, 2000, ""},      {(2 << 24) | 2, 0, b.packed[2]},
            {(1 << 24) | 7, 106, ""},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.record);
            int code = -1;
            EXPECT_EQ(c.text, Read(t, c.record, &code));
            EXPECT_EQ(c.code, code);
            if (code == 106) {
                EXPECT_STREQ("tabcor", KY_EngineErrorText);
            }
            OpenSpecOf out(folder.path("out.txt"));
            KY_File* stream = KY_FOpen(out.get(), "w+b");
            ASSERT_NE(nullptr, stream);
            int32_t written = -1;
            EXPECT_EQ(c.code, KyReadRecordToStream(t, c.record, stream, &written));
            EXPECT_EQ(static_cast<int32_t>(c.text.size()), written);
            KY_FClose(stream);
            std::string streamed;
            ASSERT_TRUE(LoadFile(folder.path("out.txt"), &streamed));
            EXPECT_EQ(c.text, streamed);
            DeleteFileA(folder.path("out.txt").c_str());
            int32_t type = -1;
            int present = -1;
            EXPECT_EQ(0, KyRecordPresent(t, c.record, &type, &present));
            EXPECT_EQ(c.code == 0, present != 0);
        }
        int32_t start = -1, length = -1;
        ASSERT_EQ(0, KyRecordExtent(t, 4, &start, &length));
        EXPECT_EQ(static_cast<int32_t>(b.packed[0].size()) + 4, start) << "lengths count their header";
        EXPECT_EQ(0, length);
        KyTable* again = nullptr;
        ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &again));
        EXPECT_EQ(t, again);
        EXPECT_EQ(0, KyCloseTable(&again));
        int code = -1;
        EXPECT_EQ(b.plain[0], Read(t, 2, &code)) << "one close of two leaves the table open";
        EXPECT_EQ(0, KyCloseTable(&t));
        EXPECT_EQ(kKyAccErrNullTable, KyCloseTable(&t));
    }
}

TEST(KyAccessor, UnknownTablesAndBases) {
    TempFolder folder;
    TestBase b(folder, 3);
    KyTable* t = nullptr;
    EXPECT_EQ(kKyAccErrNullBase, KyOpenTable(nullptr, "DB", &t));
    EXPECT_EQ(kKyAccErrUnknownTable, KyOpenTable(&b.base, "XX", &t));
    EXPECT_EQ(nullptr, t);
    // A damaged catalogue fails the open and leaves nothing open.
    folder.write("p1.of7", "short");
    EXPECT_EQ(kCatErrRead, KyOpenTable(&b.base, "DB", &t));
    EXPECT_EQ(nullptr, t);
}

TEST(KyAccessor, IndexLookups) {
    TempFolder folder;
    std::string path = folder.path("keys.abp");
    std::vector<AbpKeyItem> keys(3);
    keys[0].key = "CHAT";
    keys[0].value = 11;
    keys[1].key = "CHATEAU";
    keys[1].value = 12;
    keys[2].key = "CHIEN";
    keys[2].value = 13;
    AbpTreeOptions options;
    options.occurrences = false;
    ASSERT_EQ("", AbpWriteTree(path, keys, options));
    unsigned char upper[256];
    for (int i = 0; i < 256; ++i)
        upper[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 32 : i);
    KY_Filter* filter = KY_FilterNewIdentity(upper);
    ASSERT_EQ(1, EXK_PkgInit() != 0);
    OpenSpecOf spec(path);
    KyIndexHandle index{};
    index.spec = spec.get();
    index.filter = filter;
    int32_t value = 5;
    EXPECT_EQ(0, KyIndexLookup(&index, "chat", &value, nullptr, 1));
    EXPECT_EQ(0, value) << "a closed index answers 0";
    ASSERT_EQ(0, KyOpenIndex(&index));
    ASSERT_EQ(0, KyOpenIndex(&index));
    struct Row {
        const char* key;
        int exact;
        int32_t value;
        int common;
    } rows[] = {
        {"chat", 1, 11, 4}, {"chateau", 1, 12, 7}, {"chate", 1, -1, 0}, {"chate", 0, 12, 5},
        {"", 1, 0, 0},      {"zebre", 0, -1, 0},   {"chi", 0, 13, 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.key) + " " + std::to_string(row.exact));
        int common = -1;
        EXPECT_EQ(0, KyIndexLookup(&index, row.key, &value, &common, row.exact));
        EXPECT_EQ(row.value, value);
        EXPECT_EQ(row.common, common);
    }
    EXPECT_EQ(0, KyCloseIndex(&index));
    EXPECT_EQ(0, KyIndexLookup(&index, "chat", &value, nullptr, 1));
    EXPECT_EQ(11, value) << "open until the last close";
    EXPECT_EQ(0, KyCloseIndex(&index));
    EXPECT_EQ(1311, KyCloseIndex(&index));
    EXK_PkgEnd();
    KY_FilterRelease(filter);
}

TEST(KyAccessor, IndexRecordsReadThroughTheirCatalogue) {
    TempFolder folder;
    std::string tree = folder.path("ix.abp");
    std::vector<AbpKeyItem> keys(1);
    keys[0].key = "A";
    AbpTreeOptions options;
    options.occurrences = false;
    ASSERT_EQ("", AbpWriteTree(tree, keys, options));
    TablePartFiles files{folder.path("ix.fmt"), folder.path("ix.of7"), "", ""};
    ASSERT_EQ("", WriteTablePart(files, {"un", "", "trois"}, 0, 0, {}));
    OpenSpecOf spec(tree), data(files.data), cat(files.catalogue);
    KyIndexHandle index{};
    index.spec = spec.get();
    uint8_t buffer[16];
    int32_t count = -1, start = -1, length = -1, got = -1;
    EXPECT_EQ(1311, KyIndexRecordCount(&index, &count)) << "closed";
    ASSERT_EQ(0, KyOpenIndex(&index));
    EXPECT_EQ(1316, KyIndexRead(&index, 0, buffer, sizeof buffer, &got)) << "an index without data";
    KyCloseIndex(&index);
    index.dataSpec = data.get();
    index.catSpec = cat.get();
    ASSERT_EQ(0, KyOpenIndex(&index));
    ASSERT_EQ(0, KyIndexRecordCount(&index, &count));
    EXPECT_EQ(3, count);
    struct Row {
        int32_t n, size;
        int code;
        std::string bytes;
    } rows[] = {{0, 16, 0, "un"}, {1, 16, 0, ""}, {2, 16, 0, "trois"}, {2, 4, 106, ""}, {3, 16, 2000, ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.n);
        EXPECT_EQ(r.code, KyIndexRead(&index, r.n, buffer, r.size, &got));
        EXPECT_EQ(r.bytes, std::string(reinterpret_cast<char*>(buffer), got));
    }
    ASSERT_EQ(0, KyIndexRecord(&index, 2, &start, &length));
    EXPECT_EQ(2, start);
    EXPECT_EQ(5, length);
    EXPECT_EQ(0, KyCloseIndex(&index));
    EXPECT_EQ(nullptr, index.data);
    for (const std::string& f : {tree, files.data, files.catalogue})
        DeleteFileA(f.c_str());
}

TEST(KyAccessor, KeysOfStringsFiltersAndIndexes) {
    KyMount mount{};
    KyMountedBase base{};
    const char* text = nullptr;
    KY_Filter* filter = nullptr;
    KyMountedIndex* found = nullptr;
    EXPECT_EQ(1303, KyUserString(&mount, "MSG_A", &text));
    EXPECT_EQ(1303, KyFilterOfKey(&mount, "F", &filter));
    EXPECT_EQ(1303, KyIndexOfKey(&base, "I", &found));
    char hello[] = "bonjour";
    KyMountedFilter absent{};
    KyMountedIndex index{};
    mount.userStrings = KY_NewAssoc(nullptr, 0);
    mount.filters = KY_NewAssoc(nullptr, 0);
    base.indexes = KY_NewAssoc(nullptr, 0);
    AddAssoc(mount.userStrings, "MSG_A", hello);
    AddAssoc(mount.filters, "F", &absent);
    AddAssoc(base.indexes, "I", &index);
    EXPECT_EQ(0, KyUserString(&mount, "msg_a", &text)) << "keys are compared without case";
    EXPECT_STREQ("bonjour", text);
    EXPECT_EQ(1312, KyUserString(&mount, "MSG_B", &text));
    EXPECT_EQ(1313, KyFilterOfKey(&mount, "G", &filter));
    EXPECT_EQ(110, KyFilterOfKey(&mount, "F", &filter)) << "a filter file that cannot be loaded";
    EXPECT_EQ(nullptr, filter);
    EXPECT_EQ(0, KyIndexOfKey(&base, "I", &found));
    EXPECT_EQ(&index, found);
    EXPECT_EQ(1311, KyIndexOfKey(&base, "J", &found));
    KY_FreeAssoc(mount.userStrings);
    KY_FreeAssoc(mount.filters);
    KY_FreeAssoc(base.indexes);

    unsigned char upper[256];
    for (int i = 0; i < 256; ++i)
        upper[i] = static_cast<unsigned char>(i >= 'a' && i <= 'z' ? i - 32 : i);
    KY_Filter* up = KY_FilterNewIdentity(upper);
    ASSERT_EQ(1, EXK_PkgInit() != 0);
    for (const KY_Filter* f : {static_cast<const KY_Filter*>(nullptr), static_cast<const KY_Filter*>(up)}) {
        KY_String* s = nullptr;
        ASSERT_EQ(0, KyFilterKey("Chat", &s, f));
        EXPECT_STREQ(f ? "CHAT" : "Chat", s->text);
        KY_FreeString(s);
    }
    EXK_PkgEnd();
    KY_FilterRelease(up);
}

TEST(KyAccessor, FetchedRecordsAreStoredOnce) {
    TempFolder folder;
    TestBase b(folder, 3);
    KyTable* t = nullptr;
    ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t));
    int32_t start = 0, length = 0;
    EXPECT_EQ(1317, KyFetchRecord(t, 1, &start, &length)) << "fetching is off and no server is named";
    struct Row {
        const char* why;
        int32_t record;
        std::string reply;
        int code;
        std::string stored;
    } rows[] = {
        {"a field of an unknown part", 1, "<field>7#1\nx", 1322, ""},
        {"a field longer than the reply", 1, "<field>0#9\nabc", 106, ""},
        {"a record without data", 1, "HTTP/1.0 200\r\n\r\n  <field>-1#0\npending\n<field> 0#5\nhello<field>1#3,4\nabc", 0,
         "hello"},
        {"a record stored already", 1, "<field>0#3\nbye", 0, "hello"},
        {"a record listed already", 0, "<field>0#3\nbye", 0, "second enregistrement"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        std::string path = folder.write("reply.txt", r.reply);
        OpenSpecOf spec(path);
        KY_File* reply = KY_FOpen(spec.get(), "rb");
        ASSERT_NE(nullptr, reply);
        EXPECT_EQ(r.code, KyStoreFetchedRecord(t, r.record, reply));
        KY_FClose(reply);
        int code = 0;
        EXPECT_EQ(r.stored, Read(t, r.record, &code));
    }
    int code = 0;
    EXPECT_EQ("premier", Read(t, 2, &code)) << "the other records keep their data";

    char server[] = "127.0.0.1:9", script[] = "docs";
    KyMountedConnect connect{server, script, nullptr, nullptr};
    b.supports[0].connect = b.supports[1].connect = &connect;
    KyFetchEnabled = 1;
    EXPECT_EQ(1316, KyFetchRecord(t, 3, &start, &length)) << "a part without a correspondence table";
    EXPECT_EQ(0, KyFetchRecord(t, 1, &start, &length)) << "stored already: no request";
    EXPECT_EQ(5, length);
    KyFetchEnabled = 0;
    EXPECT_EQ(0, KyCloseTable(&t));
}
