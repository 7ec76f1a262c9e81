// How long installing a whole skin takes: the built-in game exported as a
// skin (a skin file, 82 pictures, 8 waves: 2.1 MB) packed as players pack it,
// installed into an empty skins folder, from each kind of source.
//
// The installed copy is removed between rounds, outside the timing.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "skincommands/skin_export.h"
#include "skininstall/install_skins.h"
#include "tests/skininstall/test_archives.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

// The exported skin in a folder, and packed under a top folder named "Night".
class SkinSources {
public:
    SkinSources() {
        std::ostringstream quiet;
        if (pellox::ExportSkinCommand(folder(), quiet, quiet) != 0) throw std::runtime_error("export failed");
        std::vector<pellox::test::ArchiveItem> items;
        for (const auto& entry : fs::recursive_directory_iterator(folder())) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            items.push_back(pellox::test::File("Night/" + entry.path().lexically_relative(folder()).string(),
                                               std::string(std::istreambuf_iterator<char>(in), {})));
        }
        using pellox::test::ArchiveKind;
        temp_.Write("Night.zip", pellox::test::MakeArchive(ArchiveKind::Zip, items));
        temp_.Write("Night.7z", pellox::test::MakeArchive(ArchiveKind::SevenZip, items));
        temp_.Write("Night.tar.gz", pellox::test::MakeArchive(ArchiveKind::TarGz, items));
    }
    fs::path folder() const { return temp_.path() / "Night"; }
    fs::path at(const std::string& name) const { return temp_.path() / name; }

private:
    pellox::TempFolder temp_;
};

const SkinSources& Sources() {
    static const SkinSources sources;
    return sources;
}

void BM_InstallSkin(benchmark::State& state, const std::string& source_name) {
    const fs::path source = source_name.empty() ? Sources().folder() : Sources().at(source_name);
    pellox::TempFolder skins;
    for (auto _ : state) {
        const pellox::SkinInstallResult result = pellox::InstallSkins(source, skins.path());
        if (result.installed.size() != 1) state.SkipWithError(("not installed: " + result.error).c_str());
        state.PauseTiming();
        for (const auto& entry : fs::directory_iterator(skins.path())) fs::remove_all(entry.path());
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_InstallSkin, zip, std::string("Night.zip"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_InstallSkin, sevenzip, std::string("Night.7z"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_InstallSkin, targz, std::string("Night.tar.gz"))->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_InstallSkin, folder, std::string())->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
