// The runtime layer's preferences: defaults from the runtime folder, user
// values from and to the current profile's "prefs.js".
#include "platform/webrt/nsRuntime.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

namespace {

const size_t kPrefFileLimit = 1 << 20;
const char kDefaultsFile[] = "runtime.js";

struct Value {
    enum Kind { Int, Bool, Char };
    explicit Value(Kind k = Int) : kind(k) {}
    Kind kind;
    PRInt32 i = 0;
    std::string s;
};

typedef std::map<std::string, Value> Table;

// Preference files, lines of code page 1252 text:
//   pref("name", value);         the runtime folder's defaults ("PrfDef\*.js")
//   user_pref("name", value);    a profile's "prefs.js"
// value: an integer (optional "-", decimal, within 32 bits), true, false,
// or "text" in which \" and \\ stand for " and \.
// Blank lines and lines starting with "//" or "#" are skipped; any other
// line makes the whole file refused (NS_ERROR_FILE_CORRUPTED).
class PrefLineReader {
public:
    PrefLineReader(const std::string& line, const char* verb) : p_(line.c_str()), verb_(verb) {}

    bool read(std::string& name, Value& value) {
        skipBlanks();
        size_t n = std::strlen(verb_);
        if (std::strncmp(p_, verb_, n) != 0)
            return false;
        p_ += n;
        skipBlanks();
        if (!take('(') || !readText(name) || !take(','))
            return false;
        if (*p_ == '"') {
            value.kind = Value::Char;
            if (!readText(value.s))
                return false;
        } else if (word("true")) {
            value.kind = Value::Bool;
            value.i = 1;
        } else if (word("false")) {
            value.kind = Value::Bool;
            value.i = 0;
        } else if (!readInt(value)) {
            return false;
        }
        if (!take(')') || !take(';'))
            return false;
        skipBlanks();
        return *p_ == 0;
    }

private:
    void skipBlanks() {
        while (*p_ == ' ' || *p_ == '\t' || *p_ == '\r')
            ++p_;
    }
    bool take(char c) {
        skipBlanks();
        if (*p_ != c)
            return false;
        ++p_;
        skipBlanks();
        return true;
    }
    bool word(const char* w) {
        size_t n = std::strlen(w);
        if (std::strncmp(p_, w, n) != 0)
            return false;
        p_ += n;
        return true;
    }
    bool readText(std::string& out) {
        if (*p_ != '"')
            return false;
        ++p_;
        out.clear();
        for (; *p_ && *p_ != '"'; ++p_) {
            if (*p_ == '\\') {
                if (p_[1] != '"' && p_[1] != '\\')
                    return false;
                ++p_;
            }
            out.push_back(*p_);
        }
        if (*p_ != '"')
            return false;
        ++p_;
        skipBlanks();
        return true;
    }
    bool readInt(Value& value) {
        bool negative = *p_ == '-';
        if (negative)
            ++p_;
        if (*p_ < '0' || *p_ > '9')
            return false;
        long long v = 0;
        for (; *p_ >= '0' && *p_ <= '9'; ++p_) {
            v = v * 10 + (*p_ - '0');
            if (v > 2147483648LL)
                return false;
        }
        v = negative ? -v : v;
        if (v > 2147483647LL)
            return false;
        value.kind = Value::Int;
        value.i = static_cast<PRInt32>(v);
        return true;
    }

    const char* p_;
    const char* verb_;
};

nsresult ParsePrefFile(const std::string& path, const char* verb, Table& into) {
    std::string text;
    nsresult r = webrt::ReadTextFile(path, text, kPrefFileLimit);
    if (NS_FAILED(r))
        return r;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line.compare(first, 2, "//") == 0 || line[first] == '#')
            continue;
        std::string name;
        Value value;
        if (!PrefLineReader(line, verb).read(name, value))
            return NS_ERROR_FILE_CORRUPTED;
        into[name] = value;
    }
    return NS_OK;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

class PrefService;
PrefService* g_prefs = nullptr;  // not owned: the registry holds the service

class PrefService : public nsSupportsImpl<nsIPref> {
public:
    PrefService() { g_prefs = this; }
    ~PrefService() override {
        if (g_prefs == this)
            g_prefs = nullptr;
    }

    nsresult GetIntPref(const char* name, PRInt32* result) override { return get(name, Value::Int, result); }
    nsresult GetBoolPref(const char* name, PRBool* result) override { return get(name, Value::Bool, result); }
    nsresult GetCharPref(const char* name, char** result) override {
        if (!name || !result)
            return NS_ERROR_NULL_POINTER;
        *result = nullptr;
        const Value* v = find(name);
        if (!v || v->kind != Value::Char)
            return NS_ERROR_FAILURE;
        *result = ToNewCString(v->s);
        return *result ? NS_OK : NS_ERROR_OUT_OF_MEMORY;
    }
    nsresult SetIntPref(const char* name, PRInt32 value) override {
        Value v(Value::Int);
        v.i = value;
        return set(name, v);
    }
    nsresult SetBoolPref(const char* name, PRBool value) override {
        Value v(Value::Bool);
        v.i = value ? 1 : 0;
        return set(name, v);
    }
    nsresult SetCharPref(const char* name, const char* value) override {
        if (!value)
            return NS_ERROR_NULL_POINTER;
        Value v(Value::Char);
        v.s = value;
        return set(name, v);
    }
    nsresult SavePrefFile(nsIFile* file) override {
        std::string path;
        if (file) {
            file->GetNativePath(path);
        } else {
            if (profileFolder_.empty())
                return NS_ERROR_NOT_INITIALIZED;
            path = profileFolder_ + "\\prefs.js";
        }
        std::string text = "// Preferences set by the program; rewritten at each change.\n";
        for (const auto& entry : user_) {
            const Value& v = entry.second;
            std::string value = v.kind == Value::Char ? Quoted(v.s)
                                : v.kind == Value::Bool ? (v.i ? "true" : "false")
                                                        : std::to_string(v.i);
            text += "user_pref(" + Quoted(entry.first) + ", " + value + ");\n";
        }
        return webrt::SaveTextFile(path, text);
    }

    nsresult loadDefaults() {
        std::string folder;
        nsresult r = webrt::GetDirectoryPath("PrfDef", folder);
        if (NS_FAILED(r))
            return r;
        if (!webrt::FileExists(folder + "\\" + kDefaultsFile))
            return NS_ERROR_FILE_NOT_FOUND;
        std::vector<std::string> names;
        WIN32_FIND_DATAA data;
        HANDLE h = FindFirstFileA((folder + "\\*.js").c_str(), &data);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    names.push_back(data.cFileName);
            } while (FindNextFileA(h, &data));
            FindClose(h);
        }
        std::sort(names.begin(), names.end());
        Table defaults;
        for (const std::string& name : names) {
            r = ParsePrefFile(folder + "\\" + name, "pref", defaults);
            if (NS_FAILED(r))
                return r;
        }
        defaults_.swap(defaults);
        return NS_OK;
    }
    nsresult useProfile(const std::string& folder) {
        Table user;
        std::string path = folder + "\\prefs.js";
        if (webrt::FileExists(path)) {
            nsresult r = ParsePrefFile(path, "user_pref", user);
            if (NS_FAILED(r))
                return r;
        }
        user_.swap(user);
        profileFolder_ = folder;
        return NS_OK;
    }

private:
    const Value* find(const char* name) const {
        auto u = user_.find(name);
        if (u != user_.end())
            return &u->second;
        auto d = defaults_.find(name);
        return d != defaults_.end() ? &d->second : nullptr;
    }
    nsresult get(const char* name, Value::Kind kind, PRInt32* result) const {
        if (!name || !result)
            return NS_ERROR_NULL_POINTER;
        const Value* v = find(name);
        if (!v || v->kind != kind)
            return NS_ERROR_FAILURE;
        *result = v->i;
        return NS_OK;
    }
    // A value of another kind than the default's is refused, and so is a line
    // end in a name or a text: it would split its line in the saved file, and
    // the whole file would then be refused at the next start.
    nsresult set(const char* name, const Value& value) {
        if (!name)
            return NS_ERROR_NULL_POINTER;
        if (std::strpbrk(name, "\r\n") || value.s.find_first_of("\r\n") != std::string::npos)
            return NS_ERROR_INVALID_ARG;
        auto d = defaults_.find(name);
        if (d != defaults_.end() && d->second.kind != value.kind)
            return NS_ERROR_FAILURE;
        user_[name] = value;
        return NS_OK;
    }

    Table defaults_;
    Table user_;
    std::string profileFolder_;  // empty until a profile is current
};

PrefService* Prefs(nsresult& r) {
    nsPtr<nsIPref> service = GetServiceAs<nsIPref>(NS_PREF_CONTRACTID, &r);
    if (!service)
        return nullptr;
    return g_prefs;
}

}  // namespace

namespace webrt {

nsresult MakePrefService(nsISupports** result) {
    *result = static_cast<nsIPref*>(new PrefService);
    (*result)->AddRef();
    return NS_OK;
}

nsresult LoadDefaultPrefs() {
    nsresult r;
    PrefService* prefs = Prefs(r);
    return prefs ? prefs->loadDefaults() : r;
}

nsresult UseProfilePrefs(const std::string& profileFolder) {
    nsresult r;
    PrefService* prefs = Prefs(r);
    return prefs ? prefs->useProfile(profileFolder) : r;
}

}  // namespace webrt
