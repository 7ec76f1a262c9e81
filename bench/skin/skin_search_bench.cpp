// The skin search over a large folder tree, against `find DIR -iname '*.ini'`
// over the same tree in the same run; and ProbeSkin of one skin file.
//
// skin_search_bench [folders] [files] [skins] [rounds]
//   default 10000 folders, 100000 files, 100 skins, 5 rounds
//
// The tree is made under the system's temporary folder and removed at the
// end. Both searches run once untimed first, so that both see a warm cache.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "skin/find_skin.h"
#include "skin/skin_probe.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

// Folders ten to a parent, four levels deep; files spread over them; a few
// skins and some *.ini files that are no skins.
void MakeTree(const fs::path& root, int folders, int files, int skins) {
    std::vector<fs::path> made{root};
    for (int i = 1; i < folders; ++i) {
        const fs::path folder = made[static_cast<std::size_t>((i - 1) / 10)] / ("Folder" + std::to_string(i));
        fs::create_directory(folder);
        made.push_back(folder);
    }
    for (int i = 0; i < files; ++i) {
        const fs::path& folder = made[static_cast<std::size_t>(i) % made.size()];
        if (i < skins) {
            Write(folder / ("skin" + std::to_string(i) + ".INI"),
                  "[SETTINGS]\r\nver=1.6\r\ntitle=Skin " + std::to_string(i) + "\r\n[BACK]\r\nground=0,0,875,532,bg.bmp\r\n");
        } else if (i % 50 == 0) {
            Write(folder / ("setup" + std::to_string(i) + ".ini"), "[general]\nname=not a skin\n");
        } else {
            Write(folder / ("picture" + std::to_string(i) + ".bmp"), "BM");
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int folders = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int files = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int skins = argc > 3 ? std::atoi(argv[3]) : 100;
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 5;

    std::string name = (fs::temp_directory_path() / "pellox-search-bench-XXXXXX").string();
    if (!mkdtemp(name.data())) return 1;
    const fs::path root = name;
    MakeTree(root, folders, files, skins);

    const std::string find_command = "find '" + root.string() + "' -iname '*.ini' > /dev/null";
    std::size_t listed = 0;
    auto ours = [&] {
        pellox::SkinMenu menu;
        pellox::FindSkinInRoots({root}, pellox::NoTitleMarker, menu);
        listed = menu.MenuTitlesSU.size() - 1;
    };
    ours();
    if (std::system(find_command.c_str()) != 0) return 1;

    std::vector<double> ours_ms, find_ms;
    for (int r = 0; r < rounds; ++r) {
        auto t0 = Clock::now();
        ours();
        ours_ms.push_back(Ms(Clock::now() - t0));
        t0 = Clock::now();
        if (std::system(find_command.c_str()) != 0) return 1;
        find_ms.push_back(Ms(Clock::now() - t0));
    }

    const fs::path one = root / "skin0.INI";
    const int probes = 20000;
    auto t0 = Clock::now();
    int usable = 0;
    for (int i = 0; i < probes; ++i) usable += pellox::ProbeSkin(one).usable;
    const double probe_us = 1000.0 * Ms(Clock::now() - t0) / probes;

    std::printf("tree: %d folders, %d files, %d skins; skins listed: %zu\n", folders, files, skins, listed);
    std::printf("%-28s %8s %8s %8s\n", "search (ms over rounds)", "min", "p50", "max");
    std::printf("%-28s %8.1f %8.1f %8.1f\n", "FindSkin (probes each .ini)", *std::min_element(ours_ms.begin(), ours_ms.end()),
                Median(ours_ms), *std::max_element(ours_ms.begin(), ours_ms.end()));
    std::printf("%-28s %8.1f %8.1f %8.1f\n", "find -iname '*.ini'", *std::min_element(find_ms.begin(), find_ms.end()),
                Median(find_ms), *std::max_element(find_ms.begin(), find_ms.end()));
    std::printf("ratio of medians (FindSkin / find): %.2f\n", Median(ours_ms) / Median(find_ms));
    std::printf("ProbeSkin of one file: %.1f us (%d of %d usable)\n", probe_us, usable, probes);

    std::error_code ec;
    fs::remove_all(root, ec);
    return listed == static_cast<std::size_t>(skins) ? 0 : 1;
}
