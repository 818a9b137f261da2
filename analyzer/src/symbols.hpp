// The analyzed program: units with their symbol tables, call sites,
// COMMON blocks and labels.
#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace quarl {

enum class UnitKind { Program, Subroutine, Function, BlockData, Module };
const char* unitKindName(UnitKind k);  // "PROGRAM", "SUBROUTINE", ...

enum class RefKind { Declared, Set, Used, Argument, Called };
const char* refKindCode(RefKind k);  // DEC, SET, USE, ARG, CAL

struct Ref {
    int line = 0;
    int file = 0;
    RefKind kind = RefKind::Used;
};

struct Symbol {
    std::string name;
    std::string type;         // "INTEGER", "REAL*8", "CHARACTER*10", "TYPE(POINT)"; may be implicit
    bool explicitType = false;
    int declLine = 0, declFile = 0;  // first explicit declaration
    int firstLine = 0, firstFile = 0;
    bool isArray = false;
    std::vector<std::string> dims;  // dimension bounds as written
    bool isDummy = false, isParam = false, isExternal = false, isIntrinsic = false;
    bool inCommon = false, isSave = false, inData = false, isStmtFunc = false;
    bool isResult = false, inEquiv = false, fromModule = false, fromHost = false, isNamelist = false;
    bool isOptional = false;  // an OPTIONAL dummy argument
    bool declaredIntrinsic = false;  // named in an INTRINSIC statement
    bool isStmtDummy = false;  // only a dummy argument of statement functions
    bool isProcedure = false;  // called or referenced as a function/subroutine
    bool calledAsSub = false, usedAsFunc = false, passedAsArg = false;
    std::string common;        // block name when inCommon ("" is blank common -> "//")
    std::string paramValue;    // PARAMETER value text
    int sets = 0, uses = 0, firstSetLine = 0, firstUseLine = 0;
    std::vector<Ref> refs;
};

struct ActualArg {
    std::string text;
    std::string type;   // base type or "" when unknown
    bool isName = false;  // a plain variable or array name
};

struct CallSite {
    std::string callee;
    bool asFunction = false;
    bool intrinsic = false;
    int line = 0, file = 0;
    std::vector<ActualArg> args;
};

struct CommonDecl {
    std::string block;  // "" for blank common
    std::vector<std::string> members;
    int line = 0, file = 0;
};

struct Unit {
    UnitKind kind = UnitKind::Program;
    std::string name;
    std::string resultType;  // functions
    int file = 0;            // top-level file holding the unit
    int startLine = 0, endLine = 0;
    bool ended = false;
    bool isInternal = false;  // after CONTAINS
    Unit* host = nullptr;
    std::vector<std::string> dummies;
    std::map<std::string, Symbol> symbols;
    std::vector<CallSite> calls;
    std::vector<CommonDecl> commons;
    std::map<std::string, std::pair<int, int>> labelsDefined;  // label -> (file, line)
    std::map<std::string, bool> labelIsFormat;
    std::map<std::string, std::vector<std::pair<int, int>>> labelsUsed;
    std::vector<std::string> uses;        // modules named in USE
    std::map<std::string, std::pair<std::string, std::string>> useRenames;  // local -> (module, name there)
    std::vector<std::string> entries;     // ENTRY names
    std::vector<std::vector<std::string>> equivalences;  // groups of names sharing storage
    std::vector<std::string> implicitTypes;  // by letter; empty until an IMPLICIT statement
    bool implicitNone = false;
    int statements = 0;
    int executable = 0;

    Symbol& sym(const std::string& name, int file, int line);
    const Symbol* find(const std::string& name) const;
    std::string implicitType(const std::string& name) const;
};

struct Program {
    std::vector<std::unique_ptr<Unit>> units;
    // Interface blocks: procedure name -> (kind, dummy count) as declared.
    std::map<std::string, std::pair<UnitKind, int>> interfaces;
    // (module, name) of the module entities that some user of the module references.
    std::set<std::pair<std::string, std::string>> moduleUses;
    // Generic interfaces: generic name -> its specific procedures.
    std::map<std::string, std::vector<std::string>> generics;
};

// Base type ("INTEGER", "REAL", "DOUBLE PRECISION", "COMPLEX", "LOGICAL",
// "CHARACTER", "TYPE(...)") of a full type text.
std::string baseType(const std::string& type);

// Storage size in bytes of one element of the type, or 0 when unknown.
int typeSize(const std::string& type, bool twoByteInts);

bool isIntrinsic(const std::string& name);

}  // namespace quarl
