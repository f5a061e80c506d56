// The data manager's room titles and the addresses of the help, assistance
// and guide pages.
#include <string>

#include "app/data/AppDataManager.h"
#include "app/state/AppState.h"
#include "base/object/AFile.h"
#include "base/procedural/AError.h"
#include "search/facade/ADataLocation.h"
#include "search/facade/ASearchBase.h"

namespace {

// Rows of a room type: the first whose user-info key is non-zero (key 0:
// always) gives the room key.
struct RoomRow {
    int16_t type;
    long key;
    const char* room;
};

const RoomRow kRooms[] = {
    {1, 0, "SALLE_ART_TITLE"},           {2, 0, "SALLE_BIBLIO_TITLE"},      {3, 0, "SALLE_INIT_TITLE"},
    {4, 0, "SALLE_HISTGEO_TITLE"},       {5, 0, "SALLE_MEDIATHEQUE_TITLE"}, {6, 1175, "SALLE_MUS_CHRONO_TITLE"},
    {6, 1176, "SALLE_MUS_GENEAL_TITLE"}, {6, 0, "SALLE_MUSIQUE_TITLE"},     {7, 1174, "SALLE_MARS_TITLE"},
    {7, 0, "SALLE_SCIENCE_TITLE"},       {8, 0, "SALLE_SPORT_TITLE"},       {9, 0, "SALLE_AUTEURS_TITLE"},
};

}  // namespace

AString AppDataManager::getSalleTitle(int16_t type, AppState* state) {
    if (type < 1)
        return AString();
    if (!state && (type == 6 || type == 7) && host_)
        state = host_->currentState();
    std::string key = "W";
    for (const RoomRow& row : kRooms) {
        if (row.type != type)
            continue;
        if (row.key == 0 || (state && state->getUserInfo(row.key) != 0)) {
            key += row.room;
            break;
        }
    }
    ADataLocation* config = getDataLocation();
    return config ? config->getString(key.c_str()) : AString();
}

// The folder above the one that holds the "MAJ" file.
AFileSpec AppDataManager::dataRoot() {
    ADataLocation* config = getDataLocation();
    if (!config)
        ThrowAssert("appdata", __LINE__);
    AFileSpec file = config->getFile("MAJ").getSpec();
    return file.parent(false).parent(false);
}

AFileSpec AppDataManager::getHelpFolder() {
    return AFileSpec(dataRoot(), "aide");
}

namespace {

AString PageUrl(const AFileSpec& folder, const AString& name) {
    if (name.empty())
        ThrowAssert("appdata", __LINE__);
    AFileSpec file(folder, name.c_str());
    if (!file.exists())
        ThrowAssert("appdata", __LINE__);
    return PathToFileUrl(file.path().c_str());
}

}  // namespace

AString AppDataManager::getHelpMainUrl() {
    return PageUrl(getHelpFolder(), getDataLocation()->getString("HTMLAIDEMAIN"));
}

AString AppDataManager::getAssistUrl() {
    return PageUrl(AFileSpec(dataRoot(), "assist"), getDataLocation()->getString("HTMLASSIST"));
}

AString AppDataManager::getGuideUrl(long record) {
    ASearchBase* aide = needBase(12, __LINE__);
    if (record < 0 || record >= aide->getRecordCount(0))
        return AString();
    AString name = aide->getText(0, record, 1);
    if (name.empty())
        return AString();
    AFileSpec file(AFileSpec(AFileSpec(getHelpFolder(), "guide"), "guides HTML"), name.c_str());
    return file.exists() ? PathToFileUrl(file.path().c_str()) : AString();
}
