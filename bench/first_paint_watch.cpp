// Start-up yardstick seen from outside: starts a program on the X display and reports the time
// until one of its mapped top-level windows is drawn with content (X Damage), then ends it.
// Usage: first_paint_watch PROGRAM [ARGS...]; prints "first-paint MS" and "rss KIB".
#include <chrono>
#include <cstdio>
#include <set>

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Ends the watched program and reports its peak resident size.
int Finish(pid_t child, long long ms) {
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (ms < 0) {
        std::fprintf(stderr, "no paint seen within the bound\n");
        return 1;
    }
    std::printf("first-paint %lld\nrss %ld\n", ms, usage.ru_maxrss);
    return 0;
}

// True once the window shows more than one colour: drawn content, not just a cleared background.
bool HasContent(Display* display, Window window) {
    // Read from the root window, clipped to the screen: a window partly off the screen cannot be
    // read directly.
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    const Window root = XDefaultRootWindow(display);
    int left = 0;
    int top = 0;
    Window child;
    XTranslateCoordinates(display, window, root, 0, 0, &left, &top, &child);
    const int screenWidth = XDisplayWidth(display, XDefaultScreen(display));
    const int screenHeight = XDisplayHeight(display, XDefaultScreen(display));
    const int x0 = left < 0 ? 0 : left;
    const int y0 = top < 0 ? 0 : top;
    const int x1 = left + attributes.width < screenWidth ? left + attributes.width : screenWidth;
    const int y1 = top + attributes.height < screenHeight ? top + attributes.height : screenHeight;
    if (x1 <= x0 || y1 <= y0) return false;
    XImage* image = XGetImage(display, root, x0, y0, static_cast<unsigned>(x1 - x0),
                              static_cast<unsigned>(y1 - y0), AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    const unsigned long first = image->f.get_pixel(image, 0, 0);
    bool content = false;
    for (int y = 0; y < image->height && !content; y += 2)
        for (int x = 0; x < image->width && !content; x += 2)
            content = image->f.get_pixel(image, x, y) != first;
    image->f.destroy_image(image);
    return content;
}

// Input-only windows cannot be watched, and windows may vanish before they are: neither matters.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    int damageEvent = 0;
    int damageError = 0;
    if (display == nullptr || !XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "no X display with the Damage extension\n");
        return 2;
    }
    XSetErrorHandler(&IgnoreError);
    // Listening starts before the program does, so that no window of it can be missed.
    const Window root = XDefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    std::set<Window> mapped;
    const auto bound = start + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < bound) {
        if (XPending(display) == 0) {
            usleep(200);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify) {
            // Watched from creation on: the first drawing may follow the map at once.
            XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        } else if (event.type == MapNotify) {
            mapped.insert(event.xmap.window);
        } else if (event.type == damageEvent + XDamageNotify) {
            const auto* damage = reinterpret_cast<XDamageNotifyEvent*>(&event);
            XDamageSubtract(display, damage->damage, None, None);
            if (mapped.count(damage->drawable) != 0 && HasContent(display, damage->drawable)) {
                const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - start)
                                    .count();
                return Finish(child, static_cast<long long>(ms));
            }
        }
    }
    return Finish(child, -1);
}
