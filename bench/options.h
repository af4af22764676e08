// What ftvb-corpus-bench was asked to measure, as its command line says.
#pragma once

#include <string>

namespace ftvb::bench {

struct Options {
    std::string convert;
    std::string corpus;
    std::string work;
    std::string f2c;
    std::string window;
    std::string reference;
    int runs = 5;
};

}  // namespace ftvb::bench
