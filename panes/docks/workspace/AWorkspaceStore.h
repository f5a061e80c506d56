// What the two workspace stores share: a container file written plain and
// read plain or scrambled, whose damaged file is moved aside (KeepDamagedFile)
// so that the store starts as for a missing file and the application can
// tell the reader.
#pragma once

#include "framework/files/AContainerFile.h"

class AError;

class AWorkspaceStore : public AContainerFile {
public:
    AWorkspaceStore(const AFileSpec& folder, const char* name) : AContainerFile(folder, name, 1, 0) {}
    // The file in the application's user folder.
    explicit AWorkspaceStore(const char* name) : AContainerFile(name, "", 1, 0) {}

    void save() { AContainerFile::save(); }
    // The last load found the file damaged: the line where it showed.
    bool loadFailed() const { return loadErrorLine_ >= 0; }
    long loadErrorLine() const { return loadErrorLine_; }
    // Where the damaged file was kept; empty when it could not be moved.
    const AString& keptAs() const { return keptAs_; }

protected:
    // Loads the file; the subclass's constructor calls it once its own fields are made.
    void loadStore();
    // The destructor's save: an error there has no one to go to.
    void saveQuietly() noexcept;
    // Drops everything a failed read left.
    virtual void forgetAll() = 0;

private:
    void keepAside(const AError& error, long line);

    long loadErrorLine_ = -1;
    AString keptAs_;
};
