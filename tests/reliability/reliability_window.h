#pragma once

// The whole program as a user meets it — the Main window on the real engine —
// and the means to make things go wrong around it: web processes to kill,
// servers that never answer or stop halfway, folders that are full.

#include "tests/support/engine_window_fixture.h"

#include <gdk/gdkkeysyms.h>
#include <gio/gio.h>
#include <glib/gstdio.h>
#include <glibmm/main.h>
#include <gtest/gtest.h>
#include <gtkmm/container.h>
#include <gtkmm/window.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace vesko::test {

using namespace std::chrono_literals;

// --- processes ---------------------------------------------------------------

// The engine's web processes started by this program: WebKitWebProcess
// anywhere below us (the sandbox puts bwrap in between).
inline std::vector<pid_t> web_process_pids()
{
    std::map<pid_t, pid_t> parent;
    std::vector<pid_t> web;
    GDir* proc = g_dir_open("/proc", 0, nullptr);
    if (!proc)
        return web;
    while (const char* name = g_dir_read_name(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(name, &end, 10);
        if (*end != '\0' || pid <= 0)
            continue;
        std::ifstream stat_file(std::string("/proc/") + name + "/stat");
        std::string stat((std::istreambuf_iterator<char>(stat_file)), std::istreambuf_iterator<char>());
        // "pid (command) state ppid ...": the command may hold anything, so
        // read from its closing parenthesis.
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream rest(stat.substr(close + 1));
        std::string state;
        long ppid = 0;
        rest >> state >> ppid;
        if (state == "Z" || state == "X")
            continue;
        parent[static_cast<pid_t>(pid)] = static_cast<pid_t>(ppid);
        std::ifstream cmdline_file(std::string("/proc/") + name + "/cmdline");
        std::string argv0;
        std::getline(cmdline_file, argv0, '\0');
        if (argv0.size() >= 16 && argv0.compare(argv0.size() - 16, 16, "WebKitWebProcess") == 0)
            web.push_back(static_cast<pid_t>(pid));
    }
    g_dir_close(proc);
    const pid_t self = getpid();
    std::erase_if(web, [&](pid_t pid) {
        for (int depth = 0; depth < 16 && pid > 1; ++depth) {
            auto it = parent.find(pid);
            if (it == parent.end())
                return true;
            pid = it->second;
            if (pid == self)
                return false;
        }
        return true;
    });
    return web;
}

// --- servers that misbehave --------------------------------------------------

// A TCP server on 127.0.0.1 that reads each request and then either never
// answers, keeping the connection open, or writes `reply` and hangs up.
// requests() counts the requests it has read whole.
class RawSocketServer {
public:
    // An empty reply: accepts and never answers.
    explicit RawSocketServer(std::string reply = {}) : m_reply(std::move(reply))
    {
        m_service = g_socket_service_new();
        GInetAddress* loopback = g_inet_address_new_from_string("127.0.0.1");
        GSocketAddress* address = g_inet_socket_address_new(loopback, 0);
        GSocketAddress* bound = nullptr;
        g_socket_listener_add_address(G_SOCKET_LISTENER(m_service), address, G_SOCKET_TYPE_STREAM,
                                      G_SOCKET_PROTOCOL_TCP, nullptr, &bound, nullptr);
        if (bound) {
            m_port = g_inet_socket_address_get_port(G_INET_SOCKET_ADDRESS(bound));
            g_object_unref(bound);
        }
        g_object_unref(address);
        g_object_unref(loopback);
        g_signal_connect(m_service, "incoming", G_CALLBACK(&RawSocketServer::on_incoming), this);
        g_socket_service_start(m_service);
    }
    ~RawSocketServer()
    {
        g_signal_handlers_disconnect_by_data(m_service, this);
        g_socket_service_stop(m_service);
        g_socket_listener_close(G_SOCKET_LISTENER(m_service));
        g_object_unref(m_service);
        // Each connection goes when its read, cancelled here, comes back.
        for (Connection* c : m_connections) {
            c->server = nullptr;
            g_cancellable_cancel(c->cancellable);
        }
    }
    RawSocketServer(const RawSocketServer&) = delete;
    RawSocketServer& operator=(const RawSocketServer&) = delete;

    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }
    int port() const { return m_port; }
    int requests() const { return m_requests; }

private:
    // One connection, owned by its one read in flight.
    struct Connection {
        RawSocketServer* server;
        GSocketConnection* connection;
        GCancellable* cancellable;
        std::string received;
        char buffer[4096];
        ~Connection()
        {
            g_io_stream_close(G_IO_STREAM(connection), nullptr, nullptr);
            g_object_unref(connection);
            g_object_unref(cancellable);
        }
    };

    static gboolean on_incoming(GSocketService*, GSocketConnection* connection, GObject*, gpointer self)
    {
        auto* server = static_cast<RawSocketServer*>(self);
        auto* c = new Connection{server, G_SOCKET_CONNECTION(g_object_ref(connection)), g_cancellable_new(), {}, {}};
        server->m_connections.insert(c);
        read_more(c);
        return TRUE;
    }

    static void read_more(Connection* c)
    {
        GInputStream* in = g_io_stream_get_input_stream(G_IO_STREAM(c->connection));
        g_input_stream_read_async(in, c->buffer, sizeof c->buffer, G_PRIORITY_DEFAULT, c->cancellable,
                                  &RawSocketServer::on_read, c);
    }

    static void on_read(GObject* source, GAsyncResult* result, gpointer data)
    {
        auto* c = static_cast<Connection*>(data);
        const gssize n = g_input_stream_read_finish(G_INPUT_STREAM(source), result, nullptr);
        RawSocketServer* server = c->server;
        if (!server || n <= 0) {
            if (server)
                server->m_connections.erase(c);
            delete c;
            return;
        }
        c->received.append(c->buffer, static_cast<std::size_t>(n));
        if (c->received.find("\r\n\r\n") == std::string::npos) {
            read_more(c); // the request is not all there yet
            return;
        }
        ++server->m_requests;
        c->received.clear();
        if (server->m_reply.empty()) {
            read_more(c); // listens on, says nothing
            return;
        }
        GOutputStream* out = g_io_stream_get_output_stream(G_IO_STREAM(c->connection));
        g_output_stream_write_all(out, server->m_reply.data(), server->m_reply.size(), nullptr, nullptr, nullptr);
        server->m_connections.erase(c);
        delete c; // hangs up
    }

    GSocketService* m_service = nullptr;
    std::string m_reply;
    int m_port = 0;
    int m_requests = 0;
    std::set<Connection*> m_connections;
};

// --- folders -----------------------------------------------------------------

// A tiny tmpfs mounted over `folder` for as long as this lives, where the
// test may mount (as root); mounted() says whether it could.
class TinyFilesystem {
public:
    TinyFilesystem(std::string folder, const char* size) : m_folder(std::move(folder))
    {
        const std::string options = std::string("size=") + size;
        m_mounted = geteuid() == 0 && mount("vesko-test", m_folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~TinyFilesystem()
    {
        if (m_mounted)
            umount2(m_folder.c_str(), MNT_DETACH);
    }
    TinyFilesystem(const TinyFilesystem&) = delete;
    TinyFilesystem& operator=(const TinyFilesystem&) = delete;
    bool mounted() const { return m_mounted; }

private:
    std::string m_folder;
    bool m_mounted = false;
};

// --- the window ----------------------------------------------------------------

// A key press and release queued on the display, as the keyboard would queue
// them: they reach the window only when the main loop next runs.
inline void queue_key(Gtk::Window& window, guint keyval)
{
    send_key(window, keyval, static_cast<GdkModifierType>(0), true);
}

// Text shortened for a failure message, at a character boundary.
inline std::string shortened(const std::string& text, std::size_t limit = 160)
{
    if (text.size() <= limit)
        return text;
    while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80)
        --limit;
    return text.substr(0, limit) + "…(" + std::to_string(text.size()) + " bytes)";
}

class WindowOnEngine : public EngineWindowTest {
protected:
    void before_start() override
    {
        // After the window's own handlers, so that each entry sees what the
        // window has just shown.
        pane().signal_before_navigate().connect([this] { events.push_back("navigate " + pane().url()); });
        pane().signal_document_complete().connect([this] {
            events.push_back("complete " + pane().url());
            ++completed;
        });
    }

    void SetUp() override
    {
        EngineWindowTest::SetUp();
        for (Gtk::Window* w : Gtk::Window::list_toplevels())
            m_toplevels_before.insert(w->gobj());
    }

    void TearDown() override
    {
        if (HasFailure()) {
            const std::size_t from = events.size() > 40 ? events.size() - 40 : 0;
            for (std::size_t i = from; i < events.size(); ++i)
                std::cerr << "  event: " << shortened(events[i]) << "\n";
            std::cerr << "  status bar: " << shortened(message()) << "\n  caption: " << shortened(caption())
                      << "\n";
        }
        EngineWindowTest::TearDown();
    }

    // The engine may report a title just after the document is complete.
    bool wait_for_caption(const std::string& title, std::chrono::milliseconds timeout = 10s)
    {
        return wait_until([&] { return caption() == title; }, timeout);
    }
    std::string page_text()
    {
        return probe::evaluate(pane(), "document.body ? document.body.innerText : ''", 5s).value_or("");
    }

    // The window says "就绪" after a new document, and the engine has stopped.
    // The Address box and the caption follow on the loop's next turn.
    bool settled_after(int completed_before, std::chrono::milliseconds timeout = 20s)
    {
        const bool settled = wait_until(
            [&] { return completed > completed_before && message() == "就绪" && !probe::is_loading(pane()); },
            timeout);
        flush_events();
        return settled;
    }
    bool enter_and_settle(const std::string& text, std::chrono::milliseconds timeout = 20s)
    {
        const int before = completed;
        type_and_enter(text);
        return settled_after(before, timeout);
    }
    // How long a key pressed in the Address box takes to reach it, from the
    // moment the keyboard queues it; gives up after five seconds. The key is
    // Backspace at the end of the text (a box may be too full to take one
    // more character), a letter in an empty box.
    std::chrono::milliseconds typing_delay()
    {
        Gtk::Entry& box = window->address_box();
        if (!box.has_focus())
            box.grab_focus();
        box.select_region(0, 0);
        box.set_position(-1);
        const Glib::ustring before = box.get_text();
        const auto start = std::chrono::steady_clock::now();
        queue_key(*window, before.empty() ? GDK_KEY_z : GDK_KEY_BackSpace);
        wait_until([&] { return box.get_text() != before; }, 5s);
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    }

    // Dialogs in sight: windows that have appeared since the test began
    // (menus and tooltips aside), and dialogs the engine draws over the page.
    int dialogs_in_sight()
    {
        int count = 0;
        for (Gtk::Window* w : Gtk::Window::list_toplevels()) {
            if (!m_toplevels_before.count(w->gobj()) && w->get_visible() &&
                gtk_window_get_window_type(w->gobj()) == GTK_WINDOW_TOPLEVEL && !is_engine_window(w))
                ++count;
        }
        gtk_container_forall(
            GTK_CONTAINER(pane().widget().gobj()),
            [](GtkWidget* child, gpointer n) {
                if (gtk_widget_get_visible(child))
                    ++*static_cast<int*>(n);
            },
            &count);
        return count;
    }

    std::vector<std::string> events; // "navigate ADDRESS" and "complete ADDRESS", in order
    int completed = 0;

private:
    bool is_engine_window(Gtk::Window* w)
    {
        for (std::size_t i = 0; i < engine->separate_window_count(); ++i) {
            if (engine->separate_window(i) == w)
                return true;
        }
        return false;
    }

    std::set<GtkWindow*> m_toplevels_before;
};

} // namespace vesko::test
