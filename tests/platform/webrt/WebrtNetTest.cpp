// The runtime layer's network tier: URIs, and stream loads over "file:",
// "about:blank" and "http:" (origin server, refused port, proxy, 401).
#include "tests/platform/webrt/RuntimeFolders.h"

#include "tests/base/procedural/NetTestSupport.h"

#include "platform/webrt/nsComponents.h"
#include "platform/webrt/nsEmbedding.h"
#include "platform/webrt/nsNetwork.h"
#include "platform/webrt/nsPrompts.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

std::string TinyproxyLog() {
    return ReadAll(NetServerDir() + "/tinyproxy.log");
}

// Writes each header as "Name: value\n".
class HeaderText : public nsSupportsImpl<nsIHttpHeaderVisitor> {
public:
    nsresult VisitHeader(const nsACString& header, const nsACString& value) override {
        text += header + ": " + value + "\n";
        return NS_OK;
    }
    std::string text;
};

// Counts completions and keeps the last one.
class Completion : public nsSupportsImpl<nsIStreamLoaderObserver> {
public:
    nsresult OnStreamComplete(nsIStreamLoader* loader, nsISupports*, nsresult s, PRUint32 length,
                              const PRUint8* result) override {
        ++count;
        status = s;
        body.assign(reinterpret_cast<const char*>(result), result ? length : 0);
        reportedLength = length;
        nsPtr<nsIRequest> request;
        loader->GetRequest(request.receive());
        nsPtr<nsIHttpChannel> http = QueryAs<nsIHttpChannel>(request.get());
        if (http) {
            http->GetResponseStatus(&httpStatus);
            nsPtr<HeaderText> sent(new HeaderText), received(new HeaderText);
            http->VisitRequestHeaders(sent.get());
            http->VisitResponseHeaders(received.get());
            requestHeaders = sent->text;
            responseHeaders = received->text;
        }
        nsPtr<nsIChannel> channel = QueryAs<nsIChannel>(request.get());
        if (channel) {
            channel->GetContentType(contentType);
            nsPtr<nsIURI> uri;
            channel->GetURI(uri.receive());
            if (uri)
                uri->GetSpec(finalUrl);
        }
        return NS_OK;
    }
    std::string finalUrl;
    int count = 0;
    nsresult status = NS_OK;
    PRUint32 reportedLength = 0, httpStatus = 0;
    std::string body, contentType, requestHeaders, responseHeaders;
};

// A prompt service that answers credentials from a queue; empty: cancelled.
class Answers : public nsSupportsImpl<nsIPromptService> {
public:
    std::vector<std::pair<std::wstring, std::wstring>> queue;
    std::vector<std::string> asked;
    nsresult Alert(nsIDOMWindow*, const PRUnichar*, const PRUnichar*) override { return NS_OK; }
    nsresult AlertCheck(nsIDOMWindow*, const PRUnichar*, const PRUnichar*, const PRUnichar*, PRBool*) override {
        return NS_OK;
    }
    nsresult Confirm(nsIDOMWindow*, const PRUnichar*, const PRUnichar*, PRBool*) override { return NS_OK; }
    nsresult ConfirmCheck(nsIDOMWindow*, const PRUnichar*, const PRUnichar*, const PRUnichar*, PRBool*,
                          PRBool*) override {
        return NS_OK;
    }
    nsresult ConfirmEx(nsIDOMWindow*, const PRUnichar*, const PRUnichar*, PRUint32, const PRUnichar*,
                       const PRUnichar*, const PRUnichar*, const PRUnichar*, PRBool*, PRInt32*) override {
        return NS_OK;
    }
    nsresult Prompt(nsIDOMWindow*, const PRUnichar*, const PRUnichar*, PRUnichar**, const PRUnichar*, PRBool*,
                    PRBool*) override {
        return NS_OK;
    }
    nsresult PromptUsernameAndPassword(nsIDOMWindow*, const PRUnichar*, const PRUnichar* text, PRUnichar** user,
                                       PRUnichar** password, const PRUnichar*, PRBool*, PRBool* result) override {
        asked.push_back(NS_LossyConvertUTF16toNative(text));
        *result = PR_FALSE;
        if (queue.empty())
            return NS_OK;
        *user = ToNewUnicode(queue.front().first);
        *password = ToNewUnicode(queue.front().second);
        queue.erase(queue.begin());
        *result = PR_TRUE;
        return NS_OK;
    }
    nsresult PromptPassword(nsIDOMWindow*, const PRUnichar*, const PRUnichar*, PRUnichar**, const PRUnichar*,
                            PRBool*, PRBool*) override {
        return NS_OK;
    }
    nsresult Select(nsIDOMWindow*, const PRUnichar*, const PRUnichar*, PRUint32, const PRUnichar**, PRInt32*,
                    PRBool*) override {
        return NS_OK;
    }
};

// Notification callbacks that note what the channel reports.
class Progress : public nsSupportsImpl<nsIInterfaceRequestor, nsIProgressEventSink> {
public:
    nsresult GetInterface(const nsIID& iid, void** result) override { return QueryInterface(iid, result); }
    nsresult OnProgress(nsIRequest*, nsISupports*, PRUint32 progress, PRUint32 maximum) override {
        last = progress;
        max = maximum;
        ++progressCount;
        return NS_OK;
    }
    nsresult OnStatus(nsIRequest*, nsISupports*, nsresult status, const PRUnichar* argument) override {
        statuses.push_back(status);
        host = NS_LossyConvertUTF16toNative(argument);
        return NS_OK;
    }
    PRUint32 last = 0, max = 0;
    int progressCount = 0;
    std::vector<nsresult> statuses;
    std::string host;
};

class WebrtNet : public testing::Test {
protected:
    void SetUp() override {
        provider_ = new TableProvider;
        provider_->paths["PrfDef"] = folders_.runtime + "\\defaults\\pref";
        ASSERT_EQ(NS_OK, folders_.init(provider_.get()));
        answers_ = new Answers;
        static const nsModuleComponentInfo info = {
            "answers", {0x77, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}}, NS_PROMPTSERVICE_CONTRACTID,
            [](nsISupports*, const nsIID& iid, void** result) -> nsresult {
                return current->QueryInterface(iid, result);
            }};
        current = answers_.get();
        nsPtr<nsIFactory> factory;
        NS_NewGenericFactory(factory.receive(), &info);
        nsPtr<nsIComponentRegistrar> registrar;
        NS_GetComponentRegistrar(registrar.receive());
        registrar->RegisterFactory(info.cid, "answers", NS_PROMPTSERVICE_CONTRACTID, factory.get());
    }
    void TearDown() override {
        NS_ForgetSessionCredentials();
        NS_TermEmbedding();
    }

    // Loads the URL and handles events until the queue is empty.
    nsPtr<Completion> load(const std::string& url, nsresult* opened = nullptr, const char* post = nullptr,
                           nsIInterfaceRequestor* callbacks = nullptr) {
        nsPtr<Completion> done(new Completion);
        nsPtr<nsIURI> uri;
        nsPtr<nsIChannel> channel;
        nsPtr<nsIStreamLoader> loader;
        nsresult r = NS_NewURI(uri.receive(), url);
        if (NS_SUCCEEDED(r))
            r = NS_NewChannel(channel.receive(), uri.get());
        if (NS_SUCCEEDED(r) && post)
            QueryAs<nsIHttpChannel>(channel.get())->SetUploadData("", post);
        if (NS_SUCCEEDED(r) && callbacks)
            channel->SetNotificationCallbacks(callbacks);
        if (NS_SUCCEEDED(r))
            r = NS_NewStreamLoader(loader.receive(), channel.get(), done.get(), nullptr);
        if (opened)
            *opened = r;
        nsPtr<nsIEventQueue> queue;
        GetServiceAs<nsIEventQueueService>(NS_EVENTQUEUESERVICE_CONTRACTID)
            ->GetThreadEventQueue(NS_CURRENT_THREAD, queue.receive());
        nsPtr<nsIRunnable> event;
        while (NS_SUCCEEDED(queue->WaitForEvent(event.receive())))
            queue->HandleEvent(event.get());
        return done;
    }
    std::string origin() const { return "http://127.0.0.1:" + std::to_string(ServerPorts().origin); }

    static Answers* current;
    RuntimeFolders folders_;
    nsPtr<TableProvider> provider_;
    nsPtr<Answers> answers_;
};

Answers* WebrtNet::current = nullptr;

}  // namespace

TEST(WebrtUri, SplitsSchemeHostPortAndPath) {
    struct Row {
        const char* spec;
        const char* expected;  // "scheme|host|port|path" or "malformed"
    } rows[] = {
        {"HTTP://Example.ORG:8080/a/b?q=1#f", "http|example.org|8080|/a/b?q=1#f"},
        {"http://user:pw@host", "http|host|-1|/"},
        {"file:///C:/dir/a%20b.html", "file||-1|/C:/dir/a%20b.html"},
        {"about:blank", "about||-1|blank"},
        {"http://host:99999/", "malformed"},
        {"http://host:8x/", "malformed"},
        {"no scheme", "malformed"},
        {":x", "malformed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.spec);
        nsPtr<nsIURI> uri;
        nsresult r = NS_NewURI(uri.receive(), row.spec);
        if (std::string(row.expected) == "malformed") {
            EXPECT_EQ(NS_ERROR_MALFORMED_URI, r);
            continue;
        }
        ASSERT_EQ(NS_OK, r);
        std::string scheme, host, path;
        PRInt32 port = 0;
        uri->GetScheme(scheme);
        uri->GetHost(host);
        uri->GetPort(&port);
        uri->GetPath(path);
        EXPECT_EQ(row.expected, scheme + "|" + host + "|" + std::to_string(port) + "|" + path);
    }
    nsPtr<nsIURI> uri;
    ASSERT_EQ(NS_OK, NS_NewURI(uri.receive(), "about:blank"));
    EXPECT_EQ(NS_ERROR_MALFORMED_URI, uri->SetSpec("bad"));
    std::string spec;
    uri->GetSpec(spec);
    EXPECT_EQ("about:blank", spec) << "a refused spec changes nothing";
}

TEST_F(WebrtNet, LocalLoadsCompleteOnceWithTheirBodyOrTheirFailure) {
    WriteAll(folders_.root + "\\page one.html", "<p>caf\xe9</p>");
    std::string base = "file:///" + folders_.root + "\\";
    for (char& c : base) {
        if (c == '\\')
            c = '/';
    }
    struct Row {
        std::string url;
        nsresult status;
        const char* body;
        const char* type;
    } rows[] = {
        {base + "page%20one.html", NS_OK, "<p>caf\xe9</p>", "text/html"},
        {base + "missing.txt", NS_ERROR_FILE_NOT_FOUND, "", "text/plain"},
        {base + "page%20one.html%00.txt", NS_ERROR_MALFORMED_URI, "", ""},
        {"about:blank", NS_OK, "", "text/html"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.url);
        nsPtr<Completion> done = load(row.url);
        EXPECT_EQ(1, done->count);
        EXPECT_EQ(row.status, done->status);
        EXPECT_EQ(row.body, done->body);
        EXPECT_EQ(std::string(row.body).size(), done->reportedLength);
        EXPECT_EQ(row.type, done->contentType);
    }
    nsresult opened = NS_OK;
    nsPtr<nsIURI> uri;
    NS_NewURI(uri.receive(), "ftp://host/x");
    nsPtr<nsIChannel> channel;
    EXPECT_EQ(NS_ERROR_UNKNOWN_PROTOCOL, NS_NewChannel(channel.receive(), uri.get()));
    (void)opened;
}

TEST_F(WebrtNet, HttpLoadsCompleteOnceWithStatusAndLength) {
    ASSERT_NE(0, ServerPorts().origin) << "the sv_net fixture is not running";
    // Nothing listens on port 1 of the loopback address here.
    const int refused = 1;
    struct Row {
        std::string url;
        nsresult status;
        PRUint32 httpStatus;
        size_t length;
    } rows[] = {
        {origin() + "/big/100000", NS_OK, 200, 100000},
        {origin() + "/big/0", NS_OK, 200, 0},
        {origin() + "/status/404", NS_OK, 404, 0},
        {origin() + "/status/302", NS_OK, 302, 0},
        // A proxy's demand when no proxy is set is no question for the reader.
        {origin() + "/status/407", NS_ERROR_FAILURE, 407, 0},
        // Replies shorter than their framing, and one too big to hold.
        {origin() + "/cut/100000", NS_ERROR_NET_INTERRUPT, 200, 0},
        {origin() + "/chunked/cut", NS_ERROR_NET_INTERRUPT, 200, 0},
        {origin() + "/chunked/whole", NS_OK, 200, 11},
        {origin() + "/big/" + std::to_string((64 << 20) + 1), NS_ERROR_OUT_OF_MEMORY, 200, 0},
        {"http://127.0.0.1:" + std::to_string(refused) + "/x", NS_ERROR_CONNECTION_REFUSED, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.url);
        nsPtr<Completion> done = load(row.url);
        EXPECT_EQ(1, done->count);
        EXPECT_EQ(row.status, done->status);
        EXPECT_EQ(row.httpStatus, done->httpStatus);
        EXPECT_EQ(row.length, done->reportedLength);
        EXPECT_EQ(row.length, done->body.size());
    }
    nsPtr<Completion> big = load(origin() + "/big/25");
    EXPECT_EQ("0123456789012345678901234", big->body);
    EXPECT_EQ("Content-Length: 25\n", big->responseHeaders);
    EXPECT_NE(std::string::npos, big->requestHeaders.find("Host: 127.0.0.1:" + std::to_string(ServerPorts().origin)))
        << big->requestHeaders;
    EXPECT_TRUE(answers_->asked.empty());
}

TEST_F(WebrtNet, AuthorisationIsAskedOfTheRegisteredPromptService) {
    ASSERT_NE(0, ServerPorts().origin) << "the sv_net fixture is not running";
    long blocks = nsMemory::liveBlocks();
    answers_->queue = {{L"user", L"wrong"}, {L"user", L"secret"}};
    nsPtr<Completion> done = load(origin() + "/auth");
    EXPECT_EQ(blocks, nsMemory::liveBlocks()) << "the answers' texts are freed";
    EXPECT_EQ(std::string::npos, done->requestHeaders.find("Authorization")) << "credentials are not visited";
    EXPECT_NE(std::string::npos, done->requestHeaders.find("User-Agent: "));
    EXPECT_EQ(1, done->count);
    EXPECT_EQ(200u, done->httpStatus);
    EXPECT_EQ("welcome", done->body);
    ASSERT_EQ(2u, answers_->asked.size());
    EXPECT_NE(std::string::npos, answers_->asked[0].find("kyhttp test realm"));

    answers_->asked.clear();
    done = load(origin() + "/auth");
    EXPECT_EQ(1, done->count);
    EXPECT_EQ(NS_OK, done->status);
    EXPECT_EQ(401u, done->httpStatus) << "a cancelled prompt leaves the 401";
    EXPECT_EQ(0u, done->reportedLength);
    EXPECT_EQ(1u, answers_->asked.size()) << "credentials are not kept between loads";
}

TEST_F(WebrtNet, ProxyPreferencesRouteTheRequestThroughTheProxy) {
    ASSERT_NE(0, ServerPorts().proxy) << "the sv_net fixture is not running";
    nsPtr<nsIPref> prefs = GetServiceAs<nsIPref>(NS_PREF_CONTRACTID);
    prefs->SetIntPref("network.proxy.type", 1);
    prefs->SetCharPref("network.proxy.http", "127.0.0.1");
    prefs->SetIntPref("network.proxy.http_port", ServerPorts().proxy);
    answers_->queue = {{L"proxyuser", L"proxypass"}};
    std::string path = "/big/777?via-proxy-" + std::to_string(GetCurrentProcessId());
    nsPtr<Completion> done = load(origin() + path);
    EXPECT_EQ(1, done->count);
    EXPECT_EQ(NS_OK, done->status);
    EXPECT_EQ(200u, done->httpStatus);
    EXPECT_EQ(777u, done->reportedLength);
    ASSERT_EQ(1u, answers_->asked.size());
    EXPECT_NE(std::string::npos, answers_->asked[0].find("proxy"));
    EXPECT_NE(std::string::npos, TinyproxyLog().find(path)) << "the proxy saw the request";

    prefs->SetIntPref("network.proxy.type", 0);
    std::string direct = "/big/5?direct-" + std::to_string(GetCurrentProcessId());
    done = load(origin() + direct);
    EXPECT_EQ(200u, done->httpStatus);
    EXPECT_EQ(std::string::npos, TinyproxyLog().find(direct)) << "type 0 goes direct";
}

TEST_F(WebrtNet, RedirectsAreFollowedToTheirTargetWithinTheLimit) {
    ASSERT_NE(0, ServerPorts().origin) << "the sv_net fixture is not running";
    struct Row {
        const char* name;
        std::string path;
        const char* post;
        PRUint32 httpStatus;
        std::string body;
    } rows[] = {
        {"301", "/moved/301/1", nullptr, 200, "arrived by GET"},
        {"302 twice", "/moved/302/2", nullptr, 200, "arrived by GET"},
        {"303 after a POST turns into a GET", "/moved/303/1", "a=1", 200, "arrived by GET"},
        {"302 after a POST turns into a GET", "/moved/302/1", "a=1", 200, "arrived by GET"},
        {"307 posts again", "/moved/307/1", "a=1", 200, "arrived by POST"},
        {"the limit is reached: the last 3xx stays", "/moved/301/" + std::to_string(NS_HTTP_REDIRECT_LIMIT + 1),
         nullptr, 301, ""},
        {"a loop ends at the limit", "/loop", nullptr, 302, ""},
        {"a 3xx without a target stays", "/status/302", nullptr, 302, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        nsPtr<Completion> done = load(origin() + row.path, nullptr, row.post);
        EXPECT_EQ(1, done->count);
        EXPECT_EQ(NS_OK, done->status);
        EXPECT_EQ(row.httpStatus, done->httpStatus);
        EXPECT_EQ(row.body, done->body);
        if (row.httpStatus == 200) {
            EXPECT_EQ(origin() + "/moved/" + std::string(row.path).substr(7, 3) + "/0", done->finalUrl)
                << "the channel is known by its target";
        }
    }
}

TEST_F(WebrtNet, PostSendsItsBodyAndTheProgressSinkHearsTheLoad) {
    ASSERT_NE(0, ServerPorts().origin) << "the sv_net fixture is not running";
    nsPtr<Progress> progress(new Progress);
    nsPtr<Completion> done = load(origin() + "/form?x=1", nullptr, "nom=Dupont&ville=Lyon", progress.get());
    EXPECT_EQ(200u, done->httpStatus);
    EXPECT_EQ("POST /form?x=1 HTTP/1.0\nnom=Dupont&ville=Lyon", done->body);
    EXPECT_NE(std::string::npos, done->requestHeaders.find("Content-Length: 21")) << done->requestHeaders;
    EXPECT_EQ(std::string::npos, done->requestHeaders.find("Dupont")) << "the body is not a header";
    EXPECT_EQ((std::vector<nsresult>{NS_NET_STATUS_CONNECTING_TO, NS_NET_STATUS_RECEIVING_FROM}), progress->statuses);
    EXPECT_EQ("127.0.0.1", progress->host);
    EXPECT_GE(progress->progressCount, 1);
    EXPECT_EQ(done->body.size(), progress->last);

    progress = new Progress;
    done = load(origin() + "/big/300", nullptr, nullptr, progress.get());
    EXPECT_EQ(300u, progress->last);
    EXPECT_EQ(300u, progress->max) << "the reply's length";
}

TEST_F(WebrtNet, ProxyCredentialsAreAskedOnceForTheRun) {
    ASSERT_NE(0, ServerPorts().origin) << "the sv_net fixture is not running";
    nsPtr<nsIPref> prefs = GetServiceAs<nsIPref>(NS_PREF_CONTRACTID);
    prefs->SetIntPref("network.proxy.type", 1);
    prefs->SetCharPref("network.proxy.http", "127.0.0.1");
    // The test server plays a strict proxy on /p407/.
    prefs->SetIntPref("network.proxy.http_port", ServerPorts().origin);
    answers_->queue = {{L"proxyuser", L"wrong"}, {L"proxyuser", L"proxypass"}};
    nsPtr<Completion> done = load(origin() + "/p407/big/7");
    EXPECT_EQ(200u, done->httpStatus);
    EXPECT_EQ(2u, answers_->asked.size()) << "a refused answer is asked again";
    answers_->asked.clear();
    for (int i = 0; i < 2; ++i) {
        done = load(origin() + "/p407/big/8");
        EXPECT_EQ(200u, done->httpStatus);
    }
    EXPECT_TRUE(answers_->asked.empty()) << "the accepted credentials are kept";

    // Another proxy has credentials of its own.
    prefs->SetCharPref("network.proxy.http", "localhost");
    answers_->queue = {};
    done = load(origin() + "/p407/big/9");
    EXPECT_EQ(407u, done->httpStatus);
    EXPECT_EQ(1u, answers_->asked.size());
}
