#pragma once

// The Main window, described as data: its own properties, its controls in
// stacking order, and the status bar's parts. The widgets are built from these
// tables; changing a caption or a geometry is a one-line change here.

#include <array>
#include <string_view>

namespace vesko::description {

// --- addresses and texts ---------------------------------------------------

// The Address box's initial text and the pane's first page: a web portal's front page.
inline constexpr std::string_view initial_address = "https://www.hao123.com/";
inline constexpr std::string_view home_address = "https://www.hao123.com/";
inline constexpr std::string_view search_address = "https://www.baidu.com/";

// --- the window ------------------------------------------------------------

struct WindowProperties {
    std::string_view caption;
    int outer_width;
    int outer_height;
    std::string_view icon_name;
};

inline constexpr WindowProperties window = {"Vesko浏览器", 649, 447, "vesko"};

// --- the controls ----------------------------------------------------------

enum class ControlKind { Label, AddressBox, StatusBar, BrowserPane, Toolbar };

// Docked controls are placed by the window along an edge at full client width;
// their stored left, top and width are replaced by the docking.
enum class Dock { None, Top, Bottom };

struct Control {
    std::string_view name;
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    bool tab_stop;
    Dock dock;
    std::string_view text;
};

inline constexpr std::string_view email_label_name = "标签2";
inline constexpr std::string_view address_label_name = "标签1";
inline constexpr std::string_view address_box_name = "地址编辑框";
inline constexpr std::string_view status_bar_name = "状态条1";
inline constexpr std::string_view browser_pane_name = "超文本浏览框1";
inline constexpr std::string_view toolbar_name = "工具条1";

// In stacking order, the first row topmost. The Address box's text is the
// initial address. The e-mail address is a reserved example domain.
inline constexpr std::array<Control, 6> controls = {{
    {email_label_name, ControlKind::Label, 240, 8, 160, 24, false, Dock::None, "我的邮箱：dev@example.com"},
    {address_label_name, ControlKind::Label, 399, 5, 34, 20, false, Dock::None, "地址:"},
    {address_box_name, ControlKind::AddressBox, 439, 5, 200, 20, true, Dock::None, initial_address},
    {status_bar_name, ControlKind::StatusBar, 0, 0, 0, 20, false, Dock::Bottom, ""},
    {browser_pane_name, ControlKind::BrowserPane, 10, 33, 558, 295, true, Dock::None, ""},
    {toolbar_name, ControlKind::Toolbar, 0, 0, 0, 28, false, Dock::Top, ""},
}};

constexpr const Control& control(std::string_view name)
{
    for (const Control& c : controls) {
        if (c.name == name)
            return c;
    }
    throw "no such control"; // a compile-time error where used in a constant expression
}

// --- the status bar --------------------------------------------------------

struct StatusPart {
    int width; // -1: the rest of the bar
    std::string_view text;
};

inline constexpr int status_label_part = 0;
inline constexpr int status_message_part = 1;

inline constexpr std::array<StatusPart, 2> status_parts = {{
    {60, "当前状态:"},
    {-1, ""},
}};

} // namespace vesko::description
