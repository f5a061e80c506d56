// Support of the application object's tests.
#include "tests/reader/AppMainTestSupport.h"

#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "reader/AppInstall.h"
#include "base/object/AFileSpec.h"
#include "framework/components/AComponent.h"
#include "tools/samplebase/SampleBase.h"

namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Three articles; their words with positions, keys, a thesaurus relation, a
// stop word, the identity key filter and the separators.
void WriteCorpus(const std::string& work) {
    const char* articles[][3] = {
        {"Astronomie", "astro.html", "/HAstronomie/AL'\xE9tude des astres."},
        {"Botanique", "bota.html", "/HBotanique/AL'\xE9tude des plantes."},
        {"Chimie", "chimie.html", "/HChimie/AL'\xE9tude de la mati\xE8re."},
    };
    std::string dat;
    for (int n = 0; n < 3; ++n) {
        dat += std::to_string(n) + "\t" + std::to_string(std::strlen(articles[n][0])) + "\t" +
               std::to_string(std::strlen(articles[n][1])) + "\t" + std::to_string(std::strlen(articles[n][2])) + "\n";
        dat += std::string(articles[n][0]) + articles[n][1] + articles[n][2];
    }
    WriteBytes(work + "\\articles.dat", dat);
    WriteBytes(work + "\\words.txt", "astres\t0\t65537\nastronomie\t0\t1\nbotanique\t1\t1\nchimie\t2\t1\nplantes\t1\t65537\n");
    WriteBytes(work + "\\az.txt", "astronomie\t0\nbotanique\t1\nchimie\t2\n");
    WriteBytes(work + "\\thesaurus.txt", "astres\t3\tetoiles\n");
    WriteBytes(work + "\\stop.txt", "des\n");
    std::string chars;
    for (int i = 0; i < 256; ++i)
        chars += std::to_string(i >= 'A' && i <= 'Z' ? i + 32 : i) + "\n";
    WriteBytes(work + "\\chars.txt", chars);
    WriteBytes(work + "\\separators.txt", " .;");
}

}  // namespace

std::string ProgramFolder() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string self(path, n);
    return self.substr(0, self.find_last_of("\\/") + 1);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TinyInstall::TinyInstall(void (*extra)(const std::string& work)) {
    static int count = 0;
    dir_ = ProgramFolder() + "svapp-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
    std::string work = dir_ + "-work";
    CreateDirectoryA(dir_.c_str(), nullptr);
    CreateDirectoryA(work.c_str(), nullptr);
    WriteCorpus(work);
    if (extra)
        extra(work);
    error_ = BuildSample(work, dir_, nullptr);
    AFileSpec(work.c_str()).removeTree(true);
}

TinyInstall::~TinyInstall() {
    try {
        AFileSpec(dir_.c_str()).removeTree(true);
    } catch (...) {
    }
}

void TinyInstall::write(const std::string& name, const std::string& bytes) const {
    WriteBytes(path(name), bytes);
}

std::string TinyInstall::read(const std::string& name) const {
    return ReadFileBytes(path(name));
}

void TheAppTest::SetUp() {
    ASSERT_EQ("", install.error());
    GetCurrentDirectoryA(sizeof previousFolder_, previousFolder_);
    SetCurrentDirectoryA(install.dir().c_str());
    AClass::buildRegistry();
    SetErrorStream(&errors);
    ClearBoxes();
    try {
        app = testApp = new FramelessTheApp;
        app->setInstance(GetModuleHandleA(nullptr), "", SW_HIDE);
        AObject::completeNew(app);
    } catch (const AError& e) {
        CaptureStream report;
        e.report(report);
        FAIL() << "TheApp: " << report.text;
    } catch (const struct FatalExit& e) {
        FAIL() << "TheApp: fatal " << e.code << errors.text;
    }
}

void TheAppTest::startWithoutFrame() {
    ASSERT_TRUE(app);
    ASSERT_TRUE(app->readConfiguration());
    ASSERT_TRUE(app->findDataRoot());
    ASSERT_TRUE(app->createDataManager());
    ASSERT_TRUE(app->initData());
    ASSERT_TRUE(app->mountBases());
    ASSERT_TRUE(app->loadWorkspace());
}

void TheAppTest::TearDown() {
    AComponent* root = app;
    DeleteComponent(root);
    ResetAppSeams();
    SetErrorStream(nullptr);
    AClass::releaseRegistry();
    SetCurrentDirectoryA(previousFolder_);
    MSG msg;
    // A start that failed posted its WM_QUIT here.
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}
