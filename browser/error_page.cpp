#include "browser/error_page.h"

namespace vesko {

namespace {

const char* explanation(LoadFailure failure)
{
    switch (failure) {
    case LoadFailure::HostNotFound:
        return "找不到该服务器。请检查地址是否拼写正确，以及网络连接是否正常。";
    case LoadFailure::ConnectionRefused:
        return "服务器拒绝了连接。该网站可能暂时无法访问，请稍后再试。";
    case LoadFailure::TimedOut:
        return "服务器响应时间过长。请稍后再试。";
    case LoadFailure::Certificate:
        return "该网站的安全证书不受信任，为保护您的信息，已拒绝连接。网页内容没有显示。";
    case LoadFailure::SecureConnection:
        return "无法与该网站建立安全连接，网页内容没有显示。该网站的安全证书可能不受信任。";
    case LoadFailure::UnsupportedScheme:
        return "本浏览器不能显示这种地址。";
    case LoadFailure::TypedScript:
        return "为了安全，地址栏不运行脚本（javascript: 地址）。网页可能借此诱导您运行有害的代码。";
    case LoadFailure::Malformed:
        return "该地址的格式不正确，请检查后重新输入。";
    case LoadFailure::Offline:
        return "浏览器处于脱机状态，没有访问网络。";
    case LoadFailure::ProcessGone:
        return "显示该网页的进程意外终止。请刷新或打开其他地址。";
    case LoadFailure::Other:
        break;
    }
    return "打开该网页时出错。";
}

} // namespace

const char* load_failure_headline(LoadFailure failure)
{
    switch (failure) {
    case LoadFailure::Certificate:
    case LoadFailure::SecureConnection:
        return "连接不安全";
    case LoadFailure::ProcessGone:
        return "网页已崩溃";
    default:
        return "无法打开网页";
    }
}

std::string html_escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c; break;
        }
    }
    return out;
}

std::string error_page_html(LoadFailure failure, const std::string& address, const std::string& detail)
{
    // Very long addresses are shortened on the page only; the Address box keeps
    // the whole text.
    constexpr std::size_t shown_limit = 2048;
    std::string shown = address.size() > shown_limit ? address.substr(0, shown_limit) + "…" : address;

    std::string html;
    html += "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\">"
            "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src 'unsafe-inline'\">"
            "<title>";
    html += load_failure_headline(failure);
    html += "</title><style>"
            "body{font-family:sans-serif;margin:2em;color:#222;background:#fff}"
            "h1{font-size:1.3em;margin:0 0 .8em}"
            ".address{font-family:monospace;word-break:break-all;background:#f2f2f2;padding:.3em .5em}"
            ".detail{color:#777;font-size:.85em;margin-top:1.5em;word-break:break-all}"
            "</style></head><body><h1>";
    html += load_failure_headline(failure);
    html += "</h1><p>无法打开以下地址：</p><p class=\"address\">";
    html += html_escape(shown);
    html += "</p><p>";
    html += explanation(failure);
    html += "</p>";
    if (!detail.empty()) {
        html += "<p class=\"detail\">";
        html += html_escape(detail);
        html += "</p>";
    }
    html += "</body></html>";
    return html;
}

} // namespace vesko
