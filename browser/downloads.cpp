#include "browser/downloads.h"

#include "browser/gobject_ptr.h"
#include "browser/page_commands.h"
#include "browser/pane_dialogs.h"

#include <gtkmm/window.h>
#include <glib/gstdio.h>

namespace vesko {

struct Downloads::Job {
    Downloads* owner;
    GObjectPtr<WebKitDownload> download;
    std::string temporary;
    std::string target;
    bool failed = false;
};

Downloads::Downloads(WebKitWebContext* context, PaneDialogs& dialogs) : m_context(context), m_dialogs(dialogs)
{
    m_started_handler = g_signal_connect(context, "download-started", G_CALLBACK(&Downloads::on_started), this);
}

Downloads::~Downloads()
{
    g_signal_handler_disconnect(m_context, m_started_handler);
}

void Downloads::on_started(WebKitWebContext*, WebKitDownload* download, gpointer self)
{
    auto* owner = static_cast<Downloads*>(self);
    auto* job = new Job{owner, GObjectPtr<WebKitDownload>::retain(download), {}, {}};
    ++owner->m_active;
    g_signal_connect(download, "decide-destination", G_CALLBACK(&Downloads::on_decide_destination), job);
    g_signal_connect(download, "failed", G_CALLBACK(&Downloads::on_failed), job);
    g_signal_connect(download, "finished", G_CALLBACK(&Downloads::on_finished), job);
}

gboolean Downloads::on_decide_destination(WebKitDownload* download, gchar* suggested, gpointer data)
{
    auto* job = static_cast<Job*>(data);
    Gtk::Window* parent = nullptr;
    if (WebKitWebView* view = webkit_download_get_web_view(download)) {
        GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
        if (top && GTK_IS_WINDOW(top))
            parent = Glib::wrap(GTK_WINDOW(top));
    }
    gchar* base = suggested ? g_path_get_basename(suggested) : nullptr;
    const std::string name = file_name_from_title(to_string(base));
    g_free(base);
    const std::optional<std::string> target = job->owner->m_dialogs.ask_download_target(parent, name);
    if (target)
        job->temporary = make_temporary_beside(*target);
    if (!target || job->temporary.empty()) {
        if (target)
            job->owner->m_dialogs.tell_failure(parent, "无法保存下载的文件：" + *target);
        webkit_download_cancel(download);
        return TRUE;
    }
    job->target = *target;
    // The temporary file is ours already: the engine writes over it.
    webkit_download_set_allow_overwrite(download, TRUE);
    gchar* uri = g_filename_to_uri(job->temporary.c_str(), nullptr, nullptr);
    webkit_download_set_destination(download, uri);
    g_free(uri);
    return TRUE;
}

void Downloads::on_failed(WebKitDownload*, GError* error, gpointer data)
{
    auto* job = static_cast<Job*>(data);
    job->failed = true;
    if (!job->temporary.empty())
        g_unlink(job->temporary.c_str());
    if (!g_error_matches(error, WEBKIT_DOWNLOAD_ERROR, WEBKIT_DOWNLOAD_ERROR_CANCELLED_BY_USER) && !job->target.empty())
        job->owner->m_dialogs.tell_failure(nullptr, std::string("下载失败：") + (error ? error->message : "") + "（" +
                                                        job->target + "）");
}

void Downloads::on_finished(WebKitDownload* download, gpointer data)
{
    // Comes after a failure too; only a complete download takes its name.
    std::unique_ptr<Job> job(static_cast<Job*>(data));
    g_signal_handlers_disconnect_by_data(download, job.get());
    --job->owner->m_active;
    if (job->failed || job->temporary.empty())
        return;
    if (g_rename(job->temporary.c_str(), job->target.c_str()) != 0) {
        g_unlink(job->temporary.c_str());
        job->owner->m_dialogs.tell_failure(nullptr, "无法保存下载的文件：" + job->target);
    }
}

} // namespace vesko
