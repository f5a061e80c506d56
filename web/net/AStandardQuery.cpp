// Standard queries of the online service and their reply envelope.
#include "web/net/AStandardQuery.h"

#include <cstring>
#include <memory>

#include "base/object/AStringList.h"
#include "base/procedural/AError.h"
#include "framework/app/AApp.h"
#include "framework/app/ACursor.h"
#include "web/net/AppNetManager.h"

namespace {

// The system's wait cursor (IDC_WAIT).
const int16_t kWaitCursor = 32514;

// Closes and releases the connection however execute ends.
class ConnectionEnd {
public:
    explicit ConnectionEnd(AConnection* connection) : connection_(connection) {}
    ~ConnectionEnd() {
        try {
            if (connection_->session())
                connection_->close();
            connection_->release();
        } catch (...) {
        }
    }

private:
    AConnection* connection_;
};

}  // namespace

int16_t LeadingNumber(const char* line) {
    const char* p = line;
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    // Unsigned arithmetic wraps: the low 16 bits come out right however long the digits run.
    unsigned long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + static_cast<unsigned long>(*p - '0');
    if (negative)
        value = 0 - value;
    return static_cast<int16_t>(static_cast<uint16_t>(value & 0xFFFF));
}

AStandardQuery::AStandardQuery(AConnection* connection, const char* proxyAddress, const char* path,
                               const char* argument, const char* text, const char* suffix)
    : connection_(connection),
      proxyAddress_(proxyAddress),
      path_(path),
      argument_(argument),
      text_(text),
      suffix_(suffix) {}

void AStandardQuery::setReply(const char* text) {
    std::memset(reply_, 0, sizeof reply_);
    if (text)
        std::strncpy(reply_, text, sizeof reply_ - 1);
}

bool AStandardQuery::execute() {
    AApp* app = AApp::current();
    std::unique_ptr<AOwnerCursorGuard> cursor(app ? new AOwnerCursorGuard(app, kWaitCursor, 1) : nullptr);
    if (!connection_)
        ThrowAssert("wnet", 80);
    ConnectionEnd end(connection_);
    if (!connection_->open(proxyAddress_.c_str(), nullptr, nullptr))
        return false;
    connection_->setPath(path_.c_str());
    if (!connection_->connect())
        return false;
    std::memset(reply_, 0, sizeof reply_);
    bool fetched = connection_->fetchesUrls()
                       ? connection_->fetchUrl(path_.c_str(), argument_.c_str(), reply_)
                       : connection_->request(reply_, argument_.c_str(), text_.c_str(), suffix_.c_str());
    if (!fetched || !parseReply())
        return false;
    if (showMessage_ != 0 && app)
        app->messageBox(message_.c_str(), kNetworkErrorTitle, 0, nullptr);
    return true;
}

bool AStandardQuery::parseReply() {
    reply_[sizeof reply_ - 1] = 0;
    AStringList lines(reply_, '\n');
    short count = lines.count();
    if (count < 2 || _stricmp(lines.at(0), "<msg>") != 0)
        return false;
    short end = 1;
    while (end < count && _stricmp(lines.at(end), "</msg>") != 0)
        ++end;
    if (end == count)
        return false;
    for (short i = 1; i < end; ++i) {
        const char* line = lines.at(i);
        switch (i) {
            case 1:
                status_ = LeadingNumber(line);
                break;
            case 2:
                result_ = AString(line);
                break;
            case 3:
                showMessage_ = LeadingNumber(line);
                break;
            default:
                message_ += line;
                break;
        }
    }
    return true;
}
