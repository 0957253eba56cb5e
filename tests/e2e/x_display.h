#pragma once

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child_process.h"

namespace e2e {

class XSession;

// A private X server (Xvfb) on a display number that the server picks itself,
// so several of these may run side by side.
class VirtualScreen {
public:
    VirtualScreen(const std::filesystem::path& logFile, int width, int height);
    ~VirtualScreen();

    const std::string& display() const { return display_; }  // ":N"

private:
    std::unique_ptr<ChildProcess> server_;
    std::string display_;
};

// A top-level window as the X server sees it.
struct TopLevelWindow {
    Window id = 0;
    std::string title;
    int x = 0;  // place of the client area on the screen
    int y = 0;
    int width = 0;
    int height = 0;
    bool viewable = false;
    Window transientFor = 0;  // the window it belongs to (dialogs), or 0
    // The whole window as the screen shows it: the window manager's frame with
    // its border, or the window itself where no window manager frames it.
    int frameX = 0;
    int frameY = 0;
    int frameWidth = 0;
    int frameHeight = 0;
};

// A window inside a top-level one, placed relative to the window that holds it.
struct ChildWindow {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int depth = 1;  // 1: a child of the top-level window, 2: a child of such a child, ...
};

// A window manager (Openbox) on the display, framing each window with a title
// bar and borders as a desktop does. It is ready once the constructor returns.
class WindowManager {
public:
    WindowManager(const std::string& display, XSession& x, const LaunchPlan& environment);
    ~WindowManager();

private:
    std::unique_ptr<ChildProcess> process_;
};

// A client connection that looks at windows and plays the user: pointer,
// keyboard (through the XTest extension) and the window manager's requests.
class XSession {
public:
    explicit XSession(const std::string& display);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // The programs' own top-level windows: the children of the root window, or
    // under a window manager the windows inside its frames.
    std::vector<TopLevelWindow> topLevelWindows();
    // True once a window manager manages the screen.
    bool hasWindowManager();
    // The viewable top-level window with this title and client size, if any.
    std::optional<TopLevelWindow> findViewable(const std::string& title, int width, int height);

    // Every window inside the window, at any depth (native child windows).
    std::vector<ChildWindow> childWindows(Window window, int depth = 1);

    // Moves the pointer to (x, y) in the window's client area and clicks the left button.
    void click(const TopLevelWindow& window, int x, int y);
    // Gives the window the keyboard focus, as a window manager does on a click.
    void focus(const TopLevelWindow& window);
    // Presses and releases one key, with Control held when asked.
    void pressKey(KeySym key, bool withControl = false);
    // Types digits and plain letters.
    void type(const std::string& text);
    // Asks the window to close, as a window manager's close button does
    // (a WM_DELETE_WINDOW client message).
    void requestClose(const TopLevelWindow& window);

private:
    void sync();
    bool hasProperty(Window window, const char* name);
    Window clientIn(Window topLevel, int depth = 2);

    Display* display_ = nullptr;
    Window root_ = 0;
};

}  // namespace e2e
