// Judging a hook module from its file, as Wine players need: real modules
// built by MinGW for both machines, and copies of them damaged the ways a
// cut-off download or a hostile file could be. Each copy is probed in a
// buffer of exactly its size, so the sanitizer build catches any read past
// the end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "checks/module_image.h"

namespace {

using Image = std::string;

struct Machine {
    const char *name;
    uint16_t id;
    uint16_t other;
};
const Machine kMachines[] = {{"i686", kMachineI386, kMachineAmd64}, {"x86_64", kMachineAmd64, kMachineI386}};

Image ReadModule(const Machine &machine, const char *kind)
{
    const std::string path = std::string(HOST_MODULES_DIR) + "/" + machine.name + "/" + kind + "/wsock32.dll";
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return Image(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

HookModuleProbe Probe(const Image &image, uint16_t machine)
{
    std::unique_ptr<unsigned char[]> exact(new unsigned char[image.size() + 1]);
    memcpy(exact.get(), image.data(), image.size());
    return ProbeModuleImage(exact.get(), image.size(), machine);
}

uint32_t Field(const Image &image, size_t offset, size_t length = 4)
{
    uint32_t value = 0;
    for (size_t i = length; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(image.at(offset + i));
    return value;
}

void SetField(Image *image, size_t offset, uint32_t value, size_t length = 4)
{
    for (size_t i = 0; i < length; ++i, value >>= 8)
        image->at(offset + i) = static_cast<char>(value & 0xFF);
}

// Where things are in a MinGW module, found the simple way the test can
// trust: MinGW puts the export directory at the start of .edata.
struct Layout {
    size_t ntHeaders;
    size_t optionalHeader;
    size_t sectionTable;
    size_t sectionCount;
    size_t exportEntry;   // the export table's data directory entry
    size_t edataHeader;   // .edata's section header
    size_t exports;       // the export directory in the file
    size_t rawDataEnd;    // where the last section's raw data ends

    // The file offset of an address inside .edata.
    size_t InEdata(const Image &image, uint32_t rva) const
    {
        return rva - Field(image, edataHeader + 12) + Field(image, edataHeader + 20);
    }
};

Layout LayoutOf(const Image &image)
{
    Layout at = {};
    at.ntHeaders = Field(image, 0x3C);
    at.optionalHeader = at.ntHeaders + 24;
    at.sectionCount = Field(image, at.ntHeaders + 6, 2);
    at.sectionTable = at.optionalHeader + Field(image, at.ntHeaders + 20, 2);
    at.exportEntry = at.optionalHeader + (Field(image, at.optionalHeader, 2) == 0x20B ? 112 : 96);
    for (size_t i = 0; i < at.sectionCount; ++i) {
        const size_t header = at.sectionTable + i * 40;
        if (image.compare(header, 8, std::string(".edata\0\0", 8)) == 0)
            at.edataHeader = header;
        at.rawDataEnd = std::max<size_t>(at.rawDataEnd, Field(image, header + 20) + Field(image, header + 16));
    }
    EXPECT_NE(at.edataHeader, 0u) << "no .edata section";
    EXPECT_EQ(Field(image, at.exportEntry), Field(image, at.edataHeader + 12)) << "exports not at the start of .edata";
    at.exports = Field(image, at.edataHeader + 20);
    return at;
}

TEST(ModuleImage, RealModulesAreReadAsTheLoaderWould)
{
    for (const Machine &machine : kMachines) {
        SCOPED_TRACE(machine.name);
        EXPECT_EQ(Probe(ReadModule(machine, "marked"), machine.id), HookModuleProbe::Marked);
        EXPECT_EQ(Probe(ReadModule(machine, "unmarked"), machine.id), HookModuleProbe::Unmarked);

        // Where a section with no data in the file says its data is does
        // not matter: the loader only fills it with zeros.
        Image image = ReadModule(machine, "marked");
        const size_t bss = image.find(std::string(".bss\0\0\0\0", 8), LayoutOf(image).sectionTable);
        ASSERT_NE(bss, Image::npos);
        ASSERT_EQ(Field(image, bss + 16), 0u);
        SetField(&image, bss + 20, 0xFFFFFFF0);
        EXPECT_EQ(Probe(image, machine.id), HookModuleProbe::Marked);
    }
}

// The game is 32-bit: a 64-bit wsock32.dll never loads into it.
TEST(ModuleImage, ModuleOfTheOtherMachineDoesNotLoad)
{
    for (const Machine &machine : kMachines) {
        SCOPED_TRACE(machine.name);
        const Image image = ReadModule(machine, "marked");
        EXPECT_EQ(Probe(image, machine.other), HookModuleProbe::NotLoaded);
        // Claiming the other machine with this machine's header layout.
        Image relabelled = image;
        SetField(&relabelled, LayoutOf(image).ntHeaders + 4, machine.other, 2);
        EXPECT_EQ(Probe(relabelled, machine.other), HookModuleProbe::NotLoaded);
        // Built for ARM, which has the same layout as this machine.
        SetField(&relabelled, LayoutOf(image).ntHeaders + 4, machine.id == kMachineI386 ? 0x01C4 : 0xAA64, 2);
        EXPECT_EQ(Probe(relabelled, machine.id), HookModuleProbe::NotLoaded);
    }
}

TEST(ModuleImage, CutOffDownloadDoesNotLoad)
{
    for (const Machine &machine : kMachines) {
        SCOPED_TRACE(machine.name);
        const Image image = ReadModule(machine, "marked");
        const Layout at = LayoutOf(image);
        const size_t lengths[] = {0, 1, 2, 0x3E, at.ntHeaders + 3, at.ntHeaders + 24, at.exportEntry + 4,
                                  at.sectionTable + at.sectionCount * 40 - 1, at.exports + 8, at.rawDataEnd - 1};
        for (size_t length : lengths)
            EXPECT_EQ(Probe(image.substr(0, length), machine.id), HookModuleProbe::NotLoaded) << "cut at " << length;
        // Up to the end of the last section's data, the file is whole.
        EXPECT_EQ(Probe(image.substr(0, at.rawDataEnd), machine.id), HookModuleProbe::Marked);
        EXPECT_EQ(Probe("MZ not really a module", machine.id), HookModuleProbe::NotLoaded);
    }
}

TEST(ModuleImage, BrokenHeadersDoNotLoad)
{
    for (const Machine &machine : kMachines) {
        SCOPED_TRACE(machine.name);
        const Image image = ReadModule(machine, "marked");
        const Layout at = LayoutOf(image);
        const struct {
            const char *what;
            std::function<void(Image *)> damage;
        } damages[] = {
            {"DOS signature", [](Image *i) { i->at(1) = 'X'; }},
            {"PE signature", [&](Image *i) { i->at(at.ntHeaders + 3) = 1; }},
            {"new header far past the end", [&](Image *i) { SetField(i, 0x3C, 0xFFFFFFF0); }},
            {"new header at the last bytes", [&](Image *i) { SetField(i, 0x3C, uint32_t(i->size() - 2)); }},
            {"optional header of another layout",
             [&](Image *i) { SetField(i, at.optionalHeader, machine.id == kMachineI386 ? 0x20B : 0x10B, 2); }},
            {"optional header too short for its fields", [&](Image *i) { SetField(i, at.ntHeaders + 20, 16, 2); }},
            {"optional header past the end", [&](Image *i) { SetField(i, at.ntHeaders + 20, 0xFFFF, 2); }},
            {"65535 sections", [&](Image *i) { SetField(i, at.ntHeaders + 6, 0xFFFF, 2); }},
            {"section data far past the end", [&](Image *i) { SetField(i, at.edataHeader + 20, 0xFFFFFF00); }},
            {"section data size wraps", [&](Image *i) { SetField(i, at.edataHeader + 16, 0xFFFFFFFF); }},
        };
        for (const auto &d : damages) {
            Image damaged = image;
            d.damage(&damaged);
            EXPECT_EQ(Probe(damaged, machine.id), HookModuleProbe::NotLoaded) << d.what;
        }
    }
}

// Such a module would load, but no export "patch" can be found in it.
TEST(ModuleImage, DamagedExportTableHidesTheMarker)
{
    for (const Machine &machine : kMachines) {
        SCOPED_TRACE(machine.name);
        const Image image = ReadModule(machine, "marked");
        const Layout at = LayoutOf(image);
        const uint32_t nameCount = Field(image, at.exports + 24);
        const size_t names = at.InEdata(image, Field(image, at.exports + 32));
        const size_t functions = at.InEdata(image, Field(image, at.exports + 28));
        const uint32_t edataEnd = Field(image, at.edataHeader + 12) + Field(image, at.edataHeader + 8);
        const auto everyName = [&](Image *i, uint32_t rva) {
            for (uint32_t n = 0; n < nameCount; ++n)
                SetField(i, names + n * 4, rva);
        };
        const struct {
            const char *what;
            std::function<void(Image *)> damage;
        } damages[] = {
            {"no export directory", [&](Image *i) { SetField(i, at.exportEntry, 0); }},
            {"no data directories", [&](Image *i) { SetField(i, at.exportEntry - 4, 0); }},
            {"export directory outside the image", [&](Image *i) { SetField(i, at.exportEntry, 0xFFFFFFF0); }},
            {"export directory running off its section", [&](Image *i) { SetField(i, at.exportEntry, edataEnd - 20); }},
            // The loader maps only the section's size in memory, and fills
            // the rest of the page with zeros.
            {"section shorter in memory than the directory", [&](Image *i) { SetField(i, at.edataHeader + 8, 20); }},
            {"absurd name count", [&](Image *i) { SetField(i, at.exports + 24, 0xFFFFFFFF); }},
            {"name table outside the image", [&](Image *i) { SetField(i, at.exports + 32, 0xFFFFFFFE); }},
            {"ordinal table outside the image", [&](Image *i) { SetField(i, at.exports + 36, 0xFFFFFFFE); }},
            {"names outside the image", [&](Image *i) { everyName(i, 0xFFFFFFFF); }},
            {"names running off their section", [&](Image *i) { everyName(i, edataEnd - 3); }},
            {"ordinal beyond the function table", [&](Image *i) { SetField(i, at.exports + 20, 0); }},
            {"function table outside the image", [&](Image *i) { SetField(i, at.exports + 28, 0xFFFFFFF0); }},
            {"no function behind the name",
             [&](Image *i) { memset(&i->at(functions), 0, Field(image, at.exports + 20) * 4); }},
            {"marker in other letter case",
             [&](Image *i) { i->at(i->find(std::string("\0patch\0", 7), at.exports) + 5) = 'H'; }},
            {"marker cut short", [&](Image *i) { i->at(i->find(std::string("\0patch\0", 7), at.exports) + 5) = 0; }},
        };
        for (const auto &d : damages) {
            Image damaged = image;
            d.damage(&damaged);
            EXPECT_EQ(Probe(damaged, machine.id), HookModuleProbe::Unmarked) << d.what;
        }
    }
}

// The loader maps the headers too, at address 0: a name kept there counts.
TEST(ModuleImage, MarkerNamedFromTheHeadersIsFound)
{
    for (const Machine &machine : kMachines) {
        SCOPED_TRACE(machine.name);
        Image image = ReadModule(machine, "unmarked");
        const Layout at = LayoutOf(image);
        const uint32_t inDosStub = 0x50;
        image.replace(inDosStub, 6, std::string("patch\0", 6));
        SetField(&image, at.InEdata(image, Field(image, at.exports + 32)), inDosStub);
        EXPECT_EQ(Probe(image, machine.id), HookModuleProbe::Marked);
    }
}

} // namespace
