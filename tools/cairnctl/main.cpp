#include <iostream>

#include "CCairnCtl.h"

int main(int argc, char** argv) { return CCairnCtl(std::cout, std::cerr).run(argc, argv); }
