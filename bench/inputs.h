// The inputs of the benchmarks: LAPACK's file list and copies of it made to
// tell one cost from another, and inputs built to defeat a linear engine.
#pragma once

#include <string>
#include <vector>

namespace ftvb::bench {

struct Totals {
    long long files = 0;
    long long lines = 0;
    long long bytes = 0;
};

// The .f files of CORPUS/FOLDER, as FOLDER/NAME, sorted.
std::vector<std::string> fortranFiles(const std::string& corpus, const std::string& folder);
Totals count(const std::vector<std::string>& files);
std::vector<std::string> repeated(const std::vector<std::string>& files, int times);
std::vector<std::string> concat(std::vector<std::string> head, const std::vector<std::string>& tail);

// An empty file under `root` for each name of the list, folders included.
void makeEmptyMirror(const std::vector<std::string>& files, const std::string& root);
// A folder of `count` empty files named f000000.for and on, made once.
std::string makeFolderOfFiles(const std::string& path, int count);

struct Pathological {
    std::string name;
    std::string what;
    std::string path;
    long long bytes = 0;
    long long lines = 0;
};

// The inputs, written into DIR.
std::vector<Pathological> makePathological(const std::string& dir);

}  // namespace ftvb::bench
