// Test folders of the runtime layer: a fresh scratch folder per test with a
// runtime folder holding the layer's defaults, and the special folders behind
// "AppData" and "WinD" pointed into it. Files are read and written with the
// file-layer tests' helpers (FileTestSupport.h).
#pragma once

#include "platform/webrt/nsInterfaces.h"
#include "tests/base/procedural/FileTestSupport.h"

#include <map>
#include <string>

class RuntimeFolders {
public:
    // withDefaults false leaves the runtime folder without "defaults\pref".
    explicit RuntimeFolders(bool withDefaults = true);
    ~RuntimeFolders();

    std::string root;      // scratch folder
    std::string runtime;   // root\runtime
    std::string appData;   // root\appdata (made)
    std::string windows;   // root\windows (made)
    // While false, "AppData" has no folder.
    static bool appDataPresent;

    // NS_InitEmbedding on the runtime folder with provider (null allowed).
    nsresult init(nsIDirectoryServiceProvider* provider) const;
};

// A directory provider answering keys from a table of paths.
class TableProvider : public nsSupportsImpl<nsIDirectoryServiceProvider> {
public:
    std::map<std::string, std::string> paths;
    nsresult GetFile(const char* key, PRBool* persistent, nsIFile** result) override;
};
