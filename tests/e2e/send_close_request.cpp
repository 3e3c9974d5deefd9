// send_close_request <window-id>: asks a window to close the way a window
// manager does, with a WM_DELETE_WINDOW client message. Exit code 0 when the
// message was sent, 1 on a bad argument, 2 when the display cannot be opened.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: send_close_request <window-id>\n");
        return 1;
    }
    char* end = nullptr;
    unsigned long id = std::strtoul(argv[1], &end, 0);
    if (!end || *end != 0 || id == 0) {
        std::fprintf(stderr, "send_close_request: bad window id '%s'\n", argv[1]);
        return 1;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "send_close_request: cannot open display\n");
        return 2;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(id);
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, static_cast<Window>(id), False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
