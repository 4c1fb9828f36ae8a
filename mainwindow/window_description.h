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
// Text typed into the Address box that is no address is searched for here.
inline constexpr std::string_view search_query_prefix = "https://www.baidu.com/s?wd=";

// The About box: a title and two lines, the author and a contact number (a
// placeholder that reaches nobody).
inline constexpr std::string_view about_title = "====";
inline constexpr std::string_view about_text = "作者：Vesko浏览器开发组\n\n联系电话：000-0000-0000";

// The target name under which the Open in new window command opens its address.
inline constexpr std::string_view new_window_target = "abc";

// --- the Input dialog --------------------------------------------------------
// Positions and sizes in dialog units: a quarter of the dialog font's average
// character width across, an eighth of its character height down.

struct DialogItem {
    int left;
    int top;
    int width;
    int height;
    std::string_view text;
};

struct InputDialogLayout {
    std::string_view title;
    int width;
    int height;
    std::string_view font_family; // the Song face; a Song/Ming style CJK face stands in where missing
    int font_points;
    DialogItem prompt_frame;
    DialogItem prompt;
    DialogItem field;
    DialogItem confirm; // the default button
    DialogItem cancel;
};

inline constexpr InputDialogLayout input_dialog = {
    "打开新网页", 252, 92, "宋体", 9,
    {7, 7, 238, 35, ""},
    {12, 11, 229, 27, "请输入欲跳转到的地址:"},
    {7, 45, 238, 12, ""},
    {63, 66, 55, 19, "确认输入(&O)"},
    {134, 66, 55, 19, "取消(&C)"},
};

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
    {email_label_name, ControlKind::Label, 240, 8, 160, 24, false, Dock::None, "我的邮箱：ve@example.com"},
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

// --- actions -----------------------------------------------------------------
// What a menu item, a toolbar button or a key does. One dispatcher in the Main
// window runs them.

enum class ActionKind {
    None,            // submenus and separators
    BrowserCommand,  // argument: the command, 0..9
    SetTextSize,     // argument: the level, 0..4
    OpenInNewWindow,
    About,
    Exit,
};

struct Action {
    ActionKind kind = ActionKind::None;
    int argument = 0;
    constexpr bool operator==(const Action&) const = default;
};

namespace act {
constexpr Action none{};
constexpr Action command(int c) { return {ActionKind::BrowserCommand, c}; }
constexpr Action text_size(int level) { return {ActionKind::SetTextSize, level}; }
constexpr Action open_in_new_window{ActionKind::OpenInNewWindow, 0};
constexpr Action about{ActionKind::About, 0};
constexpr Action exit{ActionKind::Exit, 0};
} // namespace act

// --- the menu bar ------------------------------------------------------------
// Level 0 is a title in the menu bar; an item followed by items of a greater
// level is a submenu holding them. "-" is a separator. Captions mark their
// mnemonic with "&".

struct MenuRow {
    std::string_view caption;
    int level;
    std::string_view shortcut; // "", "Ctrl+O" or "Ctrl+P"
    bool checked;
    bool disabled;
    bool hidden;
    Action action;
};

inline constexpr std::string_view menu_separator = "-";
inline constexpr std::string_view forward_item = "&F.前进";
inline constexpr std::string_view back_item = "&B.后退";
inline constexpr std::string_view text_size_menu = "&T.字体";

inline constexpr std::array<MenuRow, 26> menu = {{
    {"&F.文件", 0, "", false, false, false, act::none},
    {"&O.在新窗口中打开", 1, "Ctrl+O", false, false, false, act::open_in_new_window},
    {"&A.另存为", 1, "", false, false, false, act::command(6)},
    {"-", 1, "", false, false, false, act::none},
    {"&P.打印", 1, "Ctrl+P", false, false, false, act::command(7)},
    {"&V.打印预览", 1, "", false, false, false, act::command(8)},
    {"&U.页面设置", 1, "", false, false, false, act::command(9)},
    {"-", 1, "", false, false, false, act::none},
    {"&X.退出", 1, "", false, false, false, act::exit},
    {"&V.浏览", 0, "", false, false, false, act::none},
    {"&F.前进", 1, "", false, true, false, act::command(0)},
    {"&B.后退", 1, "", false, true, false, act::command(1)},
    {"&H.到首页", 1, "", false, false, false, act::command(2)},
    {"&S.到搜索页", 1, "", false, false, false, act::command(3)},
    {"-", 1, "", false, false, false, act::none},
    {"&R.刷新", 1, "", false, false, false, act::command(4)},
    {"&S.停止", 1, "", false, false, false, act::command(5)},
    {"-", 1, "", false, false, false, act::none},
    {"&T.字体", 1, "", false, false, false, act::none},
    {"&G.最大", 2, "", false, false, false, act::text_size(4)},
    {"&L.较大", 2, "", false, false, false, act::text_size(3)},
    {"&M.中等", 2, "", false, false, false, act::text_size(2)},
    {"&S.较小", 2, "", false, false, false, act::text_size(1)},
    {"&A.最小", 2, "", false, false, false, act::text_size(0)},
    {"&A.关于", 0, "", false, false, false, act::none},
    {"&A.关于Vesko浏览器", 1, "", false, false, false, act::about},
}};

// --- the toolbar -------------------------------------------------------------

enum class ButtonStyle { Button, Separator, DropDown };

struct ToolbarButton {
    int picture; // index into the pictures below; -1 for none
    std::string_view tooltip;
    ButtonStyle style;
    bool disabled;
    Action action; // of a click on the button (on a drop-down: on its picture part)
};

// Pictures by index, each in a grey and a colour (hot) version: 0 left arrow,
// 1 right arrow, 2 stop sign, 3 page with circular arrows, 4 house, 5 printer,
// 6 letter A.

inline constexpr int back_button = 1;
inline constexpr int forward_button = 2;

inline constexpr std::array<ToolbarButton, 9> toolbar = {{
    {4, "首页", ButtonStyle::Button, false, act::command(2)},
    {0, "后退", ButtonStyle::Button, true, act::command(1)},
    {1, "前进", ButtonStyle::Button, true, act::command(0)},
    {2, "停止", ButtonStyle::Button, false, act::command(5)},
    {3, "刷新", ButtonStyle::Button, false, act::command(4)},
    {-1, "", ButtonStyle::Separator, false, act::none},
    {6, "字体", ButtonStyle::DropDown, false, act::text_size(2)},
    {5, "打印", ButtonStyle::Button, false, act::command(7)},
    {-1, "", ButtonStyle::Separator, false, act::none},
}};

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
