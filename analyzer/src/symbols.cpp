#include "symbols.hpp"

#include <algorithm>
#include <cctype>
#include <set>

namespace quarl {

const char* unitKindName(UnitKind k) {
    switch (k) {
        case UnitKind::Program: return "PROGRAM";
        case UnitKind::Subroutine: return "SUBROUTINE";
        case UnitKind::Function: return "FUNCTION";
        case UnitKind::BlockData: return "BLOCK DATA";
        case UnitKind::Module: return "MODULE";
    }
    return "?";
}

const char* refKindCode(RefKind k) {
    switch (k) {
        case RefKind::Declared: return "DEC";
        case RefKind::Set: return "SET";
        case RefKind::Used: return "USE";
        case RefKind::Argument: return "ARG";
        case RefKind::Called: return "CAL";
    }
    return "?";
}

Symbol& Unit::sym(const std::string& n, int file, int line) {
    auto [it, fresh] = symbols.try_emplace(n);
    if (!fresh) return it->second;
    Symbol& s = it->second;
    s.name = n;
    s.firstLine = line;
    s.firstFile = file;
    s.type = implicitType(n);
    return s;
}

const Symbol* Unit::find(const std::string& n) const {
    auto it = symbols.find(n);
    return it == symbols.end() ? nullptr : &it->second;
}

std::string Unit::implicitType(const std::string& n) const {
    if (n.empty()) return "";
    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(n[0])));
    if (c < 'A' || c > 'Z') return "";
    if (!implicitTypes.empty()) {
        const std::string& t = implicitTypes[static_cast<size_t>(c - 'A')];
        if (!t.empty()) return t == "NONE" ? "" : t;
    }
    if (implicitNone) return "";
    if (host) return host->implicitType(n);
    return (c >= 'I' && c <= 'N') ? "INTEGER" : "REAL";
}

std::string baseType(const std::string& type) {
    if (type.rfind("DOUBLE PRECISION", 0) == 0) return "DOUBLE PRECISION";
    if (type.rfind("DOUBLE COMPLEX", 0) == 0) return "COMPLEX";
    if (type.rfind("TYPE(", 0) == 0 || type.rfind("CLASS(", 0) == 0) return type;
    size_t e = type.find_first_of("*(");
    std::string b = type.substr(0, e);
    if (b == "REAL" && e != std::string::npos) {
        // REAL*8 and REAL(8) are double precision
        std::string k = type.substr(e);
        if (k == "*8" || k == "(8)" || k == "(KIND=8)") return "DOUBLE PRECISION";
    }
    if (b == "BYTE") return "INTEGER";
    return b;
}

int typeSize(const std::string& type, bool twoByteInts) {
    std::string b = type.substr(0, type.find_first_of("*("));
    size_t star = type.find('*');
    if (star != std::string::npos) {
        std::string n = type.substr(star + 1);
        if (!n.empty() && n.size() < 6 && std::all_of(n.begin(), n.end(), [](unsigned char c) { return std::isdigit(c); }))
            return b == "COMPLEX" ? std::stoi(n) : std::stoi(n);
        return 0;
    }
    size_t paren = type.find('(');
    if (paren != std::string::npos && b != "TYPE" && b != "CLASS") {
        std::string k = type.substr(paren + 1);
        if (k.rfind("KIND=", 0) == 0) k = k.substr(5);
        if (k.rfind("LEN=", 0) == 0) k = k.substr(4);
        if (!k.empty() && k.back() == ')') k.pop_back();
        if (!k.empty() && k.size() < 6 && std::all_of(k.begin(), k.end(), [](unsigned char c) { return std::isdigit(c); })) {
            int v = std::stoi(k);
            return b == "COMPLEX" ? 2 * v : v;
        }
        return 0;
    }
    if (type == "DOUBLE PRECISION") return 8;
    if (type == "DOUBLE COMPLEX") return 16;
    if (b == "INTEGER" || b == "LOGICAL") return twoByteInts ? 2 : 4;
    if (b == "REAL") return 4;
    if (b == "COMPLEX") return 8;
    if (b == "CHARACTER") return 1;
    if (b == "BYTE") return 1;
    return 0;
}

bool isIntrinsic(const std::string& name) {
    static const std::set<std::string> names = {
        "ABS", "ACHAR", "ACOS", "ADJUSTL", "ADJUSTR", "AIMAG", "AINT", "ALL", "ALLOCATED", "ALOG", "ALOG10",
        "AMAX0", "AMAX1", "AMIN0", "AMIN1", "AMOD", "ANINT", "ANY", "ASIN", "ASSOCIATED", "ATAN", "ATAN2",
        "BIT_SIZE", "BTEST", "CABS", "CCOS", "CEILING", "CEXP", "CHAR", "CLOG", "CMPLX", "CONJG", "COS",
        "COSH", "COUNT", "CSHIFT", "CSIN", "CSQRT", "DABS", "DACOS", "DASIN", "DATAN", "DATAN2", "DBLE",
        "DCOS", "DCOSH", "DDIM", "DEXP", "DIGITS", "DIM", "DINT", "DLOG", "DLOG10", "DMAX1", "DMIN1", "DMOD",
        "DNINT", "DOT_PRODUCT", "DPROD", "DSIGN", "DSIN", "DSINH", "DSQRT", "DTAN", "DTANH", "EOSHIFT",
        "EPSILON", "EXP", "EXPONENT", "FLOAT", "FLOOR", "FRACTION", "HUGE", "IABS", "IACHAR", "IAND",
        "IBCLR", "IBITS", "IBSET", "ICHAR", "IDIM", "IDINT", "IDNINT", "IEOR", "IFIX", "INDEX", "INT", "IOR",
        "ISHFT", "ISHFTC", "ISIGN", "KIND", "LBOUND", "LEN", "LEN_TRIM", "LGE", "LGT", "LLE", "LLT", "LOG",
        "LOG10", "LOGICAL", "MATMUL", "MAX", "MAX0", "MAX1", "MAXEXPONENT", "MAXLOC", "MAXVAL", "MERGE", "MIN",
        "MIN0", "MIN1", "MINEXPONENT", "MINLOC", "MINVAL", "MOD", "MODULO", "MVBITS", "NEAREST", "NINT", "NOT",
        "PACK", "PRECISION", "PRESENT", "PRODUCT", "RADIX", "RANDOM_NUMBER", "RANDOM_SEED", "RANGE", "REAL",
        "REPEAT", "RESHAPE", "RRSPACING", "SCALE", "SCAN", "SELECTED_INT_KIND", "SELECTED_REAL_KIND",
        "SET_EXPONENT", "SHAPE", "SIGN", "SIN", "SINH", "SIZE", "SNGL", "SPACING", "SPREAD", "SQRT", "SUM",
        "SYSTEM_CLOCK", "DATE_AND_TIME", "CPU_TIME", "TAN", "TANH", "TINY", "TRANSFER", "TRANSPOSE", "TRIM",
        "UBOUND", "UNPACK", "VERIFY", "NULL"};
    return names.count(name) != 0;
}

}  // namespace quarl
