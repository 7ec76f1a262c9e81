#include "media/openal_library.h"

#include <dlfcn.h>

namespace pellox {
namespace {

template <typename Function>
bool Find(void* library, const char* name, Function& function, std::string& why) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    if (!function) why = std::string("it has no ") + name;
    return function != nullptr;
}

}  // namespace

std::shared_ptr<const OpenALFunctions> LoadOpenAL(const std::string& library, std::string& why) {
    void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = ::dlerror();
        why = error ? error : library + " not found";
        return nullptr;
    }
    auto al = std::make_shared<OpenALFunctions>();
    const bool all = Find(handle, "alGetError", al->GetError, why) &&
                     Find(handle, "alGenBuffers", al->GenBuffers, why) &&
                     Find(handle, "alDeleteBuffers", al->DeleteBuffers, why) &&
                     Find(handle, "alBufferData", al->BufferData, why) &&
                     Find(handle, "alGenSources", al->GenSources, why) &&
                     Find(handle, "alDeleteSources", al->DeleteSources, why) &&
                     Find(handle, "alSourcei", al->Sourcei, why) && Find(handle, "alSourcef", al->Sourcef, why) &&
                     Find(handle, "alSource3f", al->Source3f, why) &&
                     Find(handle, "alGetSourcei", al->GetSourcei, why) &&
                     Find(handle, "alSourcePlay", al->SourcePlay, why) &&
                     Find(handle, "alSourceStop", al->SourceStop, why) &&
                     Find(handle, "alSourceRewind", al->SourceRewind, why) &&
                     Find(handle, "alcOpenDevice", al->OpenDevice, why) &&
                     Find(handle, "alcCloseDevice", al->CloseDevice, why) &&
                     Find(handle, "alcCreateContext", al->CreateContext, why) &&
                     Find(handle, "alcDestroyContext", al->DestroyContext, why) &&
                     Find(handle, "alcMakeContextCurrent", al->MakeContextCurrent, why) &&
                     Find(handle, "alcGetIntegerv", al->GetIntegerv, why) &&
                     Find(handle, "alcIsExtensionPresent", al->IsExtensionPresent, why) &&
                     Find(handle, "alcGetProcAddress", al->GetProcAddress, why);
    if (!all) {
        why = library + ": " + why;
        ::dlclose(handle);
        return nullptr;
    }
    // Kept open: voices and devices of it may live until the process ends.
    return al;
}

}  // namespace pellox
