// A sprite key's value from a stranger's skin: parsed or refused with a reason,
// and an entry that parses writes back to the same entry.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skin/sprite_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view value(reinterpret_cast<const char*>(data), size);
    const pellox::ParsedSpriteEntry parsed = pellox::ParseSpriteEntry(value);
    if (parsed.ok() == !parsed.reason().empty()) std::abort();  // a value, or a failure that says why
    if (!parsed) return 0;

    const pellox::SpriteEntry& e = *parsed;
    if (e.left < 0 || e.top < 0 || e.width < 0 || e.height < 0) std::abort();
    const std::string written = std::to_string(e.left) + "," + std::to_string(e.top) + "," +
                                std::to_string(e.width) + "," + std::to_string(e.height) + "," + e.path;
    const pellox::ParsedSpriteEntry again = pellox::ParseSpriteEntry(written);
    if (!again || !(*again == e)) std::abort();
    return 0;
}
