#include "bench/inputs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "bench/measure.h"

namespace ftvb::bench {

std::vector<std::string> fortranFiles(const std::string& corpus, const std::string& folder) {
    std::vector<std::string> names;
    DIR* d = opendir((corpus + "/" + folder).c_str());
    if (!d) die("cannot open " + corpus + "/" + folder + ": " + std::strerror(errno));
    while (const dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() > 2 && name.compare(name.size() - 2, 2, ".f") == 0) names.push_back(folder + "/" + name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

Totals count(const std::vector<std::string>& files) {
    Totals t;
    std::vector<char> buf(1 << 16);
    for (const std::string& f : files) {
        const int fd = open(f.c_str(), O_RDONLY);
        if (fd < 0) die("cannot read " + f);
        ssize_t n;
        while ((n = read(fd, buf.data(), buf.size())) > 0) {
            t.bytes += n;
            t.lines += std::count(buf.begin(), buf.begin() + n, '\n');
        }
        close(fd);
        ++t.files;
    }
    return t;
}

std::vector<std::string> repeated(const std::vector<std::string>& files, int times) {
    std::vector<std::string> all;
    for (int i = 0; i < times; ++i) all.insert(all.end(), files.begin(), files.end());
    return all;
}

std::vector<std::string> concat(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// The folders that hold `file` (a relative name) under `root`.
namespace {

void makeFoldersFor(const std::string& root, const std::string& file) {
    mkdir(root.c_str(), 0755);
    for (std::size_t slash = file.find('/'); slash != std::string::npos; slash = file.find('/', slash + 1)) {
        mkdir((root + "/" + file.substr(0, slash)).c_str(), 0755);
    }
}

}  // namespace

void makeEmptyMirror(const std::vector<std::string>& files, const std::string& root) {
    for (const std::string& f : files) {
        makeFoldersFor(root, f);
        std::ofstream(root + "/" + f, std::ios::trunc);
    }
}

// A folder of `count` empty files named f000000.for and on, made once: the
// hidden marker is written last.
std::string makeFolderOfFiles(const std::string& path, int count) {
    const std::string marker = path + "/.complete";
    if (access(marker.c_str(), F_OK) == 0) return path;
    mkdir(path.c_str(), 0755);
    char name[32];
    for (int i = 0; i < count; ++i) {
        std::snprintf(name, sizeof name, "/f%06d.for", i);
        std::ofstream(path + name, std::ios::trunc);
    }
    std::ofstream(marker, std::ios::trunc);
    return path;
}

namespace {

constexpr long long kTenMB = 10'000'000;

// A fixed-form line: `prefix` (columns 1-6) and a statement field filled out
// to column 72 with as many whole copies of `piece` as fit.
std::string fieldLine(const std::string& prefix, const std::string& piece, std::size_t* copies = nullptr) {
    std::string line = prefix;
    std::size_t n = 0;
    while (line.size() + piece.size() <= 72) {
        line += piece;
        ++n;
    }
    if (copies) *copies = n;
    return line + "\n";
}

// Streams a generated file to disk, so that this driver stays small (its
// size would otherwise weigh on every process it forks afterwards).
class GeneratedFile {
public:
    GeneratedFile(std::string path, std::string name, std::string what)
        : file_(path, std::ios::binary | std::ios::trunc), p_{std::move(name), std::move(what), std::move(path)} {}

    void add(const std::string& text) {
        file_ << text;
        p_.bytes += static_cast<long long>(text.size());
        p_.lines += std::count(text.begin(), text.end(), '\n');
    }
    long long bytes() const { return p_.bytes; }

    Pathological close() {
        file_.close();
        if (!file_) die("cannot write " + p_.path);
        return p_;
    }

private:
    std::ofstream file_;
    Pathological p_;
};

}  // namespace

std::vector<Pathological> makePathological(const std::string& dir) {
    std::vector<Pathological> all;
    {
        // Operators, parentheses and commas, so that every rewriting stage
        // has work to do on the one huge statement.
        GeneratedFile f(dir + "/continued.f", "continuation lines",
                        "10 MB, one statement: every line after the first continues it");
        f.add("      x = y\n");
        const std::string line = fieldLine("     &", " + a(i,j)*b(j,k) - c(k)/d .and. e.gt.f**2");
        while (f.bytes() + static_cast<long long>(line.size()) <= kTenMB) f.add(line);
        all.push_back(f.close());
    }
    {
        GeneratedFile f(dir + "/one_line.f", "one 10 MB line", "a single line of 10 MB");
        f.add("      x = ");
        std::string chunk;
        while (chunk.size() < 65536) chunk += "a(i,j)*b - c/d + e**2 ";
        while (f.bytes() + static_cast<long long>(chunk.size()) < kTenMB) f.add(chunk);
        f.add(chunk.substr(0, static_cast<std::size_t>(kTenMB - 1 - f.bytes())) + "\n");
        all.push_back(f.close());
    }
    {
        GeneratedFile f(dir + "/blank_lines.f", "blank lines", "1,000,000 empty lines");
        const std::string chunk(1000, '\n');
        for (int i = 0; i < 1000; ++i) f.add(chunk);
        all.push_back(f.close());
    }
    {
        constexpr std::size_t kSubstrings = 10'000;
        GeneratedFile f(dir + "/substrings.f", "10,000 substrings",
                        "one statement of 10,000 \"a(i:j)\" separated by blanks, on continuation lines");
        f.add("      s =\n");
        std::size_t written = 0;
        while (written < kSubstrings) {
            std::size_t fit = 0;
            std::string line = fieldLine("     &", " a(i:j)", &fit);
            if (written + fit > kSubstrings) {
                fit = kSubstrings - written;
                line = "     &";
                for (std::size_t i = 0; i < fit; ++i) line += " a(i:j)";
                line += "\n";
            }
            f.add(line);
            written += fit;
        }
        all.push_back(f.close());
    }
    return all;
}

}  // namespace ftvb::bench
