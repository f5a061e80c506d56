// The reader's navigation history ("sv.histo"): the search states that the
// main window's states refer to, then those states, oldest first; and, while
// the program runs, the table from search keys to the live search states.
//
//   <!--nbSearchState-->S
//   S times:  <!--searchPtrkey-->K   then the search state's text form
//   <!--nbState-->N
//   N times:  a navigation state's text form (oldest first)
//
// "ValidHistoQuit" of "valid.ini" is "0" while the file is written and "1"
// once it is whole. Reading is all or nothing: bad text (AStateFormatError)
// or a damaged list file (the lists' errors) leaves the main window as it was
// and the table without the states made; the error goes to the caller.
// Search states are not owned (the navigation states count references).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "app/state/ASVLoSearchState.h"
#include "base/object/ARefObj.h"
#include "framework/files/AContainerFile.h"

class AppState;

// What the history reads and fills: the application object over its main window.
class AHistoHost {
public:
    virtual ~AHistoHost() = default;
    virtual int16_t stateCount() = 0;
    // The oldest state of the chain (each next one by AppState::getNext), or null.
    virtual AppState* oldestState() = 0;
    // Hands a read state to the main window, which owns it from then on.
    virtual void addState(AppState* state) = 0;
    virtual void setValidIniValue(const char* key, const char* value) = 0;
    // The folder of the lists written with the history.
    virtual AFileSpec tempFolder() = 0;
};

class AHistoManager : public AContainerFile, public ASearchStateTable {
public:
    // The file `name` in `folder`; becomes gSearchStateTable.
    AHistoManager(const AFileSpec& folder, const char* name, int16_t mode, AHistoHost* host);
    ~AHistoManager() override;

    ASVLoSearchState* findSearchState(long key) override;
    bool registerSearchState(long key, ASVLoSearchState* state) override;
    void unregisterSearchState(long key) override;
    // Some state of the history shows web page docNo (document type 8).
    bool hasWebDocument(long docNo);
    bool isLoading() const { return loading_ != 0; }

    // Writes the history into a file of the same name in folder, its lists
    // in folder's subfolder "histo".
    void writeToFolder(const AFileSpec& folder) { saveCopyIn(folder); }

protected:
    void readFrom(AFileStream& stream) override { read(stream, 0); }
    void writeTo(AFileStream& stream) override;
    void writeCopyTo(AFileStream& stream, const AFileSpec& folder) override;
    // The history with every list file copied into the temporary folder first.
    void readAlternateFrom(AFileStream& stream) override { read(stream, 1); }

private:
    void read(AFileStream& stream, int16_t copy);
    void readWhole(AFileStream& stream, int16_t copy);
    void write(AFileStream& stream, const AFileSpec& listFolder);

    std::map<long, ASVLoSearchState*> table_;  // not owned
    // One reference on each search state of the last reading: a state no
    // navigation state uses stays in the table and is saved again.
    std::vector<std::unique_ptr<ARefHold<ASVLoSearchState>>> readStates_;
    AHistoHost* host_;                         // not owned
    int16_t loading_ = 0;
};
