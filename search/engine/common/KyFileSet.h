// A set of files replaced together: every file is written to a temporary
// sibling first, then the set replaces the old files all at once or not at all.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Test seam: the step (from 1, counted in KyFileSetSteps since it was last set
// to 0) that fails, 0 for none. Writing a temporary and replacing a file are
// one step each.
extern int KyFileSetFailStep;
extern int KyFileSetSteps;

// Not copyable. Temporaries left by a failed or abandoned set are deleted by
// the destructor; the old files stay as they were.
class KyFileSet {
public:
    KyFileSet() = default;
    KyFileSet(const KyFileSet&) = delete;
    KyFileSet& operator=(const KyFileSet&) = delete;
    ~KyFileSet();

    // Writes bytes as path's temporary. "" or the reason.
    std::string write(const std::string& path, const std::string& bytes);
    // Lets writer fill path's temporary (it is given the temporary's name and
    // answers "" or the reason). "" or the reason.
    std::string writeWith(const std::string& path, const std::function<std::string(const std::string&)>& writer);
    // Replaces every file of the set by its temporary. On failure every file
    // is put back as it was. "" or the reason.
    std::string commit();

private:
    struct Staged {
        std::string path, temp, backup;
        bool hadOld = false, backedUp = false, placed = false;
    };
    void rollBack();
    std::vector<Staged> files_;
};
