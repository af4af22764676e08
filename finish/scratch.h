// Room kept from one statement to the next (squeezed text, token lists),
// so that reading a file's statements does not allocate anew for each.
// The room is lent by a ScratchScope on the stack of whoever reads a file,
// and found through a plain pointer per thread: a thread_local object with
// a destructor crashes a mingw-w64 program when its thread ends (the TLS
// keys' destructors free in the wrong order). Without a scope the reader
// works all the same, with room of its own for each statement.
#pragma once

#include <string>
#include <vector>

#include "finish/lexer.h"

namespace ftvb::finish {

struct Scratch {
    std::string squeezedText;
    Squeezed squeezed;
    // Token lists handed from one parser to the next; parsers nest (a
    // logical IF's statement is parsed while its condition's parser
    // lives), hence a stack.
    std::vector<std::vector<Token>> tokenLists;
};

// The room lent to the calling thread, or null.
Scratch* threadScratch();

class ScratchScope {
public:
    ScratchScope();
    ~ScratchScope();
    ScratchScope(const ScratchScope&) = delete;
    ScratchScope& operator=(const ScratchScope&) = delete;

private:
    Scratch own_;
    Scratch* previous_;
};

}  // namespace ftvb::finish
