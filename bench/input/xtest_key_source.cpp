#include "bench/input/xtest_key_source.h"

#include <QImage>
#include <QWidget>

// Last: the X11 headers define macros (Bool, Status) that break headers read after them.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
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

    // Asked on this connection, the server answers only after every request
    // that reached it before: the game's pixels are there if Qt has sent them.
    std::optional<bool> WindowShows(const QWidget& window, const QImage& frame, const QRect& box) override {
        if (window.devicePixelRatioF() != 1.0) return std::nullopt;  // the frame is in game pixels
        XImage* image = XGetImage(display_, static_cast<Window>(window.winId()), box.x(), box.y(),
                                  static_cast<unsigned>(box.width()), static_cast<unsigned>(box.height()),
                                  AllPlanes, ZPixmap);
        if (!image) return std::nullopt;
        bool same = true;
        for (int y = 0; y < box.height() && same; ++y)
            for (int x = 0; x < box.width() && same; ++x) {
                const QRgb expected = frame.pixel(box.x() + x, box.y() + y) & 0xFFFFFF;
                if (expected == 0x800080) continue;  // see-through: outside the window's shape
                same = (XGetPixel(image, x, y) & 0xFFFFFF) == expected;
            }
        XDestroyImage(image);
        return same;
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
