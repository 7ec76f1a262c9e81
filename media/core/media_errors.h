#pragma once
// Error classes of the media services. Each carries the message the player
// (or the skin author) sees in the error report.

#include <stdexcept>
#include <string>

namespace pellox {

// Reading a wave image: bad header, reader misuse.
class EWaveStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A wave that reads well but is in a format the game's sound cannot play.
class EWaveFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A stream ended before the bytes it promised.
class EReadError : public std::runtime_error {
public:
    EReadError() : std::runtime_error("Stream read error") {}
};

// A file could not be opened.
class EFOpenError : public std::runtime_error {
public:
    explicit EFOpenError(const std::string& path) : std::runtime_error("Cannot open file " + path) {}
};

// The sound back-end refused something.
class EDirectXError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EDirectSoundError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};
class EDirectSoundBufferError : public EDirectSoundError {
public:
    using EDirectSoundError::EDirectSoundError;
};
// The sound device could not be set up beyond the output itself.
class EDXSoundError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The window system refused a timer.
class EOutOfResources : public std::runtime_error {
public:
    EOutOfResources() : std::runtime_error("Not enough timers available") {}
};

}  // namespace pellox
