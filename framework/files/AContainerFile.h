// A small file that belongs to one object and is loaded and saved whole: the
// base decides when the file is opened, in which mode, what a missing file
// means and how it is replaced; subclasses read and write its contents.
//
// Errors: the file layer's failures raise AFileSpecError, a damaged file
// (a reader raising AFileError) is passed on to the caller of load, and the
// container then refuses to save over it (AFileError "fextras", kDamaged)
// until a load succeeds. A save writes a temporary sibling of its own process,
// then replaces the file, so a failed or interrupted save leaves the old file
// whole. A file that another process holds while replacing it is tried again
// for a while, by the load and by the replace, before either fails.
#pragma once

#include <cstdint>

#include "base/object/AFileSpec.h"
#include "base/object/AString.h"

class AError;
class AFileStream;

class AContainerFile {
public:
    // Raised by save after a load that failed.
    enum : long { kDamaged = 2020 };

    // The file `name` in `folder`. Does not open it.
    AContainerFile(const AFileSpec& folder, const char* name, int16_t scrambled, int16_t readOnly);
    // The file `name` in the application's user folder, or in its subfolder
    // `subFolder` (made when missing) unless that is empty. Does not open it.
    AContainerFile(const char* name, const char* subFolder, int16_t scrambled, int16_t readOnly);
    AContainerFile(const AContainerFile&) = delete;
    AContainerFile& operator=(const AContainerFile&) = delete;
    virtual ~AContainerFile();

    // Reads the file, or sets the defaults when it does not exist.
    void load();
    void loadAlternate();
    // Replaces the file with what writeTo writes, unless read-only.
    void save();
    // Writes writeCopyTo's contents into a file of the same name in `folder`.
    void saveCopyIn(const AFileSpec& folder);
    // True when the file's first byte is 0x00..0x08 or 0x80..0xFF; an
    // unreadable file raises AFileError.
    int16_t looksScrambled();
    // True for an error of load that says the file could not be opened or
    // read (held by another process, refused), not that its contents are damaged.
    static bool IsAccessFailure(const AError& error);

    const AFileSpec& file() const { return fFile; }
    const AString& name() const { return fName; }
    int16_t scrambled() const { return fScrambled; }
    int16_t readOnly() const { return fReadOnly; }
    void setReadOnly(int16_t readOnly) { fReadOnly = readOnly; }
    // Chooses how the next save writes the file (a store read scrambled may be written plain).
    void setScrambled(int16_t scrambled) { fScrambled = scrambled; }

protected:
    virtual void readFrom(AFileStream&) {}
    virtual void writeTo(AFileStream&) {}
    virtual void setDefaults() {}
    virtual void writeCopyTo(AFileStream&, const AFileSpec&) {}
    virtual void readAlternateFrom(AFileStream&) {}

private:
    void loadWith(bool alternate);
    void loadOnce(bool alternate);
    // Writes through write into a sibling of target, then puts it in target's place.
    template <class Write>
    void replace(const AFileSpec& target, Write write);

    int16_t fReadOnly;
    AString fName;
    AString fSubFolder;
    AFileSpec fFile;
    int16_t fScrambled;
    bool fDamaged = false;  // the last load failed: its file is not saved over
};
