// The exchange file and the start of the external player.
#include "panes/content/media/AExternalPlayer.h"

#include <windows.h>

#include <cstdio>

#include "base/object/AFileSpec.h"
#include "panes/docks/launch/ulaunch.h"

namespace {

std::string Join(const std::string& folder, const char* name) {
    if (folder.empty())
        return name;
    char last = folder.back();
    return folder + (last == '\\' || last == '/' ? "" : "\\") + name;
}

}  // namespace

bool MakeExchangeText(const std::string& dcrPath, const std::string& videoPath, std::string* out) {
    if (dcrPath.find_first_of("\r\n") != std::string::npos || videoPath.find_first_of("\r\n") != std::string::npos)
        return false;
    *out = "dcrpath=" + dcrPath + "\r\nmpgpath=" + videoPath + "\r\nerror=OK\r\nstatus=run\r\n";
    return true;
}

bool WriteExchangeFile(const std::string& path, const std::string& dcrPath, const std::string& videoPath,
                       std::string* error) {
    std::string text;
    if (!MakeExchangeText(dcrPath, videoPath, &text)) {
        *error = "Chemin de fichier incorrect (fin de ligne)";
        return false;
    }
    // Binary: the line ends are exactly CR LF whatever the C library's text mode does.
    const std::string temp = path + ".tmp";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        *error = "Impossible d'\xE9" "crire " + path;
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok || !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temp.c_str());
        *error = "Impossible d'\xE9" "crire " + path;
        return false;
    }
    return true;
}

bool IsSafeRecordName(const std::string& name) {
    if (name.empty() || name[0] == '\\' || name[0] == '/' || name.find(':') != std::string::npos)
        return false;
    // ".." as a whole path element only: "a..b" is a plain name.
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("\\/", start);
        std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part == "..")
            return false;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return true;
}

AExternalPlayerResult RunExternalPlayer(const std::string& dcrPath, const std::string& videoPath,
                                        const std::string& folder, const std::string& programFolder) {
    AExternalPlayerResult result;
    CreateDirectoryA(programFolder.c_str(), nullptr);
    const std::string program = Join(programFolder, "projit.exe");
    if (!folder.empty()) {
        result.exchange = Join(folder, "VB2DCR.txt");
        result.player = Join(folder, "projit.exe");
        // Copied afresh each time: a program left in a shared temporary
        // folder by someone else is never the one run. A failed copy leaves
        // no player there, and nothing starts.
        DeleteFileA(result.player.c_str());
        CopyFileA(program.c_str(), result.player.c_str(), FALSE);
    } else {
        result.exchange = Join(programFolder, "VB2DCR.txt");
        result.player = program;
    }
    if (!WriteExchangeFile(result.exchange, dcrPath, videoPath, &result.error))
        return result;
    result.written = 1;
    result.started = LaunchProcess(AFileSpec(result.player.c_str()), AFileSpec(), 0, nullptr);
    return result;
}
