#include "skininstall/install_skins.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

#include "skin/find_skin.h"
#include "skin/skin_file.h"
#include "skin/skin_probe.h"
#include "skin/skin_text.h"
#include "skininstall/archive_names.h"
#include "skininstall/archive_unpack.h"
#include "skininstall/skin_candidates.h"
#include "skininstall/installed_twins.h"
#include "skininstall/skin_layout.h"

namespace pellox {
namespace {

namespace fs = std::filesystem;

// Hidden, so that the skin search never offers a half-made skin.
constexpr std::string_view kStagingPrefix = ".pellox-install-";
constexpr std::size_t kLongestName = 100;  // bytes of a new folder's name, before " (2)"
// Names tried when others take each free name first.
constexpr int kRenameAttempts = 1000;

bool HasIniExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".ini";
}

// An install's staging folder older than this and locked by nobody was left
// by a killed install. The grace covers the moment between making the folder
// and locking it.
constexpr auto kStagingGrace = std::chrono::seconds(10);

// A folder under skins_folder for one install: what is unpacked, what is
// built, an empty folder standing for the start folder. Removed with all in
// it when the install ends, however it ends. While the install runs it holds
// a lock (flock) on the folder: that, not a process number, tells a live
// install from a killed one, so an install in another PID namespace (a
// sandbox sharing the home folder) is never taken for dead.
class StagingFolder {
public:
    explicit StagingFolder(const fs::path& skins_folder) {
        std::string name = (skins_folder / (std::string(kStagingPrefix) + "XXXXXX")).string();
        if (::mkdtemp(name.data()) == nullptr) {
            ec_ = std::error_code(errno, std::generic_category());
            return;
        }
        path_ = name;
        lock_ = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (lock_ < 0 || ::flock(lock_, LOCK_EX | LOCK_NB) != 0) {
            ec_ = std::error_code(errno, std::generic_category());
            return;
        }
        fs::create_directories(path_ / "start", ec_);
    }
    ~StagingFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
        if (lock_ >= 0) ::close(lock_);
    }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const std::error_code& error() const { return ec_; }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
    int lock_ = -1;
    std::error_code ec_;
};

// A folder name made from a skin's folder or file name: readable UTF-8, no
// "/", no control characters, not hidden, not too long.
std::string SafeFolderName(const std::string& bytes) {
    const std::string utf8 = ArchiveNameToUtf8(bytes);
    std::string name;
    for (unsigned char c : utf8) name += (c < 0x20 || c == 0x7F || c == '/' || c == '\\') ? '_' : static_cast<char>(c);
    const std::size_t start = name.find_first_not_of(". ");
    name = start == std::string::npos ? std::string() : name.substr(start);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    if (name.size() > kLongestName) {
        std::size_t cut = kLongestName;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;  // not inside a letter
        name.resize(cut);
    }
    return name.empty() ? "skin" : name;
}

// name, else "name (2)", "name (3)", ...: one neither on disk nor taken by
// this install.
std::string FreeName(const fs::path& skins_folder, const std::string& name, const std::set<std::string>& taken) {
    for (int n = 1;; ++n) {
        const std::string candidate = n == 1 ? name : name + " (" + std::to_string(n) + ")";
        std::error_code ec;
        if (!taken.contains(candidate) && !fs::exists(fs::symlink_status(skins_folder / candidate, ec))) return candidate;
    }
}

// Moves from into place, never over an existing folder, even an empty one.
bool RenameNoReplace(const fs::path& from, const fs::path& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

// The source as a folder tree: the unpacked archive, the folder itself, or
// the .ini's folder (then only that .ini is a candidate).
enum class SourceKind { Archive, Folder, Ini };
struct Source {
    SourceKind kind = SourceKind::Archive;
    fs::path root;
    std::vector<fs::path> inis;
    std::vector<std::string> other_files;
    bool deeper_folders_left = false;
};

class Installer {
public:
    Installer(const fs::path& source, const fs::path& skins_folder, const SkinInstallLimits& limits,
              SameTitleChoice same_title, InstallMonitor& monitor)
        : source_(source), skins_folder_(skins_folder), limits_(limits), same_title_(same_title), monitor_(monitor) {}

    SkinInstallResult Run() {
        std::error_code ec;
        const fs::file_status source = fs::status(source_, ec);
        if (!fs::exists(source)) return Fail("nothing at " + source_.string());
        if (!fs::is_regular_file(source) && !fs::is_directory(source))
            return Fail(SourceName() + ": not a file or folder (" + KindOf(source.type()) + ")");
        fs::create_directories(skins_folder_, ec);
        std::error_code status_error;
        const fs::file_status skins = fs::status(skins_folder_, status_error);
        if (fs::exists(skins) && !fs::is_directory(skins))
            return Fail("there is a file where the skins folder should be: " + skins_folder_.string() +
                        " (move it away, and the folder is made at the next install)");
        if (!fs::is_directory(skins))
            return Fail("cannot make the skins folder " + skins_folder_.string() + (ec ? ": " + ec.message() : ""));
        RemoveStaleSkinStaging(skins_folder_);
        StagingFolder staging(skins_folder_);
        if (staging.error()) return Fail("cannot write in " + skins_folder_.string() + ": " + staging.error().message());

        if (std::optional<Source> source = ReadSource(staging.path())) InstallFrom(*source, staging.path());
        return std::move(result_);
    }

private:
    // The source as the player named it: its name, the folder's for "name/",
    // the whole path for "/".
    std::string SourceName() const {
        if (!source_.filename().empty()) return source_.filename().string();
        const fs::path folder = source_.parent_path().filename();
        return folder.empty() ? source_.string() : folder.string();
    }

    static std::string KindOf(fs::file_type type) {
        switch (type) {
            case fs::file_type::fifo: return "a FIFO";
            case fs::file_type::character:
            case fs::file_type::block: return "a device";
            case fs::file_type::socket: return "a socket";
            default: return "of an unknown kind";
        }
    }

    SkinInstallResult Fail(std::string error) {
        result_.installed.clear();
        result_.error = std::move(error);
        return result_;
    }

    // A stopped install says so and nothing else.
    void MarkCancelled() {
        result_ = SkinInstallResult{};
        result_.error = kInstallCancelled;
        result_.cancelled = true;
    }

    // Whether the install was asked to stop (then marked so).
    bool Cancelled() {
        if (!monitor_.StopRequested()) return false;
        MarkCancelled();
        return true;
    }

    std::optional<Source> ReadSource(const fs::path& staging) {
        std::error_code ec;
        Source source;
        if (fs::is_directory(source_, ec)) {
            source.kind = SourceKind::Folder;
            source.root = source_;
        } else if (HasIniExtension(source_)) {
            source.kind = SourceKind::Ini;
            source.root = fs::absolute(source_, ec).parent_path();
            source.inis.push_back(fs::absolute(source_, ec));
            return source;
        } else {
            source.root = staging / "unpacked";
            fs::create_directories(source.root, ec);
            UnpackResult unpacked = UnpackArchive(source_, source.root, limits_, monitor_);
            result_.notes = std::move(unpacked.notes);
            if (unpacked.cancelled) {
                MarkCancelled();
                return std::nullopt;
            }
            if (!unpacked.error.empty()) {
                Fail(SourceName() + ": " + unpacked.error);
                return std::nullopt;
            }
        }
        SkinCandidates candidates = FindSkinCandidates(source.root, limits_.max_entries);
        if (!candidates.error.empty()) {
            Fail(SourceName() + ": " + candidates.error);
            return std::nullopt;
        }
        if (Cancelled()) return std::nullopt;
        source.inis = std::move(candidates.inis);
        source.other_files = std::move(candidates.other_files);
        source.deeper_folders_left = candidates.deeper_folders_left;
        return source;
    }

    // Where the candidate lies inside the source, for the player.
    std::string Where(const Source& source, const fs::path& ini) const {
        const fs::path inside = ini.lexically_relative(source.root);
        return ArchiveNameToUtf8(inside.empty() ? ini.string() : inside.string());
    }

    // The new folder's name: the skin's folder's; at the top of an archive
    // the archive's, at the top of a folder the folder's; the skin file's
    // when its folder holds other skins too, or it was named alone.
    std::string NameOf(const Source& source, const fs::path& ini, const std::vector<fs::path>& usable) const {
        const fs::path folder = ini.parent_path();
        const bool alone = std::count_if(usable.begin(), usable.end(),
                                         [&](const fs::path& other) { return other.parent_path() == folder; }) == 1;
        if (!alone || source.kind == SourceKind::Ini) return SafeFolderName(ini.stem().string());
        if (folder == source.root && source.kind == SourceKind::Archive) return ArchiveStem();
        std::error_code ec;
        const fs::path named = fs::weakly_canonical(folder, ec);
        return SafeFolderName(named.filename().empty() ? ini.stem().string() : named.filename().string());
    }

    // An archive's name without its extension: "Night.tar.gz" gives "Night".
    std::string ArchiveStem() const {
        fs::path stem = source_.stem();
        if (stem.extension() == ".tar") stem = stem.stem();
        return SafeFolderName(stem.string());
    }

    void InstallFrom(const Source& source, const fs::path& staging) {
        std::vector<fs::path> usable;
        for (const fs::path& ini : source.inis) {
            const LoadedSkinFile loaded = LoadSkinFile(ini);
            if (!loaded) {
                result_.rejected.push_back({Where(source, ini), loaded.reason()});
                continue;
            }
            std::vector<std::string> reasons = SkinUnusableReasons(*loaded);
            if (reasons.empty()) {
                usable.push_back(ini);
                continue;
            }
            std::string reason;
            for (const std::string& r : reasons) reason += (reason.empty() ? "" : "; ") + r;
            result_.rejected.push_back({Where(source, ini), reason});
        }
        if (usable.empty()) {
            NoSkin(source);
            return;
        }
        if (source.deeper_folders_left)
            result_.notes.push_back("the installer looks " + std::to_string(kDeepestSkinFolder) +
                                    " folders deep and stopped there: a skin deeper than that was not looked for");
        if (usable.size() > limits_.max_skins) {
            result_.notes.push_back("it holds " + std::to_string(usable.size()) + " skins; the first " +
                                    std::to_string(limits_.max_skins) + " were installed, at most that many are "
                                    "taken from one source so that the menu stays a menu");
            usable.resize(limits_.max_skins);
        }
        std::uint64_t bytes_left = limits_.max_unpacked_bytes;
        std::set<std::string> taken;
        std::vector<Built> built;
        std::vector<Built> waiting;  // an installed skin has the title: the player's choice first
        for (std::size_t i = 0; i < usable.size(); ++i) {
            if (Cancelled()) return;
            const fs::path& ini = usable[i];
            const std::string wanted_name = NameOf(source, ini, usable);
            const std::string name = FreeName(skins_folder_, wanted_name, taken);
            taken.insert(name);
            SkinToBuild what{ini, source.root, staging / ("build-" + std::to_string(i)), skins_folder_ / name,
                             staging / "start", source.kind != SourceKind::Archive,
                             source.kind == SourceKind::Archive};
            Result<BuiltSkin> built_skin = BuildInstalledSkin(what, bytes_left);
            if (!built_skin) {
                Fail(Where(source, ini) + ": " + built_skin.reason());
                return;
            }
            BuiltSkin& skin = *built_skin;
            const SkinProbe probe = ProbeSkin(what.build / skin.ini_relative);
            InstalledSkin installed{SkinTextToUtf8(probe.TitleSU), SkinTextToUtf8(probe.EnglishTitle()),
                                    what.final_folder, what.final_folder / skin.ini_relative};
            Built one{i, what.build, wanted_name, Where(source, ini), std::move(skin), std::move(installed), {}};
            const std::size_t asked = result_.to_choose.size();
            if (MeetInstalledTwin(one)) built.push_back(std::move(one));
            else if (result_.to_choose.size() > asked) waiting.push_back(std::move(one));
        }
        if (!result_.to_choose.empty() && !ChooseSameTitle(waiting, built)) return;
        // The last moment a stop leaves the skins folder as it was: renaming
        // into place is all or nothing, and is not broken off halfway.
        if (Cancelled()) return;
        if (!PutInPlace(built, taken, staging)) return;
        for (const Built& one : built) {
            if (one.skin.dir_rewritten)
                result_.notes.push_back(one.where + ": its dir was set to " + one.skin.dir_written.string() +
                                        ", as no layout of its files kept the old one working");
            if (one.skin.converted_to_utf8)
                result_.notes.push_back(one.where +
                                        ": its text was turned from Windows-1251 into UTF-8, so that the file names "
                                        "it gives match the unpacked files");
            result_.installed.push_back(one.installed);
        }
    }

    // One skin built in the staging folder, and where it goes.
    struct Built {
        std::size_t order;  // its place among the source's usable skins
        fs::path build;
        std::string wanted_name;  // the name before " (2)"
        std::string where;
        BuiltSkin skin;
        InstalledSkin installed;
        fs::path replaces;  // the installed skin it takes the place of
    };

    // An installed skin with the built one's title: the same files are not
    // installed again; other files go beside it, in its place, or wait for
    // the player's choice. Gives whether the built skin is to be put in place.
    bool MeetInstalledTwin(Built& one) {
        const std::optional<InstalledTwin> twin = FindInstalledTwin(skins_folder_, one.build, one.installed.title_su);
        if (!twin) return true;
        const InstalledSkin existing{one.installed.title_su, one.installed.title_gb, twin->folder, twin->ini};
        if (twin->same_files) {
            result_.already_installed.push_back(existing);
            return false;
        }
        switch (same_title_) {
        case SameTitleChoice::Ask:
            result_.to_choose.push_back(existing);
            return false;
        case SameTitleChoice::Replace:
            one.replaces = twin->folder;
            result_.notes.push_back(one.where + ": it replaces the skin \"" + existing.title_su + "\" installed in " +
                                    twin->folder.string() + ", whose files were other");
            return true;
        case SameTitleChoice::KeepBoth: break;
        }
        const std::set<std::string> titles = InstalledTitles(skins_folder_);
        int n = 2;
        while (titles.count(one.installed.title_su + " (" + std::to_string(n) + ")")) ++n;
        const std::string suffix = " (" + std::to_string(n) + ")";
        const fs::path ini = one.build / one.skin.ini_relative;
        std::string text;
        {
            std::ifstream in(ini, std::ios::binary);
            text.assign(std::istreambuf_iterator<char>(in), {});
        }
        std::ofstream(ini, std::ios::binary | std::ios::trunc) << WithTitlesSuffixed(text, suffix);
        const SkinProbe probe = ProbeSkin(ini);
        one.installed.title_su = SkinTextToUtf8(probe.TitleSU);
        one.installed.title_gb = SkinTextToUtf8(probe.EnglishTitle());
        result_.notes.push_back(one.where + ": a skin titled \"" + existing.title_su + "\" with other files is installed in " +
                                twin->folder.string() + "; this one goes beside it as \"" + one.installed.title_su + "\"");
        return true;
    }

    // The watcher's answer for the skins that wait for one, asked once
    // everything is unpacked, so that nothing is unpacked twice. Gives
    // whether the install goes on: without an answer it ends, listing them
    // in to_choose.
    bool ChooseSameTitle(std::vector<Built>& waiting, std::vector<Built>& built) {
        const std::optional<SameTitleChoice> choice = monitor_.ChooseSameTitle(result_.to_choose);
        if (Cancelled() || !choice || *choice == SameTitleChoice::Ask) return false;
        same_title_ = *choice;
        result_.to_choose.clear();
        for (Built& one : waiting)
            if (MeetInstalledTwin(one)) built.push_back(std::move(one));
        std::sort(built.begin(), built.end(), [](const Built& a, const Built& b) { return a.order < b.order; });
        return true;
    }

    // All or nothing: a skin that cannot be renamed into place takes the
    // ones renamed before it back out. A name taken meanwhile (another
    // install of the same skin at the same moment) gives way to the next
    // free one.
    bool PutInPlace(std::vector<Built>& built, std::set<std::string>& taken, const fs::path& staging) {
        std::vector<std::pair<fs::path, fs::path>> moved_away;  // replaced skins: where they were, where they are
        for (std::size_t i = 0; i < built.size(); ++i) {
            std::string why;
            if (!built[i].replaces.empty()) why = RenameIntoReplaced(built[i], staging / ("replaced-" + std::to_string(i)), moved_away);
            else why = RenameIntoFreeName(built[i], taken);
            if (!why.empty()) {
                for (std::size_t j = 0; j < i; ++j) {
                    std::error_code ec;
                    fs::remove_all(built[j].installed.folder, ec);
                }
                for (const auto& [was, is] : moved_away) {
                    std::error_code ec;
                    fs::rename(is, was, ec);
                }
                Fail("cannot put the skin in place as " + built[i].installed.folder.string() + ": " + why);
                return false;
            }
        }
        return true;
    }

    // The installed skin goes into the staging folder (removed with it at the
    // end) and the built one into its place. Gives why not.
    std::string RenameIntoReplaced(Built& one, const fs::path& away,
                                   std::vector<std::pair<fs::path, fs::path>>& moved_away) {
        std::error_code ec;
        fs::rename(one.replaces, away, ec);
        if (ec) return ec.message();
        moved_away.emplace_back(one.replaces, away);
        if (!MoveBuiltSkin(one.build, one.skin, one.installed.folder, one.replaces)) return "cannot write the skin file";
        one.installed.folder = one.replaces;
        one.installed.ini = one.replaces / one.skin.ini_relative;
        if (!RenameNoReplace(one.build, one.replaces)) return std::strerror(errno);
        return {};
    }

    // Gives why not, or an empty text once the skin is in place.
    std::string RenameIntoFreeName(Built& one, std::set<std::string>& taken) {
        for (int attempt = 0;; ++attempt) {
            if (RenameNoReplace(one.build, one.installed.folder)) return {};
            if (errno != EEXIST && errno != ENOTEMPTY) return std::strerror(errno);
            if (attempt == kRenameAttempts) return "every free name was taken by another install meanwhile";
            const std::string name = FreeName(skins_folder_, one.wanted_name, taken);
            taken.insert(name);
            const fs::path folder = skins_folder_ / name;
            if (!MoveBuiltSkin(one.build, one.skin, one.installed.folder, folder))
                return "cannot write the skin file";
            one.installed.ini = folder / one.skin.ini_relative;
            one.installed.folder = folder;
        }
    }

    void NoSkin(const Source& source) {
        std::string error = SourceName() + ": no skin this game can use";
        if (source.inis.empty() && source.deeper_folders_left) {
            error += " (no .ini skin file within " + std::to_string(kDeepestSkinFolder) +
                     " folders of its top, which is as deep as the installer looks: it stopped there, and "
                     "folders go on deeper)";
        } else if (source.inis.empty()) {
            error += " (no .ini skin file in it";
            if (!source.other_files.empty()) {
                error += "; it holds ";
                for (std::size_t i = 0; i < source.other_files.size(); ++i)
                    error += (i ? ", " : "") + ArchiveNameToUtf8(source.other_files[i]);
            }
            error += ")";
        } else {
            error += " (" + std::to_string(source.inis.size()) + " .ini file" + (source.inis.size() == 1 ? "" : "s") +
                     " found, none of them a skin)";
        }
        Fail(error);
    }

    fs::path source_;
    fs::path skins_folder_;
    const SkinInstallLimits& limits_;
    SameTitleChoice same_title_;
    InstallMonitor& monitor_;
    SkinInstallResult result_;
};

}  // namespace

void RemoveStaleSkinStaging(const fs::path& skins_folder) {
    std::error_code ec;
    for (fs::directory_iterator it(skins_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path folder = it->path();
        if (!folder.filename().string().starts_with(kStagingPrefix)) continue;
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;  // not a folder, or not ours to read
        struct stat info {};
        const bool old_enough =
            ::fstat(fd, &info) == 0 &&
            std::chrono::system_clock::now() - std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec) >
                kStagingGrace;
        // Locked: an install is using it, in whichever process namespace.
        // Held while it is removed, so that nobody takes it up meanwhile.
        if (old_enough && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
        ::close(fd);
    }
}

SkinInstallResult InstallSkins(const fs::path& source, const fs::path& skins_folder, const SkinInstallLimits& limits,
                               SameTitleChoice same_title, InstallMonitor* monitor) {
    if (skins_folder.empty()) {
        SkinInstallResult result;
        result.error = "no folder to install skins in: neither XDG_DATA_HOME nor HOME is set";
        return result;
    }
    UnwatchedInstall unwatched;
    return Installer(source, skins_folder, limits, same_title, monitor ? *monitor : unwatched).Run();
}

}  // namespace pellox
