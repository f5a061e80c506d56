// A standard query: one request of the online service over a connection,
// and the reading of its reply envelope:
//
//   <msg>            first line, any case
//   STATUS           decimal, leading digits only, kept in 16 bits
//   RESULT           the whole line
//   SHOW             decimal, 16 bits; not 0: execute shows MESSAGE
//   MESSAGE...       every further line, run together
//   </msg>           any case; what follows is ignored
//
// Lines end at LF only, so a CR before it stays part of its line. Missing
// lines leave their fields as they were. The connection is not owned and
// must be set (assertion "wnet"); a reply that does not parse makes execute
// answer false without an alert of its own.
#pragma once

#include <cstdint>

#include "base/object/AString.h"
#include "web/net/AConnection.h"

class AStandardQuery {
public:
    AStandardQuery(AConnection* connection, const char* proxyAddress, const char* path, const char* argument,
                   const char* text, const char* suffix);
    virtual ~AStandardQuery() = default;
    AStandardQuery(const AStandardQuery&) = delete;
    AStandardQuery& operator=(const AStandardQuery&) = delete;

    // Open, path, connect, request, parse; the message shown when asked;
    // then close and release in every case. True when all of it succeeded.
    bool execute();
    // Reads the reply buffer into the four reply fields; true when well formed.
    virtual bool parseReply();

    int16_t status() const { return status_; }
    int16_t showMessage() const { return showMessage_; }
    AString result() const { return result_; }
    AString message() const { return message_; }
    const char* reply() const { return reply_; }
    // Replaces the reply text (cut to the buffer), for parsers run on their own.
    void setReply(const char* text);

protected:
    char reply_[AConnection::kReplySize] = {};
    int16_t status_ = 0;
    int16_t showMessage_ = 0;
    AString result_;
    AString message_;

private:
    AConnection* connection_;  // not owned
    AString proxyAddress_;
    AString path_;
    AString argument_;
    AString text_;
    AString suffix_;
};

// The 16-bit value of a line's leading decimal digits (after blanks and a sign), as atol reads them.
int16_t LeadingNumber(const char* line);
