// The dictionary binding over our dictionary library: the codes of each call
// (through the library's test switches) and the messages they give, the cut
// of long words, a library that writes no NUL, and the close.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "reader/ADicoLibrary.h"

namespace {

const char kNoDll[] = "Impossible d'ouvrir la DLL necessaire \xE0 l'utilisation du dictionnaire";
const char kNotOpen[] = "Dictionnaire : Dll non ouverte";
const char kReadError[] = "Dictionnaire : erreur d'entree-sortie lors de la lecture du dictionnaire de definitions";
const char kUnreadable[] = "Dictionnaire : reponse illisible de Lexical_demande";

// A folder with the library, a two-word dictionary and a lexicon; removed at the end.
class DicoFolder {
public:
    DicoFolder() {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        dir = std::string(temp) + "svdico-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
        copied = CopyFileA(SV_DICO_DLL, (dir + "\\lexical.dll").c_str(), FALSE) != 0;
        write("dico.txt", "# word, category, synonyms\nchat\t(nom)\tmatou|minet\nChat\t(nom)\tfelin\n"
                          "courir\t(verbe)\tfiler|galoper\n");
        write("lexique.txt", "chat\ncourir\nmaison\n");
    }
    ~DicoFolder() {
        for (const char* f : {"lexical.dll", "dico.txt", "lexique.txt"})
            DeleteFileA((dir + "\\" + f).c_str());
        RemoveDirectoryA(dir.c_str());
    }
    void write(const char* name, const std::string& bytes) {
        HANDLE h = CreateFileA((dir + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
        CloseHandle(h);
    }
    std::string dll() const { return dir + "\\lexical.dll"; }
    std::string dir;
    bool copied = false;
};

class TestDico : public ADicoLibrary {
public:
    explicit TestDico(const DicoFolder& folder) : folder_(folder.dir) {}
    explicit TestDico(const std::string& folder) : folder_(folder) {}
    std::string library = "lexical.dll";
    std::string dictionary = "dico.txt";
    std::vector<std::string> errors;
    std::vector<std::string> temps;

protected:
    AFileSpec dicoFolder() override { return AFileSpec(folder_.c_str()); }
    AString configValue(const char* key) override {
        std::string k(key);
        return AString(k == "DICO_DLL" ? library.c_str() : k == "DICO_DICTIONNAIRE" ? dictionary.c_str() : "lexique.txt");
    }
    void showError(const char* text) override { errors.push_back(text); }
    void registerTempFile(const char* path) override { temps.push_back(path); }

private:
    std::string folder_;
};

// The switches of the library's calls, for the time of a scope.
struct Switches {
    explicit Switches(const char* value) { SetEnvironmentVariableA("LEXICAL_TEST", *value ? value : nullptr); }
    ~Switches() { SetEnvironmentVariableA("LEXICAL_TEST", nullptr); }
};

long Calls(const std::string& dll, const char* name) {
    HMODULE m = GetModuleHandleA(dll.c_str());
    auto count = reinterpret_cast<long (*)(const char*)>(
        reinterpret_cast<void (*)()>(m ? GetProcAddress(m, "Lexical_testCalls") : nullptr));
    return count ? count(name) : -1;
}

std::string Joined(const std::vector<std::string>& texts) {
    std::string all;
    for (const std::string& t : texts)
        all += t + "|";
    return all;
}

}  // namespace

TEST(DicoLibrary, SetUpCountsMinusFiveToMinusOneAsFailure) {
    DicoFolder folder;
    ASSERT_TRUE(folder.copied) << SV_DICO_DLL;
    struct Row {
        const char* switches;
        const char* library;
        const char* errors;
        int16_t initialised, loaded;
        long handle;
    } const rows[] = {
        {"", "lexical.dll", "", 1, 1, 1},
        {"init=-3", "lexical.dll", "Impossible d'initialiser le dictionnaire|", 0, 1, 0},
        {"init=-5", "lexical.dll", "Impossible d'initialiser le dictionnaire|", 0, 1, 0},
        {"init=-6", "lexical.dll", "", 1, 1, -6},
        {"init=0", "lexical.dll", "", 1, 1, 0},
        {"", "absent.dll", "", 0, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.switches) + " " + r.library);
        Switches on(r.switches);
        TestDico dico(folder);
        dico.library = r.library;
        dico.setUp();
        std::string expected = std::string(r.library) == "absent.dll" ? std::string(kNoDll) + "|" : r.errors;
        EXPECT_EQ(expected, Joined(dico.errors));
        EXPECT_EQ(r.initialised, dico.fInitialised);
        EXPECT_EQ(r.loaded, dico.fLoaded);
        if (r.initialised) {
            EXPECT_EQ(r.handle, dico.fHandle);
        }
        EXPECT_EQ(folder.dir + "\\dico.txt", dico.fDictionaryPath.c_str());
        EXPECT_EQ(0, dico.close());
        EXPECT_EQ(nullptr, GetModuleHandleA(folder.dll().c_str())) << "the binding's own load is freed";
    }
}

TEST(DicoLibrary, AskMapsEachCodeAndReadsOnlyTerminatedAnswers) {
    DicoFolder folder;
    ASSERT_TRUE(folder.copied);
    const std::string longWord(40000, 'a');
    struct Row {
        const char* switches;
        const char* word;
        int16_t result;
        const char* errors;
        long demandes;  // calls of "Lexical_demande"
        const char* definition;  // a part of fDefinitionText afterwards
    } const rows[] = {
        {"", "CHAT", 0, "", 1, "<DL LABEL=\"1\"><GRAM>(nom)</GRAM><DT ID=\"1\">matou, minet</DT></DL>"},
        {"", "maison", 0, "", 1, "<TITRE>maison</TITRE>"},
        {"", "zzz", -1, "", 0, "(before)"},
        {"", longWord.c_str(), -1, "", 0, "(before)"},
        {"radical=-1", "chat", -1, "", 0, "(before)"},
        {"radical=-2", "chat", -1, kNotOpen, 0, "(before)"},
        {"radical=-3", "chat", -1, kReadError, 0, "(before)"},
        {"radical=7", "chat", 0, "", 1, "matou"},
        {"demande=-1", "chat", -1, "", 1, "(before)"},
        {"demande=-2", "chat", -2, kNotOpen, 1, "(before)"},
        {"demande=-3", "chat", -3, kReadError, 1, "(before)"},
        {"nonul=1", "chat", -1, kUnreadable, 1, "(before)"},
    };
    TestDico dico(folder);
    dico.setUp();
    ASSERT_EQ(1, dico.fInitialised);
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.switches) + " " + std::string(r.word).substr(0, 10));
        Switches on(r.switches);
        dico.errors.clear();
        dico.fDefinitionText = "(before)";
        long before = Calls(folder.dll(), "Lexical_demande");
        EXPECT_EQ(r.result, dico.ask(r.word));
        EXPECT_EQ(r.errors, std::string(Joined(dico.errors)).substr(0, std::string(r.errors).size()));
        EXPECT_EQ(*r.errors ? 1u : 0u, dico.errors.size());
        EXPECT_EQ(r.demandes, Calls(folder.dll(), "Lexical_demande") - before);
        EXPECT_NE(std::string::npos, std::string(dico.fDefinitionText.c_str()).find(r.definition))
            << dico.fDefinitionText.c_str();
    }
    EXPECT_EQ(0, dico.close());
}

TEST(DicoLibrary, CloseFreesOnlyWhatTheBindingLoaded) {
    DicoFolder folder;
    ASSERT_TRUE(folder.copied);
    {
        TestDico never(folder);
        EXPECT_EQ(0, never.close()) << "never loaded: nothing to do";
        EXPECT_TRUE(never.errors.empty());
        EXPECT_TRUE(never.temps.empty());
    }
    {
        TestDico dico(folder);
        dico.setUp();
        ASSERT_EQ(1, dico.fLoaded);
        EXPECT_EQ(0, dico.close());
        EXPECT_EQ(0, dico.fInitialised);
        EXPECT_EQ(0, dico.fLoaded);
        ASSERT_EQ(2u, dico.temps.size());
        EXPECT_NE(std::string::npos, dico.temps[1].find("synapse.xml"));
        DeleteFileA(dico.temps[0].c_str());
    }
    // A library the process holds already: used as it is, left loaded.
    HMODULE held = LoadLibraryA(folder.dll().c_str());
    ASSERT_NE(nullptr, held);
    {
        TestDico dico(folder);
        dico.setUp();
        EXPECT_EQ(0, dico.fLoaded);
        EXPECT_EQ(1, dico.fInitialised);
        EXPECT_EQ(0, dico.ask("courir"));
        EXPECT_EQ("courir", std::string(dico.fAnswerText.c_str()));
        long finis = Calls(folder.dll(), "Lexical_fini");
        EXPECT_EQ(0, dico.close());
        EXPECT_EQ(finis + 1, Calls(folder.dll(), "Lexical_fini")) << "the handle is handed back";
        EXPECT_EQ(held, GetModuleHandleA(folder.dll().c_str()));
        for (const std::string& t : dico.temps)
            DeleteFileA(t.c_str());
    }
    FreeLibrary(held);
}

TEST(DicoLibrary, TheSampleDictionaryDefinesItsWords) {
    const std::string folder = std::string("Z:") + SV_BINARY_DIR + "/sample/dico";
    if (GetFileAttributesA((folder + "/dictionnaire.txt").c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no sample (tools/sample/build.sh)";
    TestDico dico(folder);
    dico.dictionary = "dictionnaire.txt";
    dico.setUp();
    ASSERT_EQ(1, dico.fInitialised) << Joined(dico.errors);
    struct Row {
        const char* word;
        int16_t result;
        const char* part;
    } const rows[] = {{"maison", 0, "<GRAM>"}, {"Abaca", 0, "chanvre"}, {"xqzw", -1, ""}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.word);
        EXPECT_EQ(r.result, dico.ask(r.word));
        EXPECT_NE(std::string::npos, std::string(dico.fDefinitionText.c_str()).find(r.part));
    }
    EXPECT_TRUE(dico.errors.empty()) << Joined(dico.errors);
    EXPECT_EQ(0, dico.close());
    for (const std::string& t : dico.temps)
        DeleteFileA(t.c_str());
}

TEST(DicoLibrary, EntriesStayWithinTheBufferAndNeverCutATag) {
    DicoFolder folder;
    ASSERT_TRUE(folder.copied);
    std::string senses = "# word, category, synonyms\nchat\t(nom)\tmatou\n";
    for (int i = 0; i < 400; ++i)
        senses += "long\t(adj)\ta<b & c|chat|zzz|synonyme" + std::to_string(i) + "|encore un synonyme assez long\n";
    folder.write("dico.txt", senses);
    TestDico dico(folder);
    dico.setUp();
    ASSERT_EQ(1, dico.fInitialised);
    ASSERT_EQ(0, dico.ask("long"));
    std::string entry = dico.fDefinitionText.c_str();
    EXPECT_LT(entry.size(), 10000u);
    EXPECT_GT(entry.size(), 9000u) << "as many senses as fit";
    auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = entry.find(what); at != std::string::npos; at = entry.find(what, at + 1))
            ++n;
        return n;
    };
    EXPECT_EQ(count("<DL "), count("</DL>")) << "senses are left out whole";
    EXPECT_EQ(0u, entry.find("<TITRE>long</TITRE>"));
    EXPECT_NE(std::string::npos, entry.find("<DT ID=\"1\">a&inf;b &ampersand; c, chat, zzz"));
    EXPECT_EQ(std::string::npos, entry.find("<RENVOI>")) << "synonyms are shown once, in their senses";
    EXPECT_EQ(0, dico.close());
    for (const std::string& t : dico.temps)
        DeleteFileA(t.c_str());
}

TEST(DicoLibrary, CategoriesAreShownInFrench) {
    DicoFolder folder;
    ASSERT_TRUE(folder.copied);
    folder.write("dico.txt",
                 "# word, category, synonyms\nmot\t(Adjectif Nom)\ta\nmot\t(Preposition)\tb\nmot\t(Determinant Pronom)\tc\n"
                 "mot\t(?)\td\nmot\tVerbe\te\n");
    TestDico dico(folder);
    dico.setUp();
    ASSERT_EQ(1, dico.fInitialised);
    ASSERT_EQ(0, dico.ask("mot"));
    std::string entry = dico.fDefinitionText.c_str();
    for (const char* shown : {"<GRAM>(adjectif, nom)</GRAM>", "<GRAM>(pr\xE9position)</GRAM>",
                              "<GRAM>(d\xE9terminant, pronom)</GRAM>", "<GRAM>(?)</GRAM>", "<GRAM>(verbe)</GRAM>"}) {
        SCOPED_TRACE(shown);
        EXPECT_NE(std::string::npos, entry.find(shown)) << entry;
    }
    EXPECT_EQ(0, dico.close());
    for (const std::string& t : dico.temps)
        DeleteFileA(t.c_str());
}
