// Save As, Print Preview and Page Setup from the menu when things go wrong:
// a full or read-only folder, a document of five hundred pages, a cancelled
// dialog. The user is told what failed, and no file is left half-written.

#include "tests/reliability/private_temp_folder.h"
#include "tests/reliability/reliability_window.h"
#include "browser/print_preview.h"
#include "tests/support/scratch_folder.h"

#include <poppler.h>

namespace vesko::test {
namespace {

// Names in `folder` that start with `prefix` and end with `suffix`.
std::vector<std::string> names_like(const std::string& folder, const std::string& prefix, const std::string& suffix)
{
    std::vector<std::string> out;
    for (const std::string& name : list_folder(folder)) {
        if (name.starts_with(prefix) && name.ends_with(suffix))
            out.push_back(name);
    }
    return out;
}

std::vector<std::string> preview_files()
{
    return names_like(g_get_tmp_dir(), "vesko-preview-", "");
}

// Pages of `pages` paragraphs, each on a sheet of its own when printed.
std::string paged_document(int pages)
{
    std::string html = "<title>多页文档</title><style>div+div{break-before:page}</style>";
    for (int i = 1; i <= pages; ++i)
        html += "<div>第 " + std::to_string(i) + " 页</div>";
    return html;
}

class PageCommandsFaultsTest : public WindowOnEngine {
protected:
    void choose(const char* caption) { window->menu().item(MainMenu::find(caption))->activate(); }

    void load_big_page()
    {
        // Larger than what the full folder has left.
        std::string html = "<title>大页</title>";
        while (html.size() < 200 * 1024)
            html += "<p>保存这一段文字。</p>\n";
        server.add_page("/big", html);
        ASSERT_TRUE(enter_and_settle(server.url("/big")));
    }

    // Save As into `folder`, which holds `kept` and can take no more, over
    // that file and as a new one, in each format.
    void expect_every_save_to_fail_cleanly(const ScratchFolder& folder, const std::string& kept,
                                           std::vector<SaveFormat> formats)
    {
        const std::string kept_bytes = read_file(folder.file(kept));
        std::size_t told = dialogs->failures.size();
        for (SaveFormat format : formats) {
            for (const std::string& name : {kept, std::string("new.html")}) {
                SCOPED_TRACE(name + (format == SaveFormat::HtmlOnly ? " as HTML" : " as MHTML"));
                dialogs->save_answers.push_back(SaveTarget{folder.file(name), format});
                choose("&A.另存为");
                ASSERT_TRUE(wait_until([&] { return dialogs->failures.size() == told + 1; }, 20s));
                ++told;
                EXPECT_TRUE(dialogs->failures.back().starts_with("无法保存网页")) << dialogs->failures.back();
                EXPECT_EQ(list_folder(folder.path()), std::vector<std::string>{kept});
            }
        }
        run_loop_for(300ms);
        EXPECT_EQ(dialogs->failures.size(), told);
        EXPECT_EQ(list_folder(folder.path()), std::vector<std::string>{kept});
        EXPECT_EQ(read_file(folder.file(kept)), kept_bytes);
        EXPECT_LT(typing_delay(), 1s);
    }

    PrintPreviewWindow* open_preview()
    {
        for (Gtk::Window* w : Gtk::Window::list_toplevels()) {
            if (auto* p = dynamic_cast<PrintPreviewWindow*>(w))
                return p;
        }
        return nullptr;
    }
};

TEST_F(PageCommandsFaultsTest, SaveAsIntoAFullFolderTellsTheUserAndLeavesNoPartFile)
{
    load_big_page();
    ScratchFolder folder;
    TinyFilesystem full(folder.path(), "64k");
    if (!full.mounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    std::string filler(60 * 1024, 'k');
    write_file(folder.file("keep.html"), filler);
    ASSERT_EQ(read_file(folder.file("keep.html")).size(), filler.size());
    expect_every_save_to_fail_cleanly(folder, "keep.html", {SaveFormat::HtmlOnly});
}

// The complete page is gathered in memory and written in one go, so a disk
// that fills up leaves nothing behind.
TEST_F(PageCommandsFaultsTest, SaveAsCompletePageIntoAFullFolderLeavesNoPartFile)
{
    load_big_page();
    ScratchFolder folder;
    TinyFilesystem full(folder.path(), "64k");
    if (!full.mounted())
        GTEST_SKIP() << "no small file system can be mounted here";
    write_file(folder.file("keep.html"), std::string(60 * 1024, 'k'));
    expect_every_save_to_fail_cleanly(folder, "keep.html", {SaveFormat::CompletePage});
}

TEST_F(PageCommandsFaultsTest, SaveAsIntoAReadOnlyFolderTellsTheUserAndLeavesNoPartFile)
{
    load_big_page();
    ScratchFolder folder;
    write_file(folder.file("keep.html"), "precious");
    folder.make_read_only();
    expect_every_save_to_fail_cleanly(folder, "keep.html", {SaveFormat::CompletePage, SaveFormat::HtmlOnly});
}

TEST_F(PageCommandsFaultsTest, PrintPreviewOfFiveHundredPagesShowsThemAllAndLeavesNoFile)
{
    ASSERT_FALSE(private_temp_folder().empty());
    ASSERT_EQ(std::string(g_get_tmp_dir()), private_temp_folder());
    server.add_page("/pages", paged_document(500));
    ASSERT_TRUE(enter_and_settle(server.url("/pages")));
    ASSERT_TRUE(preview_files().empty());

    choose("&V.打印预览");
    EXPECT_LT(typing_delay(), 1s);
    ASSERT_TRUE(wait_until([&] { return engine->preview_count() == 1; }, 120s));
    PrintPreviewWindow* preview = open_preview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->loaded());
    EXPECT_EQ(preview->page_count(), 500);
    EXPECT_EQ(preview->page_label().get_text(), "第 1 页，共 500 页");
    preview->show_page(499);
    EXPECT_EQ(preview->page_label().get_text(), "第 500 页，共 500 页");
    EXPECT_EQ(preview_files().size(), 1u);
    EXPECT_TRUE(dialogs->failures.empty());
    EXPECT_LT(typing_delay(), 1s);

    preview->close_button().clicked();
    ASSERT_TRUE(wait_until([&] { return engine->preview_count() == 0; }));
    EXPECT_TRUE(preview_files().empty());
}

TEST_F(PageCommandsFaultsTest, PrintPreviewIntoAFullTemporaryFolderTellsTheUserAndLeavesNoFile)
{
    ASSERT_EQ(std::string(g_get_tmp_dir()), private_temp_folder());
    server.add_page("/pages", paged_document(50));
    ASSERT_TRUE(enter_and_settle(server.url("/pages")));
    TinyFilesystem full(private_temp_folder(), "8k");
    if (!full.mounted())
        GTEST_SKIP() << "no small file system can be mounted here";

    choose("&V.打印预览");
    ASSERT_TRUE(wait_until([&] { return !dialogs->failures.empty() || engine->preview_count() > 0; }, 60s));
    run_loop_for(500ms);
    ASSERT_EQ(dialogs->failures.size(), 1u);
    EXPECT_TRUE(dialogs->failures[0].starts_with("无法打印预览")) << dialogs->failures[0];
    EXPECT_EQ(engine->preview_count(), 0u);
    EXPECT_TRUE(preview_files().empty());
    EXPECT_LT(typing_delay(), 1s);
}

TEST_F(PageCommandsFaultsTest, CancellingPageSetupKeepsWhatWasChosenBefore)
{
    server.add_page("/page", "<title>设置</title><p>page setup</p>");
    ASSERT_TRUE(enter_and_settle(server.url("/page")));
    auto a5_landscape = Gtk::PageSetup::create();
    a5_landscape->set_paper_size(Gtk::PaperSize(GTK_PAPER_NAME_A5));
    a5_landscape->set_orientation(Gtk::PAGE_ORIENTATION_LANDSCAPE);
    dialogs->page_setup_answer = a5_landscape;
    choose("&U.页面设置");
    dialogs->page_setup_answer.reset(); // the user cancels the next one
    choose("&U.页面设置");
    EXPECT_EQ(dialogs->page_setups_asked, 2);
    EXPECT_TRUE(dialogs->failures.empty());

    // The preview prints with the setup of the first dialog.
    choose("&V.打印预览");
    ASSERT_TRUE(wait_until([&] { return engine->preview_count() == 1; }, 60s));
    PrintPreviewWindow* preview = open_preview();
    ASSERT_NE(preview, nullptr);
    gchar* uri = g_filename_to_uri(preview->pdf_path().c_str(), nullptr, nullptr);
    PopplerDocument* pdf = poppler_document_new_from_file(uri, nullptr, nullptr);
    g_free(uri);
    ASSERT_NE(pdf, nullptr);
    PopplerPage* first = poppler_document_get_page(pdf, 0);
    double width = 0;
    double height = 0;
    poppler_page_get_size(first, &width, &height);
    g_object_unref(first);
    g_object_unref(pdf);
    // A5 is 148 x 210 mm: 419.5 x 595.3 points, here the long side across.
    EXPECT_NEAR(width, 595.3, 2.0);
    EXPECT_NEAR(height, 419.5, 2.0);
    preview->close_button().clicked();
    ASSERT_TRUE(wait_until([&] { return engine->preview_count() == 0; }));
    EXPECT_TRUE(preview_files().empty());
}

} // namespace
} // namespace vesko::test
