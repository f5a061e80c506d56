// Replaces a set of files together, through temporaries and backups.
#include "search/engine/common/KyFileSet.h"

#include <windows.h>

#include <cstdio>

int KyFileSetFailStep = 0;
int KyFileSetSteps = 0;

namespace {

// Counts a step; false when the seam fails it.
bool Step() {
    return ++KyFileSetSteps != KyFileSetFailStep;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Move(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

}  // namespace

KyFileSet::~KyFileSet() {
    for (const Staged& f : files_)
        if (!f.placed)
            DeleteFileA(f.temp.c_str());
}

std::string KyFileSet::write(const std::string& path, const std::string& bytes) {
    return writeWith(path, [&](const std::string& temp) -> std::string {
        FILE* f = std::fopen(temp.c_str(), "wb");
        if (!f)
            return "cannot create " + temp;
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        ok = std::fflush(f) == 0 && ok;
        ok = std::fclose(f) == 0 && ok;
        return ok ? "" : "cannot write " + path;
    });
}

std::string KyFileSet::writeWith(const std::string& path,
                                 const std::function<std::string(const std::string&)>& writer) {
    Staged f;
    f.path = path;
    f.temp = path + ".new~";
    f.backup = path + ".old~";
    files_.push_back(f);
    if (!Step())
        return "cannot write " + path;
    std::string why = writer(f.temp);
    if (!why.empty())
        DeleteFileA(f.temp.c_str());
    return why;
}

// One file is renamed over the old one, which the system does whole. Several
// are each moved aside first, so that any failure can put back the old set.
std::string KyFileSet::commit() {
    if (files_.size() == 1) {
        Staged& f = files_[0];
        if (!Step() || !Move(f.temp, f.path))
            return "cannot write " + f.path;
        f.placed = true;
        return "";
    }
    for (Staged& f : files_) {
        f.hadOld = Exists(f.path);
        if (!f.hadOld)
            continue;
        if (!Step() || !Move(f.path, f.backup)) {
            rollBack();
            return "cannot replace " + f.path;
        }
        f.backedUp = true;
    }
    for (Staged& f : files_) {
        if (!Step() || !Move(f.temp, f.path)) {
            rollBack();
            return "cannot write " + f.path;
        }
        f.placed = true;
    }
    for (const Staged& f : files_)
        if (f.backedUp)
            DeleteFileA(f.backup.c_str());
    return "";
}

void KyFileSet::rollBack() {
    for (auto f = files_.rbegin(); f != files_.rend(); ++f) {
        if (f->placed && !f->backedUp)
            DeleteFileA(f->path.c_str());
        if (f->backedUp)
            Move(f->backup, f->path);
        f->placed = f->backedUp = false;
    }
}
