// A skin file from a stranger, read from text and from disk: both readings
// agree on every key a launch asks for, and every sprite value parses or is
// refused with a reason.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/support/temp_folder.h"
#include "skin/skin_apply.h"
#include "skin/skin_entries.h"
#include "skin/skin_file.h"
#include "skin/sprite_entry.h"

namespace {

[[noreturn]] void Disagree(std::string_view section, std::string_view key) {
    std::fprintf(stderr, "text and file readings differ at [%.*s] %.*s\n", static_cast<int>(section.size()),
                 section.data(), static_cast<int>(key.size()), key.data());
    std::abort();
}

void Compare(const pellox::SkinFile& a, const pellox::SkinFile& b, std::string_view section, std::string_view key) {
    if (a.Find(section, key) != b.Find(section, key)) Disagree(section, key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const pellox::TempFolder scratch(pellox::TempFolder::Where::Memory);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const pellox::SkinFile skin = pellox::SkinFile::FromText(text);

    const pellox::SkinSettings settings = pellox::ReadSkinSettings(skin);
    (void)settings;
    for (const pellox::SkinEntryGroup& group : pellox::SkinEntryGroups()) {
        for (const pellox::SkinEntry& entry : group) {
            const auto value = skin.Find(entry.section, entry.key);
            if (entry.sprite && value) {
                const pellox::ParsedSpriteEntry parsed = pellox::ParseSpriteEntry(*value);
                if (parsed) (void)pellox::CheckSpriteBox(*entry.sprite, *parsed);
            }
        }
    }

    const std::string path = scratch.Write("skin.ini", data, size).string();
    const pellox::LoadedSkinFile loaded = pellox::LoadSkinFile(path);
    if (!loaded) {
        std::fprintf(stderr, "a skin file of %zu bytes was not read: %s\n", size, loaded.reason().c_str());
        std::abort();
    }
    for (const char* key : {"ver", "title", "titleGB", "dir", "sound", "key0", "key1", "key2", "key3"})
        Compare(skin, *loaded, "SETTINGS", key);
    for (const pellox::SkinEntryGroup& group : pellox::SkinEntryGroups())
        for (const pellox::SkinEntry& entry : group) Compare(skin, *loaded, entry.section, entry.key);
    return 0;
}
