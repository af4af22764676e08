// Where the stages' lines go: each one straight to the module's sink, in
// the order written, counted so that a note can say where in the module a
// statement's translation begins.
#pragma once

#include <initializer_list>
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
    void line(std::string_view a, std::string_view b, std::string_view c = {}) { line({a, b, c}); }
    void line(std::initializer_list<std::string_view> pieces) {
        joined_.clear();
        for (const std::string_view piece : pieces) joined_.append(piece);
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
