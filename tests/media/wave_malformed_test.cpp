// Wave files a stranger's skin may bring: each is written here, read through
// the file reader as a skin's wave is, and must fail with its reason (or load)
// quickly and without asking for the memory it claims.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/core/byte_source.h"
#include "media/core/media_errors.h"
#include "media/core/wave.h"
#include "media/core/wave_stream.h"
#include "tests/media/largest_allocation.h"
#include "tests/support/little_endian.h"

namespace pellox {
namespace {

Bytes Chunk(const char* id, std::uint32_t claimed, const Bytes& body = {}) {
    Bytes b(id, id + 4);
    Put32(b, claimed);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

// 44.1 kHz 16-bit mono PCM.
const Bytes kFormat = {1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x88, 0x58, 1, 0, 2, 0, 16, 0};

Bytes Header() { return {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}; }

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// `count` empty chunks of an unknown kind.
Bytes EmptyChunks(int count) {
    Bytes all;
    for (int i = 0; i < count; ++i) {
        const Bytes one = Chunk("junk", 0);
        all.insert(all.end(), one.begin(), one.end());
    }
    return all;
}

constexpr std::uint64_t kGigabyte = std::uint64_t{1} << 30;

struct MalformedWave {
    const char* name;
    Bytes head;                // the file's first bytes
    std::uint64_t file_bytes;  // the file is made this long with zeros (sparse), when longer than head
    std::string error;         // the reader's message; empty when the wave loads
};
void PrintTo(const MalformedWave& c, std::ostream* out) { *out << c.name; }

std::vector<MalformedWave> MalformedWaves() {
    const Bytes samples(8, 0x11);
    return {
        // Each empty chunk costs a seek and a read: a long chain is cut off.
        {"chain_of_100000_empty_chunks",
         Joined({Header(), Chunk("fmt ", 16, kFormat), EmptyChunks(100000), Chunk("data", 8, samples)}), 0,
         "Wave has too many chunks: more than 1024"},
        {"chain_just_within_the_limit",
         Joined({Header(), Chunk("fmt ", 16, kFormat), EmptyChunks(kMaxWaveChunks - 2), Chunk("data", 8, samples)}),
         0, ""},
        // A real gigabyte on disk (sparse): refused from the data chunk's
        // header, before any of it is read.
        {"a_gigabyte_of_samples", Joined({Header(), Chunk("fmt ", 16, kFormat), Chunk("data", kGigabyte - 44)}),
         kGigabyte,
         "Wave data too long for a sound effect: " + std::to_string(kGigabyte - 44) + " bytes, at most 16777216"},
        {"data_claims_4_gb_in_a_gigabyte_file",
         Joined({Header(), Chunk("fmt ", 16, kFormat), Chunk("data", 0xFFFFFFF0u)}), kGigabyte, "Stream read error"},
        // Zeros after the chunks end the walk: the wave itself is fine.
        {"a_gigabyte_of_zeros_after_the_wave",
         Joined({Header(), Chunk("fmt ", 16, kFormat), Chunk("data", 8, samples)}), kGigabyte, ""},
        // An empty format chunk hands the reader an empty buffer; the wave has
        // no format then, which the sound refuses later by its own check.
        {"empty_format_chunk", Joined({Header(), Chunk("fmt ", 0), Chunk("data", 8, samples)}), 0, ""},
        {"format_chunk_cut_short", Joined({Header(), Chunk("fmt ", 16, Bytes(6, 1))}), 0, "Stream read error"},
    };
}

class WaveMalformedTest : public ::testing::TestWithParam<MalformedWave> {
protected:
    WaveMalformedTest() {
        folder_ = (std::filesystem::temp_directory_path() / "pellox-wave-malformed-XXXXXX").string();
        if (::mkdtemp(folder_.data()) == nullptr) throw std::runtime_error("mkdtemp " + folder_);
    }
    ~WaveMalformedTest() override {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    std::string Write(const MalformedWave& c) const {
        const std::string path = folder_ + "/effect.wav";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0) throw std::runtime_error("open " + path);
        const bool written = ::write(fd, c.head.data(), c.head.size()) == static_cast<ssize_t>(c.head.size());
        const bool sized = c.file_bytes <= c.head.size() || ::ftruncate(fd, static_cast<off_t>(c.file_bytes)) == 0;
        ::close(fd);
        if (!written || !sized) throw std::runtime_error("cannot write " + path);
        return path;
    }

    std::string folder_;
};

TEST_P(WaveMalformedTest, FailsWithItsReasonQuicklyAndWithoutTheClaimedMemory) {
    const MalformedWave& c = GetParam();
    const std::string path = Write(c);
    TWave wave;
    testing::g_largest_allocation = 0;
    const auto start = std::chrono::steady_clock::now();
    const Result<void> read = wave.LoadWaveFile(path);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(read.ok(), c.error.empty());
    EXPECT_EQ(read.reason(), c.error);
    EXPECT_LT(testing::g_largest_allocation.load(), std::size_t{1} << 20);
    EXPECT_LT(took, std::chrono::seconds(2)) << "a generous bound: the worst case takes milliseconds";
    // Every wave here that loads holds 8 bytes of samples; one that fails holds none.
    EXPECT_EQ(wave.DataSize(), c.error.empty() ? 8 : 0);
}

INSTANTIATE_TEST_SUITE_P(Files, WaveMalformedTest, ::testing::ValuesIn(MalformedWaves()),
                         [](const auto& info) { return std::string(info.param.name); });

// fread and memcpy need a buffer even for no bytes; an empty chunk's buffer
// is null. A source that insists on a buffer, as those do, sees none.
class BufferInsistingSource final : public ByteSource {
public:
    explicit BufferInsistingSource(const Bytes& bytes) : inner_(bytes) {}
    std::size_t Read(void* into, std::size_t count) override {
        if (into == nullptr) ADD_FAILURE() << "a read of " << count << " bytes into no buffer";
        return inner_.Read(into, count);
    }
    void Seek(std::uint64_t position) override { inner_.Seek(position); }
    std::uint64_t Position() const override { return inner_.Position(); }
    std::uint64_t Size() const override { return inner_.Size(); }

private:
    MemorySource inner_;
};

TEST(WaveMalformed, AnEmptyFormatChunkHandsTheSourceNoNullBuffer) {
    const Bytes image = Joined({Header(), Chunk("fmt ", 0), Chunk("data", 8, Bytes(8, 3))});
    BufferInsistingSource source(image);
    TWave wave;
    ASSERT_TRUE(wave.LoadWaveImage(source));
    EXPECT_EQ(wave.FormatSize(), 0);
    EXPECT_EQ(wave.DataSize(), 8);
    EXPECT_EQ(CheckPlayableFormat(wave).reason(), "the wave has no format block");
}

}  // namespace
}  // namespace pellox
