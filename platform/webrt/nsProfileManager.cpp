// The runtime layer's profile manager: the profiles of the per-user folder,
// listed in its "registry.dat", each a folder under the profiles root.
#include "platform/webrt/nsRuntime.h"

#include <vector>

namespace {

const size_t kRegistryLimit = 64 * 1024;
const char kRegistryHeader[] = "webrt-profiles 1";

// "registry.dat" ("AppRegF"), lines of code page 1252 text ending in "\n":
//   webrt-profiles 1     the format and its version, first line
//   current=NAME         the current profile, at most once
//   profile=NAME         one line per profile, in creation order
// NAME: 1 to 64 characters, none of \ / : * ? " < > | TAB, not "." nor "..".
// A profile's folder is the profiles root ("DefProfRt") joined with its name.
struct Registry {
    std::string path;  // of the file, not stored in it
    std::string current;
    std::vector<std::string> profiles;
};

bool ValidName(const std::string& name) {
    return !name.empty() && name.size() <= 64 && name != "." && name != ".." &&
           name.find_first_of("\\/:*?\"<>|\t\r\n") == std::string::npos;
}

nsresult ReadRegistry(Registry& out) {
    out = Registry();
    nsresult r = webrt::GetDirectoryPath("AppRegF", out.path);
    if (NS_FAILED(r))
        return r;
    const std::string& path = out.path;
    if (!webrt::FileExists(path))
        return NS_OK;
    std::string text;
    r = webrt::ReadTextFile(path, text, kRegistryLimit);
    if (NS_FAILED(r))
        return r;
    size_t start = 0;
    bool first = true;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            return NS_ERROR_FILE_CORRUPTED;
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (first) {
            if (line != kRegistryHeader)
                return NS_ERROR_FILE_CORRUPTED;
            first = false;
        } else if (line.compare(0, 8, "current=") == 0 && out.current.empty() && ValidName(line.substr(8))) {
            out.current = line.substr(8);
        } else if (line.compare(0, 8, "profile=") == 0 && ValidName(line.substr(8))) {
            out.profiles.push_back(line.substr(8));
        } else {
            return NS_ERROR_FILE_CORRUPTED;
        }
    }
    return first ? NS_ERROR_FILE_CORRUPTED : NS_OK;
}

nsresult WriteRegistry(const Registry& registry) {
    std::string text = std::string(kRegistryHeader) + "\n";
    if (!registry.current.empty())
        text += "current=" + registry.current + "\n";
    for (const std::string& name : registry.profiles)
        text += "profile=" + name + "\n";
    return webrt::SaveTextFile(registry.path, text);
}

bool Holds(const Registry& registry, const std::string& name) {
    for (const std::string& p : registry.profiles) {
        if (p == name)
            return true;
    }
    return false;
}

// The profile's folder, made when missing.
nsresult ProfileFolder(const std::string& name, std::string& folder) {
    nsresult r = webrt::GetDirectoryPath("DefProfRt", folder);
    if (NS_FAILED(r))
        return r;
    folder += "\\" + name;
    if (webrt::FolderExists(folder))
        return NS_OK;
    nsPtr<nsILocalFile> file;
    r = NS_NewNativeLocalFile(folder, PR_TRUE, file.receive());
    return NS_FAILED(r) ? r : file->Create(nsIFile::DIRECTORY_TYPE, 0775);
}

class ProfileManager : public nsSupportsImpl<nsIProfile> {
public:
    nsresult GetProfileCount(PRInt32* result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        Registry registry;
        nsresult r = ReadRegistry(registry);
        if (NS_FAILED(r))
            return r;
        *result = static_cast<PRInt32>(registry.profiles.size());
        return NS_OK;
    }
    nsresult CreateNewProfile(const PRUnichar* name, const PRUnichar* folder, const PRUnichar*, PRBool) override {
        if (!name)
            return NS_ERROR_NULL_POINTER;
        // Profiles live under the profiles root only: the registry keeps no other folder.
        if (folder && folder[0])
            return NS_ERROR_NOT_IMPLEMENTED;
        std::string text = NS_LossyConvertUTF16toNative(name);
        if (!ValidName(text))
            return NS_ERROR_INVALID_ARG;
        Registry registry;
        nsresult r = ReadRegistry(registry);
        if (NS_FAILED(r))
            return r;
        if (Holds(registry, text))
            return NS_ERROR_FILE_ALREADY_EXISTS;
        std::string profileFolder;
        r = ProfileFolder(text, profileFolder);
        if (NS_FAILED(r))
            return r;
        registry.profiles.push_back(text);
        return WriteRegistry(registry);
    }
    nsresult GetCurrentProfile(PRUnichar** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = nullptr;
        Registry registry;
        nsresult r = ReadRegistry(registry);
        if (NS_FAILED(r))
            return r;
        if (registry.current.empty())
            return NS_ERROR_FAILURE;
        *result = ToNewUnicode(NS_ConvertNativeToUTF16(registry.current.c_str()));
        return *result ? NS_OK : NS_ERROR_OUT_OF_MEMORY;
    }
    nsresult SetCurrentProfile(const PRUnichar* name) override {
        if (!name)
            return NS_ERROR_NULL_POINTER;
        std::string text = NS_LossyConvertUTF16toNative(name);
        Registry registry;
        nsresult r = ReadRegistry(registry);
        if (NS_FAILED(r))
            return r;
        if (!Holds(registry, text))
            return NS_ERROR_FAILURE;
        std::string folder;
        r = ProfileFolder(text, folder);
        if (NS_SUCCEEDED(r))
            r = webrt::UseProfilePrefs(folder);
        if (NS_FAILED(r))
            return r;
        if (registry.current == text)
            return NS_OK;
        registry.current = text;
        return WriteRegistry(registry);
    }
};

}  // namespace

namespace webrt {

nsresult MakeProfileManager(nsISupports** result) {
    *result = static_cast<nsIProfile*>(new ProfileManager);
    (*result)->AddRef();
    return NS_OK;
}

}  // namespace webrt
