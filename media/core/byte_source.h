#pragma once
// A seekable source of bytes for the wave reader: a memory image or a file.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "base/result.h"

namespace pellox {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to count bytes; returns how many were read (fewer only at the end).
    virtual std::size_t Read(void* into, std::size_t count) = 0;
    // Any position is allowed, also one past the end: reads there find nothing.
    virtual void Seek(std::uint64_t position) = 0;
    virtual std::uint64_t Position() const = 0;
    virtual std::uint64_t Size() const = 0;
};

// Reads from bytes someone else keeps alive.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t Read(void* into, std::size_t count) override;
    void Seek(std::uint64_t position) override { position_ = position; }
    std::uint64_t Position() const override { return position_; }
    std::uint64_t Size() const override { return bytes_.size(); }

private:
    std::span<const std::uint8_t> bytes_;
    std::uint64_t position_ = 0;
};

// Reads a file opened for reading only; closed when the source goes away.
class FileSource final : public ByteSource {
public:
    // The file opened, or why not ("Cannot open file <path>", and why when it
    // is there but no regular file).
    static Result<std::unique_ptr<FileSource>> Open(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t Read(void* into, std::size_t count) override;
    void Seek(std::uint64_t position) override { position_ = position; }
    std::uint64_t Position() const override { return position_; }
    std::uint64_t Size() const override { return size_; }

private:
    FileSource(std::FILE* file, std::uint64_t size) : file_(file), size_(size) {}

    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    std::uint64_t position_ = 0;
};

}  // namespace pellox
