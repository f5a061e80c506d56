// Our dictionary library: replaces the dictionary DLL the reader was written
// against, which is not available; a DLL exporting the four calls the reader
// makes ("Lexical_init", "Lexical_radical", "Lexical_demande", "Lexical_fini"),
// cdecl, with their argument lists and result codes, answering from the
// dictionary file the sample builder writes. README.md says what it lacks.
//
// Never raises: every failure is a result code. Handles are small numbers
// of slots of this module; nothing is shared between processes.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#define LEXICAL_API extern "C" __declspec(dllexport)

namespace {

// The dictionary file ("DICO_DICTIONNAIRE"), Windows-1252 text, one sense a line:
//
//   word TAB category TAB synonym|synonym|...  (CR LF or LF)
//
// A word may have several lines (its senses, in order); '#' starts a comment
// line; a line without two tabs is skipped. Words compare without case.
// The lexicon ("DICO_LEXIQUE") is a word list, one word a line.
struct Sense {
    std::string category;
    std::string synonyms;
};

// Read at the first question, so that the reader's start does not wait for it.
struct Dictionary {
    std::string dictionaryPath, lexiconPath;
    bool loaded = false;
    std::map<std::string, std::vector<Sense>> senses;  // by lower-case word
    std::map<std::string, std::string> spelling;       // lower-case word -> as written
    std::set<std::string> lexicon;                     // lower-case words
};

std::mutex gLock;
std::map<long, Dictionary> gOpen;
long gNextHandle = 1;
std::map<std::string, long> gCalls;

std::string Lower(const std::string& text) {
    std::string out(text);
    for (char& c : out) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x80)
            c = static_cast<char>(std::tolower(u));
        else if ((u >= 0xC0 && u <= 0xDE && u != 0xD7))
            c = static_cast<char>(u + 0x20);
    }
    return out;
}

bool ReadLines(const char* path, std::vector<std::string>& lines) {
    if (!path)
        return false;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::string line;
    int c;
    while ((c = std::fgetc(f)) != EOF) {
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (c != '\r') {
            line += static_cast<char>(c);
        }
    }
    if (!line.empty())
        lines.push_back(line);
    std::fclose(f);
    return true;
}

bool LoadDictionary(const char* path, Dictionary& dico) {
    std::vector<std::string> lines;
    if (!ReadLines(path, lines))
        return false;
    for (const std::string& line : lines) {
        if (line.empty() || line[0] == '#')
            continue;
        size_t a = line.find('\t');
        size_t b = a == std::string::npos ? a : line.find('\t', a + 1);
        if (b == std::string::npos || a == 0)
            continue;
        std::string word = line.substr(0, a);
        std::string key = Lower(word);
        dico.senses[key].push_back({line.substr(a + 1, b - a - 1), line.substr(b + 1)});
        dico.spelling.emplace(key, word);
    }
    return true;
}

// The test switch of a call in the environment variable LEXICAL_TEST
// ("init=-3,radical=-2,demande=-1,fini=0,nonul=1"); false when not set.
bool TestSwitch(const char* name, long* value) {
    char env[512];
    DWORD n = GetEnvironmentVariableA("LEXICAL_TEST", env, sizeof env);
    if (n == 0 || n >= sizeof env)
        return false;
    std::string all = std::string(",") + env + ",";
    std::string key = std::string(",") + name + "=";
    size_t at = all.find(key);
    if (at == std::string::npos)
        return false;
    *value = std::strtol(all.c_str() + at + key.size(), nullptr, 10);
    return true;
}

// The handle's dictionary, read on first use; null for an unknown handle.
Dictionary* Opened(long handle) {
    auto it = gOpen.find(handle);
    if (it == gOpen.end())
        return nullptr;
    Dictionary& dico = it->second;
    if (!dico.loaded) {
        dico.loaded = true;
        LoadDictionary(dico.dictionaryPath.c_str(), dico);
        std::vector<std::string> words;
        if (ReadLines(dico.lexiconPath.c_str(), words))
            for (const std::string& w : words)
                if (!w.empty())
                    dico.lexicon.insert(Lower(w));
    }
    return &dico;
}

// The dictionary and lower-case key of a question on a word buffer of size
// bytes (terminated at its last byte); the code to answer when there is none.
Dictionary* Question(long handle, char* word, size_t size, std::string& key, int16_t& code) {
    Dictionary* dico = Opened(handle);
    code = dico ? -1 : -2;
    if (!dico || !word)
        return nullptr;
    word[size - 1] = 0;
    key = Lower(word);
    return dico->senses.count(key) || dico->lexicon.count(key) ? dico : nullptr;
}

void Count(const char* name) {
    ++gCalls[name];
}

// Copies text into out (size bytes), NUL-terminated, cut to fit.
void CopyOut(const std::string& text, char* out, long size) {
    if (!out || size <= 0)
        return;
    size_t n = text.size() < static_cast<size_t>(size - 1) ? text.size() : static_cast<size_t>(size - 1);
    std::memcpy(out, text.data(), n);
    out[n] = 0;
}

// Character data of the entry markup: the markup's own characters as the
// reader's entities.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&ampersand;"; break;
        case '<': out += "&inf;"; break;
        case '>': out += "&sup;"; break;
        case '\t': out += "&tab;"; break;
        default: out += c;
        }
    }
    return out;
}

// A thesaurus category as the reader shows it: the French names in lower
// case, with their accents, several joined by commas ("(Adjectif Nom)" is
// "(adjectif, nom)"); "?" (unknown) stays as it is.
std::string FrenchCategory(const std::string& category) {
    static const std::map<std::string, std::string> kAccented = {{"preposition", "pr\xE9position"},
                                                                 {"determinant", "d\xE9terminant"}};
    std::string inner = category;
    if (inner.size() >= 2 && inner.front() == '(' && inner.back() == ')')
        inner = inner.substr(1, inner.size() - 2);
    std::string out, word;
    auto flush = [&] {
        if (word.empty())
            return;
        std::string lower = Lower(word);
        auto it = kAccented.find(lower);
        out += (out.empty() ? "" : ", ") + (it == kAccented.end() ? lower : it->second);
        word.clear();
    };
    for (char c : inner) {
        if (c == ' ')
            flush();
        else
            word += c;
    }
    flush();
    return "(" + out + ")";
}

// The entry of a word in the reader's entry markup, within limit bytes (the
// terminator not counted); senses that would pass it are left out whole.
// Each synonym is shown in its sense only (a list of the synonyms that have
// an entry would repeat them):
//
//   <TITRE>word</TITRE>
//   <DL LABEL="n"><GRAM>(category)</GRAM><DT ID="n">synonym, synonym</DT></DL>   one per sense
std::string EntryMarkup(const std::string& word, const std::vector<Sense>* senses, size_t limit) {
    std::string head = "<TITRE>" + Escaped(word) + "</TITRE>\r\n";
    std::string body;
    int n = 0;
    for (size_t i = 0; senses && i < senses->size(); ++i) {
        const Sense& sense = (*senses)[i];
        std::string list, number = std::to_string(++n);
        size_t from = 0;
        while (from <= sense.synonyms.size()) {
            size_t bar = sense.synonyms.find('|', from);
            std::string synonym = sense.synonyms.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
            if (!synonym.empty())
                list += (list.empty() ? "" : ", ") + Escaped(synonym);
            if (bar == std::string::npos)
                break;
            from = bar + 1;
        }
        std::string piece = "<DL LABEL=\"" + number + "\"><GRAM>" + Escaped(FrenchCategory(sense.category)) +
                            "</GRAM><DT ID=\"" + number + "\">" + list + "</DT></DL>\r\n";
        if (head.size() + body.size() + piece.size() > limit)
            break;
        body += piece;
    }
    return head + body;
}

}  // namespace

// callerCode: any value; the reader passes its own. -1 the dictionary file
// cannot be read, -2 no path; otherwise the handle (1 and up).
LEXICAL_API long Lexical_init(long callerCode, const char* dictionaryPath, const char* lexiconPath) {
    (void)callerCode;
    std::lock_guard<std::mutex> guard(gLock);
    Count("Lexical_init");
    long forced;
    if (TestSwitch("init", &forced))
        return forced;
    if (!dictionaryPath || !*dictionaryPath)
        return -2;
    FILE* f = std::fopen(dictionaryPath, "rb");
    if (!f)
        return -1;
    std::fclose(f);
    Dictionary dico;
    dico.dictionaryPath = dictionaryPath;
    dico.lexiconPath = lexiconPath ? lexiconPath : "";
    long handle = gNextHandle++;
    gOpen[handle] = std::move(dico);
    return handle;
}

// The word (32000 bytes, NUL-terminated) becomes its lower-case form.
// -1 an unknown word, -2 an unknown handle; else 0.
LEXICAL_API int16_t Lexical_radical(char* word, long handle) {
    std::lock_guard<std::mutex> guard(gLock);
    Count("Lexical_radical");
    long forced;
    if (TestSwitch("radical", &forced))
        return static_cast<int16_t>(forced);
    std::string key;
    int16_t code;
    if (!Question(handle, word, 32000, key, code))
        return code;
    CopyOut(key, word, 32000);
    return 0;
}

// answer: the word as the dictionary writes it; definitions: EntryMarkup.
// -1 an unknown word, -2 an unknown handle; else 0. Test switch nonul=1
// fills both outputs without a NUL, as a faulty library would.
LEXICAL_API int16_t Lexical_demande(char* word, int16_t mode, char* answer, long answerSize, char* definitions,
                                    long definitionsSize, long handle) {
    (void)mode;
    std::lock_guard<std::mutex> guard(gLock);
    Count("Lexical_demande");
    long forced;
    if (TestSwitch("nonul", &forced) && forced) {
        if (answer && answerSize > 0)
            std::memset(answer, 'x', static_cast<size_t>(answerSize));
        if (definitions && definitionsSize > 0)
            std::memset(definitions, 'x', static_cast<size_t>(definitionsSize));
        return 0;
    }
    if (TestSwitch("demande", &forced))
        return static_cast<int16_t>(forced);
    std::string key;
    int16_t code;
    Dictionary* dico = Question(handle, word, 10000, key, code);
    if (!dico)
        return code;
    auto senses = dico->senses.find(key);
    auto spelled = dico->spelling.find(key);
    std::string shown = spelled == dico->spelling.end() ? std::string(word) : spelled->second;
    CopyOut(shown, answer, answerSize);
    size_t limit = definitionsSize > 0 ? static_cast<size_t>(definitionsSize - 1) : 0;
    CopyOut(EntryMarkup(shown, senses == dico->senses.end() ? nullptr : &senses->second, limit), definitions,
            definitionsSize);
    return 0;
}

// Frees the handle's dictionary; -2 an unknown handle, else 0.
LEXICAL_API int16_t Lexical_fini(long handle) {
    std::lock_guard<std::mutex> guard(gLock);
    Count("Lexical_fini");
    long forced;
    if (TestSwitch("fini", &forced))
        return static_cast<int16_t>(forced);
    return gOpen.erase(handle) ? 0 : -2;
}

// For tests: how many times a call was made since the module was loaded.
LEXICAL_API long Lexical_testCalls(const char* name) {
    std::lock_guard<std::mutex> guard(gLock);
    auto it = name ? gCalls.find(name) : gCalls.end();
    return it == gCalls.end() ? 0 : it->second;
}
