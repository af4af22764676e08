// The small typed tree the parser hands on: expressions, and one Stmt per
// statement with the fields its kind uses.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "finish/lexer.h"

namespace ftvb::finish {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
    enum class Kind {
        integer,    // text
        real,       // text, isDouble
        string,     // text (without quotes)
        logical,    // text "true"/"false"
        name,       // text
        call,       // text(args): array element or function call, decided by the symbols
        substring,  // args[0] the string, args[1]/args[2] bounds (null when left out)
        unary,      // op "-", "+", ".not."; args[0]
        binary,     // op; args[0], args[1]
        paren,      // args[0]
        impliedDo,  // args: items..., then var (name), lo, hi, step (null when left out); items = count
        star,       // "*" as an argument or a bound
    };
    Kind kind = Kind::integer;
    std::string text;
    std::string op;
    bool isDouble = false;
    std::size_t items = 0;
    std::size_t at = 0;  // index in the squeezed statement
    std::vector<ExprPtr> args;
};

ExprPtr cloneExpr(const Expr& e);

// One declared entity: a name with its bounds or length, or a DATA target.
struct Declarator {
    std::string name;
    std::vector<ExprPtr> lower;  // per dimension; null = 1
    std::vector<ExprPtr> upper;  // per dimension; star = assumed size
    ExprPtr length;              // CHARACTER*len; star = (*)
    ExprPtr value;               // PARAMETER's value
};

enum class BaseType { none, integer, real, doublePrecision, logical, character, complex };

struct TypeSpec {
    BaseType base = BaseType::none;
    ExprPtr length;  // CHARACTER*n
};

struct IoControl {
    ExprPtr unit;                                           // null: *
    ExprPtr format;                                         // null: * (list-directed); an integer: a FORMAT label
    std::vector<std::pair<std::string, ExprPtr>> keywords;  // the others (iostat=, err=, file=...)
};

struct Stmt {
    enum class Kind {
        program,
        subroutine,
        function,
        blockData,
        end,
        typeDecl,
        dimension,
        parameter,
        implicit,
        external,
        intrinsic,
        common,
        save,
        data,
        equivalence,
        entry,
        assignment,
        stmtFunction,
        ifLogical,
        ifBlock,
        elseIf,
        elseBlock,
        endIf,
        ifArithmetic,
        doLoop,
        doWhile,
        endDo,
        continueStmt,
        exitStmt,
        cycleStmt,
        gotoStmt,
        computedGoto,
        assignStmt,
        assignedGoto,
        call,
        returnStmt,
        stopStmt,
        pauseStmt,
        write,
        print,
        read,
        format,
        open,
        close,
        rewind,
        backspace,
        endfile,
        inquire,
        include,
        unknown,  // what did not parse: `error` says why
    };
    Kind kind = Kind::unknown;
    std::string label;
    long long line = 0;
    std::string source;  // the statement as written, for comments
    std::string error;   // why it did not parse
    bool light = false;  // read for the index only: `names` are what it calls, `name` a CALL's callee
    std::size_t errorAt = 0;

    std::string name;                           // unit name, callee, DO variable, assigned variable
    TypeSpec type;                              // function result, declaration type
    std::vector<std::string> names;             // dummies, EXTERNAL/INTRINSIC/SAVE names, label list
    std::vector<Declarator> decls;              // declarations, PARAMETER, COMMON members
    std::vector<std::string> attributes;        // TYPE, attributes :: names (parameter, save, intent...)
    std::unique_ptr<Declarator> dimensionAttr;  // their DIMENSION(...)
    std::vector<std::pair<std::string, std::vector<Declarator>>> blocks;  // COMMON: block, members
    std::vector<ExprPtr> exprs;       // condition, DO bounds, call args, I/O list...
    ExprPtr target;                   // left side of an assignment
    std::vector<std::string> labels;  // branch targets
    std::string doLabel;              // a labelled DO's terminal label
    IoControl io;
    std::string formatText;  // FORMAT's text with its parentheses
    // IMPLICIT: per rule, a type and letter ranges.
    std::vector<std::pair<TypeSpec, std::vector<std::pair<char, char>>>> implicitRules;
    bool implicitNone = false;
    // DATA: groups of targets and values; a value's repeat count in the
    // matching entry of dataRepeats (null = 1).
    struct DataGroup {
        std::vector<ExprPtr> targets;
        std::vector<ExprPtr> values;
        std::vector<ExprPtr> repeats;
    };
    std::vector<DataGroup> data;
    std::unique_ptr<Stmt> inner;  // logical IF's statement
};

}  // namespace ftvb::finish
