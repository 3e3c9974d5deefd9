// drop_focus: takes the keyboard focus away from every window, as switching
// to another program does. Exit code 0 when done, 2 when the display cannot
// be opened.
#include <X11/Xlib.h>

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "drop_focus: cannot open display\n");
        return 2;
    }
    XSetInputFocus(display, None, RevertToNone, CurrentTime);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
