// The skin search on its own thread: what reaches the user-interface thread,
// pausing, and stopping in the middle of a walk.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <future>
#include <thread>

#include <gtest/gtest.h>

#include "startscreen/background_skin_search.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

struct Heard {
    std::vector<std::string> titles;
    int ends = 0;
    bool off_the_ui_thread = false;

    BackgroundSkinSearch::Callbacks Callbacks() {
        return {[this](const SkinProbe& skin, const fs::path&) {
                    titles.push_back(skin.TitleSU);
                    off_the_ui_thread |= QThread::currentThread() != QCoreApplication::instance()->thread();
                },
                [this] { ++ends; }};
    }
};

void WaitForEnd(const Heard& heard) {
    QElapsedTimer waited;
    waited.start();
    while (heard.ends == 0 && waited.elapsed() < 10000) QCoreApplication::processEvents();
}

// prefix and number; appended, since "text" + std::to_string trips a false
// -Wrestrict warning of GCC 12.
std::string Numbered(std::string prefix, int n) { return prefix.append(std::to_string(n)); }

void WriteSkins(const TempFolder& tree, int count) {
    for (int i = 0; i < count; ++i)
        tree.Write(Numbered("d", i % 7) + Numbered("/s", i) + ".ini", Numbered("[SETTINGS]\nver=1.6\ntitle=S", i) + "\n");
}

TEST(BackgroundSkinSearch, HandsEverySkinInMenuOrderThenItsEndToTheUiThread) {
    TempFolder tree;
    WriteSkins(tree, 30);
    Heard heard;
    BackgroundSkinSearch search({tree.path()}, heard.Callbacks());
    search.Pause();  // at once: the walk holds at its next step until Resume
    search.Resume();
    WaitForEnd(heard);
    EXPECT_EQ(heard.ends, 1);
    ASSERT_EQ(heard.titles.size(), 30u);
    EXPECT_EQ(heard.titles.front(), "S0");  // d0/s0.ini
    EXPECT_EQ(heard.titles.back(), "S6");   // d6/s6.ini, after s13, s20, s27
    EXPECT_FALSE(heard.off_the_ui_thread);
}

TEST(BackgroundSkinSearch, StoppedInTheMiddleOfAWalkItCallsNothingMore) {
    // Thousands of folders: the walk is still going when its owner goes.
    TempFolder tree(TempFolder::Where::Memory);
    for (int i = 0; i < 3000; ++i) tree.Folder(Numbered("a", i % 50) + Numbered("/b", i));
    WriteSkins(tree, 10);
    Heard heard;
    {
        BackgroundSkinSearch search({tree.path()}, heard.Callbacks());
        search.Pause();
    }  // a paused walk too is woken to stop
    const std::size_t heard_by_then = heard.titles.size();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 200) QCoreApplication::processEvents();
    EXPECT_EQ(heard.titles.size(), heard_by_then);
    EXPECT_EQ(heard.ends, 0);
}

// A walk held up inside the system (a folder on a server that does not
// answer) is left behind, so that closing never hangs, and said to be: the
// program then ends without destroying its static objects under it.
TEST(BackgroundSkinSearch, AWalkThatDoesNotAnswerIsLeftBehindAndSaidToBe) {
    std::promise<void> answer;
    std::shared_future<void> answered = answer.get_future().share();
    Heard heard;
    {
        BackgroundSkinSearch search([answered](const SkinFoundFn&, const SkinSearchGoOnFn&) { answered.wait(); },
                                    heard.Callbacks());
        EXPECT_FALSE(search.Stop());
        EXPECT_FALSE(search.Stop());  // asked again, the same
    }
    answer.set_value();  // the walk left behind ends by itself

    BackgroundSkinSearch answering(
        [](const SkinFoundFn&, const SkinSearchGoOnFn& go_on) {
            while (go_on()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        },
        heard.Callbacks());
    EXPECT_TRUE(answering.Stop());
    EXPECT_EQ(heard.ends, 0);
}

}  // namespace
}  // namespace pellox
