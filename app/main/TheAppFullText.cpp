// The application's full-text search: the query run through the data
// manager's channel of the TEXT base, its hits kept in a new search state.
#include <new>

#include "app/main/TheApp.h"
#include "app/state/ASVLoSearchState.h"
#include "base/object/AError.h"
#include "search/facade/ALoVect.h"
#include "search/facade/ASearchRequest.h"

namespace {

// The index of the TEXT base in the base-descriptor table.
const short kTextBase = 5;

}  // namespace

ASVLoSearchState* TheApp::runFullTextSearch(int16_t mode, const char* query, int16_t flags) {
    (void)mode;
    (void)flags;
    AppDataManager* data = getDataManager();
    if (!data || !query || !*query)
        return nullptr;
    data->selectSearchChannel(kTextBase, 0, 0);
    ASearchChannel* channel = data->getSearchChannel(kTextBase);
    if (!channel || !channel->getRequest())
        return nullptr;
    channel->setQuestion(1, query);
    if (channel->execute() <= 0)
        return nullptr;
    auto* state = CheckAlloc(new (std::nothrow) ASVLoSearchState, "appclass", __LINE__);
    state->setQuery(query);
    state->setDisplayQuery(query);
    state->setTextResults(CheckAlloc(new (std::nothrow) ALoScore(*channel->getRequest(), 1), "appclass", __LINE__));
    return state;
}
