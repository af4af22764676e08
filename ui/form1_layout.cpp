// The main window's controls and their places, in twips.
#include "ui/form1_layout.h"

namespace ftvb::ui {
namespace {

using K = ControlKind;
using C = Control;
constexpr Rgb kRed{255, 0, 0};

}  // namespace

// Labels first, then in the order the Win32 window's Tab key visits them.
const std::array<ControlLayout, kPartCount> kForm1Layout{{
    {Part::Label3, "Label3", -1, K::link, {1320, 120, 2775, 255}, C::Label3, kHandCursor, kRed},
    {Part::Label1_0, "Label1", 0, K::label, {3360, 540, 3135, 255}, C::Label1_0},
    {Part::Label1_1, "Label1", 1, K::label, {7680, 900, 2355, 315}, C::Label1_1},
    {Part::Label1_2, "Label1", 2, K::label, {4080, 4200, 2415, 315}, C::Label1_2},
    {Part::Drive1, "Drive1", -1, K::driveList, {360, 780, 2895, 315}, C::Drive1, kOnlyWithDrives},
    // With no drive selector, the tree takes the drive selector's place too.
    {Part::Dir1, "Dir1", -1, K::folderTree, {360, 1200, 2895, 2790}, C::Dir1, 0, {}, TwipsRect{360, 780, 2895, 3210}},
    {Part::ext, "ext", -1, K::textBox, {3360, 780, 1815, 315}, C::ext},
    {Part::Command7, "Command7", -1, K::button, {5280, 780, 435, 315}, C::Command7},
    {Part::f1, "f1", -1, K::fileList, {3360, 1200, 2295, 2790}, C::f1},
    {Part::Command1, "Command1", -1, K::button, {5940, 1440, 1515, 375}, C::Command1},
    {Part::Command2, "Command2", -1, K::button, {5940, 1980, 1515, 375}, C::Command2},
    {Part::Command5, "Command5", -1, K::button, {5940, 2520, 1515, 375}, C::Command5},
    {Part::Command6, "Command6", -1, K::button, {5940, 3060, 1515, 375}, C::Command6},
    {Part::f2, "f2", -1, K::fileList, {7680, 1200, 2295, 2790}, C::f2},
    {Part::b, "b", -1, K::textBox, {6480, 4200, 3855, 315}, C::b},
    {Part::Check1, "Check1", -1, K::checkBox, {6480, 4620, 3855, 255}, C::Check1},
    {Part::Command3, "Command3", -1, K::button, {6240, 60, 1155, 315}, C::Command3},
    {Part::Command4, "Command4", -1, K::button, {8340, 60, 1155, 315}, C::Command4},
    {Part::tt, "tt", -1, K::statusText, {360, 5160, 5595, 1815}, {}, kHiddenWhenIdle},
    {Part::ccpt, "ccpt", -1, K::statusLine, {7020, 5580, 1575, 315}, {}, kHiddenWhenIdle},
    {Part::ln0, "ln", 0, K::picture, {6300, 5220, 480, 480}, {}, kHandCursor},
    {Part::ln1, "ln", 1, K::picture, {6300, 5700, 480, 480}, {}, kHandCursor},
    {Part::Image1, "Image1", -1, K::picture, {6240, 6420, 2745, 630}, {}, kHandCursor},
}};

const std::array<Part, 20> kQtTabOrder{{
    Part::Command3, Part::Command4, Part::Command7, Part::Command1, Part::Command2, Part::Command5, Part::Command6,
    Part::Label3,   Part::Drive1,   Part::ext,      Part::Dir1,     Part::f1,       Part::f2,       Part::b,
    Part::Check1,   Part::ln0,      Part::ln1,      Part::Image1,   Part::tt,       Part::ccpt,
}};

std::optional<Part> partOf(Control control) {
    for (const ControlLayout& row : kForm1Layout) {
        if (row.control == control) return row.part;
    }
    return {};
}

}  // namespace ftvb::ui
