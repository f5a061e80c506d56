// Our dictionary library on the sample against its source: for 200 words of
// the thesaurus (read here on its own, from the unpacked package), the entry
// the window would show lists exactly the thesaurus's synonyms, sense by
// sense, and no synonym a second time. Skipped when
// the sample (tools/sample/build.sh) is not built.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/object/AFile.h"
#include "base/object/AFileStream.h"
#include "panes/search/dico/mlParse.h"
#include "tests/base/procedural/TextTestSupport.h"

namespace {

typedef long(__cdecl* InitProc)(long, const char*, const char*);
typedef int16_t(__cdecl* DemandeProc)(char*, int16_t, char*, long, char*, long, long);

std::string Sample() {
    return std::string("Z:") + SV_BINARY_DIR + "/sample";
}

// UTF-8 to Windows-1252; false when a character has no byte there.
bool ToCp1252(const std::string& utf8, std::string* out) {
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], n);
    BOOL lost = FALSE;
    int m = WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide.data(), n, nullptr, 0, nullptr, &lost);
    out->assign(static_cast<size_t>(m), '\0');
    WideCharToMultiByte(1252, WC_NO_BEST_FIT_CHARS, wide.data(), n, &(*out)[0], m, nullptr, &lost);
    return !lost;
}

std::vector<std::string> Split(const std::string& text, char c) {
    std::vector<std::string> out(1);
    for (char ch : text) {
        if (ch == c)
            out.emplace_back();
        else
            out.back() += ch;
    }
    return out;
}

// One sense's synonyms as the entry shows them: "syn, syn".
typedef std::vector<std::string> Senses;

// The thesaurus's senses of its first headwords that the word list knows, as
// the dictionary can write them (Windows-1252 words, no empty sense).
std::map<std::string, Senses> ReadThesaurus(const std::string& path, const std::set<std::string>& words, size_t want) {
    std::map<std::string, Senses> out;
    std::map<std::string, int> heads;  // spellings seen per headword, to leave shared ones out
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);  // the encoding
    while (out.size() < want + 50 && std::getline(in, line)) {
        std::vector<std::string> head = Split(line, '|');
        int count = head.size() == 2 ? std::atoi(head[1].c_str()) : 0;
        std::string word;
        bool usable = ToCp1252(head[0], &word) && words.count(word);
        Senses senses;
        for (int i = 0; i < count && std::getline(in, line); ++i) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            std::vector<std::string> f = Split(line, '|');
            std::string category, list;
            if (!ToCp1252(f[0], &category))
                continue;
            for (size_t s = 1; s < f.size(); ++s) {
                std::string synonym;
                if (!f[s].empty() && ToCp1252(f[s], &synonym) && synonym.find('\t') == std::string::npos)
                    list += (list.empty() ? "" : ", ") + synonym;
            }
            if (!list.empty())
                senses.push_back(list);
        }
        std::string lower = word;
        CharLowerBuffA(&lower[0], static_cast<DWORD>(lower.size()));
        if (!lower.empty() && ++heads[lower] > 1)
            out.erase(word);
        else if (usable && !senses.empty() && word.find_first_of("<>&#/{}\\") == std::string::npos)
            out[word] = senses;
    }
    while (out.size() > want)
        out.erase(std::prev(out.end()));
    return out;
}

// A code of the slash markup at or after from, not behind an escaping backslash.
size_t FindCode(const std::string& entry, const std::string& code, size_t from) {
    for (size_t at = entry.find(code, from); at != std::string::npos; at = entry.find(code, at + 1))
        if (at == 0 || entry[at - 1] != '\\')
            return at;
    return std::string::npos;
}

// The text without the markup's escapes.
std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        out += text[i] == '\\' && i + 1 < text.size() ? text[++i] : text[i];
    return out;
}

// The senses the converted entry shows: "\n/C(category)\n", then "n - /A" and the synonyms.
Senses ShownSenses(const std::string& entry) {
    Senses out;
    size_t at = 0;
    while ((at = FindCode(entry, "/C", at)) != std::string::npos) {
        size_t end = entry.find('\n', at);
        size_t dash = FindCode(entry, " - /A", end);
        if (end == std::string::npos || dash == std::string::npos)
            break;
        size_t stop = entry.find('\n', dash);
        // The category is shown in French (its spelling is the library's): the synonyms are compared.
        out.push_back(Unescaped(entry.substr(dash + 5, stop - dash - 5)));
        at = stop;
    }
    return out;
}

}  // namespace

TEST(DicoSample, EntriesListTheThesaurusSensesAndLinkWordsWithEntries) {
    std::string thesaurus = std::string("Z:") + SV_BINARY_DIR + "/sample-src/usr/share/mythes/th_fr_FR_v2.dat";
    std::string dll = Sample() + "/dico/lexical.dll";
    if (GetFileAttributesA(dll.c_str()) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesA(thesaurus.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no sample: tools/sample/build.sh builds it";
    std::set<std::string> words;
    {
        std::ifstream in(Sample() + "/dico/lexique.txt", std::ios::binary);
        std::string w;
        while (std::getline(in, w)) {
            if (!w.empty() && w.back() == '\r')
                w.pop_back();
            words.insert(w);
        }
    }
    std::map<std::string, Senses> expected = ReadThesaurus(thesaurus, words, 200);
    ASSERT_EQ(200u, expected.size());

    HMODULE module = LoadLibraryA(dll.c_str());
    ASSERT_TRUE(module);
    auto init = reinterpret_cast<InitProc>(reinterpret_cast<void*>(GetProcAddress(module, "Lexical_init")));
    auto demande = reinterpret_cast<DemandeProc>(reinterpret_cast<void*>(GetProcAddress(module, "Lexical_demande")));
    ASSERT_TRUE(init && demande);
    long handle = init(0, (Sample() + "/dico/dictionnaire.txt").c_str(), (Sample() + "/dico/lexique.txt").c_str());
    ASSERT_GT(handle, 0);
    std::vector<char> answer(10000), definitions(10000);
    auto ask = [&](const std::string& word) {
        std::vector<char> buffer(word.begin(), word.end());
        buffer.resize(10000, '\0');
        definitions[0] = 0;
        int16_t code = demande(buffer.data(), 1, answer.data(), 10000, definitions.data(), 10000, handle);
        return code ? std::string() : std::string(definitions.data());
    };
    TempFolder folder;
    SgmlEntity entities[] = {{"sup", ">", 0}, {"inf", "<", 0}, {"ampersand", "&", 0}, {"tab", "\t", 0}};
    for (const auto& e : expected) {
        SCOPED_TRACE(e.first);
        std::string markup = ask(e.first);
        ASSERT_FALSE(markup.empty());
        AFile file(AFileSpec(folder.write("synapse.xml", markup).c_str()), 0, kPlainFileOptions, false);
        AFileStream in(file, "rb", 0);
        AMLDicoParser parser(0x41);
        parser.setEntities(entities, 4);
        ASSERT_EQ(0, parser.parse(&in));
        EXPECT_EQ(e.first, std::string(parser.getTitle().c_str()));
        std::string entry = parser.getEntry().c_str();
        EXPECT_EQ(e.second, ShownSenses(entry));
        EXPECT_EQ(std::string::npos, FindCode(entry, "/BSyn. ", 0)) << "no second list of the synonyms";
    }
}
