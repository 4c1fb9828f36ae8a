#include "mainwindow/main_window.h"

#include <glibmm/main.h>

// What the window does in answer to the user and to the pane.

namespace vesko {

// --- the user ----------------------------------------------------------------

void MainWindow::on_address_box_char(int code)
{
    if (code != 13)
        return;
    m_pane->set_url(m_address_box.get_text());
}

void MainWindow::run_action(const description::Action& action)
{
    switch (action.kind) {
    case description::ActionKind::None:
        break;
    case description::ActionKind::BrowserCommand:
        m_pane->exec(action.argument);
        break;
    case description::ActionKind::SetTextSize:
        set_text_size(action.argument);
        break;
    case description::ActionKind::OpenInNewWindow:
        open_in_new_window_command();
        break;
    case description::ActionKind::About:
        about_command();
        break;
    case description::ActionKind::Exit:
        exit_command();
        break;
    }
}

int MainWindow::text_size_row(int level)
{
    for (std::size_t row = 0; row < description::menu.size(); ++row) {
        if (description::menu[row].action == description::act::text_size(level))
            return static_cast<int>(row);
    }
    return -1;
}

void MainWindow::set_text_size(int level)
{
    for (int l = min_text_size_level; l <= max_text_size_level; ++l)
        m_menu->set_checked(text_size_row(l), false);
    m_menu->set_checked(text_size_row(level), true);
    m_pane->set_font_size(level);
}

void MainWindow::open_in_new_window_command()
{
    if (std::optional<std::string> address = m_dialogs->ask_address(*this))
        m_pane->navigate_in_target(*address, std::string(description::new_window_target));
}

void MainWindow::about_command()
{
    m_dialogs->show_about();
}

void MainWindow::popup_menu(std::string_view caption, int x, int y)
{
    m_menu->popup_submenu(MainMenu::find(caption), x, y);
}

void MainWindow::on_toolbar_button_clicked(int index)
{
    if (index < 0 || index >= static_cast<int>(description::toolbar.size()))
        return;
    run_action(description::toolbar[static_cast<std::size_t>(index)].action);
}

void MainWindow::on_toolbar_dropdown_clicked(int, int x, int y)
{
    // Every drop-down arrow opens the Text size menu.
    popup_menu(description::text_size_menu, x, y);
}

// --- the pane ----------------------------------------------------------------

void MainWindow::on_pane_command_state_change(int command, int enabled)
{
    int button = 0;
    std::string_view item;
    if (command == 0) {
        button = description::forward_button;
        item = description::forward_item;
    } else if (command == 1) {
        button = description::back_button;
        item = description::back_item;
    } else {
        return;
    }
    // The toolbar first, then the menu.
    if (enabled != 0) {
        m_toolbar.remove_button_state(button, Toolbar::state_disabled);
        m_menu->set_disabled(MainMenu::find(item), false);
    } else {
        m_toolbar.add_button_state(button, Toolbar::state_disabled);
        m_menu->set_disabled(MainMenu::find(item), true);
    }
}

// --- page events -------------------------------------------------------------

void MainWindow::on_pane_before_navigate()
{
    m_status_bar.set_part_text(description::status_message_part, "正在转向 “" + m_pane->url() + "”");
}

void MainWindow::on_pane_progress_change(int percent)
{
    m_status_bar.set_part_text(description::status_message_part, "已经载入 " + std::to_string(percent) + " %");
}

void MainWindow::on_pane_status_text_change()
{
    m_status_bar.set_part_text(description::status_message_part, m_pane->status_text());
}

void MainWindow::on_pane_document_complete()
{
    m_status_bar.set_part_text(description::status_message_part, "就绪");
    m_pending_address = m_pane->url();
    schedule_page_texts();
}

void MainWindow::on_pane_title_change()
{
    m_pending_caption = m_pane->caption();
    schedule_page_texts();
}

void MainWindow::schedule_page_texts()
{
    if (m_page_texts_due.connected())
        return;
    // Before the frame clock's layout and drawing, which run at a lower
    // priority, so that no frame shows the old text.
    m_page_texts_due = Glib::signal_idle().connect(
        [this] {
            write_page_texts();
            return false;
        },
        Glib::PRIORITY_HIGH_IDLE);
}

void MainWindow::write_page_texts()
{
    m_page_texts_due.disconnect();
    if (m_pending_address) {
        m_writing_page_texts = true;
        m_address_box.set_text(displayable_text(*m_pending_address, std::string::npos));
        m_writing_page_texts = false;
        m_pending_address.reset();
    }
    if (m_pending_caption) {
        set_title(displayable_caption(*m_pending_caption));
        m_pending_caption.reset();
    }
}

} // namespace vesko
