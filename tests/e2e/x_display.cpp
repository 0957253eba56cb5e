#include "x_display.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace e2e {

namespace {

std::filesystem::path findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    throw std::runtime_error(name + " was not found on the PATH (scripts/dev installs it)");
}

// Reads the display number that Xvfb writes to the pipe once it accepts clients.
std::string readDisplayNumber(int pipe, ChildProcess& server, std::chrono::seconds timeout) {
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (text.find('\n') == std::string::npos) {
        if (!server.running())
            throw std::runtime_error("Xvfb " + server.describeEnd() + " before it was ready");
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) throw std::runtime_error("Xvfb did not become ready in time");
        pollfd entry{pipe, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(std::min<long>(left.count(), 100)));
        if (ready <= 0) continue;
        char buffer[32];
        const ssize_t count = ::read(pipe, buffer, sizeof buffer);
        if (count > 0) text.append(buffer, static_cast<size_t>(count));
    }
    return text.substr(0, text.find('\n'));
}

int ignoreXErrors(Display*, XErrorEvent*) {
    // Windows come and go while we look at them; a vanished window is not an error here.
    return 0;
}

}  // namespace

VirtualScreen::VirtualScreen(const std::filesystem::path& logFile, int width, int height) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2 failed");
    LaunchPlan plan;
    plan.arguments = {findProgram("Xvfb").string(),
                      "-displayfd",
                      std::to_string(pipeEnds[1]),
                      "-screen",
                      "0",
                      std::to_string(width) + "x" + std::to_string(height) + "x24",
                      "-nolisten",
                      "tcp",
                      "-noreset"};
    plan.outputFile = logFile;
    plan.inheritedDescriptor = pipeEnds[1];
    try {
        server_ = std::make_unique<ChildProcess>(plan);
        ::close(pipeEnds[1]);
        const std::string number =
            readDisplayNumber(pipeEnds[0], *server_, std::chrono::seconds(30));
        display_ = std::string(":").append(number);
    } catch (...) {
        ::close(pipeEnds[0]);
        throw;
    }
    ::close(pipeEnds[0]);
}

VirtualScreen::~VirtualScreen() = default;

WindowManager::WindowManager(const std::string& display, XSession& x,
                             const LaunchPlan& environment) {
    LaunchPlan plan = environment;
    plan.arguments = {findProgram("openbox").string(), "--sm-disable"};
    plan.setEnvironment["DISPLAY"] = display;
    process_ = std::make_unique<ChildProcess>(plan);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!x.hasWindowManager()) {
        if (!process_->running())
            throw std::runtime_error("the window manager " + process_->describeEnd() +
                                     " before it was ready");
        if (std::chrono::steady_clock::now() >= deadline)
            throw std::runtime_error("the window manager did not become ready in time");
        ::usleep(20'000);
    }
}

WindowManager::~WindowManager() = default;

XSession::XSession(const std::string& display) {
    XSetErrorHandler(ignoreXErrors);
    display_ = XOpenDisplay(display.c_str());
    if (!display_) throw std::runtime_error("cannot connect to the X server " + display);
    root_ = DefaultRootWindow(display_);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_, &eventBase, &errorBase, &major, &minor))
        throw std::runtime_error("the X server has no XTest extension");
}

XSession::~XSession() {
    if (display_) XCloseDisplay(display_);
}

void XSession::sync() {
    XSync(display_, False);
}

std::vector<TopLevelWindow> XSession::topLevelWindows() {
    std::vector<TopLevelWindow> windows;
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, root_, &rootReturn, &parent, &children, &count)) return windows;
    const bool managed = hasWindowManager();
    const Atom netWmName = XInternAtom(display_, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes frame;
        if (!XGetWindowAttributes(display_, children[i], &frame)) continue;
        const Window client = clientIn(children[i]);
        // The window manager's own windows are none of the programs'.
        if (managed && !hasProperty(client, "WM_STATE")) continue;
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, client, &attributes)) continue;
        TopLevelWindow window;
        window.id = client;
        window.width = attributes.width;
        window.height = attributes.height;
        window.viewable = attributes.map_state == IsViewable;
        window.frameX = frame.x;
        window.frameY = frame.y;
        window.frameWidth = frame.width + 2 * frame.border_width;
        window.frameHeight = frame.height + 2 * frame.border_width;
        Window ignored = 0;
        XTranslateCoordinates(display_, client, root_, 0, 0, &window.x, &window.y, &ignored);

        Atom type = 0;
        int format = 0;
        unsigned long items = 0, remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, client, netWmName, 0, 1024, False, utf8, &type, &format,
                               &items, &remaining, &data) == Success &&
            data) {
            window.title.assign(reinterpret_cast<const char*>(data), items);
            XFree(data);
        } else {
            char* name = nullptr;
            if (XFetchName(display_, client, &name) && name) {
                window.title = name;
                XFree(name);
            }
        }
        XGetTransientForHint(display_, client, &window.transientFor);
        windows.push_back(window);
    }
    if (children) XFree(children);
    return windows;
}

bool XSession::hasProperty(Window window, const char* name) {
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, remaining = 0;
    unsigned char* data = nullptr;
    const bool found =
        XGetWindowProperty(display_, window, XInternAtom(display_, name, False), 0, 1, False,
                           AnyPropertyType, &type, &format, &items, &remaining, &data) == Success &&
        type != None;
    if (data) XFree(data);
    return found;
}

// The window manager marks the windows it manages with WM_STATE; a frame holds
// one of them. Without a window manager the top-level window is the client.
Window XSession::clientIn(Window topLevel, int depth) {
    if (hasProperty(topLevel, "WM_STATE") || depth == 0) return topLevel;
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    Window client = topLevel;
    if (XQueryTree(display_, topLevel, &rootReturn, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && client == topLevel; ++i) {
            const Window inner = clientIn(children[i], depth - 1);
            if (hasProperty(inner, "WM_STATE")) client = inner;
        }
    }
    if (children) XFree(children);
    return client;
}

std::vector<ChildWindow> XSession::childWindows(Window window, int depth) {
    std::vector<ChildWindow> found;
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window, &rootReturn, &parent, &children, &count)) return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, children[i], &attributes)) continue;
        found.push_back({attributes.x, attributes.y, attributes.width, attributes.height, depth});
        const std::vector<ChildWindow> inner = childWindows(children[i], depth + 1);
        found.insert(found.end(), inner.begin(), inner.end());
    }
    if (children) XFree(children);
    return found;
}

bool XSession::hasWindowManager() {
    return hasProperty(root_, "_NET_SUPPORTING_WM_CHECK");
}

std::optional<TopLevelWindow> XSession::findViewable(const std::string& title, int width,
                                                     int height) {
    for (const TopLevelWindow& window : topLevelWindows())
        if (window.viewable && window.title == title && window.width == width &&
            window.height == height)
            return window;
    return std::nullopt;
}

void XSession::click(const TopLevelWindow& window, int x, int y) {
    XTestFakeMotionEvent(display_, DefaultScreen(display_), window.x + x, window.y + y,
                         CurrentTime);
    XTestFakeButtonEvent(display_, 1, True, CurrentTime);
    XTestFakeButtonEvent(display_, 1, False, CurrentTime);
    sync();
}

void XSession::focus(const TopLevelWindow& window) {
    XSetInputFocus(display_, window.id, RevertToPointerRoot, CurrentTime);
    sync();
}

void XSession::pressKey(KeySym key, bool withControl) {
    const KeyCode control = XKeysymToKeycode(display_, XK_Control_L);
    const KeyCode code = XKeysymToKeycode(display_, key);
    if (code == 0)
        throw std::runtime_error("the keyboard map has no key for keysym " + std::to_string(key));
    if (withControl) XTestFakeKeyEvent(display_, control, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    if (withControl) XTestFakeKeyEvent(display_, control, False, CurrentTime);
    sync();
}

void XSession::type(const std::string& text) {
    for (const char character : text) {
        const char name[2] = {character, '\0'};
        const KeySym key = XStringToKeysym(name);
        if (key == NoSymbol) throw std::runtime_error(std::string("cannot type '") + name + "'");
        pressKey(key);
    }
}

void XSession::requestClose(const TopLevelWindow& window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window.id;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, window.id, False, NoEventMask, &event);
    sync();
}

}  // namespace e2e
