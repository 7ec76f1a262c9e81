// The wave reader on bytes from anywhere: the in-memory reader and the file
// reader must both end in a wave or a named error, and must agree.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <span>
#include <string>

#include "tests/support/temp_folder.h"
#include "media/core/byte_source.h"
#include "media/core/wave.h"

namespace {

struct Outcome {
    bool loaded = false;
    pellox::TWave wave;
};

Outcome FromMemory(const std::uint8_t* data, std::size_t size) {
    Outcome out;
    pellox::MemorySource source(std::span<const std::uint8_t>(data, size));
    out.loaded = out.wave.LoadWaveImage(source).ok();
    return out;
}

Outcome FromFile(const std::string& path) {
    Outcome out;
    out.loaded = out.wave.LoadWaveFile(path).ok();
    return out;
}

[[noreturn]] void Disagree(const char* what) {
    std::fprintf(stderr, "memory and file readers disagree: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const pellox::TempFolder scratch(pellox::TempFolder::Where::Memory);
    const Outcome memory = FromMemory(data, size);
    if (memory.loaded) (void)pellox::CheckPlayableFormat(memory.wave);

    const std::string path = scratch.Write("input.wav", data, size).string();
    const Outcome file = FromFile(path);
    if (memory.loaded != file.loaded) Disagree("one read the wave, the other failed");
    if (!memory.loaded) return 0;
    if (memory.wave.Format() != file.wave.Format()) Disagree("format blocks differ");
    if (memory.wave.DataSize() != file.wave.DataSize()) Disagree("sample counts differ");
    if (memory.wave.DataSize() > 0 &&
        std::memcmp(memory.wave.Data(), file.wave.Data(), static_cast<std::size_t>(memory.wave.DataSize())) != 0)
        Disagree("samples differ");
    // A copy is deep and equal.
    const pellox::TWave copy = memory.wave;
    if (copy.Format() != memory.wave.Format() || copy.DataSize() != memory.wave.DataSize()) std::abort();
    return 0;
}
