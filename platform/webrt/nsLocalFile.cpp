// Local files of the runtime layer: a path that can grow by components, be tested and created.
#include "platform/webrt/nsInterfaces.h"
#include "platform/webrt/nsRuntime.h"

#include "base/procedural/KyPath.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

bool IsAbsolute(const std::string& p) {
    return (p.size() >= 2 && p[1] == ':') || (p.size() >= 2 && p[0] == '\\' && p[1] == '\\');
}

class LocalFile : public nsSupportsImpl<nsILocalFile> {
public:
    nsresult InitWithNativePath(const nsACString& path) override {
        std::vector<char> copy(path.begin(), path.end());
        copy.push_back(0);
        KY_NormalizePath(copy.data());
        std::string normal(copy.data());
        if (!IsAbsolute(normal))
            return NS_ERROR_INVALID_ARG;
        path_ = normal;
        return NS_OK;
    }
    nsresult AppendNative(const nsACString& node) override {
        if (node.empty() || node == "." || node == ".." || node.find_first_of("\\/:") != std::string::npos)
            return NS_ERROR_INVALID_ARG;
        if (path_.empty())
            return NS_ERROR_NOT_INITIALIZED;
        if (path_.back() != '\\')
            path_ += '\\';
        path_ += node;
        return NS_OK;
    }
    nsresult Exists(PRBool* result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES ? PR_TRUE : PR_FALSE;
        return NS_OK;
    }
    nsresult IsDirectory(PRBool* result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        *result = webrt::FolderExists(path_) ? PR_TRUE : PR_FALSE;
        return NS_OK;
    }
    nsresult Create(PRUint32 type, PRUint32) override {
        if (path_.empty())
            return NS_ERROR_NOT_INITIALIZED;
        if (GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES)
            return NS_ERROR_FILE_ALREADY_EXISTS;
        // KY_CreateDirs makes the folders of the components that end at a separator.
        size_t cut = path_.rfind('\\');
        std::string parents = type == DIRECTORY_TYPE ? path_ + "\\" : path_.substr(0, cut + 1);
        if (KY_CreateDirs(parents.c_str()) != 0)
            return NS_ERROR_FILE_ACCESS_DENIED;
        if (type == DIRECTORY_TYPE)
            return NS_OK;
        HANDLE h = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return NS_ERROR_FILE_ACCESS_DENIED;
        CloseHandle(h);
        return NS_OK;
    }
    nsresult Clone(nsIFile** result) override {
        if (!result)
            return NS_ERROR_NULL_POINTER;
        LocalFile* copy = new LocalFile;
        copy->path_ = path_;
        *result = copy;
        copy->AddRef();
        return NS_OK;
    }
    nsresult GetNativePath(nsACString& path) override {
        path = path_;
        return NS_OK;
    }

private:
    std::string path_;
};

}  // namespace

nsresult NS_NewNativeLocalFile(const nsACString& path, PRBool, nsILocalFile** result) {
    if (!result)
        return NS_ERROR_NULL_POINTER;
    *result = nullptr;
    nsPtr<LocalFile> file(new LocalFile);
    nsresult r = file->InitWithNativePath(path);
    if (NS_FAILED(r))
        return r;
    *result = file.forget();
    return NS_OK;
}

namespace webrt {

bool FolderExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

nsresult SaveTextFile(const std::string& path, const std::string& text) {
    std::string temporary = path + ".tmp";
    FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f)
        return NS_ERROR_FILE_ACCESS_DENIED;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (ok)
        ok = MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok) {
        DeleteFileA(temporary.c_str());
        return NS_ERROR_FILE_ACCESS_DENIED;
    }
    return NS_OK;
}

nsresult ReadTextFile(const std::string& path, std::string& text, size_t limit) {
    text.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return NS_ERROR_FILE_NOT_FOUND;
    char block[4096];
    size_t n;
    while ((n = std::fread(block, 1, sizeof block, f)) > 0) {
        if (text.size() + n > limit) {
            std::fclose(f);
            return NS_ERROR_FILE_CORRUPTED;
        }
        text.append(block, n);
    }
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return failed ? NS_ERROR_FILE_ACCESS_DENIED : NS_OK;
}

}  // namespace webrt
