// Mounting: path resolution (DBG, REL, SGN on a test drive, predefined), the
// file specifications of resources and bases, released bases, and key files.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "base/procedural/Assoc.h"
#include "base/procedural/BAlloc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyPath.h"
#include "search/engine/descriptor/KyParse.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/records/KyAccessor.h"
#include "search/writers/TableWriter.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

// A Windows path in the descriptor's path syntax ("C|:dir:sub").
std::string Encode(std::string path) {
    for (char& c : path)
        c = c == ':' ? '|' : c == '\\' ? ':' : c;
    return path;
}

// The letter of the test drive made by test_drives.sh, or 0 without one.
char TestDrive() {
    const char* dir = std::getenv("SV_DRIVE_DIR");
    if (!dir)
        return 0;
    std::string path = std::string("Z:") + dir + "/letter";
    for (char& c : path)
        c = c == '/' ? '\\' : c;
    std::ifstream in(path);
    char letter = 0;
    in >> letter;
    return static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
}

struct Mounted {
    int code = -1;
    KyMount* mount = nullptr;
    std::string error;
    ~Mounted() { KY_FreeMount(mount); }
};

void Mount(const std::string& text, Mounted* out, const char* volume = nullptr) {
    TempFolder folder;
    KyDescriptor* d = nullptr;
    ClearBoxes();
    int code = KY_ParseDescriptor(OpenSpecOf(folder.write("m.sgm", text)).get(), &d);
    ASSERT_EQ(0, code) << KY_EngineErrorText;
    out->mount = KY_NewMount(volume, nullptr);
    KY_SetEngineErrorText("");
    out->code = CpCommon(d, out->mount);
    out->error = KY_EngineErrorText;
}

std::string Path(const KY_OpenSpec& s) {
    return s.path.text ? s.path.text : "";
}

// Resources and base B under folder D; base V under the signature path S.
std::string Descriptor(const std::string& folder, const std::string& signature, bool mountable) {
    return "<KYDesc connect=\"Y\"><pathinfo><path id=\"D\" type=\"dbg\">" + Encode(folder) +
           "</path><path id=\"R\" root=\"D\" tocreate=\"Y\">made</path>"
           "<path id=\"S\" type=\"sgn\" mountable=\"" +
           (mountable ? "Y" : "N") + "\">" + signature +
           "</path><subpath id=\"X\">sub</subpath></pathinfo><extinfo><extstp>sw</extstp></extinfo>"
           "<resource path=\"D\"><filter id=\"F\"><platform plat=\"win\">f</platform></filter>"
           "<flt id=\"T\"><platform plat=\"mac\">m</platform></flt><stp id=\"ST\">stop</stp>"
           "<lex id=\"L\"><lexabp>la</lexabp><lexhdg>lh</lexhdg></lex><userdata id=\"U\">notes.dat</userdata>"
           "<userdata id=\"UV\" path=\"S\">v.dat</userdata></resource>"
           "<common><base id=\"B\" nbSupports=\"2\" nbSuppRech=\"1\"><data path=\"D\"><db id=\"DB\" filter=\"F\">d</db>"
           "<db id=\"H\" nbcache=\"0\">h</db><db id=\"N\" nodb=\"Y\">n</db></data><hdg db=\"H\" docdb=\"DB\"></hdg>"
           "<index path=\"R\" subpath=\"X\"><idx id=\"I\">i</idx></index>"
           "<support num=\"1\" where=\"net\"><connect serveur=\"srv\" script=\"q.cgi\"></connect>"
           "<subdb db=\"DB\" exist=\"N\"></subdb></support>"
           "<mapping><reqDefaults direct=\"I\" lexdir=\"L\"></reqDefaults><op>et</op></mapping></base>"
           "<base id=\"V\"><data path=\"S\"><db id=\"E\">e</db></data></base></common>"
           "<userstr><str id=\"MSG_A\">bonjour</str></userstr></KYDesc>";
}

}  // namespace

TEST(MkDoom, MountsFilesWithTheirExtensionsAndSettings) {
    TempFolder folder;
    std::string root = folder.path("");
    root.pop_back();
    Mounted m;
    Mount(Descriptor(root, "NOSUCHSIG", true), &m);
    ASSERT_EQ(0, m.code) << m.error;
    RemoveDirectoryA((root + "\\made").c_str());
    KyMount* mount = m.mount;
    EXPECT_EQ(1, mount->connect);
    ASSERT_NE(nullptr, KY_FindPathSpec(mount, "R"));
    EXPECT_EQ(root + "\\made", KY_FindPathSpec(mount, "R")->text) << "a REL path joins its root's folder";
    KyMountedFilter* f = static_cast<KyMountedFilter*>(KY_FindAssoc(mount->filters, "F")->value);
    EXPECT_EQ(root + "\\f.rck", Path(f->file));
    EXPECT_EQ(nullptr, KY_FindAssoc(mount->flts, "T")) << "a filter without a win variant is skipped";
    EXPECT_EQ(root + "\\stop.sw", Path(*static_cast<KY_OpenSpec*>(KY_FindAssoc(mount->stps, "ST")->value)));
    KyMountedLex* lex = static_cast<KyMountedLex*>(KY_FindAssoc(mount->lexs, "L")->value);
    EXPECT_EQ(root + "\\la.abp", Path(lex->abp));
    EXPECT_EQ(root + "\\lh.hd7", Path(lex->hdg[0]));
    EXPECT_EQ(root + "\\lh.uh7", Path(lex->hdg[2]));

    KyMountedBase* b = static_cast<KyMountedBase*>(KY_FindAssoc(mount->bases, "B")->value);
    EXPECT_EQ(0, b->released);
    struct Row {
        const char* data;
        int support;
        int present;
        const char* catalogue;
        const char* file;
        const char* companion;
    };
    const Row rows[] = {
        {"DB", 0, 1, "d.of7", "d.fmt", "d.uf7"},
        {"DB", 1, 0, "", "", ""},
        {"H", 0, 1, "h.hd7", "h.hdg", "h.uh7"},
        {"N", 1, 1, "n.of7", "", "n.uf7"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.data) + std::to_string(r.support));
        KyMountedData* files = static_cast<KyMountedData*>(KY_FindAssoc(b->data, r.data)->value);
        const KyMountedData& d = files[r.support];
        EXPECT_EQ(r.present, d.present);
        auto full = [&](const char* name) { return *name ? root + "\\" + name : std::string(); };
        EXPECT_EQ(full(r.catalogue), Path(d.catalogue));
        EXPECT_EQ(full(r.file), Path(d.data));
        EXPECT_EQ(full(r.companion), Path(d.companion));
    }
    KyMountedData* db = static_cast<KyMountedData*>(KY_FindAssoc(b->data, "DB")->value);
    EXPECT_EQ(f, db[0].filter);
    EXPECT_EQ(kOpenCached, db[0].catalogue.flags & kOpenCached);
    EXPECT_EQ(2048, db[0].catalogue.blockSize);
    KyMountedData* h = static_cast<KyMountedData*>(KY_FindAssoc(b->data, "H")->value);
    EXPECT_EQ(0, h[0].catalogue.flags & kOpenCached) << "nbcache 0: no cache";
    KyMountedIndex* index = static_cast<KyMountedIndex*>(KY_FindAssoc(b->indexes, "I")->value);
    ASSERT_EQ(1, index->searched);
    EXPECT_EQ(root + "\\made\\sub\\i.abp", Path(index->files[0]));
    ASSERT_NE(nullptr, b->mapping);
    EXPECT_EQ(0, b->mapping->fields[0].direct);
    EXPECT_EQ(lex, b->mapping->fields[0].lexdir);
    EXPECT_EQ(index, b->mapping->indexes[0]);
    EXPECT_STREQ("et", b->mapping->op);
    ASSERT_NE(nullptr, b->supportArray[1].connect);
    EXPECT_STREQ("srv", b->supportArray[1].connect->server);
    EXPECT_STREQ("ky", b->supportArray[1].connect->user);
    EXPECT_STREQ("edel=1", b->supportArray[1].connect->options);
    EXPECT_STREQ("bonjour", static_cast<char*>(KY_FindAssoc(mount->userStrings, "msg_a")->value));
    Mounted bare;
    Mount("<KYDesc><pathinfo></pathinfo></KYDesc>", &bare);
    struct File {
        const KyMount* mount;
        const char* key;
        int code;
        std::string path;
    } files[] = {
        {mount, "u", 0, root + "\\notes.dat"},  // the name keeps its extension
        {mount, "UV", 1313, ""},                // on a mountable volume that is absent
        {mount, "NONE", 1313, ""},
        {mount, nullptr, 1313, ""},
        {bare.mount, "U", 1303, ""},
        {nullptr, "U", 1303, ""},
    };
    for (const File& r : files) {
        SCOPED_TRACE(r.key ? r.key : "null");
        const KY_OpenSpec* spec = nullptr;
        EXPECT_EQ(r.code, KyFileOfKey(r.mount, r.key, &spec));
        EXPECT_EQ(r.path, spec ? Path(*spec) : "");
    }
    EXPECT_EQ(mount->desc->links, mount->links);

    KyMountedBase* v = static_cast<KyMountedBase*>(KY_FindAssoc(mount->bases, "V")->value);
    EXPECT_EQ(1, v->released) << "its signature is on no drive";
    EXPECT_EQ(1, v->hasMountable);
    EXPECT_EQ(1302, mountBase(mount, "nobase"));
    EXPECT_EQ(0, mountBase(mount, "V"));
    EXPECT_EQ(1, v->released);

    // Mounting, releasing and remounting give back every block.
    uint32_t segments = BAlloc::segmentCount();
    for (int i = 0; i < 100; ++i) {
        Mounted again;
        Mount(Descriptor(root, "NOSUCHSIG", true), &again);
        KY_ForEachBase(again.mount);
        mountBase(again.mount, "B");
        mountBase(again.mount, "V");
    }
    RemoveDirectoryA((root + "\\made").c_str());
    EXPECT_EQ(segments, BAlloc::segmentCount());
}

TEST(MkDoom, SupportsWithoutBoundsNumberTheirRecordsOneAfterTheOther) {
    TempFolder folder;
    std::string root = folder.path("");
    root.pop_back();
    const std::vector<std::string> parts[] = {{"zero", "un", "deux"}, {"trois", "quatre"}};
    for (int i = 0; i < 2; ++i) {
        std::string stem = folder.path(i ? "d1" : "d");
        ASSERT_EQ("", WriteTablePart({stem + ".fmt", stem + ".of7", stem + ".uf7", ""}, parts[i], 0, 0, {}));
    }
    Mounted m;
    Mount("<KYDesc><pathinfo><path id=\"D\" type=\"dbg\">" + Encode(root) +
              "</path></pathinfo><common><base id=\"B\" nbSupports=\"2\"><data path=\"D\"><db id=\"DB\">d</db>"
              "</data><support num=\"1\"><subdb db=\"DB\">d1</subdb></support></base></common></KYDesc>",
          &m);
    ASSERT_EQ(0, m.code) << m.error;
    KyTable* table = nullptr;
    ASSERT_EQ(0, KyOpenTable(static_cast<KyMountedBase*>(KY_FindAssoc(m.mount->bases, "B")->value), "DB", &table))
        << KY_EngineErrorText;
    struct Row {
        int32_t record;
        int part;
        int32_t local;
        const char* text;  // null: not present
    } const rows[] = {
        {0, 0, 0, "zero"},
        {2, 0, 2, "deux"},
        {3, 1, 0, "trois"},
        {4, 1, 1, "quatre"},
        {5, 1, 5, nullptr},  // past every part: the last part's numbering
        {(2 << 24) | 1, 1, 1, "quatre"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.record);
        int32_t local = -1, type = -1;
        int part = -1, present = -1;
        ASSERT_EQ(0, KyLocateRange(table, r.record, &local, &part));
        EXPECT_EQ(r.part, part);
        EXPECT_EQ(r.local, local);
        ASSERT_EQ(0, KyRecordPresent(table, r.record, &type, &present));
        EXPECT_EQ(r.text != nullptr, present != 0);
        char buffer[16];
        int32_t got = 0;
        int code = KyReadRecord(table, r.record, reinterpret_cast<uint8_t*>(buffer), sizeof buffer, &got);
        EXPECT_EQ(r.text ? std::string(r.text) : "", std::string(buffer, code ? 0 : got));
    }
    EXPECT_EQ(0, KyCloseTable(&table));
    for (const char* name : {"d.fmt", "d.of7", "d.uf7", "d1.fmt", "d1.of7", "d1.uf7"})
        DeleteFileA(folder.path(name).c_str());
}

TEST(MkDoom, RefusesUserDataWithoutTheirRecords) {
    TempFolder folder;
    struct Bad {
        const char* text;
        int code;
    } bad[] = {
        {"<userdata id=\"U\">x</userdata>", 1301},  // outside a resource
        {"<resource><userdata>x</userdata></resource>", 1301},
        {"<resource><userdata id=\"U\">x</userdata><userdata id=\"u\">y</userdata></resource>", 110},
        {"<resource><userdata id=\"U\" path=\"Q\">x</userdata></resource>", 1302},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.text);
        KyDescriptor* d = nullptr;
        std::string text = std::string("<KYDesc><pathinfo></pathinfo>") + b.text + "</KYDesc>";
        EXPECT_EQ(b.code, KY_ParseDescriptor(OpenSpecOf(folder.write("bad.sgm", text)).get(), &d));
        KY_FreeDescriptor(d);
    }
}

TEST(MkDoom, ResolvesPathVariablesOrFailsWith2013) {
    TempFolder folder;
    std::string root = folder.path("");
    root.pop_back();
    struct Row {
        std::string text;
        int code;
        std::string error;
    };
    const Row rows[] = {
        {"<path id=\"A\" type=\"dbg\">" + Encode(root) + ":absent</path>", 2013, root + "\\absent"},
        {"<path id=\"A\" type=\"sgn\">:NOSUCHSIG</path>", 2013, ""},
        {"<path id=\"A\" type=\"sgn\" mountable=\"Y\">:NOSUCHSIG</path><path id=\"B\" root=\"A\">x</path>", 0, ""},
        {"<path id=\"B\" root=\"_TMPPATH_\">nothere</path>", 2013, ""},
        {"<path id=\"A\" type=\"ini\" key=\"Data\">nofile.ini</path>", 2013, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        Mounted m;
        Mount("<KYDesc><pathinfo>" + r.text + "</pathinfo></KYDesc>", &m);
        EXPECT_EQ(r.code, m.code);
        if (!r.error.empty()) {
            EXPECT_EQ(r.error, m.error);
        }
    }
    Mounted m;
    Mount("<KYDesc><pathinfo><path id=\"A\" type=\"sgn\">:NOSUCHSIG</path></pathinfo></KYDesc>", &m, root.c_str());
    ASSERT_EQ(0, m.code) << "the volume path overrides a signature path";
    EXPECT_EQ(root, KY_FindPathSpec(m.mount, "A")->text);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string tempText = temp;
    tempText.pop_back();
    EXPECT_STREQ(tempText.c_str(), KY_FindPathSpec(m.mount, "_TMPPATH_")->text);
}

TEST(MkDoom, FindsSignaturesOnATestDrive) {
    char drive = TestDrive();
    if (!drive)
        GTEST_SKIP() << "no test drive (test_drives.sh start)";
    TempFolder folder;
    std::string root = folder.path("");
    root.pop_back();
    Mounted m;
    Mount(Descriptor(root, ":SVSIG", false), &m);
    ASSERT_EQ(0, m.code) << m.error;
    RemoveDirectoryA((root + "\\made").c_str());
    std::string expected = std::string(1, drive) + ":\\SVSIG";
    EXPECT_EQ(expected, KY_FindPathSpec(m.mount, "S")->text);
    KyMountedBase* v = static_cast<KyMountedBase*>(KY_FindAssoc(m.mount->bases, "V")->value);
    EXPECT_EQ(0, v->released);
    KyMountedData* e = static_cast<KyMountedData*>(KY_FindAssoc(v->data, "E")->value);
    EXPECT_EQ(expected + "\\e.fmt", Path(e[0].data));
    EXPECT_NE(nullptr, KY_FindAssoc(m.mount->cache, "SGN:\\SVSIG")) << "a volume is searched once";
    KY_ForgetVolumes(m.mount);
    EXPECT_NE(nullptr, KY_FindAssoc(m.mount->cache, "SGN:\\SVSIG")) << "S is not mountable: its volume stays";
    EXPECT_EQ(0, mountBase(m.mount, "V"));

    Mounted mountable;
    Mount(Descriptor(root, ":SVSIG", true), &mountable);
    ASSERT_EQ(0, mountable.code) << mountable.error;
    RemoveDirectoryA((root + "\\made").c_str());
    KY_ForgetVolumes(mountable.mount);
    EXPECT_EQ(nullptr, KY_FindAssoc(mountable.mount->cache, "SGN:\\SVSIG")) << "the next resolution searches again";

    // An INI path: a key of a key file in the current folder; its SGN key,
    // absent under that folder, is found on the test drive instead.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    folder.write("svtest.ini", "Data=" + root + "\r\nSGN=SVSIG\r\n");
    SetCurrentDirectoryA(root.c_str());
    Mounted ini;
    Mount("<KYDesc><pathinfo><path id=\"A\" type=\"ini\" key=\"data\">svtest.ini</path></pathinfo></KYDesc>", &ini);
    SetCurrentDirectoryA(previous);
    ASSERT_EQ(0, ini.code) << ini.error;
    EXPECT_EQ(std::string(1, drive) + ":", KY_FindPathSpec(ini.mount, "A")->text);
}

TEST(MkDoom, ReadsAndWritesKeyFiles) {
    TempFolder folder;
    struct Row {
        const char* content;
        const char* key;
        int code;
        const char* value;
        long position;
    };
    const Row rows[] = {
        {"lang = fr\r\n", "Lang", 0, "fr", 0},
        {" lang=fr\r\n", "Lang", -1, "", -1},
        {"Language=en\r\nLang=fr\r\n", "Lang", 0, "fr", 13},
        {"x=1\nLANG\t=\t de fr \t\r\n", "lang", 0, "de fr", 4},
        {"lang=fr", "", 1301, "", -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.content);
        KY_FileSpec file{nullptr};
        KY_FullPath(folder.write("keys.ini", r.content).c_str(), &file);
        char value[32] = "";
        long position = 7;
        EXPECT_EQ(r.code, GetKeyFromfile(&file, 0, r.key, value, sizeof value, &position));
        EXPECT_STREQ(r.value, value);
        EXPECT_EQ(r.position, position);
        KY_FreeFileSpec(&file);
    }
    char value[32];
    EXPECT_EQ(2001, KY_GetKeyFromPathFile(folder.path("absent.ini").c_str(), 0, "k", value, sizeof value, nullptr));
    EXPECT_EQ(2006, KY_GetKeyFromPathFile(folder.write("long.ini", "k=0123456789").c_str(), 0, "k", value, 4, nullptr));

    struct Write {
        const char* before;
        const char* key;
        const char* value;
        const char* after;
    };
    const Write writes[] = {
        {"a=1\r\n", "key", "value", "a=1\r\nkey=value\r\n"},
        {"Language=en\r\nLang=fr\r\nx=1\r\n", "Lang", "de", "Language=en\r\nLang=de\r\nx=1\r\n"},
        {"lang = fr\nlang=es\n", "LANG", "it", "LANG=it\r\nLANG=it\r\n"},
        {"a=1\r\nfrpolice=Arial", "key", "v", "a=1\r\nfrpolice=Arial\r\nkey=v\r\n"},
        {"a=1\nb=2", "c", "3", "a=1\nb=2\r\nc=3\r\n"},
        {"", "k", "1", "k=1\r\n"},
        {"k=0\r\nlast", "k", "1", "k=1\r\nlast"},
    };
    for (const Write& w : writes) {
        SCOPED_TRACE(w.before);
        std::string path = folder.write("set.ini", w.before);
        EXPECT_EQ(0, KY_SetKeyToPathFile(path.c_str(), 0, w.key, w.value));
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(w.after, text.str());
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".tmp").c_str())) << "no temporary left";
    }
    std::string path = folder.write("set.ini", "a=1\r\n");
    EXPECT_EQ(1301, KY_SetKeyToPathFile(path.c_str(), 0, "a", "x\r\nb=2"));
    // A line too long to hold is never cut: the file stays as it was.
    const std::string longFile = "k=1\r\nlong=" + std::string(70000, 'x') + "\r\nnext=2\r\n";
    path = folder.write("long.ini", longFile);
    EXPECT_EQ(2012, KY_SetKeyToPathFile(path.c_str(), 0, "k", "9"));
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(text.str() == longFile) << text.str().size() << " bytes";
    long position = 0;
    EXPECT_EQ(0, KY_GetKeyFromPathFile(path.c_str(), 0, "next", value, sizeof value, &position));
    EXPECT_EQ(static_cast<long>(longFile.size()) - 8, position);
}
