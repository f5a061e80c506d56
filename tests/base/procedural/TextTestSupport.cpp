// Temporary folders, ".flt" images and shown trace text for the text tests.
#include "tests/base/procedural/TextTestSupport.h"

#include "tests/support/TestHooks.h"

#include <windows.h>

#include <algorithm>

TempFolder::TempFolder() {
    static int folderCount = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "svtext-" + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(++folderCount);
    CreateDirectoryA(folder_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    for (const std::string& f : files_)
        DeleteFileA(f.c_str());
    RemoveDirectoryA(folder_.c_str());
}

std::string TempFolder::write(const std::string& name, const std::string& bytes) {
    std::string full = path(name);
    HANDLE h = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (h != INVALID_HANDLE_VALUE) {
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    // Listed once: a file written ten thousand times is deleted once.
    if (std::find(files_.begin(), files_.end(), full) == files_.end())
        files_.push_back(full);
    return full;
}

std::string TempFolder::rewrite(const std::string& name, const std::string& bytes) {
    auto last = last_.find(name);
    if (last == last_.end() || last->second.size() != bytes.size()) {
        last_[name] = bytes;
        return write(name, bytes);
    }
    std::string full = path(name);
    HANDLE h = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        last->second = bytes;
        return write(name, bytes);
    }
    for (size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == last->second[at])
            continue;
        size_t end = at;
        while (end < bytes.size() && bytes[end] != last->second[end])
            ++end;
        DWORD written = 0;
        SetFilePointer(h, static_cast<LONG>(at), nullptr, FILE_BEGIN);
        WriteFile(h, bytes.data() + at, static_cast<DWORD>(end - at), &written, nullptr);
        at = end;
    }
    CloseHandle(h);
    last->second = bytes;
    return full;
}

OpenSpecOf::OpenSpecOf(const std::string& path) {
    KY_ClearOpenSpec(&spec);
    KY_MakeOpenSpecIn(KY_GetGlobalFileSys(), path.c_str(), nullptr, 0, 0, 0, 0, &spec);
}

OpenSpecOf::~OpenSpecOf() {
    KY_FreeOpenSpec(&spec);
}

FltImage::FltImage() {
    for (int i = 0; i < 256; ++i)
        base[i] = static_cast<int16_t>(i);
}

std::string FltImage::bytes() const {
    std::string out;
    auto word = [&out](int v) { out.append({static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}); };
    word(version);
    word(pageCount != kPagesGiven ? pageCount : static_cast<int>(pages.size()));
    word(first);
    word(last);
    for (int16_t code : base)
        word(code);
    for (const auto& page : pages)
        for (int16_t code : page)
            word(code);
    out.append(flags.begin(), flags.end());
    return out;
}

std::string ShownText() {
    std::string text;
    for (const CapturedBox& box : CapturedBoxes())
        text += box.text;
    return text;
}
