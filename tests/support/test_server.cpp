#include "tests/support/test_server.h"

#include <libsoup/soup.h>

#include <stdexcept>

namespace vesko::test {

TestServer::TestServer(const std::string& pem)
{
    GError* error = nullptr;
    if (pem.empty()) {
        m_server = soup_server_new(nullptr, nullptr);
        m_scheme = "http";
    } else {
        GTlsCertificate* certificate = g_tls_certificate_new_from_pem(pem.c_str(), -1, &error);
        if (!certificate) {
            std::string message = error->message;
            g_error_free(error);
            throw std::runtime_error("test certificate: " + message);
        }
        m_server = soup_server_new("tls-certificate", certificate, nullptr);
        g_object_unref(certificate);
        m_scheme = "https";
    }
    soup_server_add_handler(m_server, nullptr, reinterpret_cast<SoupServerCallback>(&TestServer::on_request), this,
                            nullptr);
    auto options = static_cast<SoupServerListenOptions>(SOUP_SERVER_LISTEN_IPV4_ONLY |
                                                        (pem.empty() ? 0 : SOUP_SERVER_LISTEN_HTTPS));
    // Loopback only, on a port the system picks.
    if (!soup_server_listen_local(m_server, 0, options, &error)) {
        std::string message = error->message;
        g_error_free(error);
        throw std::runtime_error("test server: " + message);
    }
    GSList* uris = soup_server_get_uris(m_server);
    m_port = g_uri_get_port(static_cast<GUri*>(uris->data));
    g_slist_free_full(uris, reinterpret_cast<GDestroyNotify>(g_uri_unref));
}

TestServer::~TestServer()
{
    for (unsigned id : m_pending_timeouts)
        g_source_remove(id);
    soup_server_disconnect(m_server);
    g_object_unref(m_server);
}

void TestServer::add(const std::string& path, Response response)
{
    m_routes[path] = std::move(response);
}

std::string TestServer::url(const std::string& path) const
{
    return m_scheme + "://127.0.0.1:" + std::to_string(m_port) + path;
}

int TestServer::request_count(const std::string& path) const
{
    int n = 0;
    for (const std::string& p : m_requests)
        n += p == path ? 1 : 0;
    return n;
}

void TestServer::on_request(SoupServer*, SoupServerMessage* message, const char* path, void*, void* self)
{
    static_cast<TestServer*>(self)->handle(message, path ? path : "");
}

void TestServer::handle(SoupServerMessage* message, const std::string& path)
{
    m_requests.push_back(path);
    auto it = m_routes.find(path);
    if (it == m_routes.end()) {
        soup_server_message_set_status(message, 404, nullptr);
        soup_server_message_set_response(message, "text/plain", SOUP_MEMORY_COPY, "not found", 9);
        return;
    }
    const Response& r = it->second;
    soup_server_message_set_status(message, static_cast<guint>(r.status), nullptr);
    SoupMessageHeaders* headers = soup_server_message_get_response_headers(message);
    soup_message_headers_replace(headers, "Cache-Control", "no-store");
    for (const auto& [name, value] : r.headers)
        soup_message_headers_replace(headers, name.c_str(), value.c_str());
    soup_server_message_set_response(message, r.content_type.c_str(), SOUP_MEMORY_COPY, r.body.data(), r.body.size());
    if (r.delay.count() > 0) {
        soup_server_message_pause(message);
        struct Pending {
            TestServer* server;
            SoupServerMessage* message;
            unsigned id;
        };
        auto* pending = new Pending{this, SOUP_SERVER_MESSAGE(g_object_ref(message)), 0};
        pending->id = g_timeout_add_full(
            G_PRIORITY_DEFAULT, static_cast<guint>(r.delay.count()),
            [](gpointer data) -> gboolean {
                auto* p = static_cast<Pending*>(data);
                std::erase(p->server->m_pending_timeouts, p->id);
                soup_server_message_unpause(p->message);
                return G_SOURCE_REMOVE;
            },
            pending,
            [](gpointer data) {
                auto* p = static_cast<Pending*>(data);
                g_object_unref(p->message);
                delete p;
            });
        m_pending_timeouts.push_back(pending->id);
    }
}

} // namespace vesko::test
