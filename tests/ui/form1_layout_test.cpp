// The window's description as both bindings read it: rows found by their
// Part, every caption and tool tip with a control to go to, and the places
// that depend on the drive selector.
#include "ui/form1_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "ui/captions.h"

namespace ftvb::ui {
namespace {

std::string nameOf(const ControlLayout& control) {
    return control.index >= 0 ? std::string(control.name) + "(" + std::to_string(control.index) + ")" : control.name;
}

TEST(Form1Layout, EachRowIsFoundByItsPartAndLiesInTheWindow) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < kPartCount; ++i) {
        const ControlLayout& control = kForm1Layout[i];
        EXPECT_EQ(std::size_t(control.part), i) << nameOf(control);
        EXPECT_TRUE(names.insert(nameOf(control)).second) << nameOf(control);
        for (const bool drives : {true, false}) {
            const TwipsRect place = placeOf(control, drives);
            EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.width > 0 && place.height > 0 &&
                        place.left + place.width <= kForm1Width && place.top + place.height <= kForm1Height)
                << nameOf(control);
        }
    }
}

// A caption or a tool tip for a control the window does not lay out would
// never be seen.
TEST(Form1Layout, EveryCaptionAndToolTipHasItsControl) {
    for (const TextRow& row : kCaptionTable) {
        if (row.control == Control::Form1) continue;
        ASSERT_TRUE(partOf(row.control).has_value()) << row.english;
        EXPECT_EQ(layoutOf(*partOf(row.control)).control, row.control) << row.english;
    }
    for (const TextRow& row : kToolTipTable) EXPECT_TRUE(partOf(row.control).has_value()) << row.english;
    EXPECT_FALSE(partOf(Control::Form1).has_value());
}

// Only Drive1 depends on drive letters, and the tree that takes its room
// without them covers its place and the tree's own.
TEST(Form1Layout, WithoutDrivesTheTreeTakesTheDriveSelectorsRoom) {
    const ControlLayout& drive = layoutOf(Part::Drive1);
    const ControlLayout& tree = layoutOf(Part::Dir1);
    const TwipsRect alone = placeOf(tree, false);
    EXPECT_EQ(alone.left, drive.place.left);
    EXPECT_EQ(alone.top, drive.place.top);
    EXPECT_EQ(alone.width, tree.place.width);
    EXPECT_EQ(alone.top + alone.height, tree.place.top + tree.place.height);
    for (const ControlLayout& control : kForm1Layout) {
        EXPECT_EQ(control.onlyWithDrives(), control.part == Part::Drive1) << nameOf(control);
        EXPECT_EQ(control.placeWithoutDrives.has_value(), control.part == Part::Dir1) << nameOf(control);
    }
}

// Tab reaches every control but the labels in the Qt window, each once.
TEST(Form1Layout, TheQtTabOrderHoldsEveryControlButTheLabelsOnce) {
    std::set<Part> listed;
    for (const Part part : kQtTabOrder) {
        EXPECT_TRUE(listed.insert(part).second) << nameOf(layoutOf(part));
        EXPECT_NE(layoutOf(part).kind, ControlKind::label) << nameOf(layoutOf(part));
    }
    for (const ControlLayout& control : kForm1Layout) {
        EXPECT_EQ(listed.count(control.part), control.kind == ControlKind::label ? 0u : 1u) << nameOf(control);
    }
}

}  // namespace
}  // namespace ftvb::ui
