#include "ui/win32/folder_tree.h"

#include <algorithm>
#include <vector>

#include "ui/win32/hidden_file_list.h"

namespace ftvb::ui::win32 {
namespace {

// lParam of an item whose folders have been read.
constexpr LPARAM kFilled = 1;

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "C:\" for a drive, "\\server\share\" for a share; empty when the path has
// neither.
std::wstring rootOf(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && isSeparator(path[2])) {
        std::wstring root = path.substr(0, 3);
        root[0] = wchar_t(towupper(root[0]));
        root[2] = L'\\';
        return root;
    }
    if (path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1])) {
        std::size_t end = 2;
        for (int part = 0; part < 2 && end != std::wstring::npos; ++part) {
            end = path.find_first_of(L"\\/", end + (part == 0 ? 0 : 1));
        }
        if (end == std::wstring::npos) return path + L'\\';
        return path.substr(0, end + 1);
    }
    return {};
}

// The folder's own spelling of a name, as its folder lists it.
std::wstring trueName(const std::wstring& path, const std::wstring& name) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (find == INVALID_HANDLE_VALUE) return name;
    FindClose(find);
    return found.cFileName;
}

// A third of the way from the window's colour to the highlight's.
COLORREF inactiveHighlight() {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    auto part = [](int from, int to) { return BYTE(from + (to - from) / 3); };
    return RGB(part(GetRValue(window), GetRValue(highlight)), part(GetGValue(window), GetGValue(highlight)),
               part(GetBValue(window), GetBValue(highlight)));
}

}  // namespace

std::wstring fullPath(const std::wstring& name) {
    if (name.empty()) return {};
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(name.c_str(), DWORD(full.size()), full.data(), nullptr);
        if (length == 0) return {};
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

bool FolderTree::setPath(const std::wstring& path) {
    std::wstring full = fullPath(path);
    const std::wstring root = rootOf(full);
    if (root.empty() || !isFolder(full)) return false;
    while (full.size() > root.size() && isSeparator(full.back())) full.pop_back();

    setting_ = true;
    if (root != root_ || TreeView_GetRoot(tree_) == nullptr) {
        TreeView_DeleteAllItems(tree_);
        root_ = root;
        addItem(TVI_ROOT, root);
    }
    HTREEITEM item = TreeView_GetRoot(tree_);
    std::size_t from = root.size();
    while (from < full.size()) {
        std::size_t to = full.find_first_of(L"\\/", from);
        if (to == std::wstring::npos) to = full.size();
        const std::wstring name = full.substr(from, to - from);
        from = to + 1;
        if (name.empty()) continue;
        fill(item);
        TreeView_Expand(tree_, item, TVE_EXPAND);
        HTREEITEM next = child(item, name);
        // A hidden folder on the way is not listed, but it can be shown.
        if (next == nullptr) next = addItem(item, trueName(full.substr(0, to), name));
        item = next;
    }
    TreeView_SelectItem(tree_, item);
    fill(item);
    TreeView_Expand(tree_, item, TVE_EXPAND);
    TreeView_EnsureVisible(tree_, item);
    path_ = pathOf(item);
    setting_ = false;
    return true;
}

void FolderTree::refresh() {
    HTREEITEM item = TreeView_GetSelection(tree_);
    if (item == nullptr) return;
    setting_ = true;
    while (HTREEITEM first = TreeView_GetChild(tree_, item)) TreeView_DeleteItem(tree_, first);
    TVITEMW state{};
    state.mask = TVIF_PARAM | TVIF_CHILDREN;
    state.hItem = item;
    state.lParam = 0;
    state.cChildren = 1;
    TreeView_SetItem(tree_, &state);
    fill(item);
    TreeView_Expand(tree_, item, TVE_EXPAND);
    setting_ = false;
}

bool FolderTree::notify(const NMHDR& header, LRESULT& result) {
    const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
    switch (header.code) {
        case TVN_ITEMEXPANDINGW:
            if ((change.action & TVE_EXPAND) != 0) fill(change.itemNew.hItem);
            result = FALSE;
            return false;
        case TVN_ITEMEXPANDEDW:
            if ((change.action & TVE_COLLAPSE) != 0 && change.itemNew.hItem != nullptr) {
                TVITEMW state{};
                state.mask = TVIF_PARAM;
                state.hItem = change.itemNew.hItem;
                state.lParam = 0;
                TreeView_SetItem(tree_, &state);
            }
            return false;
        case NM_CUSTOMDRAW: {
            // Without the focus (after a change of drive, say) the folder
            // in use is drawn in a pale grey that can hardly be told from
            // the background: a pale shade of the highlight instead.
            auto& draw = const_cast<NMTVCUSTOMDRAW&>(reinterpret_cast<const NMTVCUSTOMDRAW&>(header));
            if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) {
                result = CDRF_NOTIFYITEMDRAW;
            } else if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT && (draw.nmcd.uItemState & CDIS_SELECTED) != 0 &&
                       GetFocus() != tree_) {
                draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
                draw.clrTextBk = inactiveHighlight();
                result = CDRF_NEWFONT;
            } else {
                result = CDRF_DODEFAULT;
            }
            return false;
        }
        case TVN_SELCHANGEDW: {
            if (setting_ || change.itemNew.hItem == nullptr) return false;
            const std::wstring path = pathOf(change.itemNew.hItem);
            if (path == path_) return false;
            path_ = path;
            return true;
        }
        default: return false;
    }
}

bool FolderTree::followSelection() {
    HTREEITEM item = TreeView_GetSelection(tree_);
    if (setting_ || item == nullptr) return false;
    const std::wstring path = pathOf(item);
    if (path == path_) return false;
    path_ = path;
    return true;
}

// The item is the folder highlighted or one on the way to it.
bool FolderTree::holdsSelection(HTREEITEM item) const {
    for (HTREEITEM at = TreeView_GetSelection(tree_); at != nullptr; at = TreeView_GetParent(tree_, at)) {
        if (at == item) return true;
    }
    return false;
}

HTREEITEM FolderTree::addItem(HTREEITEM parent, const std::wstring& name) {
    // Kept in order without regard to case, like the folders read.
    HTREEITEM after = TVI_FIRST;
    for (HTREEITEM item = TreeView_GetChild(tree_, parent); item != nullptr;
         item = TreeView_GetNextSibling(tree_, item)) {
        if (lessIgnoringCase(name, textOf(item))) break;
        after = item;
    }
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = parent == TVI_ROOT ? TVI_LAST : after;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM;
    insert.item.pszText = const_cast<wchar_t*>(name.c_str());
    insert.item.cChildren = 1;  // until it is read: reading every folder to know would be slow
    insert.item.lParam = 0;
    return TreeView_InsertItem(tree_, &insert);
}

void FolderTree::fill(HTREEITEM item) {
    TVITEMW state{};
    state.mask = TVIF_PARAM;
    state.hItem = item;
    if (!TreeView_GetItem(tree_, &state) || state.lParam == kFilled) return;

    std::wstring search = pathOf(item);
    if (!isSeparator(search.back())) search += L'\\';
    search += L'*';
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileExW(search.c_str(), FindExInfoBasic, &found, FindExSearchLimitToDirectories,
                                         nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find != INVALID_HANDLE_VALUE) {
        constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        do {
            const std::wstring name(found.cFileName);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || (found.dwFileAttributes & kLeftOut) != 0 ||
                name == L"." || name == L"..") {
                continue;
            }
            names.push_back(name);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    std::sort(names.begin(), names.end(), lessIgnoringCase);

    // Read again (opened anew): folders gone since go, unless the folder
    // highlighted is one of them or inside one (a hidden folder on the way
    // is never listed, and a folder in use stays until another is chosen).
    // The rest go in among those there, in order.
    const bool wasSetting = setting_;
    setting_ = true;
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    for (HTREEITEM c = TreeView_GetChild(tree_, item); c != nullptr;) {
        HTREEITEM next = TreeView_GetNextSibling(tree_, c);
        if (!std::binary_search(names.begin(), names.end(), textOf(c), lessIgnoringCase) && !holdsSelection(c)) {
            TreeView_DeleteItem(tree_, c);
        }
        c = next;
    }
    HTREEITEM after = TVI_FIRST;
    HTREEITEM next = TreeView_GetChild(tree_, item);
    for (const std::wstring& name : names) {
        while (next != nullptr && lessIgnoringCase(textOf(next), name)) {
            after = next;
            next = TreeView_GetNextSibling(tree_, next);
        }
        if (next != nullptr && textOf(next) == name) continue;
        TVINSERTSTRUCTW insert{};
        insert.hParent = item;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM;
        insert.item.pszText = const_cast<wchar_t*>(name.c_str());
        insert.item.cChildren = 1;
        insert.item.lParam = 0;
        after = TreeView_InsertItem(tree_, &insert);
    }
    state.mask = TVIF_PARAM | TVIF_CHILDREN;
    state.lParam = kFilled;
    state.cChildren = TreeView_GetChild(tree_, item) != nullptr ? 1 : 0;
    TreeView_SetItem(tree_, &state);
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
    setting_ = wasSetting;
}

HTREEITEM FolderTree::child(HTREEITEM parent, const std::wstring& name) {
    for (HTREEITEM item = TreeView_GetChild(tree_, parent); item != nullptr;
         item = TreeView_GetNextSibling(tree_, item)) {
        const std::wstring text = textOf(item);
        if (CompareStringOrdinal(text.c_str(), int(text.size()), name.c_str(), int(name.size()), TRUE) == CSTR_EQUAL) {
            return item;
        }
    }
    return nullptr;
}

std::wstring FolderTree::textOf(HTREEITEM item) const {
    wchar_t text[MAX_PATH + 1];
    TVITEMW state{};
    state.mask = TVIF_TEXT;
    state.hItem = item;
    state.pszText = text;
    state.cchTextMax = MAX_PATH + 1;
    text[0] = L'\0';
    TreeView_GetItem(tree_, &state);
    return text;
}

std::wstring FolderTree::pathOf(HTREEITEM item) const {
    std::vector<std::wstring> names;
    for (; item != nullptr; item = TreeView_GetParent(tree_, item)) names.push_back(textOf(item));
    std::wstring path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (!path.empty() && !isSeparator(path.back())) path += L'\\';
        path += *name;
    }
    return path;
}

}  // namespace ftvb::ui::win32
