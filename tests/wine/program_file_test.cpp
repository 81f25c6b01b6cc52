// What Explorer and the shell read from the built patchcfg.exe: the version
// block, the languages of the resources and the icon's image.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "build_paths.h"
#include "platform/win32.h"
#include "resources/resource.h"

namespace {

const WORD kEnglishUk = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK);
const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class ProgramFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryExA(BuiltProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << BuiltProgramPath() << " error " << GetLastError();
    }

    void TearDown() override
    {
        if (module_)
            FreeLibrary(module_);
    }

    std::vector<WORD> Languages(LPCSTR type, LPCSTR name) const
    {
        std::vector<WORD> found;
        EnumResourceLanguagesA(module_, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&found));
        return found;
    }

    // The resource's bytes, or empty when the file has no such resource.
    std::string Bytes(LPCSTR type, LPCSTR name, WORD language) const
    {
        HRSRC found = FindResourceExA(module_, type, name, language);
        if (!found)
            return "";
        const char *data = static_cast<const char *>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

    HMODULE module_ = nullptr;

private:
    static BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR found)
    {
        reinterpret_cast<std::vector<WORD> *>(found)->push_back(language);
        return TRUE;
    }
};

std::string QueryString(const std::vector<char> &block, const char *path)
{
    void *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), path, &value, &length) || !value)
        return "(missing)";
    return static_cast<const char *>(value);
}

TEST_F(ProgramFile, PropertiesShowTheDescriptionAndVersion)
{
    const std::string path = BuiltProgramPath();
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00080000u); // 8.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);          // .0.0
    EXPECT_EQ(fixed->dwProductVersionMS, 0u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    WORD *translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0400);
    EXPECT_EQ(translation[1], 0x04B0);

    EXPECT_EQ(QueryString(block, "\\StringFileInfo\\040004b0\\FileDescription"), "Gravlok Patch Config");
    EXPECT_NE(QueryString(block, "\\StringFileInfo\\040004b0\\CompanyName"), "(missing)");
}

TEST_F(ProgramFile, ResourcesAreBritishEnglishAndTheManifestAmerican)
{
    using Langs = std::vector<WORD>;
    EXPECT_EQ(Languages(RT_DIALOG, MAKEINTRESOURCEA(IDD_CONFIG)), Langs{kEnglishUk});
    EXPECT_EQ(Languages(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_PATCHCFG)), Langs{kEnglishUk});
    EXPECT_EQ(Languages(RT_VERSION, MAKEINTRESOURCEA(VS_VERSION_INFO)), Langs{kEnglishUk});
    EXPECT_EQ(Languages(RT_MANIFEST, MAKEINTRESOURCEA(1)), Langs{kEnglishUs});
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitsPerPixel;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ProgramFile, IconIsOne32By32SixteenColourImage)
{
    const std::string group = Bytes(RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_PATCHCFG), kEnglishUk);
    ASSERT_EQ(group.size(), 6 + sizeof(IconGroupEntry));
    const WORD *header = reinterpret_cast<const WORD *>(group.data());
    EXPECT_EQ(header[1], 1); // an icon, not a cursor
    EXPECT_EQ(header[2], 1); // one image
    const IconGroupEntry *entry = reinterpret_cast<const IconGroupEntry *>(group.data() + 6);
    EXPECT_EQ(entry->width, 32);
    EXPECT_EQ(entry->height, 32);
    EXPECT_EQ(entry->colours, 16);
    EXPECT_EQ(entry->bitsPerPixel, 4);

    const std::string image = Bytes(RT_ICON, MAKEINTRESOURCEA(entry->id), kEnglishUk);
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    const BITMAPINFOHEADER *bitmap = reinterpret_cast<const BITMAPINFOHEADER *>(image.data());
    EXPECT_EQ(bitmap->biBitCount, 4);
    EXPECT_EQ(bitmap->biWidth, 32);
}

} // namespace
