// Records fetched from a base's server: the remote test server's replies, and
// the local part files that must stay whole whatever the server answers.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyCodec.h"
#include "base/procedural/KyFile.h"
#include "base/procedural/KyHttp.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/remote/KyRemote.h"
#include "search/writers/CatWriter.h"
#include "search/writers/FileImage.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/search/engine/records/TableTestSupport.h"
#include "tests/search/engine/remote/RemoteServer.h"

namespace {

int Collect(const char* data, long length, void* output) {
    static_cast<std::string*>(output)->append(data, static_cast<size_t>(length));
    return 0;
}

// A session on the test server's script, freed at scope end.
struct ServerSession {
    std::string url, script;
    KY_HttpSession s = {};
    ServerSession(int port, std::string sc) : url("http://" + RemoteServerAddress(port)), script(std::move(sc)) {
        s.url = url.c_str();
        s.script = script.c_str();
        EXPECT_EQ(0, KY_HttpInitSession(&s));
    }
    ~ServerSession() { KY_HttpFreeSession(&s); }
};

std::string Expand(const std::string& stored, int32_t expanded) {
    KY_Codec codec;
    std::memset(&codec, 0, sizeof codec);
    KY_CodecSetMode(&codec, 3);
    std::string out(static_cast<size_t>(expanded), '\0');
    int32_t placed = expanded;
    int code = KY_CodecExpandMemStart(&codec, reinterpret_cast<const uint8_t*>(stored.data()),
                                      static_cast<int32_t>(stored.size()), reinterpret_cast<uint8_t*>(&out[0]), &placed,
                                      expanded, 0);
    KY_CodecAbandon(&codec);
    EXPECT_EQ(kCodecDone, code);
    return out.substr(0, static_cast<size_t>(placed));
}

const char* const kFirst[2] = {"premier", "compress\xE9 premier"};

// A base of two supports whose table "DB" has a correspondence table in both
// parts: part 0 plain (records 0..99), part 1 LZSS-compressed (records 100..199).
// Each part starts with one record stored, at local number 0.
struct FetchBase : TwoPartBase {
    explicit FetchBase(TempFolder& folder) : TwoPartBase(folder, {{kFirst[0]}, 0, 0, {0}}, {{kFirst[1]}, 3, 0, {0}}) {
        for (int i = 0; i < 2; ++i)
            supports[i] = {100 * i, 100 * i + 100, 0, nullptr, &connect};
        serve(RemoteServerPorts().port, "normal/tz");
    }
    void serve(int port, const std::string& path) {
        server = RemoteServerAddress(port);
        script = path;
        connect.server = &server[0];
        connect.script = &script[0];
    }
    std::string server, script;
    KyMountedConnect connect = {};
};

std::string Read(KyTable* t, int32_t record, int* code) {
    uint8_t buffer[4096];
    int32_t got = 0;
    *code = KyReadRecord(t, record, buffer, sizeof buffer, &got);
    return std::string(reinterpret_cast<char*>(buffer), static_cast<size_t>(got));
}

// "" when every record of stored reads back; else the first that does not.
std::string ReadsBack(KyTable* t, const std::map<int32_t, std::string>& stored) {
    for (const auto& r : stored) {
        int code = 0;
        std::string text = Read(t, r.first, &code);
        if (code || text != r.second)
            return "record " + std::to_string(r.first) + " reads " + std::to_string(code) + " \"" + text + "\"";
    }
    return "";
}

// "" when every record of stored reads back and each part's catalogue counts
// exactly those records; else what differs.
std::string Consistent(KyTable* t, const std::map<int32_t, std::string>& stored) {
    std::string differs = ReadsBack(t, stored);
    if (!differs.empty())
        return differs;
    int counts[2] = {0, 0};
    for (const auto& r : stored)
        ++counts[r.first >= 100];
    for (int i = 0; i < 2; ++i)
        if (t->parts[i].cat.count != counts[i])
            return "part " + std::to_string(i) + " catalogue counts " + std::to_string(t->parts[i].cat.count);
    return "";
}

// The reply files left in the temporary folder.
int ReplyFiles() {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((std::string(folder) + "ky*.tmp").c_str(), &found);
    int n = 0;
    for (bool more = h != INVALID_HANDLE_VALUE; more; more = FindNextFileA(h, &found) != 0)
        ++n;
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
    return n;
}

// The fetch base served by the test server, its table open, fetching on.
class KyFetchServer : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(0, ports.port) << "the sv_remote fixture did not run";
        // Reply files go to a folder of this test alone, so that the count of
        // those left is not changed by test programs running beside it.
        for (int i = 0; i < 2; ++i) {
            DWORD n = GetEnvironmentVariableA(kTempVars[i], savedTemp[i], sizeof savedTemp[i]);
            hadTemp[i] = n > 0 && n < sizeof savedTemp[i];
            SetEnvironmentVariableA(kTempVars[i], folder.path("").c_str());
        }
        ASSERT_EQ(0, KY_HttpStartup(0));
        started = true;
        KyFetchEnabled = 1;
    }
    void TearDown() override {
        for (int i = 0; i < 2; ++i)
            SetEnvironmentVariableA(kTempVars[i], hadTemp[i] ? savedTemp[i] : nullptr);
        KyFetchEnabled = 0;
        if (t)
            KyCloseTable(&t);
        if (started)
            KY_HttpCleanup();
    }
    const RemotePorts& ports = RemoteServerPorts();
    TempFolder folder;
    FetchBase b{folder};
    KyTable* t = nullptr;
    bool started = false;
    static constexpr const char* kTempVars[2] = {"TMP", "TEMP"};
    char savedTemp[2][MAX_PATH] = {};
    bool hadTemp[2] = {};
    std::map<int32_t, std::string> stored = {{0, kFirst[0]}, {100, kFirst[1]}};
};

}  // namespace

TEST(RemoteServer, AnswersDocumentAndSearchRequests) {
    const RemotePorts& ports = RemoteServerPorts();
    ASSERT_NE(0, ports.port) << "the sv_remote fixture did not run";
    ASSERT_EQ(0, KY_HttpStartup(0));
    {
        ServerSession session(ports.port, "normal/tz/30");
        std::string reply;
        ASSERT_EQ(0, KY_HttpFetchDocument(&session.s, 12, nullptr, Collect, &reply));
        std::string text = RemoteDocText(12);
        std::string plain = "<field>-1#0\npending 12\n<field>0#" + std::to_string(text.size()) + "\n" + text;
        ASSERT_EQ(plain, reply.substr(0, plain.size()));
        std::string rest = reply.substr(plain.size());
        size_t eol = rest.find('\n');
        ASSERT_NE(std::string::npos, eol);
        std::string stored = rest.substr(eol + 1);
        EXPECT_EQ("<field>1#" + std::to_string(stored.size()) + "," + std::to_string(text.size()), rest.substr(0, eol));
        EXPECT_EQ(text, Expand(stored, static_cast<int32_t>(text.size())));

        reply.clear();
        ASSERT_EQ(0, KY_HttpSearch(&session.s, "[0,1=m7] OR [1,1=d3]", 0, Collect, &reply));
        std::string expected = "COUNT:5\nMAXNODOC:30\nHIGH:m7,d3\nDATA:5\n";
        for (int d : {3, 7, 14, 21, 28})
            expected += RemoteDocText(d) + "\t" + std::to_string(d) + "." + std::to_string(RemoteDocScore(d)) + "\n";
        EXPECT_EQ(expected, reply);
        EXPECT_NE(std::string::npos, RemoteRequests().find("GET /normal/tz/30?docu&12 HTTP/1.0"));
    }
    {
        ServerSession session(ports.refused, "normal/t");
        std::string reply;
        EXPECT_EQ(KY_HTTP_CONNECT_FAILED, KY_HttpFetchDocument(&session.s, 1, nullptr, Collect, &reply));
    }
    KY_HttpCleanup();
}

TEST_F(KyFetchServer, FailedFetchesLeaveThePartsWhole) {
    KY_HttpSetTimeout(300);
    ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t)) << KY_EngineErrorText;
    int replyFiles = ReplyFiles();
    KyFetchReplyLimit = 4 << 20;
    struct Row {
        const char* script;
        int port;
        int32_t record;
        int code;
        bool compressedStored;  // the compressed field, at the record's local number in part 1
    } rows[] = {
        {"normal/tz", ports.port, 5, 0, true},
        {"normal/tz", ports.refused, 6, KY_HTTP_CONNECT_FAILED, false},
        {"slow/tz", ports.port, 6, KY_HTTP_READ_FAILED, false},
        {"close/tz", ports.port, 6, KY_HTTP_CLOSED_EMPTY, false},
        {"status-404/tz", ports.port, 6, KY_HTTP_AUTH_FAILED, false},
        {"status-500/tz", ports.port, 6, KY_HTTP_SERVER_ERROR, false},
        {"truncated/tz", ports.port, 6, 106, false},
        {"oversized/tz", ports.port, 6, 107, false},
        {"normal/tz", ports.port, 6, 0, true},
        {"normal/.z", ports.port, 8, 106, true},
        {"endless/tz", ports.port, 9, KY_HTTP_CONVERT_FAILED, false},
        {"normal/tz", ports.port, 9, 0, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.script + std::string(" ") + std::to_string(r.record));
        b.serve(r.port, r.script);
        int32_t start = -1, length = -1;
        EXPECT_EQ(r.code, KyFetchRecord(t, r.record, &start, &length)) << KY_EngineErrorText;
        if (r.code == 0) {
            stored[r.record] = RemoteDocText(r.record);
            EXPECT_EQ(static_cast<int32_t>(RemoteDocText(r.record).size()), length);
        }
        if (r.compressedStored)
            stored[r.record + 100] = RemoteDocText(r.record);
        EXPECT_EQ("", Consistent(t, stored));
    }
    std::string before = RemoteRequests();
    int32_t start = -1, length = -1;
    EXPECT_EQ(0, KyFetchRecord(t, 5, &start, &length));
    EXPECT_EQ(before, RemoteRequests()) << "a record stored already is not asked again";
    EXPECT_EQ(replyFiles, ReplyFiles()) << "every reply file is deleted";
    KyFetchReplyLimit = 64L << 20;
    KY_HttpSetTimeout(30000);
}

namespace {

std::string Lzss(const std::string& text) {
    KY_Codec codec;
    std::memset(&codec, 0, sizeof codec);
    KY_CodecSetMode(&codec, 3);
    std::vector<uint8_t> out(static_cast<size_t>(KY_CodecCompressBound(static_cast<int32_t>(text.size()))));
    int32_t size = static_cast<int32_t>(out.size());
    EXPECT_EQ(kCodecDone, KY_CodecCompressMem(&codec, reinterpret_cast<const uint8_t*>(text.data()),
                                              static_cast<int32_t>(text.size()), out.data(), &size));
    KY_CodecAbandon(&codec);
    return std::string(reinterpret_cast<const char*>(out.data()), static_cast<size_t>(size));
}

// The reply of a record whose plain and compressed fields hold text.
std::string GoodReply(const std::string& text) {
    std::string packed = Lzss(text);
    return "<field>-1#0\npending\n<field>0#" + std::to_string(text.size()) + "\n" + text + "<field>1#" +
           std::to_string(packed.size()) + "," + std::to_string(text.size()) + "\n" + packed;
}

int Store(TempFolder& folder, KyTable* t, int32_t record, const std::string& reply) {
    OpenSpecOf spec(folder.rewrite("reply.txt", reply));
    KY_File* f = KY_FOpen(spec.get(), "rb");
    EXPECT_NE(nullptr, f);
    int code = f ? KyStoreFetchedRecord(t, record, f) : -1;
    if (f)
        KY_FClose(f);
    return code;
}

}  // namespace

TEST(KyFetch, AReplyIsCheckedWholeBeforeAnyFieldIsStored) {
    TempFolder folder;
    FetchBase b(folder);
    KyTable* t = nullptr;
    ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t)) << KY_EngineErrorText;
    std::map<int32_t, std::string> stored = {{0, kFirst[0]}, {100, kFirst[1]}};
    std::string packed = Lzss("abcde");
    struct Row {
        const char* why;
        std::string reply;
        int code;
    } rows[] = {
        {"a compressed field without its expanded length", "<field>0#3\nabc<field>1#5\nxxxxx", 106},
        {"a field of an unknown part after a good one", "<field>0#3\nabc<field>2#1\nx", 1322},
        {"a length beyond 31 bits", "<field>0#99999999999\nabc", 106},
        {"a part number beyond 31 bits", "<field>4294967296#1\nx", 106},
        {"a negative expanded length", "<field>1#3,-4\nabc", 106},
        {"a field cut short after a good one", "<field>0#3\nabc<field>1#40,5\n" + packed, 106},
        {"no length", "<field>0#\nabc", 106},
        {"compressed bytes that expand short", "<field>1#" + std::to_string(packed.size()) + ",6\n" + packed, 106},
        {"compressed bytes that are no code", "<field>1#4,5\n\xFF\xFF\xFF\xFF", 106},
        {"the good fields", "<field>1#" + std::to_string(packed.size()) + ",5\n" + packed + "<field>0#3\nabc", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        EXPECT_EQ(r.code, Store(folder, t, 5, r.reply)) << KY_EngineErrorText;
        if (r.code == 0) {
            stored[5] = "abc";
            stored[105] = "abcde";
        }
        EXPECT_EQ("", Consistent(t, stored));
    }

    // Damaged forms of good replies, each damage one the reader must refuse.
    std::mt19937 random(20261207);
    for (int i = 0; i < 2000; ++i) {
        int32_t record = 10 + static_cast<int32_t>(random() % 80);
        std::string text = RemoteDocText(record), reply = GoodReply(text);
        size_t field0 = reply.find("<field>0#") + 7, field1 = reply.find("<field>1#") + 7;
        std::string noise(random() % 40, 'n');
        for (char& c : noise)
            c = static_cast<char>('0' + random() % 70);
        const char* digits[] = {"2147483648", "99999999999", "-1", "x", "", "#", "1e3", "0x10"};
        const char* digit = digits[random() % 8];
        int kind = static_cast<int>(random() % 7);
        switch (kind) {
            case 0:  // a plain length beyond the reply
                reply.replace(field0 + 2, std::to_string(text.size()).size(),
                              std::to_string(reply.size() + random() % 9));
                break;
            case 1:  // an unknown part
                reply.replace(field1, 1, std::to_string(2 + random() % 300));
                break;
            case 2:  // a part number that is no number
                reply.replace(field0, 1, digits[3 + random() % 5]);
                break;
            case 3:  // a plain length that is no number, or too wide
                reply.replace(field0 + 2, std::to_string(text.size()).size(), digit);
                break;
            case 4:  // an expanded length that is no number, or too wide
                reply.insert(reply.find(',', field1) + 1, digits[random() % 4 == 0 ? 3 : random() % 2]);
                break;
            case 5:  // a compressed field without its expanded length
                reply.erase(reply.find(',', field1), reply.find('\n', field1) - reply.find(',', field1));
                break;
            default:  // cut inside the compressed bytes
                reply.resize(reply.size() - 1 - random() % 4);
                break;
        }
        reply = noise + "\n" + reply;
        SCOPED_TRACE(std::to_string(i) + ": kind " + std::to_string(kind) + " " + reply);
        ASSERT_NE(0, Store(folder, t, record, reply));
        ASSERT_EQ("", Consistent(t, stored));
    }
    EXPECT_EQ(0, KyCloseTable(&t));
}

TEST(KyFetch, StoresWhereTheCatalogueStartsItsNextRecord) {
    TempFolder folder;
    FetchBase b(folder);
    // Part 0 emptied, its catalogue starting after 10 header bytes of its data file.
    ASSERT_EQ("", SaveFileReplacing(b.cleanup[0], "0123456789"));
    ASSERT_EQ("", CatWriteLengths(b.cleanup[1], {}, 10));
    DeleteFileA(b.cleanup[3].c_str());
    KyTable* t = nullptr;
    ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t)) << KY_EngineErrorText;
    for (int32_t record : {3, 4}) {
        SCOPED_TRACE(record);
        std::string text = "r" + std::to_string(record);
        ASSERT_EQ(0, Store(folder, t, record, "<field>0#2\n" + text));
        int code = 0;
        EXPECT_EQ(text, Read(t, record, &code));
    }
    EXPECT_EQ(0, KyCloseTable(&t));
}

TEST_F(KyFetchServer, DamagedServerRepliesLeaveThePartsWhole) {
    ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t)) << KY_EngineErrorText;
    for (int32_t record = 10; record < 90; ++record) {
        SCOPED_TRACE(record);
        // Even records: a damage a sound reader refuses; odd ones: random damage.
        bool refusable = record % 2 == 0;
        b.serve(ports.port, (refusable ? "malformed-" : "noise-") + std::to_string(record) + "/tz");
        int32_t start = -1, length = -1;
        int code = KyFetchRecord(t, record, &start, &length);
        if (refusable) {
            EXPECT_NE(0, code);
        }
        // Whatever a damaged reply stored must read back whole.
        for (int32_t r : {record, record + 100}) {
            int32_t type = 0;
            int present = 0;
            ASSERT_EQ(0, KyRecordPresent(t, r, &type, &present));
            int readCode = 0;
            if (present)
                stored[r] = Read(t, r, &readCode);
            EXPECT_EQ(0, readCode);
        }
        ASSERT_EQ("", Consistent(t, stored));
    }
}

TEST_F(KyFetchServer, ACacheWithoutFilesIsMadeAndFilledByFetching) {
    for (const std::string& f : b.cleanup)
        DeleteFileA(f.c_str());
    ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t)) << KY_EngineErrorText;
    stored.clear();
    EXPECT_EQ("", Consistent(t, stored));
    int32_t start = -1, length = -1;
    for (int32_t record : {42, 7}) {
        SCOPED_TRACE(record);
        ASSERT_EQ(0, KyFetchRecord(t, record, &start, &length)) << KY_EngineErrorText;
        stored[record] = stored[record + 100] = RemoteDocText(record);
        EXPECT_EQ("", Consistent(t, stored));
    }
    EXPECT_EQ(0, KyCloseTable(&t));
    ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t)) << "the cache made stays";
    EXPECT_EQ("", Consistent(t, stored));
}

namespace {

// The n-th write to a file from the arming on fails; the writes are counted.
struct FailingWrites {
    static long Write(int handle, const void* buffer, long count) {
        return ++writes == failAt ? -1 : original(handle, buffer, count);
    }
    FailingWrites() {
        original = KY_FileSystemCalls().write;
        KY_FileSystemCalls().write = Write;
    }
    ~FailingWrites() { KY_ResetFileSystemCalls(); }
    void arm(int n) {
        writes = 0;
        failAt = n;
    }
    static inline long (*original)(int, const void*, long) = nullptr;
    static inline int writes = 0, failAt = 0;
};

bool Present(KyTable* t, int32_t record) {
    int32_t type = 0;
    int present = 0;
    EXPECT_EQ(0, KyRecordPresent(t, record, &type, &present));
    return present != 0;
}

}  // namespace

TEST_F(KyFetchServer, AFetchFailingAtAnyWriteLeavesWholeRecordsAndIsRetried) {
    ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t)) << KY_EngineErrorText;
    FailingWrites faults;
    int32_t record = 10;
    for (int n = 1; n < 200; ++n, ++record) {
        SCOPED_TRACE("write " + std::to_string(n) + " fails, record " + std::to_string(record));
        faults.arm(n);
        int32_t start = -1, length = -1;
        int code = KyFetchRecord(t, record, &start, &length);
        bool injected = FailingWrites::writes >= n;
        faults.arm(0);
        if (!injected) {
            EXPECT_EQ(0, code);
            EXPECT_LT(10, n) << "a fetch and its store write more than this";
            break;
        }
        EXPECT_NE(0, code);
        // What the failed fetch left present is whole, and so is every record before it.
        std::string text = RemoteDocText(record);
        for (int32_t r : {record, record + 100})
            if (Present(t, r))
                stored[r] = text;
        ASSERT_EQ("", ReadsBack(t, stored));
        // Fetched again, the record's part holds it; the other part's field
        // of the record, when missing, comes with its own document.
        ASSERT_EQ(0, KyFetchRecord(t, record, &start, &length)) << KY_EngineErrorText;
        stored[record] = text;
        if (!Present(t, record + 100)) {
            ASSERT_EQ(0, KyFetchRecord(t, record + 100, &start, &length)) << KY_EngineErrorText;
            stored[record + 100] = RemoteDocText(record + 100);
        }
        stored.emplace(record + 100, text);
        ASSERT_EQ("", ReadsBack(t, stored));
    }
    EXPECT_EQ(0, KyCloseTable(&t));
    ASSERT_EQ(0, KyOpenTable(&b.base, "DB", &t));
    EXPECT_EQ("", ReadsBack(t, stored));
}
