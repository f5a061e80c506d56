// The option sheet behind the print and export dialogs: the words cached from
// the options file, the state of each option item and the key each click
// writes. Clicks are written to the file at once, so a cancelled dialog keeps
// them. The options object is not owned; without one the sheet reads zeros
// and writes nothing.
#pragma once

#include <cstdint>

class ALongDicInfo;

class AOptionSheet {
public:
    enum Kind : int16_t { kPrint, kExport };
    // Item states: enabled and unchecked, enabled and checked, disabled.
    static constexpr int16_t kOff = 1, kOn = 5, kDisabled = 2, kNotOurs = -1;

    explicit AOptionSheet(Kind kind) : kind_(kind) {}

    void setOptions(ALongDicInfo* options) { options_ = options; }
    ALongDicInfo* options() const { return options_; }
    // Reads keys 1, 2, 3, 5, 6, 7 and 9; the print sheet also 8 and 10.
    void load();
    // The state of an option item or of 1010; kNotOurs for other ids.
    int16_t status(int16_t id) const;
    // A click on an option item: writes its key; false for other ids.
    bool click(int16_t id);
    // The ids the sheet's dialog binds, besides 1010.
    static bool isOptionItem(Kind kind, int16_t id);

    int16_t selectionOnly() const { return selectionOnly_; }

private:
    long read(long key) const;
    void write(long key, int16_t value);

    Kind kind_;
    ALongDicInfo* options_ = nullptr;  // not owned
    int16_t hasSelection_ = 0, hasContents_ = 0, hasNotes_ = 0, textSize_ = 0;
    int16_t selectionOnly_ = 0, withContents_ = 0, withNotes_ = 0, withMedia_ = 0, mediaCaption_ = 0;
};
