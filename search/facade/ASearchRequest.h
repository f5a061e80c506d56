// Search requests: the application's handle on one engine request of a mounted
// base (question items numbered from 1, item 0 the whole request), its run, hit
// count and hits, with a cache of catalogue numbers on catalogued bases; and
// the search channel that owns a request and hears its notifications.
//
// A request holds one user of its base object. Requests of one base and name
// share the engine request, which closes with the last of them. Engine
// failures raise ASearchError; bad item numbers and a missing cache raise the
// assertion ("ureq").
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "base/object/AString.h"
#include "search/engine/lists/Lo.h"
#include "search/engine/request/KyRequest.h"

class ADataLocation;
class AMountedBase;
class ASearchChannel;

// A question item: its text and operator (0 AND, 1 OR, 2 EX).
struct ASearchItem {
    AString text;
    int32_t op = 0;
};

class ASearchRequest {
public:
    // Opens the request name of the base; raises when the engine refuses.
    ASearchRequest(ADataLocation& location, AMountedBase* base, const char* name);
    // The same on gDataLocation's base of the name (the application's form).
    ASearchRequest(const char* base, const char* name);
    virtual ~ASearchRequest();
    ASearchRequest(const ASearchRequest&) = delete;
    ASearchRequest& operator=(const ASearchRequest&) = delete;

    // Forwarded to the listener; nothing (empty items) without one. The
    // engine's run tells notify of each question item it evaluates (status).
    virtual void notify(short item, long value);
    virtual ASearchItem getItemLabel(short item);
    virtual ASearchItem getItemValue(short item);
    virtual void notifyEnd(short item, long value);

    // Lets the engine request go now (the object is deleted later); every
    // other operation then raises the assertion.
    void close();
    // Attaches a channel (null detaches); not owned.
    void setListener(ASearchChannel* channel) { listener = channel; }
    ASearchChannel* getListener() const { return listener; }
    short getItemCount() const { return itemCount; }
    const ASearchItem& item(short i) const;

    void setFieldText(short i, const char* text);
    void setQuestion(short i, const char* text, long op);
    // Gives items first..last the operator and brackets the run.
    void setFieldOption(short first, short last, short op);
    // Searches part i of the base again.
    void clearField(uint8_t part);
    // Runs in mode i (0 the whole request) with the document filter (or null);
    // answers the engine's code. Rebuilds the cache on catalogued bases.
    long execute(short i, KY_DocFilter filter = nullptr, void* argument = nullptr);
    // Hits of the whole request (0) or of item i: the count, 0 when the run
    // found nothing, -1 when there is no run (never raises).
    long getResultCount(short i);
    // The reference (or catalogue number) of hit k, from 1.
    long getResultDoc(long k);
    // Hit k (from 1): a document reference, or on catalogued bases the
    // catalogue number (k is then checked against the cache).
    void getResultDoc(long* out, long* k);
    // Scored hit k; on catalogued bases the first cache entry, k the count.
    void getScoredDoc(long* k, long* out);
    // The words of the current question (flag 0) or its second list,
    // null-terminated, valid until the next call; null when there are none.
    const char* const* getQuestionTerms(long unused, short flag) const;
    // The field text item i keeps ("" for none).
    const char* getFieldLabel(short i) const;
    // The largest weight of items 1..itemCount, at least 1.
    short getItemBound() const;
    // The cache index of x, or where it would be inserted.
    long findInCache(long x) const;
    long getCacheCount() const { return cacheCount; }
    // The first failure of the listener during a run, raised when it ends.
    void keepListenerError(std::exception_ptr e) {
        if (!listenerError)
            listenerError = e;
    }
    bool isCatalogued() const { return catalogued != 0; }

    // A new handle on the whole request's result list, or -1 without one; the
    // caller frees it (LoFree). Its document bound and entry count (0 without
    // a list) in bound and count.
    LoHandle openResult(long* bound, long* count) const;

private:
    void wake() const;
    void dropCache();
    void rebuildCache();
    void checkItem(short i, short lowest) const;

    mutable std::vector<std::string> terms;
    mutable std::vector<const char*> termList;  // into terms, null-terminated
    AMountedBase* base;                         // one user held
    ADataLocation& location;
    KY_Request* handle;        // the engine's, shared by name
    ASearchChannel* listener;  // not owned, or null
    int16_t itemCount;
    std::vector<ASearchItem> items;  // items[0] stands for item 1
    int32_t* cache;                  // owned, or null
    int32_t cacheCount;
    int16_t catalogued;
    int32_t cursor;
    std::exception_ptr listenerError;
};

// A wait shown while a channel's request runs; it ends with the object.
class ASearchWait {
public:
    virtual ~ASearchWait() = default;
};

// What a channel asks of the data manager that made it. The manager lives
// above the search layer: channels know it only through this interface.
class ASearchChannelHost {
public:
    virtual ~ASearchChannelHost() = default;
    // The name of base index, which names the channel's request.
    virtual AString getBaseName(short index) = 0;
    virtual ADataLocation* getChannelLocation() = 0;
    // A new wait for the run that starts (the caller deletes it), or null.
    virtual ASearchWait* beginWait() { return nullptr; }
};

// Owns one request of the application's data location and receives its
// notifications; the application derives its channels from it.
//
// A channel of the data manager (made with host and base index) has a request
// only while it is the current one: open makes it, close deletes it.
// setQuestion and execute without a request raise the assertion ("udatamgr").
class ASearchChannel {
public:
    // Raises when gDataLocation cannot open the request.
    ASearchChannel(const char* base, const char* request);
    // Closed: no request until open.
    ASearchChannel(ASearchChannelHost* host, short index);
    virtual ~ASearchChannel();
    ASearchChannel(const ASearchChannel&) = delete;
    ASearchChannel& operator=(const ASearchChannel&) = delete;

    virtual void notify(short, long) {}
    virtual ASearchItem getItemValue(short) { return ASearchItem(); }
    virtual ASearchItem getItemLabel(short) { return ASearchItem(); }
    virtual void notifyEnd(short, long) {}
    // A count right-aligned in five columns; a negative one ". . . ." (flag 0)
    // or "" (flag not 0).
    virtual AString formatCount(short flag, long count);

    // Makes the request "SEARCH" of the host's base (engine errors pass
    // through); a request already there is closed first.
    void open();
    // Deletes the request, if any.
    void close();
    // Sets the question of item field (1 for a plain query).
    void setQuestion(short field, const char* text);
    // Runs the whole request with the filter and its argument under the
    // host's wait; keeps the engine's answer as result and answers the
    // request's hit count (0 without hits, -1 when the run gave no result).
    long execute(KY_DocFilter filter = nullptr, void* argument = nullptr);

    ASearchRequest* getRequest() const { return request; }
    short getIndex() const { return index; }
    int16_t hasHits() const { return hits; }
    long getResult() const { return result; }

protected:
    ASearchRequest* request;  // owned, or null

private:
    ASearchChannelHost* host;  // not owned; null for a channel made by name
    int16_t index;
    int16_t hits;
    long result;
};
