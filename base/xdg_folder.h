#pragma once
// The XDG base-directory rule, once for every folder the game keeps things
// in (the installed skins, the start screen's kept first frame).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace pellox {

// An environment variable's value; nothing when it is not set (set but
// empty is an empty value).
std::optional<std::string> EnvironmentValue(const char* name);

// A value of an XDG variable the rules let us use: an absolute path. An
// empty or relative value counts as unset.
bool IsUsableXdgFolder(std::string_view value);

// The folder an XDG home variable names (XDG_DATA_HOME, XDG_CACHE_HOME): its
// value when usable, else default_under_home (".local/share", ".cache")
// under $HOME when that is an absolute path; empty when neither is.
std::filesystem::path XdgHomeFolder(const std::optional<std::string>& value, const std::optional<std::string>& home,
                                    const std::filesystem::path& default_under_home);

}  // namespace pellox
