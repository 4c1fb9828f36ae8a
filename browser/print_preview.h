#pragma once

#include <gtkmm/box.h>
#include <gtkmm/button.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/window.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

typedef struct _PopplerDocument PopplerDocument;

namespace vesko {

// Shows a printed page (a PDF made for it) page by page: page count,
// previous and next page, zoom, Print and Close. Pages are rendered only as
// they come into view, so long documents open at once. The PDF is a
// temporary file of the window's own: it is removed when the window goes.
class PrintPreviewWindow : public Gtk::Window {
public:
    // Takes over `pdf_path`. `print` prints the same page again, with the
    // print dialog.
    PrintPreviewWindow(Gtk::Window* parent, std::string pdf_path, std::function<void()> print);
    ~PrintPreviewWindow() override;

    // False when the PDF could not be read; the window then says so.
    bool loaded() const { return m_document != nullptr; }
    int page_count() const;
    int current_page() const { return m_current; } // 0-based
    double zoom() const { return m_zoom; }
    int rendered_pages() const { return m_rendered; }
    const std::string& pdf_path() const { return m_path; }

    void show_page(int index);
    void set_zoom(double zoom);

    Gtk::Button& print_button() { return m_print; }
    Gtk::Button& close_button() { return m_close; }
    Gtk::Label& page_label() { return m_page_label; }

private:
    bool draw_page(const Cairo::RefPtr<Cairo::Context>& cr, int index);
    void update_label();
    void resize_pages();
    void on_scrolled();

    std::string m_path;
    PopplerDocument* m_document = nullptr;
    std::function<void()> m_print_again;
    double m_zoom = 1.0;
    int m_current = 0;
    int m_rendered = 0;

    Gtk::Box m_layout{Gtk::ORIENTATION_VERTICAL, 0};
    Gtk::Box m_bar{Gtk::ORIENTATION_HORIZONTAL, 4};
    Gtk::Button m_previous{"上一页(_P)", true};
    Gtk::Button m_next{"下一页(_N)", true};
    Gtk::Label m_page_label;
    Gtk::Button m_zoom_out{"缩小(_-)", true};
    Gtk::Button m_zoom_in{"放大(_+)", true};
    Gtk::Label m_zoom_label;
    Gtk::Button m_print{"打印(_R)...", true};
    Gtk::Button m_close{"关闭(_C)", true};
    Gtk::ScrolledWindow m_scroller;
    Gtk::Box m_pages{Gtk::ORIENTATION_VERTICAL, 12};
    std::vector<Gtk::Widget*> m_page_widgets;
};

} // namespace vesko
