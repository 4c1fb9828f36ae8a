#include "browser/page_commands.h"

#include "browser/engine_services.h"
#include "browser/gobject_ptr.h"
#include "browser/print_preview.h"

#include <gtkmm/window.h>
#include <glib/gstdio.h>

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <memory>

namespace vesko {

namespace {

Gtk::Window* parent_of(WebKitWebView* view)
{
    GtkWidget* top = gtk_widget_get_toplevel(GTK_WIDGET(view));
    if (!top || !GTK_IS_WINDOW(top))
        return nullptr;
    return Glib::wrap(GTK_WINDOW(top));
}

std::string failure_text(const char* what, const GError* error)
{
    std::string text = what;
    if (error && error->message) {
        text += "：";
        text += error->message;
    }
    return text;
}

// One save in flight: where it writes, where it goes when complete.
struct SaveJob {
    EngineServices* services;
    GObjectPtr<WebKitWebView> view;
    std::string temporary;
    std::string target;

    void finish(bool ok, const GError* error)
    {
        if (ok && g_rename(temporary.c_str(), target.c_str()) == 0)
            return;
        const int saved_errno = errno;
        g_unlink(temporary.c_str());
        std::string message = failure_text("无法保存网页", error);
        if (ok && !error)
            message += std::string("：") + g_strerror(saved_errno);
        services->dialogs().tell_failure(parent_of(view.get()), message);
    }
};

void on_saved_mhtml(GObject* source, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<SaveJob> job(static_cast<SaveJob*>(data));
    GError* error = nullptr;
    const bool ok = webkit_web_view_save_to_file_finish(WEBKIT_WEB_VIEW(source), result, &error);
    job->finish(ok, error);
    if (error)
        g_error_free(error);
}

void on_main_resource_data(GObject* source, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<SaveJob> job(static_cast<SaveJob*>(data));
    GError* error = nullptr;
    gsize length = 0;
    guchar* bytes = webkit_web_resource_get_data_finish(WEBKIT_WEB_RESOURCE(source), result, &length, &error);
    bool ok = bytes != nullptr;
    if (ok)
        ok = g_file_set_contents(job->temporary.c_str(), reinterpret_cast<const gchar*>(bytes),
                                 static_cast<gssize>(length), &error);
    g_free(bytes);
    job->finish(ok, error);
    if (error)
        g_error_free(error);
}

// A print operation kept alive until the engine has finished with it.
struct PrintJob {
    GObjectPtr<WebKitPrintOperation> operation;
    EngineServices* services;
    std::string pdf; // for a preview: the file printed to
    GObjectPtr<WebKitWebView> view;
    bool failed = false;
};

WebKitPrintOperation* new_operation(EngineServices& services, WebKitWebView* view)
{
    WebKitPrintOperation* op = webkit_print_operation_new(view);
    if (services.page_setup)
        webkit_print_operation_set_page_setup(op, services.page_setup->gobj());
    if (services.print_settings)
        webkit_print_operation_set_print_settings(op, services.print_settings->gobj());
    return op;
}

void on_print_failed(WebKitPrintOperation*, GError* error, gpointer data)
{
    auto* job = static_cast<PrintJob*>(data);
    job->failed = true;
    job->services->dialogs().tell_failure(parent_of(job->view.get()),
                                          failure_text(job->pdf.empty() ? "无法打印网页" : "无法打印预览", error));
}

void on_print_finished(WebKitPrintOperation*, gpointer data)
{
    std::unique_ptr<PrintJob> job(static_cast<PrintJob*>(data));
    if (job->pdf.empty())
        return;
    if (job->failed) {
        g_unlink(job->pdf.c_str());
        return;
    }
    EngineServices* services = job->services;
    // The preview's Print prints the same page, which it keeps until it closes.
    auto view = std::make_shared<GObjectPtr<WebKitWebView>>(std::move(job->view));
    auto preview = std::make_unique<PrintPreviewWindow>(parent_of(view->get()), job->pdf, [services, view] {
        print_page(*services, view->get());
    });
    preview->show();
    services->add_preview(std::move(preview));
}

PrintJob* start_job(EngineServices& services, WebKitWebView* view, WebKitPrintOperation* op, std::string pdf)
{
    // The job owns the operation; it ends when the engine has finished.
    auto* job = new PrintJob{GObjectPtr<WebKitPrintOperation>::adopt(op), &services, std::move(pdf),
                             GObjectPtr<WebKitWebView>::retain(view)};
    g_signal_connect(op, "failed", G_CALLBACK(on_print_failed), job);
    g_signal_connect(op, "finished", G_CALLBACK(on_print_finished), job);
    return job;
}

} // namespace

bool has_document(WebKitWebView* view)
{
    return webkit_web_view_get_uri(view) && webkit_web_view_get_main_resource(view);
}

std::string make_temporary_beside(const std::string& target)
{
    gchar* dir = g_path_get_dirname(target.c_str());
    gchar* base = g_path_get_basename(target.c_str());
    std::string pattern = std::string(dir) + G_DIR_SEPARATOR_S + "." + base + ".XXXXXX.part";
    g_free(dir);
    g_free(base);
    const int fd = g_mkstemp(pattern.data());
    if (fd < 0)
        return {};
    close(fd);
    return pattern;
}

void save_page_as(EngineServices& services, WebKitWebView* view)
{
    if (!has_document(view))
        return;
    const char* title = webkit_web_view_get_title(view);
    const std::optional<SaveTarget> target =
        services.dialogs().ask_save_target(parent_of(view), file_name_from_title(to_string(title)));
    if (!target)
        return;
    const std::string temporary = make_temporary_beside(target->path);
    if (temporary.empty()) {
        services.dialogs().tell_failure(parent_of(view),
                                        std::string("无法保存网页：") + g_strerror(errno) + "（" + target->path + "）");
        return;
    }
    auto* job = new SaveJob{&services, GObjectPtr<WebKitWebView>::retain(view), temporary, target->path};
    if (target->format == SaveFormat::CompletePage) {
        GObjectPtr<GFile> file = GObjectPtr<GFile>::adopt(g_file_new_for_path(temporary.c_str()));
        webkit_web_view_save_to_file(view, file.get(), WEBKIT_SAVE_MODE_MHTML, nullptr, on_saved_mhtml, job);
    } else {
        webkit_web_resource_get_data(webkit_web_view_get_main_resource(view), nullptr, on_main_resource_data, job);
    }
}

void print_page(EngineServices& services, WebKitWebView* view)
{
    if (!has_document(view))
        return;
    WebKitPrintOperation* op = new_operation(services, view);
    PrintJob* job = start_job(services, view, op, {});
    if (Glib::RefPtr<Gtk::PrintSettings> preset = services.dialogs().print_without_dialog()) {
        webkit_print_operation_set_print_settings(op, preset->gobj());
        webkit_print_operation_print(op);
        return;
    }
    Gtk::Window* parent = parent_of(view);
    if (webkit_print_operation_run_dialog(op, parent ? parent->gobj() : nullptr) ==
        WEBKIT_PRINT_OPERATION_RESPONSE_PRINT) {
        // What the user chose stays for the rest of the run.
        services.print_settings = Glib::wrap(webkit_print_operation_get_print_settings(op), true);
        services.page_setup = Glib::wrap(webkit_print_operation_get_page_setup(op), true);
        return;
    }
    // Cancelled: nothing will be printed, nor reported.
    g_signal_handlers_disconnect_by_data(op, job);
    delete job;
}

void preview_page(EngineServices& services, WebKitWebView* view)
{
    if (!has_document(view))
        return;
    gchar* path = nullptr;
    GError* error = nullptr;
    const int fd = g_file_open_tmp("vesko-preview-XXXXXX.pdf", &path, &error);
    if (fd < 0) {
        services.dialogs().tell_failure(parent_of(view), failure_text("无法打印预览", error));
        g_error_free(error);
        return;
    }
    close(fd);
    const std::string pdf = path;
    gchar* uri = g_filename_to_uri(path, nullptr, nullptr);
    g_free(path);

    // Printed to a file with the page setup of the run, then shown.
    GtkPrintSettings* settings =
        services.print_settings ? gtk_print_settings_copy(services.print_settings->gobj()) : gtk_print_settings_new();
    gtk_print_settings_set_printer(settings, "Print to File");
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    gtk_print_settings_set(settings, GTK_PRINT_SETTINGS_OUTPUT_URI, uri);
    g_free(uri);

    WebKitPrintOperation* op = new_operation(services, view);
    webkit_print_operation_set_print_settings(op, settings);
    g_object_unref(settings);
    start_job(services, view, op, pdf);
    webkit_print_operation_print(op);
}

void set_up_page(EngineServices& services, WebKitWebView* view)
{
    if (!has_document(view))
        return;
    if (!services.print_settings)
        services.print_settings = Gtk::PrintSettings::create();
    if (Glib::RefPtr<Gtk::PageSetup> chosen =
            services.dialogs().ask_page_setup(parent_of(view), services.page_setup, services.print_settings))
        services.page_setup = chosen;
}

} // namespace vesko
