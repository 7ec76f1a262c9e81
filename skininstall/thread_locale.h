#pragma once
// A locale's character set for this thread alone, for as long as the object
// lives: libarchive converts names to and from the current locale's set, and
// the game's own locale is no business of an install.

#include <locale.h>

namespace pellox {

class ThreadLocale {
public:
    // Under name's LC_CTYPE; when the system lacks it, the thread keeps its own.
    explicit ThreadLocale(const char* name)
        : locale_(::newlocale(LC_CTYPE_MASK, name, static_cast<locale_t>(nullptr))) {
        if (held()) previous_ = ::uselocale(locale_);
    }
    ~ThreadLocale() {
        if (!held()) return;
        ::uselocale(previous_);
        ::freelocale(locale_);
    }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

    bool held() const { return locale_ != static_cast<locale_t>(nullptr); }

private:
    locale_t locale_;
    locale_t previous_ = static_cast<locale_t>(nullptr);
};

}  // namespace pellox
