// The application's one door to the search engine: configuration strings and
// messages by key, files, filters, paths, part files, search bases and keyed
// indexes of the mounted descriptor (the ".sgm" read with its ".gen" companion).
//
// Owns the mount and the keyed-index entries shared by AKeyIndex objects; the
// base objects (AMountedBase) live while a table holds them. Destroy the
// search bases and indexes first. Engine failures raise ASearchError
// ("%s:%ld\n": the engine's text and code, a recoverable error); broken
// preconditions raise the assertion. Lookups of configuration never raise.
#pragma once

#include <cstdint>

#include "base/object/AFile.h"
#include "base/object/AFileSpec.h"
#include "base/object/AFilter.h"
#include "base/object/AStrDic.h"
#include "base/object/AString.h"

struct KyIndexHandle;
struct KyMount;
struct KY_Engine;
class AKeyIndex;
class AMountedBase;
class ASearchBase;
class ASearchRequest;

class ADataLocation {
public:
    ADataLocation();
    ~ADataLocation();
    ADataLocation(const ADataLocation&) = delete;
    ADataLocation& operator=(const ADataLocation&) = delete;

    // Reads and mounts the descriptor; volumePath (or null) stands for the
    // signature and ini paths, appFolder (or null) for _APPLIPATH_. 0, or the
    // engine's code with getLastError set (the path appended, except for 2013).
    long open(const char* descriptorPath, const char* volumePath = nullptr, const char* appFolder = nullptr);
    const AString& getLastError() const { return lastError; }
    KY_Engine* getEngine() const { return descriptor; }
    KyMount* getMount() const;

    // The user string of key; empty when missing or before open.
    AString getString(const char* key);
    // The same lookup for MSG_ and DLG_ keys.
    AString getMessage(const char* key);
    // The file registered under key (a userdata entry); raises when missing.
    AFile getFile(const char* key);
    // The filter registered under key, loaded anew; raises when missing.
    AFilter getFilter(const char* key);
    // The file of index key for the base's first local part from firstPart on.
    AFile getPartFile(const char* base, const char* key, uint8_t firstPart);
    // A descriptor path's folder as text, empty when missing.
    AString getPathValue(const char* key);
    // The first character of the "ROOT" path; empty for none or a byte above 0x7F.
    AString getRootLetter();
    AFileSpec getPathSpec(const char* name);
    // The next resolution of every volume-marking path looks for its volume again.
    void refreshPaths();
    AString expandLigatures(const AString& text);

    // The shared base object of the name, made when missing (raises for an
    // undeclared base).
    AMountedBase* ensureBase(const char* name);
    // The tables "base:table,base:table,..." (at most 70 kept), the filter
    // registered under filterKey (or none) for their streams. A new object the
    // caller deletes; null when a base or table is unknown.
    ASearchBase* openBase(const char* list, const char* filterKey);
    // The keyed index registered under key (a lexicon of the descriptor); the
    // caller deletes it (DeleteDataAccessAndNull).
    AKeyIndex* openIndex(const char* key);
    // A new request of the base on its request (form) name; the caller deletes
    // it. Raises for an unknown base or request.
    ASearchRequest* createRequest(const char* base, const char* request);

    // The shared entry of a keyed index, made on first use; raises for an
    // unknown key. releaseIndex frees it once no holder has it open.
    KyIndexHandle* acquireIndex(const char* key);
    void releaseIndex(const char* key);
    // Called by a base object when its last user lets go.
    void forgetBase(const char* name);

    // While set, requests destroyed leave their engine request alone (the
    // engine was closed under them).
    int16_t engineClosed;

private:
    void closeDescriptor();

    KY_Engine* descriptor;  // owned, null until open succeeds
    AStrDic bases;        // name -> AMountedBase*, owned
    AStrDic indexes;      // key -> shared index entry, owned
    AString lastError;
};

// The application's data location, null until it sets it.
extern ADataLocation* gDataLocation;
