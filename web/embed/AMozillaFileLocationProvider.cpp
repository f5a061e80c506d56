// The web runtime's directory provider.
#include "web/embed/AMozillaFileLocationProvider.h"

#include "platform/webrt/nsComponents.h"

namespace {

// Appends the component and makes the folder when it is missing.
nsresult AppendFolder(nsILocalFile* folder, const char* name) {
    nsresult r = folder->AppendNative(name);
    if (NS_FAILED(r))
        return r;
    PRBool exists = PR_FALSE;
    r = folder->Exists(&exists);
    if (NS_FAILED(r))
        return r;
    return exists ? NS_OK : folder->Create(nsIFile::DIRECTORY_TYPE, 0775);
}

nsPtr<nsILocalFile> AskDirectory(nsIProperties* service, const char* key, nsresult& r) {
    nsPtr<nsILocalFile> file;
    r = service->Get(key, nsILocalFile::GetIID(), file.receiveVoid());
    return file;
}

}  // namespace

AMozillaFileLocationProvider::AMozillaFileLocationProvider(const char* productFolderName, const char* subFolderName)
    : productFolderName_(productFolderName ? productFolderName : ""),
      subFolderName_(subFolderName ? subFolderName : "") {}

nsresult AMozillaFileLocationProvider::GetFile(const char* key, PRBool* persistent, nsIFile** result) {
    // The runtime calls in here: nothing may be thrown back into it.
    try {
        if (result)
            *result = nullptr;
        if (persistent)
            *persistent = PR_TRUE;
        if (!key || !result)
            return NS_ERROR_NULL_POINTER;
        nsPtr<nsILocalFile> file;
        nsresult r = build(key, file.receive());
        if (NS_FAILED(r))
            return r;
        if (!file)
            return NS_ERROR_FAILURE;
        return file->QueryInterface(nsIFile::GetIID(), reinterpret_cast<void**>(result));
    } catch (...) {
        return NS_ERROR_FAILURE;
    }
}

nsresult AMozillaFileLocationProvider::build(const std::string& key, nsILocalFile** result) {
    // Folders of the runtime folder, by key.
    static const char* const kRuntimeParts[][3] = {
        {"DefRt", "defaults", nullptr},     {"PrfDef", "defaults", "pref"},
        {"ProfDefNoLoc", "defaults", "profile"}, {"profDef", "defaults", "profile"},
        {"ARes", "res", nullptr},           {"AChrom", "chrome", nullptr},
        {"APlugns", "plugins", nullptr},    {"SrchPlugns", "searchplugins", nullptr},
    };
    if (key == "AppRegD")
        return getProductFolder(result);
    if (key == "AppRegF") {
        nsPtr<nsILocalFile> folder;
        nsresult r = getProductFolder(folder.receive());
        if (NS_SUCCEEDED(r))
            r = folder->AppendNative("registry.dat");
        if (NS_SUCCEEDED(r))
            *result = folder.forget();
        return r;
    }
    if (key == "DefProfRt")
        return getProfilesRoot(result);
    for (const auto& row : kRuntimeParts) {
        if (key != row[0])
            continue;
        nsPtr<nsILocalFile> folder;
        nsresult r = cloneRuntimeFolder(folder.receive());
        for (int i = 1; i < 3 && row[i] && NS_SUCCEEDED(r); ++i)
            r = folder->AppendNative(row[i]);
        if (NS_SUCCEEDED(r))
            *result = folder.forget();
        return r;
    }
    return NS_ERROR_FAILURE;
}

nsresult AMozillaFileLocationProvider::getProductFolder(nsILocalFile** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    if (productFolderName_.empty())
        return NS_ERROR_NOT_INITIALIZED;
    nsresult r;
    nsPtr<nsIProperties> service = GetServiceAs<nsIProperties>(NS_DIRECTORY_SERVICE_CONTRACTID, &r);
    if (!service)
        return NS_FAILED(r) ? r : NS_ERROR_FAILURE;
    nsPtr<nsILocalFile> folder = AskDirectory(service.get(), "AppData", r);
    PRBool exists = PR_FALSE;
    if (NS_SUCCEEDED(r) && folder)
        r = folder->Exists(&exists);
    if (NS_FAILED(r) || !folder || !exists) {
        folder = AskDirectory(service.get(), "WinD", r);
        if (NS_FAILED(r))
            return r;
        if (!folder)
            return NS_ERROR_FAILURE;
    }
    r = AppendFolder(folder.get(), productFolderName_.c_str());
    if (NS_SUCCEEDED(r) && !subFolderName_.empty())
        r = AppendFolder(folder.get(), subFolderName_.c_str());
    if (NS_FAILED(r))
        return r;
    *result = folder.forget();
    return NS_OK;
}

nsresult AMozillaFileLocationProvider::getProfilesRoot(nsILocalFile** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    nsPtr<nsILocalFile> folder;
    nsresult r = getProductFolder(folder.receive());
    if (NS_SUCCEEDED(r))
        r = AppendFolder(folder.get(), "Profiles");
    if (NS_FAILED(r))
        return r;
    *result = folder.forget();
    return NS_OK;
}

nsresult AMozillaFileLocationProvider::cloneRuntimeFolder(nsILocalFile** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    nsresult r;
    if (!runtimeFolder_) {
        nsPtr<nsIProperties> service = GetServiceAs<nsIProperties>(NS_DIRECTORY_SERVICE_CONTRACTID, &r);
        if (!service)
            return NS_FAILED(r) ? r : NS_ERROR_FAILURE;
        nsPtr<nsILocalFile> folder = AskDirectory(service.get(), "XCurProcD", r);
        if (NS_FAILED(r))
            folder = AskDirectory(service.get(), "CurProcD", r);
        if (NS_FAILED(r))
            return r;
        runtimeFolder_ = folder;
    }
    nsPtr<nsIFile> copy;
    r = runtimeFolder_->Clone(copy.receive());
    if (NS_FAILED(r))
        return r;
    nsPtr<nsILocalFile> local = QueryAs<nsILocalFile>(copy.get());
    if (!local)
        return NS_ERROR_FAILURE;
    *result = local.forget();
    return NS_OK;
}
