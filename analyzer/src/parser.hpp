// Turns statements into program units: declarations, references, calls,
// COMMON blocks, labels; reports statement-level faults on the way.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "diagnostics.hpp"
#include "lexer.hpp"
#include "options.hpp"
#include "source_reader.hpp"
#include "symbols.hpp"

namespace quarl {

class Parser {
public:
    Parser(const Options& opt, Diagnostics& diags, Program& prog) : opt_(opt), diags_(diags), prog_(prog) {}

    // Parses the statements of one top-level file: begin, each statement
    // in order, end. parseFile does all three.
    void begin(int topFile);
    void statement(const Statement& st);
    void end();
    void parseFile(const std::vector<Statement>& stmts, int topFile);

private:
    using Toks = Tokens;
    const Options& opt_;
    Diagnostics& diags_;
    Program& prog_;

    Unit* cur_ = nullptr;
    bool contains_ = false;     // CONTAINS seen in the current unit
    int interfaceDepth_ = 0;
    std::string genericName_;  // name of the generic interface being read
    bool inTypeDef_ = false;
    bool unreachable_ = false;  // after an unconditional transfer
    bool reportedUnreachable_ = false;
    bool maxlocCall_ = false;  // the statement being scanned calls MAXLOC or MINLOC
    struct Block {
        std::string kind;   // IF, DO, SELECT, WHERE
        std::string label;  // labelled DO
        int line;
    };
    std::vector<Block> blocks_;
    std::set<std::string> excluded_;  // statement-function dummies while scanning its body
    int file_ = 0, line_ = 0, topFile_ = 0;
    std::string curLabel_;                   // label of the statement being parsed
    std::map<std::string, Unit*> modules_;   // modules parsed so far

    // units
    void openUnit(UnitKind kind, const std::string& name, const std::vector<std::string>& dummies, const std::string& type);
    void closeUnit(int line);
    void ensureUnit();

    // statements
    void dispatch(const Toks& t, size_t i, const std::string& label);
    bool header(const Toks& t, size_t i);
    bool declaration(const Toks& t, size_t i);
    void executable(const Toks& t, size_t i);
    void typeStatement(const Toks& t, size_t i, const std::string& type);
    void commonStatement(const Toks& t, size_t i);
    void dataStatement(const Toks& t, size_t i);
    void implicitStatement(const Toks& t, size_t i);
    void ioStatement(const Toks& t, size_t i, const std::string& kw);
    void callStatement(const Toks& t, size_t i);
    void doStatement(const Toks& t, size_t i);
    void ifStatement(const Toks& t, size_t i, const std::string& label);
    void gotoStatement(const Toks& t, size_t i);

    // expressions
    const Symbol* lookup(const std::string& n) const;
    void expr(const Toks& t, size_t b, size_t e);
    size_t arrayBounds(const Toks& t, size_t open, Symbol& s);
    void functionCall(const Toks& t, size_t open, size_t close, const std::string& n, bool intrinsic);
    size_t designator(const Toks& t, size_t i, size_t e, bool set);  // returns index after it
    void callArgs(const Toks& t, size_t open, size_t close, CallSite& cs);
    std::string exprType(const Toks& t, size_t b, size_t e);
    void useName(const std::string& n, RefKind kind);
    void setName(const std::string& n);
    void labelUse(const std::string& l);
    void portability(const std::string& feature, bool f90Feature);

    bool parseTypeSpec(const Toks& t, size_t& i, std::string& type);
    static size_t matchParen(const Toks& t, size_t open);
    static size_t findTop(const Toks& t, size_t b, size_t e, const char* op);
};

// After all files: resolves USE and host association, which may refer to
// units parsed later.
void linkUnits(Program& prog, Diagnostics& diags);

}  // namespace quarl
