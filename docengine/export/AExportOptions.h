// The export option file ("export.prf"): the folder of the last export, kept
// between runs in the option-file format shared by the program's ".prf"
// files. Loaded when made (a missing file gives no options), saved when
// destroyed or asked; a save goes to a temporary sibling first, so a failed
// one keeps the old file. Unreadable or short files read as far as they go.
#pragma once

#include <map>
#include <string>

#include "base/object/AFileSpec.h"

class AExportOptions {
public:
    explicit AExportOptions(const AFileSpec& file);
    virtual ~AExportOptions();
    AExportOptions(const AExportOptions&) = delete;
    AExportOptions& operator=(const AExportOptions&) = delete;

    // The folder of the last export; empty when none was kept.
    AFileSpec getFolder() const;
    void setFolder(const AFileSpec& folder);
    // False when the file could not be written (the old one stays).
    bool save() const;

    // The option text as the file holds it (tests and the format's readers).
    static std::string format(const std::map<long, long>& numbers, const std::map<long, std::string>& texts);
    static void parse(const std::string& text, std::map<long, long>* numbers, std::map<long, std::string>* texts);

private:
    AFileSpec file_;
    std::map<long, long> numbers_;
    std::map<long, std::string> texts_;  // key 0: the folder's path
};
