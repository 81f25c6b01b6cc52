// A hook module crafted against the probe: the window opens without waiting
// on it, and the verdict is the loader's.
#include <gtest/gtest.h>

#include <chrono>

#include "../crafted_module.h"
#include "checks/module_image.h"

TEST(HookModuleProbe, ACraftedModuleGetsTheLoadersVerdictWithoutHoldingTheWindow)
{
    // Forwarded, the marker is another module's; out of order, the loader's
    // search never reaches it.
    const struct { CraftedMarker marker; HookModuleProbe probe; } cases[] = {
        {CraftedMarker::Exported, HookModuleProbe::Marked},
        {CraftedMarker::Forwarded, HookModuleProbe::Unmarked},
        {CraftedMarker::NamedOutOfOrder, HookModuleProbe::Unmarked}};
    for (const auto &c : cases) {
        const std::string module = CraftedModule(kMachineI386, c.marker);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ProbeModuleImage(reinterpret_cast<const unsigned char *>(module.data()), module.size(), kMachineI386),
                  c.probe) << int(c.marker);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        EXPECT_LT(took.count(), 500) << int(c.marker);
    }
}
