// In-memory stand-ins for the window and the settings store: folders are
// name lists, and every operation the logic makes is visible to the tests.
#pragma once

#include <cctype>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ui/settings_store.h"
#include "ui/window_ops.h"

namespace ftvb::ui::testing {

// "*" and "?" wildcards, without regard to case.
inline bool wildcardMatch(const char* pattern, const char* name) {
    if (*pattern == '\0') return *name == '\0';
    if (*pattern == '*') return wildcardMatch(pattern + 1, name) || (*name != '\0' && wildcardMatch(pattern, name + 1));
    if (*name == '\0') return false;
    if (*pattern != '?' &&
        std::tolower(static_cast<unsigned char>(*pattern)) != std::tolower(static_cast<unsigned char>(*name))) {
        return false;
    }
    return wildcardMatch(pattern + 1, name + 1);
}

class FakeSettings : public SettingsStore {
public:
    std::map<std::pair<std::string, std::string>, std::string> values;

    std::string read(const std::string& section, const std::string& key, const std::string& fallback) override {
        const auto found = values.find({section, key});
        return found == values.end() ? fallback : found->second;
    }
    void write(const std::string& section, const std::string& key, const std::string& value) override {
        values[{section, key}] = value;
    }
    std::string at(const std::string& section, const std::string& key) const {
        const auto found = values.find({section, key});
        return found == values.end() ? "<absent>" : found->second;
    }
};

class FakeWindow : public WindowOps {
public:
    // The file system: each folder with its files, in the order listed.
    std::map<std::string, std::vector<std::string>> folders{{"/", {"root.for", "notes.txt"}}};
    std::set<std::string> unreadable;                 // folders that exist but cannot be opened
    std::map<std::string, std::string> driveFolders;  // drive letter -> its current folder; empty: no drives

    std::vector<std::string> lists[2];
    int selected[2] = {-1, -1};
    std::string file1Folder = "/start";
    std::string file1Pattern = "*.*";
    std::vector<std::string> file1Names;
    std::string dir = "/start";
    std::string cwd = "/start";
    std::string driveText;
    std::map<Box, std::string> texts;
    std::map<Box, bool> visible;
    bool finish = false;  // Check1
    std::map<Control, std::string> captions;
    std::map<Control, std::string> tips;
    std::vector<std::string> messages;
    std::vector<MessageKind> messageKinds;
    std::vector<bool> busyChanges;
    int yields = 0;
    int quits = 0;
    int abouts = 0;
    std::function<void()> onYield;    // runs inside each yield
    std::function<void()> onMessage;  // runs while a message is up

    std::vector<std::string>& list(List which) { return lists[which == List::f1 ? 0 : 1]; }

    void listClear(List which) override {
        list(which).clear();
        selected[which == List::f1 ? 0 : 1] = -1;
    }
    void listAdd(List which, const std::string& entry) override { list(which).push_back(entry); }
    void listRemove(List which, int index) override { list(which).erase(list(which).begin() + index); }
    int listCount(List which) const override { return int(lists[which == List::f1 ? 0 : 1].size()); }
    std::string listEntry(List which, int index) const override {
        const auto& entries = lists[which == List::f1 ? 0 : 1];
        return index >= 0 && index < int(entries.size()) ? entries[index] : std::string();
    }
    int listSelected(List which) const override { return selected[which == List::f1 ? 0 : 1]; }
    void listSelect(List which, int index) override { selected[which == List::f1 ? 0 : 1] = index; }

    bool opens(const std::string& folder) const { return folders.count(folder) != 0 && unreadable.count(folder) == 0; }

    bool fileListSetFolder(const std::string& folder) override {
        if (!opens(folder)) return false;
        file1Folder = folder;
        return true;
    }
    bool fileListSetPattern(const std::string& pattern) override {
        if (pattern.find('/') != std::string::npos) return false;
        file1Pattern = pattern;
        return true;
    }
    std::string fileListPattern() const override { return file1Pattern; }
    bool fileListRefresh() override {
        if (!opens(file1Folder)) return false;
        file1Names.clear();
        for (const std::string& name : folders[file1Folder]) {
            std::string rest = file1Pattern;
            for (;;) {
                const std::size_t semicolon = rest.find(';');
                if (wildcardMatch(rest.substr(0, semicolon).c_str(), name.c_str())) {
                    file1Names.push_back(name);
                    break;
                }
                if (semicolon == std::string::npos) break;
                rest.erase(0, semicolon + 1);
            }
        }
        return true;
    }
    int fileListCount() const override { return int(file1Names.size()); }
    std::string fileListName(int index) const override { return file1Names.at(index); }

    std::string dirPath() const override { return dir; }
    bool dirSetPath(const std::string& path) override {
        // "\\" alone is the root of the current drive.
        const std::string folder = path == "\\" && hasDrives() ? cwd.substr(0, 3) : path;
        if (folders.count(folder) == 0) return false;
        dir = folder;
        return true;
    }
    void dirRefresh() override {}

    bool hasDrives() const override { return !driveFolders.empty(); }
    std::string drive() const override { return driveText; }
    bool driveSet(const std::string& text) override {
        if (text.empty() || driveFolders.count(text.substr(0, 1)) == 0) return false;
        driveText = text.substr(0, 1) + ":";
        return true;
    }

    bool setCurrentFolder(const std::string& folder) override {
        if (!opens(folder)) return false;
        cwd = folder;
        return true;
    }
    bool setCurrentDrive(const std::string& text) override {
        const auto found = text.empty() ? driveFolders.end() : driveFolders.find(text.substr(0, 1));
        if (found == driveFolders.end() || !opens(found->second)) return false;
        cwd = found->second;
        return true;
    }
    std::string currentFolder() const override { return cwd; }
    std::string toFileSystem(const std::string& name) const override { return name; }
    std::string fromFileSystem(const std::string& name) const override { return name; }

    std::string text(Box box) const override {
        const auto found = texts.find(box);
        return found == texts.end() ? std::string() : found->second;
    }
    void setText(Box box, const std::string& value) override { texts[box] = value; }
    void showBox(Box box, bool shown) override { visible[box] = shown; }
    bool finishChecked() const override { return finish; }
    void setFinishChecked(bool checked) override { finish = checked; }
    void setCaption(Control control, const std::string& caption) override { captions[control] = caption; }
    void setToolTipOf(Control control, const std::string& tip) override { tips[control] = tip; }

    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    bool statusDue() override { return true; }
    void yield() override {
        ++yields;
        if (onYield) onYield();
    }
    void message(const std::string& text, MessageKind kind) override {
        messages.push_back(text);
        messageKinds.push_back(kind);
        if (onMessage) onMessage();
    }
    void showAbout() override { ++abouts; }
    void quit() override { ++quits; }
};

}  // namespace ftvb::ui::testing
