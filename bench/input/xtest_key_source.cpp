#include "bench/input/xtest_key_source.h"

// Last: the X11 headers define macros (Bool, Status) that break headers read after them.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace pellox::bench {

namespace {

class XTestKeySource final : public PressSource {
public:
    explicit XTestKeySource(Display* display) : display_(display) {}
    ~XTestKeySource() override { XCloseDisplay(display_); }

    std::string Name() const override { return "XTest key"; }
    bool StampedByServer() const override { return true; }

    void Press(int position) override {
        const char lower[2] = {static_cast<char>(LetterOf(position) - u'A' + 'a'), 0};
        const KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(lower));
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        XFlush(display_);
    }

private:
    Display* display_;
};

}  // namespace

std::unique_ptr<PressSource> MakeXTestKeySource(std::string* error) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        *error = "cannot open the X display (is DISPLAY set?)";
        return nullptr;
    }
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) {
        XCloseDisplay(display);
        *error = "the X server has no XTest extension";
        return nullptr;
    }
    return std::make_unique<XTestKeySource>(display);
}

}  // namespace pellox::bench
