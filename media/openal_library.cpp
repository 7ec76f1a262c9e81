#include "media/openal_library.h"

#include "media/core/shared_library.h"

namespace pellox {

std::shared_ptr<const OpenALFunctions> LoadOpenAL(const std::string& library, std::string& why) {
    const SharedLibrary openal = SharedLibrary::Open(library, why);
    if (!openal.IsOpen()) return nullptr;
    auto al = std::make_shared<OpenALFunctions>();
    const bool all = openal.Find("alGetError", al->GetError, why) && openal.Find("alGenBuffers", al->GenBuffers, why) &&
                     openal.Find("alDeleteBuffers", al->DeleteBuffers, why) &&
                     openal.Find("alBufferData", al->BufferData, why) &&
                     openal.Find("alGenSources", al->GenSources, why) &&
                     openal.Find("alDeleteSources", al->DeleteSources, why) &&
                     openal.Find("alSourcei", al->Sourcei, why) && openal.Find("alSourcef", al->Sourcef, why) &&
                     openal.Find("alSource3f", al->Source3f, why) &&
                     openal.Find("alGetSourcei", al->GetSourcei, why) &&
                     openal.Find("alSourcePlay", al->SourcePlay, why) &&
                     openal.Find("alSourceStop", al->SourceStop, why) &&
                     openal.Find("alSourceRewind", al->SourceRewind, why) &&
                     openal.Find("alcOpenDevice", al->OpenDevice, why) &&
                     openal.Find("alcCloseDevice", al->CloseDevice, why) &&
                     openal.Find("alcCreateContext", al->CreateContext, why) &&
                     openal.Find("alcDestroyContext", al->DestroyContext, why) &&
                     openal.Find("alcMakeContextCurrent", al->MakeContextCurrent, why) &&
                     openal.Find("alcGetIntegerv", al->GetIntegerv, why) &&
                     openal.Find("alcIsExtensionPresent", al->IsExtensionPresent, why) &&
                     openal.Find("alcGetProcAddress", al->GetProcAddress, why);
    if (!all) return nullptr;
    return al;
}

}  // namespace pellox
