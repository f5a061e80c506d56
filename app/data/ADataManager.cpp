// The data manager: bases opened on demand, one search channel per base.
#include "app/data/ADataManager.h"

#include <cstring>
#include <memory>

#include "base/procedural/AError.h"
#include "base/object/ARefObj.h"
#include "framework/app/ACursor.h"
#include "search/engine/request/KyRequest.h"
#include "search/engine/lists/Lo.h"
#include "search/engine/descriptor/MkDoom.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/SearchError.h"
#include "search/facade/ASearchBase.h"

const BaseDescriptor* gBaseDescriptors = nullptr;
ADataManager* gDataManager = nullptr;

namespace {

// The application's animated search cursor.
const int16_t kSearchCursor = 312;

class CursorWait : public ASearchWait {
public:
    explicit CursorWait(AApp* app) : guard(app, kSearchCursor, 1) {}

private:
    AOwnerCursorGuard guard;
};

// A plain folder name: no separator, drive or parent step can take the
// folder out of the application's temporary folder.
bool IsPlainName(const char* name) {
    if (!name || !*name || !std::strcmp(name, ".") || !std::strcmp(name, ".."))
        return false;
    return !std::strpbrk(name, "\\/:*?\"<>|");
}

}  // namespace

bool SelectSearchableChannel(ADataManager* data, short index, short option1, short option2) {
    const long kNoSuchForm = 1310;
    try {
        data->selectSearchChannel(index, option1, option2);
    } catch (const ASearchError& e) {
        if (e.code() == kNoSuchForm)
            return false;
        throw;
    }
    return true;
}

ASearchRequest* StartSearchRequest(ADataManager* data, ASearchChannel* channel, short index, short option1,
                                   short option2) {
    if (!SelectSearchableChannel(data, index, option1, option2))
        return nullptr;
    ASearchRequest* request = channel->getRequest();
    if (!request)
        return nullptr;
    channel->setQuestion(1, "");
    request->clearField(0);
    return request;
}

long DocRecordOf(long reference, long firstCount) {
    if (reference < 0)
        return -1;
    int32_t number = 0;
    int base = 0;
    KY_SplitDocRef(&number, &base, static_cast<KyDocRef>(reference));
    return base <= 0 ? number : number + firstCount;
}

ADataManager::ADataManager(ADataLocation* dataLocation) {
    gDataManager = this;
    setDataLocation(dataLocation);
}

ADataManager::~ADataManager() {
    for (ARefObj*& object : shared)
        ReleaseAndNull(object);
    releaseAll();
    bases.clear();
    channels.clear();
    if (madeTempFolder && tempFolder.exists()) {
        try {
            tempFolder.removeTree(true);
        } catch (const AError&) {
            // A file still open inside stays; the folder is the system's to clean.
        }
    }
    if (gDataManager == this)
        gDataManager = nullptr;
}

void ADataManager::setDataLocation(ADataLocation* dataLocation) {
    if (dataLocation == location)
        return;
    if (location)
        ThrowAssert("udatamgr", 60);
    location = dataLocation;
    if (count != 0)
        return;
    int16_t n = 0;
    while (gBaseDescriptors && gBaseDescriptors[n].tableList)
        ++n;
    count = n;
    if (count > 0) {
        bases.assign(static_cast<size_t>(count), nullptr);
        channels.assign(static_cast<size_t>(count), nullptr);
    }
    current = -1;
}

void ADataManager::checkIndex(short index, long line) const {
    if (index < 0 || index >= count || bases.empty())
        ThrowAssert("udatamgr", line);
}

ASearchBase* ADataManager::getBase(short index) {
    checkIndex(index, 80);
    ASearchBase*& slot = bases[static_cast<size_t>(index)];
    const BaseDescriptor& entry = gBaseDescriptors[index];
    if (!slot && entry.tableList) {
        if (!location)
            ThrowAssert("udatamgr", 85);
        slot = location->openBase(entry.tableList, entry.option);
    }
    return slot;
}

AString ADataManager::getBaseName(short index) {
    checkIndex(index, 92);
    return AString(gBaseDescriptors[index].name);
}

ASearchChannel* ADataManager::getSearchChannel(short index) {
    checkIndex(index, 97);
    ASearchChannel*& slot = channels[static_cast<size_t>(index)];
    if (!slot)
        slot = CheckAlloc(new (std::nothrow) ASearchChannel(this, index), "udatamgr", 100);
    return slot;
}

void ADataManager::selectSearchChannel(short index, short option1, short option2) {
    LoScoreMode = option2 ? 1 : option1;
    LoFirstPosMode = option2;
    if (index == current)
        return;
    if (index != -1)
        checkIndex(index, 110);
    if (current != -1) {
        ASearchChannel* previous = getSearchChannel(current);
        closingChannel(previous->getRequest());
        previous->close();
    }
    // A channel that fails to open is not left current without a request.
    current = -1;
    if (index != -1)
        getSearchChannel(index)->open();
    current = index;
}

void ADataManager::releaseBase(short index) {
    checkIndex(index, 121);
    size_t i = static_cast<size_t>(index);
    // Deleting the current channel would leave an index whose new channel is
    // never opened: none is current afterwards.
    if (index == current) {
        if (channels[i]) {
            closingChannel(channels[i]->getRequest());
            channels[i]->close();
        }
        current = -1;
    }
    ASearchChannel* channel = channels[i];
    channels[i] = nullptr;
    delete channel;
    ASearchBase* base = bases[i];
    bases[i] = nullptr;
    delete base;
}

void ADataManager::releaseAll() {
    for (short i = 0; i < count && !bases.empty(); ++i)
        releaseBase(i);
    current = -1;
}

void ADataManager::releaseDiscBases() {
    for (short i = 0; i < count && !bases.empty(); ++i)
        if (bases[static_cast<size_t>(i)] && bases[static_cast<size_t>(i)]->isOnDisc())
            releaseBase(i);
    if (location)
        KY_ForEachBase(location->getMount());
}

void ADataManager::setSharedObject(int which, ARefObj* object) {
    if (which < 0 || which > 1)
        ThrowAssert("udatamgr", 150);
    AssignRef(shared[which], object);
}

ARefObj* ADataManager::getSharedObject(int which) const {
    if (which < 0 || which > 1)
        ThrowAssert("udatamgr", 156);
    return shared[which];
}

const AFileSpec& ADataManager::makeTempFolder(const AFileSpec& parent, const char* name) {
    if (madeTempFolder || !tempFolder.empty())
        ThrowAssert("udatamgr", 162);
    if (parent.empty() || !parent.isDirectory() || !IsPlainName(name))
        return tempFolder;
    AFileSpec folder(parent, name);
    if (folder.parent(false) != parent)
        return tempFolder;
    if (folder.exists()) {
        if (folder.isDirectory())
            tempFolder = folder;
        return tempFolder;
    }
    if (folder.createDirectory() == 0) {
        tempFolder = folder;
        madeTempFolder = true;
    }
    return tempFolder;
}

ASearchWait* ADataManager::beginWait() {
    if (!cursorOwner)
        return nullptr;
    return CheckAlloc(new (std::nothrow) CursorWait(cursorOwner), "udatamgr", 180);
}

long ADataManager::getDocRecord(long reference) {
    // Base 13 (HDFILES), table 1 (HDGINFO): the information records.
    const short kInfoBase = 13;
    const short kInfoTable = 1;
    // Only a reference beyond base index 0 depends on the count: the base
    // is opened for those alone.
    if (DocRecordOf(reference, 0) == DocRecordOf(reference, 1))
        return DocRecordOf(reference, 0);
    ASearchBase* base = getBase(kInfoBase);
    if (!base)
        ThrowAssert("udatamgr", 195);
    return DocRecordOf(reference, base->getRecordCount(kInfoTable));
}

void ADataManager::closingChannel(ASearchRequest*) {}
