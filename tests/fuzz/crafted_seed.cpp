// Writes the fuzz target's seeds: crafted hook modules of 13,000 sections,
// about as many as -max_len (512 KB) lets the fuzzer mutate whole, and of
// two, so that it starts from modules large and small rather than growing
// them from nothing, and the small one keeps many inputs quick.
#include <fstream>

#include "../crafted_module.h"

int main(int, char **argv)
{
    std::ofstream(argv[1], std::ios::binary) << CraftedModule(CraftedMarker::Exported, 13000);
    std::ofstream(argv[2], std::ios::binary) << CraftedModule(CraftedMarker::Exported, 2);
}
