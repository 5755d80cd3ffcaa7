// quovella-window-probe: what the end-to-end run asks of the program's window through X,
// the way a window manager would ask it.
//   find TITLE TIMEOUT_MS      prints the id of the mapped top-level window named TITLE
//   ping WINDOW COUNT GAP_MS   sends _NET_WM_PING COUNT times; prints p50, p99 and the
//                              longest answer in ms; fails when one goes unanswered for 1 s
//   close WINDOW               asks the window to close (WM_DELETE_WINDOW)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::string nameOf(Display* display, Window window) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) return {};
    std::string text = name;
    XFree(name);
    return text;
}

std::optional<Window> findWindow(Display* display, const std::string& title) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return std::nullopt;
    }
    std::optional<Window> found;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) == 0) continue;
        if (attributes.map_state == IsViewable && nameOf(display, children[i]) == title) {
            found = children[i];
        }
    }
    if (children != nullptr) XFree(children);
    return found;
}

void sendProtocol(Display* display, Window window, const char* protocol, long stamp) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, protocol, False));
    event.xclient.data.l[1] = stamp;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// Waits for the pong that carries `stamp`, at most until `deadline`.
bool awaitPong(Display* display, long stamp, Clock::time_point deadline) {
    const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
    while (Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event{};
            XNextEvent(display, &event);
            if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == ping &&
                event.xclient.data.l[1] == stamp) {
                return true;
            }
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 1);
    }
    return false;
}

int ping(Display* display, Window window, int count, int gapMs) {
    // The answer goes to the root window, to whoever watches its structure.
    XSelectInput(display, DefaultRootWindow(display), StructureNotifyMask | SubstructureNotifyMask);
    std::vector<double> answers;
    for (int i = 1; i <= count; ++i) {
        const auto sent = Clock::now();
        sendProtocol(display, window, "_NET_WM_PING", i);
        if (!awaitPong(display, i, sent + std::chrono::seconds(1))) {
            std::fprintf(stderr, "ping %d went unanswered for 1 s\n", i);
            return 1;
        }
        answers.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(gapMs));
    }
    std::sort(answers.begin(), answers.end());
    const auto at = [&](double q) {
        const auto rank = static_cast<std::size_t>(q * static_cast<double>(answers.size()));
        return answers[std::min(answers.size() - 1, rank)];
    };
    std::printf("%zu pings: p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", answers.size(), at(0.5),
                at(0.99), answers.back());
    return 0;
}

int usage() {
    std::fputs(
        "usage: quovella-window-probe find TITLE TIMEOUT_MS | ping WINDOW COUNT GAP_MS | "
        "close WINDOW\n",
        stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("no X display\n", stderr);
        return 1;
    }
    const std::string command = argv[1];
    int result = -1;
    if (command == "find" && argc == 4) {
        const auto deadline = Clock::now() + std::chrono::milliseconds(std::atoi(argv[3]));
        std::optional<Window> window;
        while (!(window = findWindow(display, argv[2])) && Clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (window) std::printf("%lu\n", *window);
        result = window ? 0 : 1;
    } else if (command == "ping" && argc == 5) {
        result = ping(display, std::strtoul(argv[2], nullptr, 10), std::atoi(argv[3]),
                      std::atoi(argv[4]));
    } else if (command == "close" && argc == 3) {
        sendProtocol(display, std::strtoul(argv[2], nullptr, 10), "WM_DELETE_WINDOW", CurrentTime);
        result = 0;
    }
    XCloseDisplay(display);
    return result >= 0 ? result : usage();
}
