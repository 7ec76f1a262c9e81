// The watcher tells a burst of events once, with the watched files that fired.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "skinwatch/skin_file_watcher.h"
#include "tests/support/temp_folder.h"

namespace pellox {
namespace {

TEST(SkinFileWatcher, ABurstOfWritesIsToldOnceWithTheFilesThatFired) {
    TempFolder folder;
    const std::filesystem::path picture = folder.Write("hare.bmp", "BM");
    const std::filesystem::path other = folder.Write("bell.bmp", "BM");
    SkinFileWatcher watcher;
    watcher.Watch({{picture, other}, {folder.path()}});
    QSignalSpy changed(&watcher, &SkinFileWatcher::Changed);
    // Written in pieces before the event loop runs again, as an editor's save.
    for (int piece = 0; piece < 10; ++piece) folder.Write("hare.bmp", std::string(static_cast<std::size_t>(piece + 1), 'x'));
    ASSERT_TRUE(changed.wait(3000));
    EXPECT_FALSE(changed.wait(200)) << "one burst, one change";
    ASSERT_EQ(changed.count(), 1);
    const auto fired = changed.first().first().value<std::set<QString>>();
    EXPECT_EQ(fired, (std::set<QString>{QString::fromStdString(picture.string())}));

    // A new file in a watched folder names no file.
    changed.clear();
    folder.Write("new.bmp", "BM");
    ASSERT_TRUE(changed.wait(3000));
    EXPECT_TRUE(changed.first().first().value<std::set<QString>>().empty());
}

}  // namespace
}  // namespace pellox
