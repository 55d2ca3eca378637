#include "program/program.h"

int main(int argc, char** argv) { return sacotin::runProgram(argc, argv); }
