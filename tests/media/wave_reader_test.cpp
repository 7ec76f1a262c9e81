// The RIFF WAVE reader, on small images built here byte by byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/core/byte_source.h"
#include "media/core/wave.h"
#include "media/core/wave_stream.h"
#include "tests/media/expect_error.h"
#include "tests/media/largest_allocation.h"
#include "tests/support/little_endian.h"
#include "tests/support/kernel_files.h"

namespace pellox {
namespace {

using testing::g_largest_allocation;

void PutId(Bytes& b, const char* id) { b.insert(b.end(), id, id + 4); }

// A builder for images: a header, then chunks appended in order.
struct Image {
    Bytes bytes;
    explicit Image(std::uint32_t riff_size = 0, const char* riff = "RIFF", const char* wave = "WAVE") {
        PutId(bytes, riff);
        Put32(bytes, riff_size);
        PutId(bytes, wave);
    }
    Image& Chunk(const char* id, const Bytes& body, std::uint32_t claimed = ~0u) {
        PutId(bytes, id);
        Put32(bytes, claimed == ~0u ? static_cast<std::uint32_t>(body.size()) : claimed);
        bytes.insert(bytes.end(), body.begin(), body.end());
        return *this;
    }
    Image& Raw(const Bytes& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    Image& FixRiffSize() {
        const auto size = static_cast<std::uint32_t>(bytes.size() - 8);
        for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<std::uint8_t>(size >> (8 * i));
        return *this;
    }
};

Bytes Fmt(std::uint16_t channels = 2, std::size_t size = 16) {
    Bytes b = {1, 0, static_cast<std::uint8_t>(channels), 0, 0x44, 0xAC, 0, 0, 0x10, 0xB1, 0x02, 0, 4, 0, 16, 0};
    b.resize(size, 0);
    return b;
}
Bytes Samples(std::size_t n, std::uint8_t seed = 1) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
    return b;
}

struct Outcome {
    std::int32_t format_size;
    std::int32_t data_size;
    Bytes data;  // expected samples when data_size > 0
    std::uint16_t channels = 2;
    std::size_t storage = 0;  // expected storage bytes, 0 = don't check
};

struct ReadCase {
    const char* name;
    Bytes image;
    Outcome expected;
};

std::vector<ReadCase> ReadCases() {
    const Bytes eight = Samples(8);
    return {
        {"plain", Image().Chunk("fmt ", Fmt()).Chunk("data", eight).FixRiffSize().bytes, {16, 8, eight}},
        {"eighteen_byte_format", Image().Chunk("fmt ", Fmt(2, 18)).Chunk("data", eight).FixRiffSize().bytes,
         {18, 8, eight}},
        {"riff_size_wrong", Image(12345).Chunk("fmt ", Fmt()).Chunk("data", eight).bytes, {16, 8, eight}},
        {"other_chunks_before_and_between",
         Image().Chunk("LIST", Samples(10)).Chunk("fmt ", Fmt()).Chunk("fact", Samples(4)).Chunk("data", eight)
             .FixRiffSize().bytes,
         {16, 8, eight}},
        // An odd chunk without a pad byte: the next header follows at once.
        {"odd_chunk_without_pad", Image().Chunk("LIST", Samples(3)).Chunk("fmt ", Fmt()).Chunk("data", eight).bytes,
         {16, 8, eight}},
        // With the pad byte the next header is read one byte early: its identifier is
        // "\0fmt", an unknown chunk whose "size" (0x1020) runs past the end.
        {"odd_chunk_with_pad_byte",
         Image().Chunk("LIST", Samples(3)).Raw({0}).Chunk("fmt ", Fmt()).Chunk("data", eight).bytes, {0, 0, {}}},
        {"no_data_chunk", Image().Chunk("fmt ", Fmt()).FixRiffSize().bytes, {16, 0, {}}},
        {"empty_data_chunk", Image().Chunk("fmt ", Fmt()).Chunk("data", {}).bytes, {16, 0, {}}},
        {"no_chunks_at_all", Image().bytes, {0, 0, {}}},
        // An empty format chunk is read like any other (it once handed memcpy
        // a null buffer), then replaced by the later one.
        {"empty_format_chunk_first", Image().Chunk("fmt ", {}).Chunk("fmt ", Fmt()).Chunk("data", eight).bytes,
         {16, 8, eight}},
        {"later_chunks_replace_earlier",
         Image().Chunk("fmt ", Fmt(1)).Chunk("data", Samples(4)).Chunk("fmt ", Fmt(2)).Chunk("data", eight).bytes,
         {16, 8, eight, 2}},
        // A header cut short at the end reads as zeros: the loop just ends.
        {"trailing_partial_header", Image().Chunk("fmt ", Fmt()).Chunk("data", eight).Raw({0, 0, 0}).bytes,
         {16, 8, eight}},
        {"unknown_chunk_skipping_past_end",
         Image().Chunk("fmt ", Fmt()).Chunk("data", eight).Chunk("junk", {}, 0x7fffffff).bytes, {16, 8, eight}},
        {"one_block", Image().Chunk("fmt ", Fmt()).Chunk("data", Samples(8096)).bytes,
         {16, 8096, Samples(8096), 2, 8096}},
        {"two_blocks", Image().Chunk("fmt ", Fmt()).Chunk("data", Samples(8097)).bytes,
         {16, 8097, Samples(8097), 2, 16192}},
    };
}

class WaveReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(WaveReadTest, ReadsTheLastFormatAndDataChunk) {
    const ReadCase& c = GetParam();
    MemorySource source(c.image);
    TWave wave;
    ASSERT_TRUE(wave.LoadWaveImage(source));
    EXPECT_EQ(wave.FormatSize(), c.expected.format_size);
    ASSERT_EQ(wave.DataSize(), c.expected.data_size);
    if (c.expected.data_size > 0) {
        EXPECT_EQ(Bytes(wave.Data(), wave.Data() + wave.DataSize()), c.expected.data);
        PcmFormat pcm;
        ASSERT_TRUE(wave.ReadPcmFormat(pcm));
        EXPECT_EQ(pcm.channels, c.expected.channels);
        EXPECT_EQ(pcm.samples_per_second, 44100u);
    }
    if (c.expected.storage) {
        EXPECT_EQ(wave.StorageBytes(), c.expected.storage);
    }
}

INSTANTIATE_TEST_SUITE_P(Images, WaveReadTest, ::testing::ValuesIn(ReadCases()),
                         [](const auto& info) { return std::string(info.param.name); });

struct FailCase {
    const char* name;
    Bytes image;
    std::string message;
};

std::vector<FailCase> FailCases() {
    return {
        {"not_riff", Image(0, "RIFX").Chunk("fmt ", Fmt()).bytes, "Wave is invalid"},
        {"not_wave", Image(0, "RIFF", "AVI ").Chunk("fmt ", Fmt()).bytes, "Wave is invalid"},
        {"header_cut_short", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A'}, "Stream read error"},
        {"empty_file", Bytes{}, "Stream read error"},
        {"data_cut_short", Image().Chunk("fmt ", Fmt()).Chunk("data", Samples(10), 20).bytes, "Stream read error"},
        {"format_cut_short", Image().Chunk("fmt ", Bytes(10), 16).bytes, "Stream read error"},
        // A 100-byte file that claims 4 GB (or 2 GB) of samples or of format.
        {"data_claims_4_gb", Image().Chunk("fmt ", Fmt()).Chunk("data", Samples(56), 0xFFFFFFF0u).bytes,
         "Stream read error"},
        {"data_claims_2_gb", Image().Chunk("fmt ", Fmt()).Chunk("data", Samples(56), 0x7FFFFFF0u).bytes,
         "Stream read error"},
        {"format_claims_4_gb", Image().Chunk("fmt ", Fmt(), 0xFFFFFFF0u).Raw(Samples(64)).bytes,
         "Stream read error"},
    };
}

class WaveFailTest : public ::testing::TestWithParam<FailCase> {};

TEST_P(WaveFailTest, FailsWithItsMessageAndLeavesNoSamples) {
    const FailCase& c = GetParam();
    MemorySource source(c.image);
    TWave wave;
    wave.SetDataSize(4);
    g_largest_allocation = 0;
    const Result<void> read = wave.LoadWaveImage(source);
    EXPECT_FALSE(read);
    EXPECT_EQ(read.reason(), c.message);
    EXPECT_EQ(wave.DataSize(), 0);
    EXPECT_LT(g_largest_allocation.load(), 1u << 20);
}

INSTANTIATE_TEST_SUITE_P(Images, WaveFailTest, ::testing::ValuesIn(FailCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WaveStream, SamplesPastTheLimitOfASoundEffectFailWithTheirSize) {
    const Bytes image =
        Image().Chunk("fmt ", Fmt()).Chunk("data", Bytes(kMaxWaveDataBytes + 4)).FixRiffSize().bytes;
    MemorySource source(image);
    TWave wave;
    g_largest_allocation = 0;
    EXPECT_EQ(wave.LoadWaveImage(source).reason(),
              "Wave data too long for a sound effect: 16777220 bytes, at most 16777216");
    EXPECT_LT(g_largest_allocation.load(), 1u << 20);
    EXPECT_EQ(wave.DataSize(), 0);
}

TEST(WaveStream, ReadsFromWhereTheSourceStandsAndRefusesMisuse) {
    Bytes file = Samples(5);
    const Bytes image = Image().Chunk("fmt ", Fmt()).Chunk("data", Samples(8)).bytes;
    file.insert(file.end(), image.begin(), image.end());
    MemorySource source(file);
    source.Seek(5);

    TWaveStream reader(source);
    std::uint8_t byte;
    EXPECT_EQ(reader.ReadExactly(&byte, 1).reason(), "Stream not opend");
    ASSERT_TRUE(reader.Open());
    EXPECT_EQ(reader.Open().reason(), "Stream has already been opened");
    TWave wave;
    ASSERT_TRUE(reader.ReadWave(wave));
    EXPECT_EQ(wave.DataSize(), 8);
}

TEST(WaveFile, MissingFileLeavesTheWaveAsItWas) {
    const Bytes image = Image().Chunk("fmt ", Fmt()).Chunk("data", Samples(8)).bytes;
    MemorySource source(image);
    TWave wave;
    ASSERT_TRUE(wave.LoadWaveImage(source));
    EXPECT_EQ(wave.LoadWaveFile("/nonexistent/pellox/step.wav").reason(),
              "Cannot open file /nonexistent/pellox/step.wav");
    EXPECT_FALSE(wave.LoadWaveFile("/tmp"));  // a folder is no wave file
    EXPECT_EQ(wave.DataSize(), 8);
    EXPECT_EQ(wave.FormatSize(), 16);
}

// What a skin may name as a wave but is no file: each must be refused before
// it is opened, since opening a FIFO without a writer never returns and
// /dev/zero never ends.
struct NotAFileCase {
    const char* name;
    std::string (*make)(const std::string& folder);  // gives the path to load
    const char* kind;
};

std::vector<NotAFileCase> NotAFileCases() {
    return {
        {"folder",
         [](const std::string& folder) {
             const std::string path = folder + "/waves.wav";
             if (::mkdir(path.c_str(), 0700) != 0) throw std::runtime_error("mkdir " + path);
             return path;
         },
         "a folder"},
        {"fifo_without_writer",
         [](const std::string& folder) {
             const std::string path = folder + "/pipe.wav";
             if (::mkfifo(path.c_str(), 0600) != 0) throw std::runtime_error("mkfifo " + path);
             return path;
         },
         "a FIFO"},
        {"dev_zero", [](const std::string&) { return std::string("/dev/zero"); }, "a device"},
    };
}

class WaveFileRefusedTest : public ::testing::TestWithParam<NotAFileCase> {
protected:
    WaveFileRefusedTest() {
        folder_ = (std::filesystem::temp_directory_path() / "pellox-wave-test-XXXXXX").string();
        if (::mkdtemp(folder_.data()) == nullptr) throw std::runtime_error("mkdtemp " + folder_);
    }
    ~WaveFileRefusedTest() override {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string folder_;
};

TEST_P(WaveFileRefusedTest, SaysWhyAndLeavesTheWaveAsItWas) {
    const NotAFileCase& c = GetParam();
    if (std::string_view(c.name) == "fifo_without_writer") PELLOX_SKIP_WITHOUT_KERNEL_FILES();
    const std::string path = c.make(folder_);
    const Bytes image = Image().Chunk("fmt ", Fmt()).Chunk("data", Samples(8)).bytes;
    MemorySource source(image);
    TWave wave;
    ASSERT_TRUE(wave.LoadWaveImage(source));
    EXPECT_EQ(wave.LoadWaveFile(path).reason(), "Cannot open file " + path + ": not a regular file (" + c.kind + ")");
    EXPECT_EQ(wave.DataSize(), 8);
}

INSTANTIATE_TEST_SUITE_P(Paths, WaveFileRefusedTest, ::testing::ValuesIn(NotAFileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Wave, StorageFollowsWholeBlocksAndCopiesAreDeep) {
    TWave wave;
    wave.SetDataSize(-5);
    EXPECT_EQ(wave.DataSize(), 0);
    EXPECT_EQ(wave.StorageBytes(), 0u);
    wave.SetDataSize(100);
    const std::uint8_t* first = wave.Data();
    wave.SetDataSize(8096);  // same block: no move
    EXPECT_EQ(wave.Data(), first);
    wave.Data()[0] = 42;
    wave.SetDataSize(8097);
    EXPECT_EQ(wave.StorageBytes(), 16192u);
    EXPECT_EQ(wave.Data()[0], 42);

    TWave copy = wave;
    copy.Data()[0] = 7;
    EXPECT_EQ(wave.Data()[0], 42);
    EXPECT_EQ(copy.DataSize(), 8097);
    copy.Clear();
    EXPECT_EQ(copy.DataSize(), 0);
    EXPECT_EQ(copy.FormatSize(), 0);
}

// What the game's sound can play, judged from the format block alone.
TEST(WaveFormat, PlaysPcmOfEightOrSixteenBitsMonoOrStereo) {
    struct Case {
        const char* what;
        std::uint16_t tag, channels;
        std::uint32_t rate;
        std::uint16_t align, bits;
        std::int32_t data_bytes;
        const char* refusal;  // part of the reason, or nullptr when it plays
    };
    const Case cases[] = {
        {"the built-in format", 1, 2, 44100, 4, 16, 400, nullptr},
        {"mono 8 bit at 8 kHz", 1, 1, 8000, 1, 8, 33, nullptr},
        {"stereo 8 bit at 22 kHz", 1, 2, 22050, 2, 8, 40, nullptr},
        {"mono 16 bit at 48 kHz", 1, 1, 48000, 2, 16, 40, nullptr},
        {"IEEE float", 3, 2, 44100, 8, 32, 80, "not plain PCM"},
        {"24 bit", 1, 2, 44100, 6, 24, 60, "24 bits a sample"},
        {"six channels", 1, 6, 44100, 12, 16, 120, "6 channels"},
        {"no channels", 1, 0, 44100, 0, 16, 0, "0 channels"},
        {"a rate of zero", 1, 2, 0, 4, 16, 40, "a rate of 0 Hz"},
        {"a wrong block size", 1, 2, 44100, 3, 16, 60, "block size of 3"},
        {"half a frame at the end", 1, 2, 44100, 4, 16, 42, "middle of a frame"},
    };
    for (const Case& c : cases) {
        Bytes format;
        auto put16 = [&](std::uint16_t v) { format.push_back(v & 0xFF); format.push_back(v >> 8); };
        put16(c.tag);
        put16(c.channels);
        Put32(format, c.rate);
        Put32(format, c.rate * c.align);
        put16(c.align);
        put16(c.bits);
        TWave wave;
        wave.SetFormat(format);
        wave.SetDataSize(c.data_bytes);
        const std::string reason = CheckPlayableFormat(wave).reason();
        if (c.refusal == nullptr) {
            EXPECT_EQ(reason, "") << c.what;
        } else {
            EXPECT_NE(reason.find(c.refusal), std::string::npos) << c.what << ": " << reason;
        }
    }
    EXPECT_EQ(CheckPlayableFormat(TWave{}).reason(), "the wave has no format block");
}

}  // namespace
}  // namespace pellox
