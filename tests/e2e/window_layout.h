#pragma once

// Where the controls that the end-to-end test uses sit in the two windows.
// Places are in twips (left, top, width, height), 15 twips to the pixel;
// a control inside a frame is placed relative to the frame.

namespace e2e {

struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

constexpr int pixels(int twips) {
    return (2 * twips + 15) / 30;  // to the nearest pixel
}

// The middle of a control, in pixels from the window's top-left corner.
constexpr Point centreOf(Place control, Place frame = {}) {
    return {pixels(frame.left + control.left + control.width / 2),
            pixels(frame.top + control.top + control.height / 2)};
}

// A point on the round indicator at the left end of an option button.
constexpr Point indicatorOf(Place option, Place frame) {
    return {pixels(frame.left + option.left) + 7,
            pixels(frame.top + option.top + option.height / 2)};
}

inline constexpr char kWindowTitle[] = "Quillfern";
inline constexpr char kFailureReportTitle[] = "Application Error";

namespace main_window {
inline constexpr int kWidth = pixels(8040);
inline constexpr int kHeight = pixels(10965);
inline constexpr Place kPartOfNameFrame{120, 2460, 7800, 825};   // Frame2
inline constexpr Place kLastNameOnly{4290, 360, 1695, 255};      // Option6, in Frame2
inline constexpr Place kCountFrame{120, 3315, 7800, 825};        // Frame3
inline constexpr Place kCountBox{240, 300, 7305, 375};           // Text1, in Frame3
inline constexpr Place kStartGenerating{120, 9945, 7800, 405};   // PushButton1
inline constexpr Place kListOptionsFrame{120, 570, 7800, 1850};  // Frame4
inline constexpr Place kUserList{225, 1440, 6015, 255};          // Option8, in Frame4
inline constexpr Place kFirstNamesFrame{120, 4170, 7800, 2805};  // Frame6
inline constexpr Place kAddFirstName{240, 1710, 3600, 405};      // PushButton2, in Frame6
inline constexpr Place kLastNamesFrame{120, 7020, 7800, 2805};   // Frame5
inline constexpr Place kAddLastName{240, 1710, 3600, 400};       // PushButton5, in Frame5
inline constexpr Place kOriginFrame{5040, 570, 2640, 735};       // in Frame4
inline constexpr Place kOriginButton{120, 270, 2400, 375};       // in the origin frame

// The window designer's table of the main window's controls: each place is
// relative to the control that holds it, `depth` counts the frames around it.
struct Control {
    const char* name;
    Place place;
    int depth;
};
inline constexpr Control kControls[] = {
    {"PushButton8", {120, 120, 7800, 405}, 1},   {"Frame4", {120, 570, 7800, 1850}, 1},
    {"Option9", {240, 300, 6300, 255}, 2},       {"Frame1", {600, 570, 4320, 735}, 2},
    {"Option1", {240, 300, 1020, 255}, 3},       {"Option2", {1260, 300, 1335, 255}, 3},
    {"Option3", {2610, 300, 1455, 255}, 3},      {"Option8", {225, 1440, 6015, 255}, 2},
    {"Frame2", {120, 2460, 7800, 825}, 1},       {"Option4", {240, 360, 2100, 255}, 2},
    {"Option5", {2460, 360, 1695, 255}, 2},      {"Option6", {4290, 360, 1695, 255}, 2},
    {"Frame3", {120, 3315, 7800, 825}, 1},       {"Text1", {240, 300, 7305, 375}, 2},
    {"Frame6", {120, 4170, 7800, 2805}, 1},      {"ListView1", {240, 300, 7320, 1320}, 2},
    {"PushButton2", {240, 1710, 3600, 405}, 2},  {"PushButton6", {3940, 1710, 3600, 405}, 2},
    {"PushButton4", {240, 2220, 7320, 405}, 2},  {"Frame5", {120, 7020, 7800, 2805}, 1},
    {"ListView2", {240, 300, 7320, 1320}, 2},    {"PushButton5", {240, 1710, 3600, 400}, 2},
    {"PushButton7", {3975, 1710, 3600, 405}, 2}, {"PushButton3", {240, 2220, 7320, 405}, 2},
    {"PushButton1", {120, 9945, 7800, 405}, 1},  {"ProgressBar1", {120, 10455, 7800, 405}, 1},
};
}  // namespace main_window

namespace origin_chooser {
inline constexpr char kTitle[] = "Choose Origins";
inline constexpr int kWidth = pixels(5400);
inline constexpr int kHeight = pixels(7125);
inline constexpr Place kFilterBox{120, 120, 5160, 375};
inline constexpr Place kWeighted{120, 5340, 5160, 255};  // "As Common As In Life"
inline constexpr Place kInvent{120, 6180, 5160, 255};    // "Invent New Names Like These"
}  // namespace origin_chooser

namespace results_window {
inline constexpr int kWidth = pixels(8040);
inline constexpr int kHeight = pixels(7800);
inline constexpr Place kBack{120, 120, 7800, 405};          // PushButton8
inline constexpr Place kOutputFrame{120, 570, 7800, 690};   // Frame2
inline constexpr Place kTextFile{240, 240, 1335, 375};      // Option4, in Frame2
inline constexpr Place kSaveResults{120, 7290, 7800, 405};  // PushButton2
}  // namespace results_window

static_assert(main_window::kWidth == 536 && main_window::kHeight == 731);
static_assert(results_window::kWidth == 536 && results_window::kHeight == 520);

}  // namespace e2e
