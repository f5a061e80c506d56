// The history file: its writing, its all-or-nothing reading, the search-state table.
#include "app/prefs/AHistoManager.h"

#include <memory>
#include <new>
#include <vector>

#include "app/state/AppState.h"
#include "app/state/MarkedLines.h"
#include "base/object/ARefObj.h"
#include "base/procedural/AError.h"
#include "base/procedural/KyFile.h"

namespace {

// More than the main window ever keeps: a larger count is a damaged file.
const long kMaxCount = 32767;

// Clears the loading flag on every way out.
class LoadingGuard {
public:
    explicit LoadingGuard(int16_t& flag) : flag_(flag) { flag_ = 1; }
    ~LoadingGuard() { flag_ = 0; }
    LoadingGuard(const LoadingGuard&) = delete;
    LoadingGuard& operator=(const LoadingGuard&) = delete;

private:
    int16_t& flag_;
};

}  // namespace

AHistoManager::AHistoManager(const AFileSpec& folder, const char* name, int16_t mode, AHistoHost* host)
    : AContainerFile(folder, name, mode, 0), host_(host) {
    gSearchStateTable = this;
}

AHistoManager::~AHistoManager() {
    if (gSearchStateTable == this)
        gSearchStateTable = nullptr;
    readStates_.clear();
}

ASVLoSearchState* AHistoManager::findSearchState(long key) {
    auto at = table_.find(key);
    return at == table_.end() ? nullptr : at->second;
}

bool AHistoManager::registerSearchState(long key, ASVLoSearchState* state) {
    return table_.emplace(key, state).second;
}

void AHistoManager::unregisterSearchState(long key) {
    table_.erase(key);
}

bool AHistoManager::hasWebDocument(long docNo) {
    if (!host_)
        return false;
    int16_t left = host_->stateCount();
    for (AppState* state = host_->oldestState(); state && left-- > 0; state = state->getNext())
        if (state->getDocNo() == docNo && state->getDocState() && state->getDocState()->fDocType == 8)
            return true;
    return false;
}

void AHistoManager::write(AFileStream& stream, const AFileSpec& listFolder) {
    WriteMarkedInt(stream, "<!--nbSearchState-->", static_cast<long>(table_.size()));
    // A state's writing may not change the table: walk a copy.
    std::map<long, ASVLoSearchState*> states = table_;
    for (auto& entry : states) {
        WriteMarkedInt(stream, "<!--searchPtrkey-->", entry.first);
        entry.second->writeTo(stream, listFolder, 1);
    }
    int16_t count = host_ ? host_->stateCount() : 0;
    WriteMarkedInt(stream, "<!--nbState-->", count);
    AppState* state = count > 0 ? host_->oldestState() : nullptr;
    for (int16_t i = 0; i < count; ++i) {
        if (!state)
            ThrowAssert("appdata", __LINE__);
        state->write(stream);
        state = state->getNext();
    }
}

void AHistoManager::writeTo(AFileStream& stream) {
    if (host_)
        host_->setValidIniValue("ValidHistoQuit", "0");
    write(stream, host_ ? host_->tempFolder() : AFileSpec());
    if (host_)
        host_->setValidIniValue("ValidHistoQuit", "1");
}

void AHistoManager::writeCopyTo(AFileStream& stream, const AFileSpec& folder) {
    AFileSpec lists(folder, "histo");
    if (!lists.exists() && AFileSpec(lists.path().c_str(), true).empty())
        ThrowTyped(AFileSpecError("appdata", __LINE__, kFileErrPath));
    write(stream, lists);
}

void AHistoManager::read(AFileStream& stream, int16_t copy) {
    LoadingGuard loading(loading_);
    std::map<long, ASVLoSearchState*> before = table_;
    try {
        readWhole(stream, copy);
    } catch (...) {
        // The states made are gone with their references; the live ones are kept.
        table_ = before;
        throw;
    }
}

void AHistoManager::readWhole(AFileStream& stream, int16_t copy) {
    AFileSpec folder = host_ ? host_->tempFolder() : AFileSpec();
    long searchCount = ReadMarkedCount(stream, "<!--nbSearchState-->", 0, kMaxCount);
    if (searchCount > 0)
        table_.clear();
    // One reference on each search state read, until the states hold theirs.
    std::vector<std::unique_ptr<ARefHold<ASVLoSearchState>>> searches;
    for (long i = 0; i < searchCount; ++i) {
        long key = ReadMarkedInt(stream, "<!--searchPtrkey-->");
        if (findSearchState(key))
            ThrowStateFormat("search key read twice", __LINE__);
        auto* search = CheckAlloc(new (std::nothrow) ASVLoSearchState(key), "appdata", __LINE__);
        searches.emplace_back(new ARefHold<ASVLoSearchState>(search));
        search->readFrom(stream, copy, folder);
    }
    long count = ReadMarkedCount(stream, "<!--nbState-->", 0, kMaxCount);
    std::vector<std::unique_ptr<AppState>> states;
    for (long i = 0; i < count; ++i) {
        states.emplace_back(
            CheckAlloc(new (std::nothrow) AppState(0, 0, nullptr, nullptr, nullptr, nullptr, -1), "appdata", __LINE__));
        states.back()->read(stream);
    }
    // Whole: the main window takes the states, but a last one of screen mode 0.
    if (!states.empty() && states.back()->getScreenMode() == 0)
        states.pop_back();
    for (auto& state : states)
        if (host_)
            host_->addState(state.release());
    readStates_ = std::move(searches);
}
