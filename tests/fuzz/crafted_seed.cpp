// Writes the fuzz target's seed: a crafted hook module of 13,000 sections,
// about as many as -max_len (512 KB) lets the fuzzer mutate whole, so that
// it starts from a large module rather than growing one from nothing.
#include <fstream>

#include "../crafted_module.h"
#include "checks/module_image.h"

int main(int, char **argv)
{
    std::ofstream(argv[1], std::ios::binary) << CraftedModule(kMachineI386, CraftedMarker::Exported, 13000);
}
