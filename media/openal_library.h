#pragma once
// OpenAL Soft, opened when the game first wants sound instead of at start:
// the one place that names the library and the functions the game calls in
// it. Everything else calls through OpenALFunctions.

#include <AL/al.h>
#include <AL/alc.h>

#include <memory>
#include <string>

namespace pellox {

// The library as the system installs it.
inline constexpr char kOpenALLibrary[] = "libopenal.so.1";

struct OpenALFunctions {
    decltype(&::alGetError) GetError = nullptr;
    decltype(&::alGenBuffers) GenBuffers = nullptr;
    decltype(&::alDeleteBuffers) DeleteBuffers = nullptr;
    decltype(&::alBufferData) BufferData = nullptr;
    decltype(&::alGenSources) GenSources = nullptr;
    decltype(&::alDeleteSources) DeleteSources = nullptr;
    decltype(&::alSourcei) Sourcei = nullptr;
    decltype(&::alSourcef) Sourcef = nullptr;
    decltype(&::alSource3f) Source3f = nullptr;
    decltype(&::alGetSourcei) GetSourcei = nullptr;
    decltype(&::alSourcePlay) SourcePlay = nullptr;
    decltype(&::alSourceStop) SourceStop = nullptr;
    decltype(&::alSourceRewind) SourceRewind = nullptr;
    decltype(&::alcOpenDevice) OpenDevice = nullptr;
    decltype(&::alcCloseDevice) CloseDevice = nullptr;
    decltype(&::alcCreateContext) CreateContext = nullptr;
    decltype(&::alcDestroyContext) DestroyContext = nullptr;
    decltype(&::alcMakeContextCurrent) MakeContextCurrent = nullptr;
    decltype(&::alcGetIntegerv) GetIntegerv = nullptr;
    decltype(&::alcIsExtensionPresent) IsExtensionPresent = nullptr;
    decltype(&::alcGetProcAddress) GetProcAddress = nullptr;
};

// The library opened and every function found; null when it cannot be, with
// why in `why` (the game then plays silently). Once opened the library stays
// loaded for the rest of the process.
std::shared_ptr<const OpenALFunctions> LoadOpenAL(const std::string& library, std::string& why);

}  // namespace pellox
