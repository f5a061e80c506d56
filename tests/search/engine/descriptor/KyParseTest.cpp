// The descriptor language: prolog, conversions, element text, the records the
// elements build with their inheritance, and the errors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/procedural/Assoc.h"
#include "base/procedural/EngineTables.h"
#include "search/engine/descriptor/KyParse.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

struct Parsed {
    int code = -1;
    KyDescriptor* desc = nullptr;
    std::string error;
    ~Parsed() { KY_FreeDescriptor(desc); }
};

void ParseText(const std::string& text, Parsed* out) {
    TempFolder folder;
    ClearBoxes();
    KY_SetEngineErrorText("");
    out->code = KY_ParseDescriptor(OpenSpecOf(folder.write("desc.sgm", text)).get(), &out->desc);
    out->error = KY_EngineErrorText;
}

template <typename T>
T* Find(KY_Assoc* table, const char* key) {
    KY_AssocEntry* e = table ? KY_FindAssoc(table, key) : nullptr;
    return e ? static_cast<T*>(e->value) : nullptr;
}

const char* g_answer = nullptr;
const char* Answer(const char*) {
    return g_answer;
}

// A descriptor around one base's body: paths P and P2, a resource with
// filter F and flt T, base B with 3 supports of which 2 are searched.
std::string WithBase(const std::string& body,
                     const std::string& baseAttributes = " nbSupports=\"3\" nbSuppRech=\"2\"") {
    return "<KYDesc name=\"t\">\n<pathinfo>\n<path id=\"P\" type=\"dbg\">C|:p</path>\n"
           "<path id=\"P2\" type=\"dbg\">D|:q</path>\n</pathinfo>\n<extinfo></extinfo>\n"
           "<resource path=\"P\"><filter id=\"F\"><platform plat=\"win\">f</platform></filter>"
           "<flt id=\"T\"><platform plat=\"win\">t</platform></flt>"
           "<thes id=\"TH\" flt=\"T\">th</thes><stp id=\"S\">s</stp></resource>\n"
           "<common><base id=\"B\"" +
           baseAttributes + ">\n" + body + "\n</base></common>\n</KYDesc>\n";
}

const char* kIndexes =
    "<index path=\"P\"><idx id=\"I1\" prox=\"P\">i1</idx><idx id=\"I2\" typeidx=\"ind\">i2</idx></index>";

}  // namespace

TEST(KyParse, ReadsTheEntityProlog) {
    struct Row {
        const char* prolog;
        int code;
        const char* error;
        int entities;  // -1: not checked
        const char* name;
        const char* value;
    };
    const Row rows[] = {
        {"", 0, "", 9, "binsec", "\xA0"},
        {"<!ENTITY START 2>\n<!ENTITY a b >\n<!ENTITY x \"\" >\n", 0, "", 11, "x", ""},
        {"<!-- note\nstill\n-->\n\n<!ENTITY a b>\n", 0, "", 10, "a", "b>"},
        {"<!ENTITY START 1>\n<!ENTITY a 1\n<!ENTITY b 2\n<!ENTITY c 3\n<!ENTITY d\t4 >\n", 0, "", 13, "d", "4"},
        {"<!ENTITY x ASK >\n", 1006, "Missing SgmVar callBack", -1, nullptr, nullptr},
        {"<!ENTITY x ask >\n", 1006, "No Value for Sgm Var: x", -1, nullptr, nullptr},
        {"<!ENTITY x ASK >\n", 0, "", 10, "x", "given"},
        {"<!ENTITY long 0123456789012345678901234567890123456789012345678901234567890123456789012345678901234"
         "5678901234567890123456789012345678901234567890123456789>\n",
         1006, "Prolog line too long: <!ENTITY long 01234567890123456789012345", -1, nullptr, nullptr},
        // Sizes out of range are only hints passed over, without overflow.
        {"<!ENTITY START 2147483647>\n<!ENTITY a b >\n", 0, "", 10, "a", "b"},
        {"<!ENTITY START 99999999999>\n<!ENTITY a b >\n", 0, "", 10, "a", "b"},
        {"<!ENTITY START -3>\n<!ENTITY a b >\n", 0, "", 10, "a", "b"},
    };
    int i = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.prolog);
        g_answer = i == 6 ? "given" : nullptr;
        KySgmVarCallback previous = KY_SetSgmVarCallback(i == 5 || i == 6 ? Answer : nullptr);
        Parsed p;
        ParseText(std::string(r.prolog) + "<KYDesc><userstr><str id=\"k\">&sup;v&semicolon;</str></userstr></KYDesc>\n",
                  &p);
        KY_SetSgmVarCallback(previous);
        ++i;
        EXPECT_EQ(r.code, p.code);
        if (r.code) {
            EXPECT_EQ(r.error, p.error);
            continue;
        }
        ASSERT_NE(nullptr, p.desc);
        EXPECT_EQ(r.entities, p.desc->entityCount);
        EXPECT_STREQ(r.value, KY_DescriptorEntity(p.desc, r.name));
        EXPECT_STREQ(">v;", Find<char>(p.desc->userStrings, "K"));
    }
}

TEST(KyParse, ConvertsValuesAndStoresElementText) {
    struct Row {
        const char* body;
        int code;
        const char* error;
    };
    const Row rows[] = {
        {"<index><idx id=\"I\" prox=\"X\">i</idx></index>", 1301, "ParsGetCompCharInt X <>NOPROX,PROXW,PROXP,PROXS,"},
        {"<index><idx id=\"I\" prox=\"proxw\">i</idx><idx id=\"J\" prox=\"P\">j</idx></index>", 0, ""},
        {"<mapping><reqDefaults opdef=\"ou\"></reqDefaults></mapping>", 0, ""},
        {"<data><db id=\"D\" medium=\"BMP\">d</db></data>", 0, ""},
        {"<zz>", 1300, "#findTag : tag not found : zz"},
        {"text > more", 1300, "#Extra End Tag"},
        {"<data><db id=\"D\" filter=\"nope\">d</db></data>", 110, "KyParse Error no 110 in dbTagFun"},
        {"<data><db id=\"D\" path=\"nope\">d</db></data>", 1302, "KyParse Error no 1302 in dbTagFun"},
        {"<db id=\"D\">d</db>", 1301, "KyParse Error no 1301 in dbTagFun"},
        {"<data><db ID=\"D\">d</db></data>", 1301, "KyParse Error no 1301 in dbTagFun"},
        {"<data><db id=\"D\" size=\"1\">d</db></data>", 1300, "#Invalid attribute size"},
        {"<support num=\"3\"></support>", 1301, "KyParse Error no 1301 in supportTagFun"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.body);
        Parsed p;
        ParseText(WithBase(r.body), &p);
        EXPECT_EQ(r.code, p.code);
        EXPECT_EQ(r.error, p.error);
    }
    Parsed p;
    ParseText(WithBase(std::string(kIndexes) +
                       "<data><db id=\"D\" medium=\"BMP\">d</db><db id=\"E\" medium=\"BMP\" sizecache=\"10\">e</db>"
                       "</data><mapping><reqDefaults opdef=\"ou\" direct=\"I2\"></reqDefaults></mapping>"),
              &p);
    ASSERT_EQ(0, p.code) << p.error;
    KyBase* b = Find<KyBase>(p.desc->bases, "b");
    ASSERT_NE(nullptr, b);
    KyIndex* i1 = Find<KyIndex>(b->indexById, "I1");
    ASSERT_NE(nullptr, i1);
    EXPECT_EQ(1, i1->records[0].prox);
    EXPECT_EQ(1, Find<KyIndex>(b->indexById, "I2")->type);
    EXPECT_STREQ("i1", i1->records[1].settings.name);
    EXPECT_STREQ("C:\\p", i1->records[0].settings.path->value);
    EXPECT_EQ(30720, Find<KyData>(b->dataById, "D")->records[2].settings.sizecache);
    EXPECT_EQ(10, Find<KyData>(b->dataById, "E")->records[0].settings.sizecache);
    EXPECT_EQ(2, b->mapping->fields[0].opdef);
    EXPECT_STREQ("0", b->mapping->fields[0].direct);
    EXPECT_STREQ("abp", p.desc->extensions[0]);
}

TEST(KyParse, ConvertsPathTextAndRefusesLongValues) {
    struct Row {
        const char* text;
        int code;
        const char* value;
    };
    std::string longPath(260, 'a');
    const Row rows[] = {
        {"C|:data:base", 0, "C:\\data\\base"},
        {"rel:dir", 0, "rel\\dir"},
        {longPath.c_str() + 1, 0, nullptr},
        {longPath.c_str(), 110, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        Parsed p;
        ParseText(std::string("<KYDesc><pathinfo><Path id=\"a\" TYPE=\"sgn\" mountable=\"oui\">") + r.text +
                      "</path></pathinfo></KYDesc>",
                  &p);
        ASSERT_EQ(r.code, p.code) << p.error;
        if (r.code)
            continue;
        KyPathVar* a = p.desc->paths->items[8];
        EXPECT_EQ(std::string(r.value ? r.value : r.text), a->value);
        EXPECT_EQ(kKyPathRel, a->type) << "TYPE is not the attribute type";
        EXPECT_EQ(1, a->mountable);
        EXPECT_EQ(kKyPathPredefined, p.desc->paths->items[3]->type);
        EXPECT_STREQ("_TMPPATH_", p.desc->paths->items[3]->name);
    }
}

TEST(KyParse, ReplicatesFilesPerSupportAndAppliesSupportSettings) {
    Parsed p;
    ParseText(WithBase(std::string(kIndexes) +
                       "<data path=\"P\"><db id=\"D\" realdb=\"r\">d</db><db id=\"H\">h</db></data><hdg db=\"H\" "
                       "docdb=\"D\"></hdg>"
                       "<support num=\"1\" path=\"P2\" nbcache=\"-4\" firstdoc=\"10\" nbdoc=\"5\" where=\"net\">"
                       "<connect serveur=\"srv\" script=\"s.cgi\"></connect>"
                       "<subdb db=\"H\" nbcache=\"-1\" exist=\"N\">h1</subdb></support>"
                       "<support num=\"2\" nbcache=\"-4\"></support>"),
              &p);
    ASSERT_EQ(0, p.code) << p.error;
    KyBase* b = Find<KyBase>(p.desc->bases, "B");
    ASSERT_NE(nullptr, b);
    EXPECT_EQ(3, b->supports);
    EXPECT_EQ(2, b->searched);
    KyData* d = Find<KyData>(b->dataById, "D");
    KyIndex* i1 = Find<KyIndex>(b->indexById, "I1");
    ASSERT_EQ(3, d->count);
    ASSERT_EQ(2, i1->count);
    EXPECT_EQ(b->hdg, Find<KyData>(b->dataById, "H"));
    EXPECT_EQ(b->docDb, d);
    struct Row {
        int support;
        const char* path;
        int nbcache;
        int crypt;
    };
    const Row rows[] = {{0, "C:\\p", 1, 0}, {1, "D:\\q", 4, 1}, {2, "C:\\p", 4, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.support);
        const KyDataFile& f = d->records[r.support];
        EXPECT_STREQ(r.path, f.settings.path->value);
        EXPECT_EQ(r.nbcache, f.settings.nbcache);
        EXPECT_EQ(r.crypt, f.settings.crypt);
        EXPECT_STREQ("d", f.settings.name);
        EXPECT_STREQ("r", f.realdb);
        if (r.support < 2) {
            EXPECT_EQ(r.nbcache, i1->records[r.support].settings.nbcache);
        }
    }
    KyDataFile& h1 = Find<KyData>(b->dataById, "H")->records[1];
    EXPECT_EQ(-1, h1.settings.nbcache);
    EXPECT_EQ(0, h1.exist);
    EXPECT_STREQ("h1", h1.settings.name);
    EXPECT_EQ(1, Find<KyData>(b->dataById, "H")->records[0].exist);
    EXPECT_EQ(10, b->supportArray[1].first);
    EXPECT_EQ(15, b->supportArray[1].end);
    EXPECT_EQ(1, b->supportArray[1].where);
    EXPECT_STREQ("srv", b->supportArray[1].connect->server);
    EXPECT_EQ(-1, b->supportArray[0].first);
    EXPECT_EQ(nullptr, b->supportArray[0].connect);
}

TEST(KyParse, BuildsFormsFromTheMappingDefaults) {
    Parsed p;
    ParseText(WithBase(std::string(kIndexes) +
                       "<mapping><reqDefaults direct=\"I2\" bloc=\"end\" minkey=\"3\"></reqDefaults>"
                       "<formDefaults thes=\"TH\" stp=\"S\"></formDefaults>"
                       "<op>et ou</op><sep>,</sep><op>sauf</op>"
                       "<form id=\"F1\" nbReq=\"2\"><formDefaults keyflt=\"T\"></formDefaults>"
                       "<reqDefaults opdef=\"OR\"></reqDefaults>"
                       "<req num=\"1\" direct=\"I1\" indirect=\"I2\" dirlist=\"I1,I2;I1\"><prefix direct=\"#x\">"
                       "<sep>;</sep></req></form></mapping>"),
              &p);
    ASSERT_EQ(0, p.code) << p.error;
    KyBase* b = Find<KyBase>(p.desc->bases, "B");
    KyForm* m = b->mapping;
    EXPECT_STREQ("sauf", m->op) << "an op after </sep> still lands in the mapping";
    EXPECT_STREQ(",", m->fields[0].sep);
    KyForm* f = Find<KyForm>(b->forms, "F1");
    ASSERT_NE(nullptr, f);
    EXPECT_EQ(m->thes, f->thes);
    EXPECT_NE(nullptr, f->thes);
    EXPECT_NE(nullptr, f->keyflt);
    struct Row {
        int field;
        int opdef;
        const char* direct;
        const char* indirect;
        const char* sep;
        char prefix;
    };
    const Row rows[] = {{0, 2, "0", nullptr, ",", 0}, {1, 2, "1", "0", ";", '#'}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.field);
        const KyField& field = f->fields[r.field];
        EXPECT_EQ(r.opdef, field.opdef);
        EXPECT_EQ(2, field.bloc);
        EXPECT_EQ(3, field.minkey);
        EXPECT_STREQ(r.direct, field.direct);
        EXPECT_STREQ(r.indirect, field.indirect);
        EXPECT_STREQ(r.sep, field.sep);
        EXPECT_EQ(r.prefix, field.directPrefix);
    }
    EXPECT_STREQ("1:0:1", f->fields[1].dirlist);
    EXPECT_EQ(2, f->usedCount);
    EXPECT_EQ(4, f->usedSum);
}

TEST(KyParse, RefusesRequestsBeyondTheirLimits) {
    std::string many = "<index>";
    std::string names;
    for (int i = 0; i <= kKyMaxFormIndexes; ++i) {
        many += "<idx id=\"X" + std::to_string(i) + "\">x</idx>";
        names += (i ? "," : "") + std::string("X") + std::to_string(i);
    }
    many += "</index>";
    struct Row {
        std::string body;
        int code;
        const char* error;
    };
    const Row rows[] = {
        {many + "<mapping><form id=\"F\" nbReq=\"1\"><req num=\"0\" dirlist=\"" + names + "\"></req></form></mapping>",
         1301, "KyParse Error no 1301 in reqTagFun"},
        {std::string(kIndexes) +
             "<mapping><form id=\"F\" nbReq=\"1\"><req num=\"0\" direct=\"Z\"></req></form></mapping>",
         1304, "KyParse Error no 1304 in reqTagFun"},
        {std::string(kIndexes) + "<mapping><form id=\"F\" nbReq=\"1\"><req num=\"1\"></req></form></mapping>", 1301,
         "KyParse Error no 1301 in reqTagFun"},
        {"<mapping><reqDefaults direct=\"Z\"></reqDefaults></mapping>", 1301,
         "KyParse Error no 1301 in reqDefaultsTagFun"},
        {"<mapping><formDefaults thes=\"none\"></formDefaults></mapping>", 1302,
         "KyParse Error no 1302 in formDefaultsTagFun"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.body.substr(0, 80));
        Parsed p;
        ParseText(WithBase(r.body), &p);
        EXPECT_EQ(r.code, p.code);
        EXPECT_EQ(r.error, p.error);
    }
    struct Refused {
        std::string text;
        int code;
        const char* error;
    };
    const Refused refused[] = {
        {WithBase("", " nbSupports=\"300\""), 1301, "KyParse Error no 1301 in baseTagFun"},
        {"<KYDesc><common><base id=\"" + std::string(100, 'x') + "\"></base></common></KYDesc>", 1301,
         "KyParse Error no 1301 in baseTagFun"},
        {"<KYDesc><extinfo><extabp>abcd</extabp></extinfo></KYDesc>", 110,
         "KyParse Error no 110 in processContent-EXT"},
    };
    // A long text run is read in steps of the line size, not copied again per character.
    std::string big(4 << 20, 'x');
    Parsed large;
    ParseText("<KYDesc><userstr><str id=\"big\">" + big + "</str></userstr></KYDesc>", &large);
    ASSERT_EQ(0, large.code) << large.error;
    EXPECT_EQ(big.size(), std::strlen(Find<char>(large.desc->userStrings, "big")));

    TempFolder folder;
    KyDescriptor* none = nullptr;
    EXPECT_EQ(2001, KY_ParseDescriptor(OpenSpecOf(folder.path("absent.sgm")).get(), &none));
    EXPECT_EQ(nullptr, none);
    for (const Refused& r : refused) {
        SCOPED_TRACE(r.text.substr(0, 60));
        Parsed p;
        ParseText(r.text, &p);
        EXPECT_EQ(r.code, p.code) << "a value its field cannot hold is refused, not cut";
        EXPECT_EQ(r.error, p.error);
    }
}
