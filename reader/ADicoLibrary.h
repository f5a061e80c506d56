// The binding to the dictionary library named by the configuration ("DICO"
// folder, "DICO_DLL", "DICO_DICTIONNAIRE", "DICO_LEXIQUE"): loads it at
// start, asks it for a word's definitions, frees it at quit.
//
// One instance, owned by the application object. Every failure is shown in a
// message box titled "Erreur" (warning icon) and answered as a negative code;
// nothing is thrown. The library's four calls are looked up by name at each
// use, never kept. A library the process already held is used as it is and
// never freed here. Words are cut to fit the fixed buffers; outputs are read
// only up to a NUL forced at each buffer's last byte.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

// The library's calls; cdecl, undecorated names.
extern "C" {
typedef long(__cdecl* LexicalInitProc)(long callerCode, const char* dictionaryPath, const char* lexiconPath);
typedef int16_t(__cdecl* LexicalRadicalProc)(char* word, long handle);
typedef int16_t(__cdecl* LexicalDemandeProc)(char* word, int16_t mode, char* answer, long answerSize,
                                             char* definitions, long definitionsSize, long handle);
typedef int16_t(__cdecl* LexicalFiniProc)(long handle);
}

class ADicoLibrary {
public:
    enum : long {
        kRadicalBuffer = 32000,
        kDemandeBuffer = 10000,
        kAnswerBuffer = 10000,
        // The reader's code given to "Lexical_init".
        kCallerCode = 0x5356,
    };

    ADicoLibrary() = default;
    virtual ~ADicoLibrary() = default;
    ADicoLibrary(const ADicoLibrary&) = delete;
    ADicoLibrary& operator=(const ADicoLibrary&) = delete;

    // Paths from the configuration, open, "Lexical_init".
    void setUp();
    // 0 loaded or already present, -1 failure (said).
    int16_t open();
    // 0, or -1, -2, -3 as the library answered (-2 and -3 said).
    int16_t radical(const char* word);
    // 0 with fAnswerText and fDefinitionText set; else as radical, both texts unchanged.
    int16_t ask(const char* word);
    // 0, or -1 when "Lexical_fini" is missing (said). Nothing when never loaded nor initialised.
    int16_t close();

    long fHandle = 0;
    AFileSpec fDicoFolder;
    AString fDictionaryPath;
    AString fLexiconPath;
    int16_t fInitialised = 0;
    AString fAnswerText;
    AString fDefinitionText;
    int16_t fLoaded = 0;
    AString fLibraryPath;

protected:
    // Seams: the configuration's folder "DICO" and its values, the message
    // box, and the files the next start deletes.
    virtual AFileSpec dicoFolder();
    virtual AString configValue(const char* key);
    virtual void showError(const char* text);
    virtual void registerTempFile(const char* path);

private:
    // The module at fLibraryPath loaded in the process, or null.
    HMODULE module() const;
    template <class F>
    F proc(const char* name) const;
    AString childPath(const char* key);
    int16_t mapCode(int16_t code);

    HMODULE loadedModule_ = nullptr;  // the module this binding loaded, freed by close
};
