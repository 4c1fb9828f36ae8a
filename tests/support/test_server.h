#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

typedef struct _SoupServer SoupServer;
typedef struct _SoupServerMessage SoupServerMessage;

namespace vesko::test {

// One answer of the test server.
struct Response {
    int status = 200;
    std::string content_type = "text/html; charset=utf-8";
    std::string body;
    std::chrono::milliseconds delay{0}; // before the answer is sent
    std::map<std::string, std::string> headers;
};

// An HTTP (or, with a certificate, HTTPS) server on 127.0.0.1 and a port of
// its own, answering from a table of paths. It runs on the default main
// context, so tests must run the loop while pages load.
class TestServer {
public:
    // `pem` holds a certificate and key for HTTPS; empty for plain HTTP.
    explicit TestServer(const std::string& pem = {});
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    void add(const std::string& path, Response response);
    void add_page(const std::string& path, const std::string& html)
    {
        Response r;
        r.body = html;
        add(path, std::move(r));
    }
    // A page whose answer comes only after `delay`.
    void add_slow_page(const std::string& path, const std::string& html, std::chrono::milliseconds delay)
    {
        Response r;
        r.body = html;
        r.delay = delay;
        add(path, std::move(r));
    }

    // "http://127.0.0.1:PORT" + path.
    std::string url(const std::string& path) const;
    int port() const { return m_port; }

    // The paths asked for so far, in order.
    const std::vector<std::string>& requests() const { return m_requests; }
    int request_count(const std::string& path) const;

private:
    static void on_request(SoupServer*, SoupServerMessage*, const char* path, void* query, void* self);
    void handle(SoupServerMessage* message, const std::string& path);

    SoupServer* m_server = nullptr;
    std::string m_scheme;
    int m_port = 0;
    std::map<std::string, Response> m_routes;
    std::vector<std::string> m_requests;
    std::vector<unsigned> m_pending_timeouts;
};

} // namespace vesko::test
