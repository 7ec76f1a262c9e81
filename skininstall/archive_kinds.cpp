#include "skininstall/archive_kinds.h"

#include "skin/ascii_text.h"

namespace pellox {

bool HasSkinArchiveEnding(std::string_view file_name) {
    for (const SkinArchiveKind& kind : kSkinArchiveKinds) {
        if (file_name.size() > kind.ending.size() && EndsWithIgnoringAsciiCase(file_name, kind.ending)) return true;
    }
    return false;
}

}  // namespace pellox
