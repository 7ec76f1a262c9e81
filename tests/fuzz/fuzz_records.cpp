// The scores file as a damaged disk or a curious player may leave it: the
// text reader and the store on a real file find the same scores.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <QString>

#include "engine/record_codec.h"
#include "records/records_text.h"
#include "records/settings_records_store.h"
#include "tests/support/temp_folder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const pellox::TempFolder scratch(pellox::TempFolder::Where::Memory);
    static unsigned long long input_number = 0;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto stored_a = pellox::FindStoredValue(text, "A");
    const auto stored_b = pellox::FindStoredValue(text, "B");
    (void)pellox::HasUnreadableLines(text);

    // A new name for each input: nothing a reader may keep of an earlier file
    // can answer for this one.
    const std::string path = scratch.Write("records-" + std::to_string(++input_number) + ".conf", data, size).string();
    pellox::SettingsRecordsStore store(QString::fromStdString(path));
    const std::uint16_t a = store.ReadRecord(pellox::Variant::A);
    const std::uint16_t b = store.ReadRecord(pellox::Variant::B);
    std::remove(path.c_str());
    // The store reads at most a megabyte; the fuzzer's inputs stay below that.
    if (a != (stored_a ? pellox::ScoreOfStoredValue(*stored_a) : 0)) std::abort();
    if (b != (stored_b ? pellox::ScoreOfStoredValue(*stored_b) : 0)) std::abort();
    return 0;
}
