// The descriptor writer: a written pair parses and mounts with its keys, files
// and settings; values that would not read back as written are refused.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "base/procedural/KyPath.h"
#include "search/engine/descriptor/KyParse.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/engine/records/KyAccessor.h"
#include "search/engine/request/KyRequest.h"
#include "search/writers/DescriptorWriter.h"
#include "search/writers/FileImage.h"
#include "tests/base/procedural/TextTestSupport.h"

namespace {

std::string gGenPath;

// The application's answer to an "ASK" key: its line in the ".gen" companion.
const char* AskGen(const char* name) {
    static char value[260];
    long position = 0;
    return KY_GetKeyFromPathFile(gGenPath.c_str(), 0, name, value, sizeof value, &position) == 0 ? value : nullptr;
}

std::string Path(const KY_OpenSpec& s) {
    return s.path.text ? s.path.text : "";
}

}  // namespace

TEST(DescriptorWriter, WrittenPairParsesAndMounts) {
    TempFolder folder;
    std::string root = folder.path("");
    root.pop_back();
    std::string sgm = folder.write("w.sgm", "");
    gGenPath = folder.write("w.gen", "");
    CreateDirectoryA((root + "\\r").c_str(), nullptr);

    DescriptorSpec spec;
    spec.paths = {{"D", "dbg", "", root}, {"R", "rel", "D", "r"}};
    spec.bases = {{"B", "R", {{"DB", "a&b", 3, 2}, {"H", "h", 0, 0}}, {{"I", "i", 5000}}}};
    spec.keys = {{"VER", "3.1"}, {"EMPTY", ""}};
    spec.generated = {{"USER", "Jean Dupont"}, {"MSG_X", "a<b> & c"}};
    spec.files = {{"NOTES", "R", "notes.dat"}};
    ASSERT_EQ("", WriteDescriptor(sgm, spec));

    KySgmVarCallback previous = KY_SetSgmVarCallback(AskGen);
    KyDescriptor* d = nullptr;
    int code = KY_ParseDescriptor(OpenSpecOf(sgm).get(), &d);
    KY_SetSgmVarCallback(previous);
    ASSERT_EQ(0, code) << KY_EngineErrorText;
    EXPECT_STREQ("3.1", KY_DescriptorEntity(d, "VER"));
    EXPECT_STREQ("", KY_DescriptorEntity(d, "EMPTY"));
    EXPECT_STREQ("Jean Dupont", KY_DescriptorEntity(d, "USER"));
    EXPECT_STREQ("a<b> & c", KY_DescriptorEntity(d, "MSG_X"));

    KyMount* mount = KY_NewMount(nullptr, nullptr);
    ASSERT_EQ(0, CpCommon(d, mount)) << KY_EngineErrorText;
    KyMountedBase* b = static_cast<KyMountedBase*>(KY_FindAssoc(mount->bases, "B")->value);
    KyMountedData* db = static_cast<KyMountedData*>(KY_FindAssoc(b->data, "DB")->value);
    EXPECT_EQ(root + "\\r\\a&b.fmt", Path(db[0].data));
    EXPECT_EQ(root + "\\r\\a&b.of7", Path(db[0].catalogue));
    EXPECT_EQ(3, db[0].compression);
    EXPECT_EQ(2, db[0].adjust);
    KyMountedData* h = static_cast<KyMountedData*>(KY_FindAssoc(b->data, "H")->value);
    EXPECT_EQ(0, h[0].compression);
    KyMountedIndex* index = static_cast<KyMountedIndex*>(KY_FindAssoc(b->indexes, "I")->value);
    EXPECT_EQ(root + "\\r\\i.abp", Path(index->files[0]));
    const KY_OpenSpec* notes = nullptr;
    ASSERT_EQ(0, KyFileOfKey(mount, "NOTES", &notes));
    EXPECT_EQ(root + "\\r\\notes.dat", Path(*notes));
    KY_FreeMount(mount);
    KY_Engine* engine = nullptr;
    previous = KY_SetSgmVarCallback(AskGen);
    EXPECT_EQ(0, KY_OpenDescriptor(sgm.c_str(), &engine)) << "the request layer reads it unscrambled";
    KY_SetSgmVarCallback(previous);
    EXPECT_EQ(1, KY_IsBaseAvailable(engine, "B"));
    if (engine)
        KY_CloseDescriptor(&engine);
    RemoveDirectoryA((root + "\\r").c_str());
}

TEST(DescriptorWriter, RefusesWhatWouldNotReadBackAndKeepsTheOldPair) {
    TempFolder folder;
    std::string sgm = folder.write("w.sgm", "old sgm");
    std::string gen = folder.write("w.gen", "old gen");
    struct Row {
        const char* why;
        DescriptorSpec spec;
    };
    const std::string longValue(120, 'x');
    const Row rows[] = {
        {"blank in a prolog value", {{}, {}, {{"K", "a b"}}, {}}},
        {"prolog value read as a request", {{}, {}, {{"K", "ASK"}}, {}}},
        {"prolog value ending the declaration", {{}, {}, {{"K", "a>"}}, {}}},
        {"prolog line past 127 bytes", {{}, {}, {{"K", longValue}}, {}}},
        {"companion value over two lines", {{}, {}, {}, {{"K", "a\r\nb=c"}}}},
        {"quote in an attribute", {{{"P\"", "dbg", "", "C:\\"}}, {}, {}, {}}},
        {"unknown compression", {{}, {{"B", "D", {{"DB", "d", 5, 0}}, {}}}, {}, {}}},
        {"index without documents", {{}, {{"B", "D", {}, {{"I", "i", 0}}}}, {}, {}}},
        {"quote in a registered file's attribute", {{}, {}, {}, {}, {{"F", "D\"", "f"}}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.why);
        EXPECT_NE("", WriteDescriptor(sgm, r.spec));
        std::string bytes;
        ASSERT_TRUE(LoadFile(sgm, &bytes));
        EXPECT_EQ("old sgm", bytes);
        ASSERT_TRUE(LoadFile(gen, &bytes));
        EXPECT_EQ("old gen", bytes);
    }
}

TEST(DescriptorWriter, ResourcesFormsAndUserStringsMount) {
    TempFolder folder;
    std::string root = folder.path("");
    root.pop_back();
    std::string sgm = folder.write("w.sgm", "");

    DescriptorSpec spec;
    spec.paths = {{"D", "dbg", "", root}};
    spec.resourcePath = "D";
    spec.resources = {{"flt", "K", "keys", ""},  {"stp", "S", "stop", ""}, {"thes", "T", "th", "K"},
                      {"filter", "U", "upper", ""}, {"lex", "L", "lx", "U"}, {"lex", "M", "mx", ""}};
    DescriptorMapping mapping;
    mapping.defaults = {{"direct", "I"}, {"prox", "Y"}};
    mapping.formDefaults = {{"thes", "T"}, {"stp", "S"}, {"keyflt", "K"}};
    mapping.op = ",ET,OU,SAUF,";
    mapping.sep = " ,<&>";
    // Field 1 searches an index of its own.
    mapping.forms = {{"F", 2, {{"opdef", "OR"}}, {{1, {{"direct", "J"}}}}}};
    DescriptorBase base{"B", "D", {{"DB", "d", 0, 0}, {"H", "h", 0, 0}}, {{"I", "i", 10}, {"J", "j", 10}}};
    base.headings = "H";
    base.documents = "DB";
    base.mapping = {mapping};
    spec.bases = {base};
    spec.userStrings = {{"MSG_A", "l'a < b & c"}};
    ASSERT_EQ("", WriteDescriptor(sgm, spec));

    KyDescriptor* d = nullptr;
    ASSERT_EQ(0, KY_ParseDescriptor(OpenSpecOf(sgm).get(), &d)) << KY_EngineErrorText;
    KyMount* mount = KY_NewMount(nullptr, nullptr);
    ASSERT_EQ(0, CpCommon(d, mount)) << KY_EngineErrorText;
    KyMountedThes* thes = static_cast<KyMountedThes*>(KY_FindAssoc(mount->thes, "T")->value);
    EXPECT_EQ(root + "\\th.abp", Path(thes->file));
    KyMountedFilter* keys = static_cast<KyMountedFilter*>(KY_FindAssoc(mount->flts, "K")->value);
    EXPECT_EQ(keys, thes->flt);
    EXPECT_EQ(root + "\\keys.flt", Path(keys->file));
    EXPECT_EQ(root + "\\stop.stp", Path(*static_cast<KY_OpenSpec*>(KY_FindAssoc(mount->stps, "S")->value)));
    EXPECT_STREQ("l'a < b & c", static_cast<const char*>(KY_FindAssoc(mount->userStrings, "MSG_A")->value));
    // A keyed index: its tree, its entries' data and catalogue, and the filter of its keys.
    for (const char* id : {"L", "M"}) {
        SCOPED_TRACE(id);
        ASSERT_TRUE(KY_FindAssoc(mount->lexs, id));
        auto* lex = static_cast<KyMountedLex*>(KY_FindAssoc(mount->lexs, id)->value);
        std::string file = root + "\\" + (id[0] == 'L' ? "lx" : "mx");
        EXPECT_EQ(file + ".abp", Path(lex->abp));
        EXPECT_EQ(file + ".hd7", Path(lex->hdg[0]));
        EXPECT_EQ(file + ".hdg", Path(lex->hdg[1]));
        EXPECT_EQ(id[0] == 'L', lex->filterKey != nullptr);
    }
    KyMountedBase* b = static_cast<KyMountedBase*>(KY_FindAssoc(mount->bases, "B")->value);
    EXPECT_STREQ("H", b->hdg);
    EXPECT_STREQ("DB", b->docDb);
    KyMountedForm* form = static_cast<KyMountedForm*>(KY_FindAssoc(b->forms, "F")->value);
    ASSERT_EQ(2, form->fieldCount);
    EXPECT_EQ(thes, form->thes);
    EXPECT_EQ(keys, form->keyflt);
    EXPECT_STREQ(",ET,OU,SAUF,", form->op);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(2, form->fields[i].opdef);
        EXPECT_EQ(i, form->fields[i].direct);
        EXPECT_EQ(1, form->fields[i].prox);
    }
    KY_FreeMount(mount);

    // A field of its own past the form's count is refused.
    spec.bases[0].mapping[0].forms[0].own = {{2, {{"direct", "J"}}}};
    EXPECT_NE("", WriteDescriptor(sgm, spec));
}
