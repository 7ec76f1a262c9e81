#include "base/xdg_folder.h"

#include <cstdlib>

namespace pellox {

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool IsUsableXdgFolder(std::string_view value) { return !value.empty() && value.front() == '/'; }

std::filesystem::path XdgHomeFolder(const std::optional<std::string>& value, const std::optional<std::string>& home,
                                    const std::filesystem::path& default_under_home) {
    if (value && IsUsableXdgFolder(*value)) return *value;
    if (home && IsUsableXdgFolder(*home)) return std::filesystem::path(*home) / default_under_home;
    return {};
}

}  // namespace pellox
