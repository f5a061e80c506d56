// The dictionary binding: paths from the configuration, the library's four
// calls by name, their codes turned into messages.
#include "reader/ADicoLibrary.h"

#include <cstring>
#include <vector>

#include "reader/TheApp.h"
#include "base/procedural/AError.h"
#include "base/object/AFolderSpecs.h"
#include "search/facade/ADataLocation.h"

namespace {

const char kNotOpen[] = "Dictionnaire : Dll non ouverte";
const char kReadError[] = "Dictionnaire : erreur d'entree-sortie lors de la lecture du dictionnaire de definitions";

// A writable copy of word in a buffer of size bytes, cut to fit.
std::vector<char> WordBuffer(const char* word, size_t size) {
    std::vector<char> buffer(size, 0);
    if (word)
        std::strncpy(buffer.data(), word, size - 1);
    return buffer;
}

}  // namespace

AFileSpec ADicoLibrary::dicoFolder() {
    return gDataLocation ? gDataLocation->getPathSpec("DICO") : AFileSpec();
}

AString ADicoLibrary::configValue(const char* key) {
    return gDataLocation ? gDataLocation->getString(key) : AString();
}

void ADicoLibrary::showError(const char* text) {
    if (AApp* app = AApp::current())
        app->messageBox(text, "Erreur", MB_ICONWARNING, nullptr);
}

void ADicoLibrary::registerTempFile(const char* path) {
    if (TheApp* app = TheApp::current())
        app->registerTempFile(path);
}

AString ADicoLibrary::childPath(const char* key) {
    AString name = configValue(key);
    if (name.empty() || fDicoFolder.empty())
        return name;
    return AFileSpec(fDicoFolder, name.c_str()).path();
}

HMODULE ADicoLibrary::module() const {
    if (loadedModule_)
        return loadedModule_;
    return fLibraryPath.empty() ? nullptr : GetModuleHandleA(fLibraryPath.c_str());
}

template <class F>
F ADicoLibrary::proc(const char* name) const {
    HMODULE m = module();
    FARPROC p = m ? GetProcAddress(m, name) : nullptr;
    // Through the generic function type: FARPROC's own differs from every call's.
    return reinterpret_cast<F>(reinterpret_cast<void (*)()>(p));
}

void ADicoLibrary::setUp() {
    try {
        fDicoFolder = dicoFolder();
    } catch (const AError&) {
        fDicoFolder = AFileSpec();
    }
    fDictionaryPath = childPath("DICO_DICTIONNAIRE");
    fLexiconPath = childPath("DICO_LEXIQUE");
    if (open() != 0)
        return;
    auto init = proc<LexicalInitProc>("Lexical_init");
    long handle = init ? init(kCallerCode, fDictionaryPath.c_str(), fLexiconPath.c_str()) : -1;
    if (handle >= -5 && handle <= -1) {
        showError("Impossible d'initialiser le dictionnaire");
        return;
    }
    fHandle = handle;
    fInitialised = 1;
}

int16_t ADicoLibrary::open() {
    if (fLoaded)
        return 0;
    fLibraryPath = childPath("DICO_DLL");
    if (!fLibraryPath.empty() && GetModuleHandleA(fLibraryPath.c_str()))
        return 0;
    HMODULE m = fLibraryPath.empty() ? nullptr : LoadLibraryA(fLibraryPath.c_str());
    if (!m) {
        showError("Impossible d'ouvrir la DLL necessaire \xE0 l'utilisation du dictionnaire");
        return -1;
    }
    loadedModule_ = m;
    fLoaded = 1;
    return 0;
}

int16_t ADicoLibrary::mapCode(int16_t code) {
    switch (code) {
    case -1:
        return -1;
    case -2:
        showError(kNotOpen);
        return -2;
    case -3:
        showError(kReadError);
        return -3;
    default:
        return 0;
    }
}

int16_t ADicoLibrary::radical(const char* word) {
    std::vector<char> buffer = WordBuffer(word, kRadicalBuffer);
    auto call = proc<LexicalRadicalProc>("Lexical_radical");
    if (!call) {
        showError("Dictionnaire : probleme lors de l'appel de Lexical_radical");
        return -1;
    }
    int16_t code = call(buffer.data(), fHandle);
    return mapCode(code);
}

int16_t ADicoLibrary::ask(const char* word) {
    if (radical(word) != 0)
        return -1;
    std::vector<char> buffer = WordBuffer(word, kDemandeBuffer);
    auto call = proc<LexicalDemandeProc>("Lexical_demande");
    if (!call) {
        showError("Dictionnaire : probleme lors de l'appel de Lexical_demande");
        return -1;
    }
    std::vector<char> answer(kAnswerBuffer, 0), definitions(kAnswerBuffer, 0);
    int16_t code = call(buffer.data(), 1, answer.data(), kAnswerBuffer, definitions.data(), kAnswerBuffer, fHandle);
    // A library that wrote past its promise cannot make us read past ours.
    bool terminated = std::memchr(answer.data(), 0, answer.size()) && std::memchr(definitions.data(), 0, definitions.size());
    answer.back() = 0;
    definitions.back() = 0;
    int16_t result = mapCode(code);
    if (result != 0)
        return result;
    if (!terminated) {
        showError("Dictionnaire : reponse illisible de Lexical_demande");
        return -1;
    }
    fAnswerText = answer.data();
    fDefinitionText = definitions.data();
    return 0;
}

int16_t ADicoLibrary::close() {
    if (!fLoaded && !fInitialised)
        return 0;
    auto fini = proc<LexicalFiniProc>("Lexical_fini");
    if (!fini) {
        showError("Dictionnaire : probleme de liberation memoire");
        return -1;
    }
    if (fInitialised)
        fini(fHandle);
    fInitialised = 0;
    if (loadedModule_)
        FreeLibrary(loadedModule_);
    loadedModule_ = nullptr;
    fLoaded = 0;
    try {
        AAppTempFolderSpec folder;
        ATempFileSpec temp("DI", folder);
        registerTempFile(temp.path().c_str());
        registerTempFile(AFileSpec(folder, "synapse.xml").path().c_str());
    } catch (const AError&) {
        // No temporary folder: nothing was written there to remove.
    }
    return 0;
}
