#include "web/web_ports.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/time.h>

#include "engine/record_codec.h"

namespace pellox {
namespace {

// The page's storage: the stored text of a key, or null when there is none
// or the storage cannot be read. The caller frees the text.
EM_JS(char*, pellox_storage_read, (const char* key), {
    try {
        const value = globalThis.localStorage.getItem(UTF8ToString(key));
        return value === null ? 0 : allocateUTF8(value);
    } catch (e) {
        return 0;
    }
});

// Empty when written, otherwise why not. The caller frees the text.
EM_JS(char*, pellox_storage_write, (const char* key, const char* value), {
    try {
        globalThis.localStorage.setItem(UTF8ToString(key), UTF8ToString(value));
        return allocateUTF8("");
    } catch (e) {
        return allocateUTF8(String(e && e.name === "QuotaExceededError" ? "the storage is full"
                                   : "the storage refused it"));
    }
});

std::string TakeText(char* text) {
    if (!text) return {};
    std::string out(text);
    std::free(text);
    return out;
}

const char* RecordKey(Variant variant) { return variant == Variant::A ? "pellox.RecordA" : "pellox.RecordB"; }
const char* RecordName(Variant variant) { return variant == Variant::A ? "RecordA" : "RecordB"; }

}  // namespace

std::uint32_t PageTimerHost::NowMs() { return static_cast<std::uint32_t>(static_cast<std::uint64_t>(emscripten_get_now())); }

TimeOfDay PageClock::LocalTimeOfDay() const {
    timeval now{};
    gettimeofday(&now, nullptr);
    const std::time_t seconds = now.tv_sec;
    std::tm local{};
    localtime_r(&seconds, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(now.tv_usec / 1000)};
}

std::uint32_t PageClock::UtcMillisecondsSinceMidnight() const {
    timeval now{};
    gettimeofday(&now, nullptr);
    return static_cast<std::uint32_t>((now.tv_sec % 86400) * 1000 + now.tv_usec / 1000);
}

std::uint16_t PageRecordsStore::ReadRecord(Variant variant) {
    const auto i = static_cast<std::size_t>(variant);
    if (session_[i]) return *session_[i];
    const std::string text = TakeText(pellox_storage_read(RecordKey(variant)));
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    const unsigned long long stored = std::strtoull(text.c_str(), nullptr, 10);
    if (stored > 0xffffffffull) return 0;
    return ScoreOfStoredValue(static_cast<std::uint32_t>(stored));
}

void PageRecordsStore::WriteRecord(Variant variant, std::uint16_t score) {
    session_[static_cast<std::size_t>(variant)] = score;
    const std::string value = std::to_string(StoredRecordValue(score));
    const std::string why = TakeText(pellox_storage_write(RecordKey(variant), value.c_str()));
    if (!why.empty()) throw RecordsWriteError(std::string("Failed to set data for '") + RecordName(variant) + "': " + why);
}

void PageSound::PlayEffect(Effect effect, bool wait) {
    if (wait && lit_before_wait_.empty() &&
        std::none_of(played_.begin(), played_.end(), [](const PlayedEffect& p) { return p.wait; }))
        lit_before_wait_ = LitSprites(sprites_);
    played_.push_back({effect, wait});
}

std::vector<PlayedEffect> PageSound::TakePlayed() {
    std::vector<PlayedEffect> out;
    out.swap(played_);
    return out;
}

std::string PageSound::TakeLitBeforeWait() {
    std::string out;
    out.swap(lit_before_wait_);
    return out;
}

std::string LitSprites(const SpriteModel& sprites) {
    std::string lit(static_cast<std::size_t>(kSpriteCount), '0');
    for (int i = 0; i < kSpriteCount; ++i)
        if (sprites.IsVisible(SpriteAt(i))) lit[static_cast<std::size_t>(i)] = '1';
    return lit;
}

}  // namespace pellox
