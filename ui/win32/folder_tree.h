// Dir1, the folder selector: a tree of the folders of one drive, from its
// root down to the folder shown, whose own folders it lists when a folder is
// opened. It lists folders only, and reads a folder only when it is shown
// opened, so that a folder of 100,000 files costs one pass over its names.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace ftvb::ui::win32 {

class FolderTree {
public:
    FolderTree() = default;
    void attach(HWND tree) { tree_ = tree; }
    HWND handle() const { return tree_; }

    const std::wstring& path() const { return path_; }
    // Shows the folder ("\" alone is the root of the current drive); false,
    // with the path unchanged, when it is not a folder. The program's own
    // settings raise no change: only the user's choices do.
    bool setPath(const std::wstring& path);
    // Reads the folders of the folder shown again.
    void refresh();

    // The tree's notifications, from the parent's WM_NOTIFY. True when the
    // user chose another folder; path() is then that folder. A folder closed
    // is read again when it is next opened.
    bool notify(const NMHDR& header, LRESULT& result);
    // Takes the folder highlighted as the one shown, when they differ: the
    // tree moves the highlight by itself when the folder shown is closed
    // away, without a word (Wine) or with one (Windows). True when path()
    // changed.
    bool followSelection();

private:
    HTREEITEM addItem(HTREEITEM parent, const std::wstring& name);
    void fill(HTREEITEM item);
    bool holdsSelection(HTREEITEM item) const;
    HTREEITEM child(HTREEITEM parent, const std::wstring& name);
    std::wstring pathOf(HTREEITEM item) const;
    std::wstring textOf(HTREEITEM item) const;

    HWND tree_ = nullptr;
    std::wstring path_;
    std::wstring root_;  // the drive (or share) whose folders the tree shows
    bool setting_ = false;
};

// The full path of a name, relative to the current folder, or empty.
std::wstring fullPath(const std::wstring& name);

}  // namespace ftvb::ui::win32
