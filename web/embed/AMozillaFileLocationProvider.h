// Tells the web runtime where its folders are: per-user data (its registry
// file, the profiles) under a product folder in the user's application data
// folder (else the Windows folder), the read-only parts in the runtime folder.
//
// Counted like every runtime object; the runtime holds the one reference.
// Every answer is a runtime result code; nothing is logged and nothing is thrown.
#pragma once

#include "platform/webrt/nsInterfaces.h"

#include <string>

class AMozillaFileLocationProvider : public nsSupportsImpl<nsIDirectoryServiceProvider> {
public:
    AMozillaFileLocationProvider(const char* productFolderName, const char* subFolderName);

    // Keys "AppRegD", "AppRegF", "DefRt", "PrfDef", "ProfDefNoLoc", "profDef",
    // "DefProfRt", "ARes", "AChrom", "APlugns", "SrchPlugns"; any other key
    // gives NS_ERROR_FAILURE and a null file. *persistent is always true.
    nsresult GetFile(const char* key, PRBool* persistent, nsIFile** result) override;

    // Each hands out one reference.
    nsresult getProductFolder(nsILocalFile** result);
    nsresult getProfilesRoot(nsILocalFile** result);
    nsresult cloneRuntimeFolder(nsILocalFile** result);

private:
    nsresult build(const std::string& key, nsILocalFile** result);

    nsPtr<nsILocalFile> runtimeFolder_;  // looked up on first need, then kept
    std::string productFolderName_;
    std::string subFolderName_;
};
