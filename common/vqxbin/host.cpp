#include "host.hpp"

#include "container.hpp"

#include <EXTERN.h>
#include <perl.h>

#include <cstdio>
#include <cstdlib>

namespace {

PerlInterpreter* HostInterpreter = nullptr;

// The interpreter's own main program is the no-op "0"; the application is
// evaluated afterwards.
char ArgProgram[] = "";
char ArgE[] = "-e";
char ArgZero[] = "0";
char* InterpreterArgs[] = {ArgProgram, ArgE, ArgZero, nullptr};

bool SysInitDone = false;

}  // namespace

EXTERN_C void boot_DynaLoader(pTHX_ CV* cv);

// Registering DynaLoader is what lets the script load Tk and the other
// native extensions at run time.
EXTERN_C void HostModulesInit(pTHX) {
    newXS("DynaLoader::boot_DynaLoader", boot_DynaLoader, __FILE__);
}

void HostExit(int status) {
    if (HostInterpreter != nullptr) {
        PerlInterpreter* my_perl = HostInterpreter;
        perl_destruct(my_perl);
        perl_free(my_perl);
        HostInterpreter = nullptr;
    }
    if (SysInitDone) {
        SysInitDone = false;
        PERL_SYS_TERM();
    }
    std::exit(status);
}

void HostInternalError(const char* message) {
    std::fprintf(stderr, "Internal error: %s\n", message);
    std::fflush(stderr);
    HostExit(1);
}

namespace {

void HostInterpreterCreate() {
    HostInterpreter = perl_alloc();
    if (HostInterpreter == nullptr) HostInternalError("Interpreter");
    PerlInterpreter* my_perl = HostInterpreter;
    PERL_SET_CONTEXT(my_perl);
    perl_construct(my_perl);
    PL_exit_flags |= PERL_EXIT_DESTRUCT_END;
    if (perl_parse(my_perl, HostModulesInit, 3, InterpreterArgs, nullptr) != 0)
        HostInternalError("Interpreter parse");
    if (perl_run(my_perl) != 0) HostInternalError("Interpreter run");

    const char* inflated = ScriptInflate();
    if (inflated != nullptr) {
        eval_pv(inflated, TRUE);
        ScriptRelease();
    } else {
        eval_pv(reinterpret_cast<const char*>(ContainerScript), TRUE);
    }
}

// Calls a routine of the script by name in scalar context with string
// arguments; the script must answer with exactly one value.
void HostCall(const char* routine, int argc, char** argv) {
    PerlInterpreter* my_perl = HostInterpreter;
    dSP;
    ENTER;
    SAVETMPS;
    PUSHMARK(SP);
    for (int i = 0; i < argc; ++i) XPUSHs(sv_2mortal(newSVpv(argv[i], 0)));
    PUTBACK;
    const int count = call_pv(routine, G_SCALAR);
    SPAGAIN;
    if (count != 1) HostInternalError(routine);
    (void)POPs;
    PUTBACK;
    FREETMPS;
    LEAVE;
}

}  // namespace

void HostMain(int argc, char** argv, char** env) {
    PERL_SYS_INIT3(&argc, &argv, &env);
    SysInitDone = true;

    HostInterpreterCreate();
    PerlInterpreter* my_perl = HostInterpreter;

    HostCall("SetARGV", argc > 1 ? argc - 1 : 0, argv + 1);
    eval_pv("&Main(0);", TRUE);
    if (ContainerActiveFlag != 0) eval_pv("&Main(1);", TRUE);
    HostCall("MainLoop", 0, nullptr);

    HostExit(0);
}
