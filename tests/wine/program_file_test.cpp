// What Explorer and the dialog manager read from the built patchcfg.exe:
// the version block, the languages of the resources, the icon's image and
// the window template's header.
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

// The header of an extended template, up to its font, in the order stored.
class TemplateReader {
public:
    explicit TemplateReader(const std::string &bytes) : bytes_(bytes) {}

    WORD Word() { return Take<WORD>(); }
    DWORD Dword() { return Take<DWORD>(); }
    BYTE Byte() { return Take<BYTE>(); }
    std::string Text()
    {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word())
            text += static_cast<char>(c);
        return text;
    }

private:
    template <typename T> T Take()
    {
        T value = 0;
        if (at_ + sizeof value <= bytes_.size())
            memcpy(&value, bytes_.data() + at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    const std::string &bytes_;
    size_t at_ = 0;
};

TEST_F(ProgramFile, WindowTemplateIsExtendedWithItsFrameAndFont)
{
    const std::string bytes = Bytes(RT_DIALOG, MAKEINTRESOURCEA(IDD_CONFIG), kEnglishUk);
    ASSERT_FALSE(bytes.empty());
    TemplateReader t(bytes);
    EXPECT_EQ(t.Word(), 1);      // version
    EXPECT_EQ(t.Word(), 0xFFFF); // signature of the extended form
    t.Dword();                   // help id
    t.Dword();                   // extended style
    EXPECT_EQ(t.Dword(), static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CONTEXTHELP | DS_SETFONT));
    EXPECT_EQ(t.Word(), 27); // controls
    EXPECT_EQ(t.Word(), 200);
    EXPECT_EQ(t.Word(), 100);
    EXPECT_EQ(t.Word(), 232);
    EXPECT_EQ(t.Word(), 224);
    EXPECT_EQ(t.Word(), 0); // no menu
    EXPECT_EQ(t.Word(), 0); // the platform's dialog class
    EXPECT_EQ(t.Text(), "Gravlok Patch Config");
    EXPECT_EQ(t.Word(), 10);  // points
    EXPECT_EQ(t.Word(), 400); // weight
    EXPECT_EQ(t.Byte(), 0);   // upright
    EXPECT_EQ(t.Byte(), 0);   // character set
    EXPECT_EQ(t.Text(), "Comic Sans MS");
}

} // namespace
