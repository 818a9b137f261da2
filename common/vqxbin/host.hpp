// The host: creates the embedded interpreter, evaluates the application
// script it carries and drives the script's entry operations.
#pragma once

[[noreturn]] void HostMain(int argc, char** argv, char** env);
[[noreturn]] void HostExit(int status);
