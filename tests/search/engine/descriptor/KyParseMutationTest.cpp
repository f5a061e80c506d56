// Damaged descriptors: truncations, byte changes and random tag soup each
// parse or fail with a code and a text, and mount or fail with a code; none
// crashes or hangs.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/procedural/EngineTables.h"
#include "search/engine/descriptor/KyParse.h"
#include "search/engine/descriptor/MkDoom.h"
#include "tests/base/procedural/TextMutation.h"
#include "tests/base/procedural/TextTestSupport.h"
#include "tests/support/TestHooks.h"

namespace {

const char* const kSound =
    "<!ENTITY START 2>\n<!ENTITY v1 \"\" >\n<!ENTITY v2 x>\n<!-- c -->\n"
    "<KYDesc name=\"t\" connect=\"N\">\n<pathinfo>\n<path id=\"P\" type=\"dbg\" tocreate=\"N\">C|:windows</path>\n"
    "<path id=\"R\" root=\"P\">system32</path><subpath id=\"S\">s:t</subpath></pathinfo>\n"
    "<extinfo><extabp>abq</extabp><extstp>st</extstp></extinfo>\n"
    "<resource path=\"P\"><filter id=\"F\"><platform plat=\"win\">f</platform></filter>"
    "<flt id=\"T\"><platform plat=\"win\" subpath=\"S\">t</platform></flt>"
    "<thes id=\"TH\" flt=\"T\">th</thes><stp id=\"ST\">s</stp>"
    "<lex id=\"L\" path=\"P\" filterkey=\"F\" fltkey=\"T\"><lexabp prox=\"PROXW\">la</lexabp>"
    "<lexhdg filter=\"F\">lh</lexhdg></lex></resource>\n"
    "<common><linkinfo id=\"K\" nbbases=\"2\" nbbitsDoc=\"3\" path=\"P\"><linkbase base=\"B\" num=\"1\">"
    "<linkabp>ka</linkabp><linkbits>kb</linkbits></linkinfo>\n"
    "<base id=\"B\" nbSupports=\"2\" order=\"inv\"><general path=\"P\" nbcache=\"2\">"
    "<data><db id=\"D\" medium=\"BMP\" filter=\"F\">d</db><db id=\"H\">h</db></data>"
    "<index subpath=\"S\"><idx id=\"I1\" prox=\"P\">i1</idx><idx id=\"I2\">i2</idx></index></general>"
    "<hdg db=\"H\" docdb=\"D\"></hdg>"
    "<support num=\"1\" nbcache=\"-4\" where=\"net\" reqfilter=\"F\"><connect serveur=\"s\" script=\"c\"></connect>"
    "<subdb db=\"D\" exist=\"N\">d2</subdb><subidx idx=\"I1\">j</subidx></support>\n"
    "<mapping><reqDefaults direct=\"I1\" lexdir=\"L\"></reqDefaults><formDefaults thes=\"TH\" stp=\"ST\">"
    "<op>et</op><proxop>pres</proxop><dateop>le</dateop><sep>,</sep><hisep>;</hisep>"
    "<form id=\"F1\" nbReq=\"2\"><reqDefaults opdef=\"OR\" indlist=\"I1-I2\"></reqDefaults>"
    "<req num=\"1\" direct=\"I2\"><prefix direct=\"#\"><sep>/</sep></req></form></mapping>"
    "</base></common>\n<userstr><str id=\"k\">&v2;&sup;</str></userstr>\n</KYDesc>\n";

const char* const kTags[] = {
    "KYDesc",   "pathinfo", "path",     "subpath", "extinfo",     "extabp",   "resource", "general",      "data",
    "index",    "flt",      "filter",   "thes",    "stp",         "lex",      "platform", "common",       "base",
    "support",  "connect",  "db",       "subdb",   "hdg",         "idx",      "subidx",   "lexabp",       "lexhdg",
    "linkinfo", "linkbase", "linkbits", "mapping", "reqDefaults", "req",      "form",     "formDefaults", "prefix",
    "op",       "sep",      "userstr",  "str",     "thesabp",     "userdata", "zz",
};
const char* const kAttributes[] = {
    "id=\"B\"",        "id=\"P\"",      "id=\"I1\"",     "num=\"0\"",      "num=\"9\"",    "nbSupports=\"3\"",
    "nbReq=\"1\"",     "path=\"P\"",    "subpath=\"S\"", "db=\"D\"",       "idx=\"I1\"",   "direct=\"I1\"",
    "nbcache=\"-7\"",  "medium=\"b\"",  "prox=\"q\"",    "root=\"P\"",     "plat=\"win\"", "nbbases=\"1\"",
    "nbbitsDoc=\"1\"", "where=\"off\"", "type=\"sgn\"",  "firstdoc=\"1\"", "nbdoc=\"2\"",  "filter=\"F\"",
};

std::string TagSoup(Mutator& m) {
    std::string s = m.below(2) ? "<!ENTITY START 0>\n<!ENTITY a b>\n" : "";
    for (int n = 1 + m.below(40); n > 0; --n) {
        const char* tag = kTags[m.below(sizeof kTags / sizeof kTags[0])];
        bool end = m.below(3) == 0;
        s += end ? "</" : "<";
        s += tag;
        for (int a = end ? 0 : m.below(4); a > 0; --a)
            s += std::string(" ") + kAttributes[m.below(sizeof kAttributes / sizeof kAttributes[0])];
        s += ">";
        if (m.below(3) == 0)
            s += m.below(2) ? "C|:x" : "&sup;text";
    }
    return s;
}

}  // namespace

TEST(KyParseMutation, DamagedDescriptorsParseOrFailWithACode) {
    {
        TempFolder folder;
        KyDescriptor* d = nullptr;
        ASSERT_EQ(0, KY_ParseDescriptor(OpenSpecOf(folder.write("sound.sgm", kSound)).get(), &d)) << KY_EngineErrorText;
        KY_FreeDescriptor(d);
    }
    TempFolder folder;
    std::string path = folder.write("m.sgm", "");
    OpenSpecOf spec(path);
    Mutator m;
    int parsed = 0;
    int mounted = 0;
    for (int i = 0; i < 10000; ++i) {
        SCOPED_TRACE(i);
        std::string text;
        int kind = i % 4;
        if (kind == 0)
            text = std::string(kSound).substr(0, static_cast<size_t>(m.below(std::strlen(kSound) + 1)));
        else if (kind == 3)
            text = TagSoup(m);
        else
            text = m.mutate(kSound, "<>/=\"&;:| \n\r\tabPIDN0-9");
        folder.write("m.sgm", text);
        ClearBoxes();
        KY_SetEngineErrorText("");
        KyDescriptor* d = nullptr;
        int code = KY_ParseDescriptor(spec.get(), &d);
        if (code == 0) {
            ASSERT_NE(nullptr, d);
            ++parsed;
            // What parses also mounts, or fails with a code (one in five: a mount
            // asks the shell for its folders, which is slow under Wine).
            if (i % 5 != 0) {
                KY_FreeDescriptor(d);
                continue;
            }
            KyMount* mount = KY_NewMount(nullptr, nullptr);
            ASSERT_NE(nullptr, mount);
            mounted += CpCommon(d, mount) == 0;
            d = nullptr;
            KY_ForEachBase(mount);
            mountBase(mount, "B");
            KY_ForgetVolumes(mount);
            KY_FreeMount(mount);
        } else {
            ASSERT_EQ(nullptr, d);
            ASSERT_NE('\0', KY_EngineErrorText[0]) << "code " << code << " without a text:\n" << text;
        }
        KY_FreeDescriptor(d);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(parsed, 100);
    EXPECT_GT(mounted, 100);
}
