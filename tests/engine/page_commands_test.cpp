// Save As, Print, Print Preview and Page Setup on the real engine, the dialogs
// answered by the test.

#include "tests/support/engine_fixture.h"
#include "browser/print_preview.h"
#include "tests/support/scratch_folder.h"

#include <glib/gstdio.h>
#include <glibmm/convert.h>
#include <poppler.h>

namespace vesko {
namespace {

using test::ScratchFolder;

// A 1 x 1 PNG, red.
// (Split where a hex escape would swallow the letter after it.)
const std::string tiny_png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x01\0\0\0\x01\x08\x02\0\0\0\x90wS\xde\0\0\0\x0cIDATx\x9c"
                           "c\xf8\xcf\xc0\0\0\x03\x01\x01\0\xc9\xfe\x92\xef\0\0\0\0IEND\xae"
                           "B`\x82",
                           69);

class PageCommandsTest : public test::EngineTest {
protected:
    void load_sample()
    {
        test::Response picture;
        picture.content_type = "image/png";
        picture.body = tiny_png;
        server.add("/pic.png", picture);
        server.add_page("/sample", sample_html);
        ASSERT_TRUE(load(server.url("/sample")));
        ASSERT_TRUE(wait_for_title("保存 测试/页"));
    }

    // Waits until nothing in the folder but `name` is left (the temporary file
    // is gone) and `name` is there.
    bool wait_saved(const ScratchFolder& folder, const std::string& name)
    {
        return test::wait_until([&] { return test::list_folder(folder.path()) == std::vector<std::string>{name}; },
                                std::chrono::seconds(20));
    }

    // Bytes a browser must not change: CRLF, non-ASCII, a NUL-free odd layout.
    const std::string sample_html = "<html><head><meta charset='utf-8'><title>保存 测试/页</title></head>\r\n"
                                    "<body>MHTML probe text 中文<img src='/pic.png'>\r\n\t</body></html>\r\n";
};

TEST_F(PageCommandsTest, SaveAsCompletePageWritesMhtmlWithTheImage)
{
    load_sample();
    ScratchFolder folder;
    dialogs->save_answers.push_back(SaveTarget{folder.file("page.mht"), SaveFormat::CompletePage});
    pane->exec(BrowserCommand::SaveAs);
    ASSERT_TRUE(wait_saved(folder, "page.mht"));
    const std::string mhtml = test::read_file(folder.file("page.mht"));
    EXPECT_NE(mhtml.find("MHTML probe text"), std::string::npos);
    EXPECT_NE(mhtml.find(server.url("/pic.png")), std::string::npos);
    EXPECT_NE(mhtml.find("image/png"), std::string::npos);
    // The name proposed comes from the title, with no folder separator in it.
    EXPECT_EQ(dialogs->suggested_save_names, std::vector<std::string>{"保存 测试_页"});
    EXPECT_TRUE(dialogs->failures.empty());
}

TEST_F(PageCommandsTest, SaveAsHtmlOnlyKeepsTheBytesAsReceived)
{
    load_sample();
    ScratchFolder folder;
    test::write_file(folder.file("page.html"), "old contents");
    dialogs->save_answers.push_back(SaveTarget{folder.file("page.html"), SaveFormat::HtmlOnly});
    pane->exec(BrowserCommand::SaveAs);
    ASSERT_TRUE(test::wait_until([&] { return test::read_file(folder.file("page.html")) == sample_html; }));
    ASSERT_TRUE(wait_saved(folder, "page.html"));
}

TEST_F(PageCommandsTest, AFailedSaveLeavesNoFileAndTheOldOneAsItWas)
{
    load_sample();
    ScratchFolder folder;
    test::write_file(folder.file("keep.mht"), "precious");
    folder.make_read_only();
    for (SaveFormat format : {SaveFormat::CompletePage, SaveFormat::HtmlOnly}) {
        dialogs->save_answers.push_back(SaveTarget{folder.file("keep.mht"), format});
        dialogs->save_answers.push_back(SaveTarget{folder.file("new.mht"), format});
        pane->exec(BrowserCommand::SaveAs);
        pane->exec(BrowserCommand::SaveAs);
    }
    test::run_loop_for(std::chrono::milliseconds(300));
    EXPECT_EQ(test::list_folder(folder.path()), std::vector<std::string>{"keep.mht"});
    EXPECT_EQ(test::read_file(folder.file("keep.mht")), "precious");
    EXPECT_EQ(dialogs->failures.size(), 4u); // the user is told each time

    // A folder that is not there fails the same way.
    dialogs->save_answers.push_back(SaveTarget{folder.file("missing/x.mht"), SaveFormat::CompletePage});
    pane->exec(BrowserCommand::SaveAs);
    EXPECT_TRUE(test::wait_until([&] { return dialogs->failures.size() == 5u; }));
}

TEST_F(PageCommandsTest, CancellingSaveAsWritesNothing)
{
    load_sample();
    pane->exec(BrowserCommand::SaveAs); // nothing queued: cancelled
    EXPECT_EQ(dialogs->suggested_save_names.size(), 1u);
    EXPECT_TRUE(dialogs->failures.empty());
}

TEST_F(PageCommandsTest, WithoutADocumentTheCommandsDoNothing)
{
    for (int command : {6, 7, 8, 9})
        pane->exec(command);
    test::run_loop_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(dialogs->suggested_save_names.empty());
    EXPECT_EQ(dialogs->page_setups_asked, 0);
    EXPECT_EQ(engine->preview_count(), 0u);
}

// The page size of a PDF's first page, in points, and its text.
struct PdfFacts {
    int pages = 0;
    double width = 0;
    double height = 0;
    std::string text;
};

PdfFacts read_pdf(const std::string& path)
{
    PdfFacts facts;
    gchar* uri = g_filename_to_uri(path.c_str(), nullptr, nullptr);
    PopplerDocument* doc = poppler_document_new_from_file(uri, nullptr, nullptr);
    g_free(uri);
    if (!doc)
        return facts;
    facts.pages = poppler_document_get_n_pages(doc);
    if (PopplerPage* page = poppler_document_get_page(doc, 0)) {
        poppler_page_get_size(page, &facts.width, &facts.height);
        gchar* text = poppler_page_get_text(page);
        facts.text = text ? text : "";
        g_free(text);
        g_object_unref(page);
    }
    g_object_unref(doc);
    return facts;
}

TEST_F(PageCommandsTest, PrintUsesThePageSetupChosenInPageSetup)
{
    load_sample();
    auto a5_landscape = Gtk::PageSetup::create();
    a5_landscape->set_paper_size(Gtk::PaperSize(GTK_PAPER_NAME_A5));
    a5_landscape->set_orientation(Gtk::PAGE_ORIENTATION_LANDSCAPE);
    dialogs->page_setup_answer = a5_landscape;
    pane->exec(BrowserCommand::PageSetup);
    EXPECT_EQ(dialogs->page_setups_asked, 1);

    ScratchFolder folder;
    auto settings = Gtk::PrintSettings::create();
    settings->set_printer("Print to File");
    settings->set(GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    settings->set(GTK_PRINT_SETTINGS_OUTPUT_URI, Glib::filename_to_uri(folder.file("out.pdf")));
    dialogs->print_settings = settings;
    pane->exec(BrowserCommand::Print);
    ASSERT_TRUE(test::wait_until([&] { return read_pdf(folder.file("out.pdf")).pages > 0; }, std::chrono::seconds(30)));
    const PdfFacts pdf = read_pdf(folder.file("out.pdf"));
    // A5 is 148 x 210 mm: 419.5 x 595.3 points, here the long side across.
    EXPECT_NEAR(pdf.width, 595.3, 2.0);
    EXPECT_NEAR(pdf.height, 419.5, 2.0);
    EXPECT_NE(pdf.text.find("MHTML probe text"), std::string::npos);
}

TEST_F(PageCommandsTest, PrintPreviewShowsEveryPageAndRemovesItsFileWhenClosed)
{
    std::string long_page = "<title>长</title>";
    for (int i = 0; i < 400; ++i)
        long_page += "<p>line " + std::to_string(i) + "</p>";
    server.add_page("/long", long_page);
    ASSERT_TRUE(load(server.url("/long")));

    pane->exec(BrowserCommand::PrintPreview);
    ASSERT_TRUE(test::wait_until([&] { return engine->preview_count() == 1; }, std::chrono::seconds(30)));
    // The preview is a window of its own; find it among the toplevels.
    PrintPreviewWindow* preview = nullptr;
    for (Gtk::Window* w : Gtk::Window::list_toplevels()) {
        if (auto* p = dynamic_cast<PrintPreviewWindow*>(w))
            preview = p;
    }
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(preview->loaded());
    const std::string pdf = preview->pdf_path();
    EXPECT_TRUE(test::file_exists(pdf));
    EXPECT_EQ(preview->page_count(), read_pdf(pdf).pages);
    EXPECT_GT(preview->page_count(), 5);
    EXPECT_EQ(preview->page_label().get_text(), "第 1 页，共 " + std::to_string(preview->page_count()) + " 页");
    ASSERT_TRUE(test::wait_until([&] { return preview->rendered_pages() > 0; }));
    // Only what is in view is drawn.
    EXPECT_LT(preview->rendered_pages(), preview->page_count());

    preview->show_page(2);
    EXPECT_EQ(preview->current_page(), 2);
    preview->set_zoom(2.0);
    EXPECT_DOUBLE_EQ(preview->zoom(), 2.0);

    preview->close_button().clicked();
    ASSERT_TRUE(test::wait_until([&] { return engine->preview_count() == 0; }));
    EXPECT_FALSE(test::file_exists(pdf));
}

} // namespace
} // namespace vesko
