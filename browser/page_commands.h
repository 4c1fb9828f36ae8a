#pragma once

// Internal to browser/: Save As, Print, Print Preview and Page Setup for a
// web view. Each does nothing where the view holds no document.

#include <webkit2/webkit2.h>

#include <string>

namespace vesko {

class EngineServices;

bool has_document(WebKitWebView* view);

void save_page_as(EngineServices& services, WebKitWebView* view);
void print_page(EngineServices& services, WebKitWebView* view);
void preview_page(EngineServices& services, WebKitWebView* view);
void set_up_page(EngineServices& services, WebKitWebView* view);

// A temporary file's path beside `target`, made (empty) so that the name is
// ours; empty when the folder takes no new file.
std::string make_temporary_beside(const std::string& target);

} // namespace vesko
