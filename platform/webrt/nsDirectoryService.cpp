// The runtime layer's directory service: the system's folders it knows itself,
// the program's provider for every other key.
#include "platform/webrt/nsEmbedding.h"
#include "platform/webrt/nsRuntime.h"

#include "base/procedural/KyPath.h"

#include <windows.h>

namespace {

const int kAppDataFolder = 0x1a;  // the shell's number of the roaming application data folder

bool SystemFolder(const char* key, std::string& path) {
    std::string k(key);
    if (k == "AppData") {
        KY_FileSpec spec;
        KY_NewFileSpec(&spec);
        bool ok = SHF_GetFolderPath(&spec, kAppDataFolder) == 0 && spec.text && spec.text[0];
        if (ok)
            path = spec.text;
        KY_FreeFileSpec(&spec);
        return ok;
    }
    if (k == "WinD") {
        char buffer[MAX_PATH + 1];
        UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
        if (n == 0 || n >= sizeof buffer)
            return false;
        path.assign(buffer, n);
        return true;
    }
    return false;
}

NS_SpecialFolderFunction g_specialFolder = SystemFolder;

class DirectoryService : public nsSupportsImpl<nsIProperties> {
public:
    nsresult Get(const char* property, const nsIID& iid, void** result) override {
        if (!property || !result)
            return NS_ERROR_NULL_POINTER;
        *result = nullptr;
        std::string key(property);
        nsPtr<nsIFile> file;
        nsresult r = NS_ERROR_FAILURE;
        if (key == "AppData" || key == "WinD") {
            std::string path;
            if (!g_specialFolder(property, path))
                return NS_ERROR_FAILURE;
            nsPtr<nsILocalFile> local;
            r = NS_NewNativeLocalFile(path, PR_TRUE, local.receive());
            file = local.get();
        } else if (key == "XCurProcD") {
            if (!webrt::RuntimeFolder())
                return NS_ERROR_NOT_INITIALIZED;
            r = webrt::RuntimeFolder()->Clone(file.receive());
        } else if (key == "CurProcD") {
            char buffer[MAX_PATH + 1];
            DWORD n = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
            if (n == 0 || n >= sizeof buffer)
                return NS_ERROR_FAILURE;
            std::string path(buffer, n);
            path.erase(path.rfind('\\') == std::string::npos ? 0 : path.rfind('\\'));
            nsPtr<nsILocalFile> local;
            r = NS_NewNativeLocalFile(path, PR_TRUE, local.receive());
            file = local.get();
        } else if (webrt::Provider()) {
            PRBool persistent = PR_FALSE;
            r = webrt::Provider()->GetFile(property, &persistent, file.receive());
        }
        if (NS_FAILED(r))
            return r;
        if (!file)
            return NS_ERROR_FAILURE;
        return file->QueryInterface(iid, result);
    }
};

}  // namespace

void NS_SetSpecialFolderFunction(NS_SpecialFolderFunction fn) {
    g_specialFolder = fn ? fn : SystemFolder;
}

namespace webrt {

nsresult MakeDirectoryService(nsISupports** result) {
    *result = static_cast<nsIProperties*>(new DirectoryService);
    (*result)->AddRef();
    return NS_OK;
}

nsresult GetDirectoryPath(const char* key, std::string& path) {
    nsresult r;
    nsPtr<nsIProperties> service = GetServiceAs<nsIProperties>(NS_DIRECTORY_SERVICE_CONTRACTID, &r);
    if (!service)
        return NS_FAILED(r) ? r : NS_ERROR_FAILURE;
    nsPtr<nsIFile> file;
    r = service->Get(key, nsIFile::GetIID(), file.receiveVoid());
    if (NS_FAILED(r))
        return r;
    return file->GetNativePath(path);
}

}  // namespace webrt
