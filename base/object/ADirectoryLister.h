// Lists the entries of a folder, by default skipping names that begin with a dot.
#pragma once

#include "base/object/AFileSpec.h"

class ADirectoryLister {
public:
    enum Names {
        kSkipDotNames,  // what the folder pickers show: no hidden ".name" entries
        kAllNames,      // every entry but "." and "..", for walks that must see everything
    };

    // Keeps a copy of the folder; the search starts at first().
    explicit ADirectoryLister(const AFileSpec& folder, Names names = kSkipDotNames);
    ADirectoryLister(const ADirectoryLister&) = delete;
    ADirectoryLister& operator=(const ADirectoryLister&) = delete;
    virtual ~ADirectoryLister();

    // The first or next entry (the folder joined with its name), or an empty spec at the end.
    AFileSpec first();
    AFileSpec next();
    bool hasEntry() const { return !entry_.empty(); }
    bool entryIsDirectory() const;
    AFileSpec entrySpec() const { return entry_; }

private:
    // Makes the named entry current; null: no entry.
    void take(const char* name, unsigned long attributes);

    AFileSpec entry_;
    AFileSpec folder_;
    AString pattern_;
    Names names_;
    unsigned long attributes_ = 0;
    void* search_ = nullptr;  // the system's search handle, null before the first search
};
