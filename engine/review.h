// The places where a module needs a person, as the stages that rewrite or
// keep a statement know them: the vocabulary of a porting checklist.
//
// A stage notes a kind through its StageContext; the note reaches a Reviewer
// with the source file, the first source line of the statement and the
// module line where its translation begins. Without a reviewer a note costs
// one test of a null pointer.
#pragma once

#include <string_view>

namespace ftvb {

enum class Review : unsigned char {
    formatLeft,           // FORMAT statement left as a comment
    includeMarked,        // INCLUDE turned into a marked comment
    arithmeticIf,         // IF (x) 10, 20, 30 given a "then"
    computedGoto,         // GOTO with a label list or a variable
    passedThrough,        // READ, OPEN, CLOSE... left as written
    common,               // COMMON
    equivalence,          // EQUIVALENCE
    entry,                // ENTRY
    functionTypeDropped,  // "real function" became "function"
    keywordInName,        // a keyword found inside a longer name
    rewriteInQuotes,      // a rewrite inside quoted text
    dataRepeat,           // a repeat count in DATA copied as it stands
    doStep,               // a DO step other than 1
    columnOneLabel,       // "*" or "!" in column 1 taken for a label
    pause,                // PAUSE
    statementFunction,    // a statement function
};

class Reviewer {
public:
    virtual ~Reviewer() = default;
    virtual void note(Review kind, std::string_view source, long sourceLine, long long moduleLine) = 0;
};

}  // namespace ftvb
