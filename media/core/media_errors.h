#pragma once
// Error classes of the media services. Each carries the message the player
// (or the skin author) sees in the error report.

#include <stdexcept>
#include <string>

namespace pellox {

// A built-in wave that cannot be read (a broken build). A wave from a skin
// is read with a result instead (TWave::LoadWaveFile), its reason the message.
class EWaveStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A built-in file could not be opened.
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
