// File boxes: the common Open and Save As dialogs, shown modally by the
// constructors, then read (confirmed or not, the chosen file, its name part,
// the selected filter). All boxes share one remembered folder, the folder of
// the last confirmed choice, where the next box opens.
//
// A cancelled or failed dialog leaves ok() at 0 and reports nothing; a chosen
// path the file layer refuses raises AFileSpecError. The process's current
// folder is the same after a box as before it.
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"
#include "base/object/Alist.h"

class AResourceRef;

class AFileFilter {
public:
    AFileFilter(const char* pattern, const char* description);
    AFileFilter(const AString& pattern, const char* description);
    // The description is item `item` (from 0) of the string list `list`.
    AFileFilter(const AString& pattern, const AResourceRef& list, short item);
    AFileFilter(const AFileFilter& other) = default;
    // "*.*" with "Tous les fichiers" (item 3 of the framework's list 129).
    static AFileFilter defaultFilter();

    AString pattern;
    AString description;
};

// Filters in the order added; owns them.
class AFileFilterList {
public:
    AFileFilterList() = default;
    AFileFilterList(const AFileFilterList&) = delete;
    AFileFilterList& operator=(const AFileFilterList&) = delete;
    ~AFileFilterList();

    void add(const AFileFilter& filter);
    short count() const { return list_.count(); }
    // The index-th filter (0 first); index must be below count.
    const AFileFilter& at(short index) const;

private:
    mutable Alist list_;  // values: owned AFileFilter
};

// The common dialog call (OPENFILENAMEA*, save flag; nonzero: confirmed).
// Tests replace it to see the record and answer; null restores the system's.
using AFileDialogCall = int (*)(void* record, bool isSave);
AFileDialogCall SetFileDialogCall(AFileDialogCall call);

class AFileBoxBase {
public:
    AFileBoxBase() = default;
    AFileBoxBase(const AFileBoxBase&) = delete;
    AFileBoxBase& operator=(const AFileBoxBase&) = delete;
    virtual ~AFileBoxBase() = default;

    int16_t ok() const { return ok_; }
    int16_t filterIndex() const { return filterIndex_; }
    AFileSpec fileSpec() const { return file_; }
    const AString& fileName() const { return fileName_; }
    // The folder the next box opens in; "" until one is known.
    static const char* rememberedFolder();

protected:
    // Shows the dialog: an empty list gets the default filter, an index not
    // below the filter count becomes 0. title may be null (the system's).
    void runDialog(const char* title, const AFileSpec& initialFile, AFileFilterList& filters, int16_t filterIndex,
                   bool isSave);

private:
    AString fileName_;
    AFileSpec file_;
    int16_t filterIndex_ = 0;
    int16_t ok_ = 0;
};

// The Save As box.
class AFileBox : public AFileBoxBase {
public:
    AFileBox(const AFileSpec& initialFile, const AFileFilter& filter, const char* title);
    // pairs: (pattern, description) up to the first null pattern; null for none.
    AFileBox(const AFileSpec& initialFile, const char* const (*pairs)[2], int16_t filterIndex, const char* title);
};

// The Open box; initialFile may be null.
class AOpenFileBox : public AFileBoxBase {
public:
    AOpenFileBox(const AFileFilter& filter, const char* title, const AFileSpec* initialFile);
};
