#include "browser/print_preview.h"

#include <gtkmm/adjustment.h>
#include <gtkmm/drawingarea.h>
#include <gdkmm/screen.h>
#include <glib/gstdio.h>
#include <poppler.h>

#include <algorithm>
#include <cmath>

namespace vesko {

namespace {
constexpr double min_zoom = 0.25;
constexpr double max_zoom = 4.0;
// Points (1/72 in) to pixels at 100 %.
constexpr double pixels_per_point = 96.0 / 72.0;
} // namespace

PrintPreviewWindow::PrintPreviewWindow(Gtk::Window* parent, std::string pdf_path, std::function<void()> print)
    : m_path(std::move(pdf_path)), m_print_again(std::move(print))
{
    set_title("打印预览");
    // A page across at three quarters of its size, as tall as the screen allows.
    int height = 800;
    if (auto screen = Gdk::Screen::get_default())
        height = std::min(height, screen->get_height() - 80);
    set_default_size(720, std::max(height, 300));
    m_zoom = 0.75;
    if (parent)
        set_transient_for(*parent);
    property_destroy_with_parent() = true;

    GError* error = nullptr;
    gchar* uri = g_filename_to_uri(m_path.c_str(), nullptr, &error);
    if (uri)
        m_document = poppler_document_new_from_file(uri, nullptr, &error);
    g_free(uri);
    if (error)
        g_error_free(error);

    m_bar.set_border_width(4);
    m_bar.pack_start(m_previous, Gtk::PACK_SHRINK);
    m_bar.pack_start(m_next, Gtk::PACK_SHRINK);
    m_bar.pack_start(m_page_label, Gtk::PACK_SHRINK, 8);
    m_bar.pack_start(m_zoom_out, Gtk::PACK_SHRINK);
    m_bar.pack_start(m_zoom_label, Gtk::PACK_SHRINK);
    m_bar.pack_start(m_zoom_in, Gtk::PACK_SHRINK);
    m_bar.pack_end(m_close, Gtk::PACK_SHRINK);
    m_bar.pack_end(m_print, Gtk::PACK_SHRINK);
    m_layout.pack_start(m_bar, Gtk::PACK_SHRINK);
    m_layout.pack_start(m_scroller, Gtk::PACK_EXPAND_WIDGET);
    m_scroller.add(m_pages);
    m_pages.set_border_width(12);
    m_pages.set_halign(Gtk::ALIGN_CENTER);
    add(m_layout);

    if (!m_document) {
        auto* message = Gtk::manage(new Gtk::Label("无法显示打印预览：打印的文件无法读取。"));
        m_pages.pack_start(*message, Gtk::PACK_SHRINK);
        for (Gtk::Widget* w : {static_cast<Gtk::Widget*>(&m_previous), static_cast<Gtk::Widget*>(&m_next),
                               static_cast<Gtk::Widget*>(&m_zoom_in), static_cast<Gtk::Widget*>(&m_zoom_out)})
            w->set_sensitive(false);
    } else {
        for (int i = 0; i < page_count(); ++i) {
            auto* area = Gtk::manage(new Gtk::DrawingArea());
            area->signal_draw().connect([this, i](const Cairo::RefPtr<Cairo::Context>& cr) { return draw_page(cr, i); });
            m_pages.pack_start(*area, Gtk::PACK_SHRINK);
            m_page_widgets.push_back(area);
        }
        resize_pages();
    }

    m_previous.signal_clicked().connect([this] { show_page(m_current - 1); });
    m_next.signal_clicked().connect([this] { show_page(m_current + 1); });
    m_zoom_in.signal_clicked().connect([this] { set_zoom(m_zoom * 1.25); });
    m_zoom_out.signal_clicked().connect([this] { set_zoom(m_zoom / 1.25); });
    m_print.signal_clicked().connect([this] {
        if (m_print_again)
            m_print_again();
    });
    m_close.signal_clicked().connect([this] { close(); });
    m_scroller.get_vadjustment()->signal_value_changed().connect(sigc::mem_fun(*this, &PrintPreviewWindow::on_scrolled));
    update_label();
    show_all_children();
}

PrintPreviewWindow::~PrintPreviewWindow()
{
    if (m_document)
        g_object_unref(m_document);
    if (!m_path.empty())
        g_unlink(m_path.c_str());
}

int PrintPreviewWindow::page_count() const
{
    return m_document ? poppler_document_get_n_pages(m_document) : 0;
}

void PrintPreviewWindow::show_page(int index)
{
    if (index < 0 || index >= page_count())
        return;
    m_current = index;
    // Scroll the page's top into view; drawing follows.
    Gtk::Widget* page = m_page_widgets[static_cast<std::size_t>(index)];
    int x = 0;
    int y = 0;
    if (page->translate_coordinates(m_pages, 0, 0, x, y))
        m_scroller.get_vadjustment()->set_value(y);
    update_label();
}

void PrintPreviewWindow::set_zoom(double zoom)
{
    m_zoom = std::clamp(zoom, min_zoom, max_zoom);
    resize_pages();
    update_label();
}

void PrintPreviewWindow::resize_pages()
{
    for (int i = 0; i < static_cast<int>(m_page_widgets.size()); ++i) {
        PopplerPage* page = poppler_document_get_page(m_document, i);
        double w = 0;
        double h = 0;
        if (page) {
            poppler_page_get_size(page, &w, &h);
            g_object_unref(page);
        }
        m_page_widgets[static_cast<std::size_t>(i)]->set_size_request(
            static_cast<int>(std::lround(w * pixels_per_point * m_zoom)),
            static_cast<int>(std::lround(h * pixels_per_point * m_zoom)));
    }
}

bool PrintPreviewWindow::draw_page(const Cairo::RefPtr<Cairo::Context>& cr, int index)
{
    PopplerPage* page = poppler_document_get_page(m_document, index);
    if (!page)
        return true;
    ++m_rendered;
    const double scale = pixels_per_point * m_zoom;
    double w = 0;
    double h = 0;
    poppler_page_get_size(page, &w, &h);
    cr->set_source_rgb(1, 1, 1);
    cr->rectangle(0, 0, w * scale, h * scale);
    cr->fill();
    cr->save();
    cr->scale(scale, scale);
    poppler_page_render(page, cr->cobj());
    cr->restore();
    cr->set_source_rgb(0.5, 0.5, 0.5);
    cr->set_line_width(1);
    cr->rectangle(0.5, 0.5, w * scale - 1, h * scale - 1);
    cr->stroke();
    g_object_unref(page);
    return true;
}

void PrintPreviewWindow::on_scrolled()
{
    // The page whose area holds the top of the view is the current one.
    const double top = m_scroller.get_vadjustment()->get_value();
    for (int i = static_cast<int>(m_page_widgets.size()) - 1; i >= 0; --i) {
        int x = 0;
        int y = 0;
        if (m_page_widgets[static_cast<std::size_t>(i)]->translate_coordinates(m_pages, 0, 0, x, y) && y <= top + 1) {
            if (m_current != i) {
                m_current = i;
                update_label();
            }
            return;
        }
    }
}

void PrintPreviewWindow::update_label()
{
    const int count = page_count();
    m_page_label.set_text(count > 0 ? "第 " + std::to_string(m_current + 1) + " 页，共 " + std::to_string(count) + " 页"
                                    : "没有可显示的页");
    m_zoom_label.set_text(std::to_string(static_cast<int>(std::lround(m_zoom * 100))) + " %");
    m_previous.set_sensitive(m_current > 0);
    m_next.set_sensitive(m_current + 1 < count);
}

} // namespace vesko
