#include "host.hpp"

int main(int argc, char** argv, char** env) { HostMain(argc, argv, env); }
