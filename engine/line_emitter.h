// Where the stages' lines go: each one straight to the module's sink, in
// the order written, counted so that a note can say where in the module a
// statement's translation begins.
#pragma once

#include <string>
#include <string_view>

#include "engine/seam.h"

namespace ftvb {

class LineEmitter {
public:
    explicit LineEmitter(LineSink& sink) : sink_(sink) {}

    void line(std::string_view text) {
        sink_.writeLine(text);
        ++lines_;
    }

    // A line made of pieces, put together in a buffer kept for the next one.
    void line(std::string_view a, std::string_view b, std::string_view c = {}) {
        joined_.assign(a);
        joined_.append(b);
        joined_.append(c);
        line(joined_);
    }

    // Lines written so far.
    long long lines() const { return lines_; }

private:
    LineSink& sink_;
    std::string joined_;
    long long lines_ = 0;
};

}  // namespace ftvb
