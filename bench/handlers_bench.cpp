// The cost of the Main window's answers to page events: the status bar, the
// Address box, the caption and the Back / Forward state. Each runs on the UI
// thread for every event a page raises, so each must stay far below a frame.
// The window is the real one, started and shown; the pane is the fake one of
// the UI tests, which raises events on demand. Needs a display (Xvfb will do).
//
// Values alternate between iterations, so that no handler is timed doing
// nothing because the text it writes is already there. Every few thousand
// iterations, outside the timing, the loop runs the toolkit's pending work
// (layout, drawing), so that what the handlers leave behind does not pile up.

#include "mainwindow/main_window.h"
#include "tests/support/fake_browser_pane.h"

#include <benchmark/benchmark.h>
#include <gtkmm/main.h>

#include <memory>
#include <string>

namespace {

using vesko::MainWindow;
using vesko::test::FakeBrowserPane;

struct Subject {
    std::unique_ptr<MainWindow> window;
    FakeBrowserPane* fake = nullptr;
};

Subject* subject = nullptr;

void run_pending_work()
{
    while (Gtk::Main::events_pending())
        Gtk::Main::iteration(false);
}

// Runs one step per iteration, with the toolkit's own work done in between,
// untimed, every so often.
template <class Step>
void run(benchmark::State& state, Step step)
{
    run_pending_work();
    unsigned i = 0;
    for (auto _ : state) {
        step(i);
        if ((++i & 0xFFF) == 0) {
            state.PauseTiming();
            run_pending_work();
            state.ResumeTiming();
        }
    }
    run_pending_work();
}

const std::string addresses[2] = {"http://127.0.0.1:8080/p/1?r=ours1&n=1", "https://www.example.com/news/today.html"};
const std::string titles[2] = {"测试页面 1", "Example Domain — today's news"};

void BM_ProgressChange(benchmark::State& state)
{
    run(state, [](unsigned i) { subject->fake->signal_progress_change().emit(static_cast<int>(i % 101)); });
}
BENCHMARK(BM_ProgressChange);

void BM_BeforeNavigate(benchmark::State& state)
{
    run(state, [](unsigned i) {
        subject->fake->url_value = addresses[i & 1];
        subject->fake->signal_before_navigate().emit();
    });
}
BENCHMARK(BM_BeforeNavigate);

void BM_DocumentComplete(benchmark::State& state)
{
    run(state, [](unsigned i) {
        subject->fake->url_value = addresses[i & 1];
        subject->fake->signal_document_complete().emit();
    });
}
BENCHMARK(BM_DocumentComplete);

void BM_StatusTextChange(benchmark::State& state)
{
    run(state, [](unsigned i) {
        subject->fake->status_text_value = (i & 1) ? addresses[0] : std::string();
        subject->fake->signal_status_text_change().emit();
    });
}
BENCHMARK(BM_StatusTextChange);

void BM_TitleChange(benchmark::State& state)
{
    run(state, [](unsigned i) {
        subject->fake->caption_value = titles[i & 1];
        subject->fake->signal_title_change().emit();
    });
}
BENCHMARK(BM_TitleChange);

void BM_CommandStateChange(benchmark::State& state)
{
    run(state, [](unsigned i) { subject->window->on_pane_command_state_change(1, static_cast<int>(i & 1)); });
}
BENCHMARK(BM_CommandStateChange);

// The Address box and the caption are written on the loop's next turn, once
// for however many events came in between. These two time an event together
// with that write, as if every event came alone in its turn of the loop: the
// most that the window's texts can cost a page's events.
void turn_the_loop_once()
{
    g_main_context_iteration(nullptr, FALSE);
}

void BM_DocumentCompleteAndBoxWritten(benchmark::State& state)
{
    run(state, [](unsigned i) {
        subject->fake->url_value = addresses[i & 1];
        subject->fake->signal_document_complete().emit();
        turn_the_loop_once();
    });
}
BENCHMARK(BM_DocumentCompleteAndBoxWritten);

void BM_TitleChangeAndCaptionWritten(benchmark::State& state)
{
    run(state, [](unsigned i) {
        subject->fake->caption_value = titles[i & 1];
        subject->fake->signal_title_change().emit();
        turn_the_loop_once();
    });
}
BENCHMARK(BM_TitleChangeAndCaptionWritten);

} // namespace

int main(int argc, char** argv)
{
    Gtk::Main kit(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    Subject s;
    s.window = std::make_unique<MainWindow>([&](const std::string&) {
        auto pane = std::make_unique<FakeBrowserPane>();
        s.fake = pane.get();
        return pane;
    });
    s.window->start();
    // Shown and laid out, as the user sees it.
    while (!s.window->get_mapped() || s.window->client_width() <= 1)
        Gtk::Main::iteration(true);
    run_pending_work();
    subject = &s;

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    subject = nullptr;
    return 0;
}
