// The online search of a result list's search state: the query goes to the
// service's search script, the answer into a ".net" file of the temporary
// folder recorded under the index entry searched, so the service is asked
// once per entry and state.
//
// Answer files are created exclusively ("<base><entry>.net", or with a
// numbered suffix when that name is taken), so a search never writes over
// another state's file; a failed search deletes its file.
#pragma once

#include <cstdint>

#include "base/object/AString.h"

class AOnlineHost;
class ASVLoSearchState;

class ANetSearch {
public:
    static const char* const kErrorText;

    explicit ANetSearch(AOnlineHost* host) : host_(host) {}

    // Nothing when the entry already has its file or the service may not be used.
    void searchOnline(ASVLoSearchState& state, long entry, const char* action, long id);
    // 1 when the answer was saved into the named file it made (name), else 0 (the reader is told).
    int16_t runNetSearch(ASVLoSearchState& state, AString& name, const char* base, const char* action, long id);
    AString makeNetRequest(const ASVLoSearchState& state, const char* action, long id);
    // At most 12 characters of the query that are safe in a file name.
    static AString makeNetFileBase(const AString& query);
    void showNetError();

private:
    AOnlineHost* host_;
};
