#pragma once

// Internal to browser/: saving what pages hand over as downloads. Each one asks
// where to go, is written under a temporary name beside its target, and takes
// the target's name only when complete; a cancelled or failed download leaves
// nothing behind.

#include <webkit2/webkit2.h>

#include <string>

namespace vesko {

class PaneDialogs;

class Downloads {
public:
    Downloads(WebKitWebContext* context, PaneDialogs& dialogs);
    ~Downloads();
    Downloads(const Downloads&) = delete;
    Downloads& operator=(const Downloads&) = delete;

    int active() const { return m_active; }

private:
    struct Job;
    static void on_started(WebKitWebContext*, WebKitDownload* download, gpointer self);
    static gboolean on_decide_destination(WebKitDownload* download, gchar* suggested, gpointer job);
    static void on_failed(WebKitDownload* download, GError* error, gpointer job);
    static void on_finished(WebKitDownload* download, gpointer job);

    WebKitWebContext* m_context;
    PaneDialogs& m_dialogs;
    gulong m_started_handler = 0;
    int m_active = 0;
};

} // namespace vesko
