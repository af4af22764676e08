// The main window's layout, once for both bindings: every control with its
// kind, its place in twips, its place in the Tab order, its pointer, colour
// and caption. The Qt and the Win32 window make their controls by walking
// kForm1Layout; each maps a kind to a widget or window class of its own, and
// takes every number from here.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "ui/window_ops.h"

namespace ftvb::ui {

// The client area, in twips, and the point size of the face its boxes were
// made for.
inline constexpr int kForm1Width = 10755;
inline constexpr int kForm1Height = 8520;
inline constexpr int kForm1FontPoints = 8;

// What a control is. Each binding has one widget or window class, and one
// style, per kind.
enum class ControlKind {
    label,       // Label1: text only
    link,        // Label3: text that opens the About box when pressed
    button,      // the Command buttons
    checkBox,    // Check1
    driveList,   // Drive1: the drive letters, dropped down
    folderTree,  // Dir1
    fileList,    // f1 and f2
    textBox,     // ext and b, typed into
    statusText,  // tt: the statement at hand during a run, read-only
    statusLine,  // ccpt: the line count during a run, read-only
    picture,     // ln(0), ln(1), Image1: pictures that are pressed
};

// The controls, in the order both windows make them: stacked in this order,
// and in this order visited by Tab in the Win32 window.
enum class Part {
    Label3,
    Label1_0,
    Label1_1,
    Label1_2,
    Drive1,
    Dir1,
    ext,
    Command7,
    f1,
    Command1,
    Command2,
    Command5,
    Command6,
    f2,
    b,
    Check1,
    Command3,
    Command4,
    tt,
    ccpt,
    ln0,
    ln1,
    Image1,
};
inline constexpr std::size_t kPartCount = std::size_t(Part::Image1) + 1;

struct TwipsRect {
    int left, top, width, height;
};

struct Rgb {
    int red, green, blue;
};

// What sets a control apart, besides its kind.
enum ControlTrait : unsigned {
    kHandCursor = 1,      // pressed with the mouse: the pointer says so
    kHiddenWhenIdle = 2,  // the run's status boxes, shown during a run
    kOnlyWithDrives = 4,  // Drive1: not made where there are no drive letters
};

struct ControlLayout {
    Part part;
    const char* name;  // the control's name; a control array's members share it
    int index;         // in its control array, else -1
    ControlKind kind;
    TwipsRect place;
    std::optional<Control> control = {};  // for its caption and tool tip
    unsigned traits = 0;
    std::optional<Rgb> textColour = {};
    // Its place where the window has no drive letters, when it moves into
    // the room Drive1 leaves.
    std::optional<TwipsRect> placeWithoutDrives = {};

    bool handCursor() const { return (traits & kHandCursor) != 0; }
    bool hiddenWhenIdle() const { return (traits & kHiddenWhenIdle) != 0; }
    bool onlyWithDrives() const { return (traits & kOnlyWithDrives) != 0; }
};

// Indexed by Part.
extern const std::array<ControlLayout, kPartCount> kForm1Layout;

// The Qt window's Tab order, with every control Tab may reach there. It is
// not the table's: the buttons come first, then the About label, the
// selectors and the lists; the flags and the logo come last.
extern const std::array<Part, 20> kQtTabOrder;

inline const ControlLayout& layoutOf(Part part) { return kForm1Layout[std::size_t(part)]; }

// The control that carries a caption or tool tip; none for Control::Form1.
std::optional<Part> partOf(Control control);

// Where the control stands, in a window with or without drive letters.
inline TwipsRect placeOf(const ControlLayout& control, bool drives) {
    return !drives && control.placeWithoutDrives ? *control.placeWithoutDrives : control.place;
}

// Reached by Tab and pressed by Space or Enter, though drawn as text or a
// picture: the About label, the flags and the logo.
inline bool pressedLikeAButton(ControlKind kind) { return kind == ControlKind::link || kind == ControlKind::picture; }

}  // namespace ftvb::ui
