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

// One save in flight. The page is gathered in memory, then written with
// g_file_set_contents(): to a temporary file beside the target, renamed over
// it only when complete, and removed again when anything fails, so a failed
// save leaves no file and never damages the one it would have replaced.
struct SaveJob {
    EngineServices* services;
    GObjectPtr<WebKitWebView> view;
    std::string target;
    GObjectPtr<GOutputStream> memory;

    void write(const void* data, gsize length)
    {
        GError* error = nullptr;
        if (!g_file_set_contents(target.c_str(), static_cast<const gchar*>(data), static_cast<gssize>(length),
                                 &error)) {
            fail(error);
            g_error_free(error);
        }
    }
    void fail(const GError* error)
    {
        services->dialogs().tell_failure(parent_of(view.get()), failure_text("无法保存网页", error));
    }
};

void on_mhtml_gathered(GObject* source, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<SaveJob> job(static_cast<SaveJob*>(data));
    GError* error = nullptr;
    if (g_output_stream_splice_finish(G_OUTPUT_STREAM(source), result, &error) < 0) {
        job->fail(error);
        g_error_free(error);
        return;
    }
    auto* memory = G_MEMORY_OUTPUT_STREAM(job->memory.get());
    job->write(g_memory_output_stream_get_data(memory), g_memory_output_stream_get_data_size(memory));
}

void on_mhtml_ready(GObject* source, GAsyncResult* result, gpointer data)
{
    auto* job = static_cast<SaveJob*>(data);
    GError* error = nullptr;
    GInputStream* stream = webkit_web_view_save_finish(WEBKIT_WEB_VIEW(source), result, &error);
    if (!stream) {
        job->fail(error);
        g_error_free(error);
        delete job;
        return;
    }
    job->memory = GObjectPtr<GOutputStream>::adopt(g_memory_output_stream_new_resizable());
    g_output_stream_splice_async(job->memory.get(), stream,
                                 static_cast<GOutputStreamSpliceFlags>(G_OUTPUT_STREAM_SPLICE_CLOSE_SOURCE |
                                                                       G_OUTPUT_STREAM_SPLICE_CLOSE_TARGET),
                                 G_PRIORITY_DEFAULT, nullptr, on_mhtml_gathered, job);
    g_object_unref(stream);
}

void on_main_resource_data(GObject* source, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<SaveJob> job(static_cast<SaveJob*>(data));
    GError* error = nullptr;
    gsize length = 0;
    guchar* bytes = webkit_web_resource_get_data_finish(WEBKIT_WEB_RESOURCE(source), result, &length, &error);
    if (!bytes) {
        job->fail(error);
        g_error_free(error);
        return;
    }
    job->write(bytes, length);
    g_free(bytes);
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
    auto* job = new SaveJob{&services, GObjectPtr<WebKitWebView>::retain(view), target->path, {}};
    if (target->format == SaveFormat::CompletePage)
        webkit_web_view_save(view, WEBKIT_SAVE_MODE_MHTML, nullptr, on_mhtml_ready, job);
    else
        webkit_web_resource_get_data(webkit_web_view_get_main_resource(view), nullptr, on_main_resource_data, job);
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
