#include "media/core/shared_library.h"

#include <dlfcn.h>

namespace pellox {

SharedLibrary SharedLibrary::Open(const std::string& file_name, std::string& why) {
    SharedLibrary library;
    library.file_name_ = file_name;
    // Every function resolved now: a library that lacks one fails here, at a
    // moment the game can say so, and never in the middle of a call.
    library.handle_ = ::dlopen(file_name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library.handle_) {
        const char* error = ::dlerror();
        why = error ? error : file_name + " cannot be opened";
    }
    return library;
}

void* SharedLibrary::Symbol(const char* name) const { return handle_ ? ::dlsym(handle_, name) : nullptr; }

}  // namespace pellox
