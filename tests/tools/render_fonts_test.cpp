#include "tools/velk-render/fonts.h"

#include "graphics/font.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QTemporaryDir>

namespace velk {
namespace {

using testing::MessageOf;

class RenderFontsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
    // Registered fonts would stay for the suites that follow.
    static void TearDownTestSuite() { QFontDatabase::removeAllApplicationFonts(); }
    void TearDown() override
    {
        for (const QString& key : RenderFontFamilyKeys)
            TVelkGPFont::SetGenericFamily(key, QString());
    }
};

TEST_F(RenderFontsTest, FontFolderServesTheGenericFamilies)
{
    const QString dir = QStringLiteral(VELK_SHARED_DIR "/conformance/fonts");
    if (!QDir(dir).exists())
        GTEST_SKIP() << "conformance fonts not present";
    TRenderOptions options;
    options.FontDirs = {dir};
    options.FontFamilies = {{u"cursive"_qs, u"yellowtail"_qs}, {u"DEFAULT"_qs, u"Noto Serif"_qs}};
    SetUpRenderFonts(options);
    EXPECT_EQ(TVelkGPFont::GenericFamily(u"cursive"_qs), u"yellowtail"_qs);
    TVelkGPFont font;
    font.SetName(u"cursive"_qs);
    EXPECT_EQ(font.Name(), u"Yellowtail"_qs);
    font.SetName(u"No Such Family 42"_qs);
    EXPECT_EQ(font.Name(), u"Noto Serif"_qs);
}

TEST_F(RenderFontsTest, BadFoldersAndFamiliesAreClearErrors)
{
    QTemporaryDir dir;
    EXPECT_EQ(RegisterFontDirectory(dir.path()), 0);
    EXPECT_EQ(MessageOf<ERenderError>([&] { RegisterFontDirectory(dir.filePath(u"none"_qs)); }),
              u"font folder %1 does not exist or cannot be read"_qs.arg(dir.filePath(u"none"_qs)));
    QFile fake(dir.filePath(u"fake.ttf"_qs));
    ASSERT_TRUE(fake.open(QIODevice::WriteOnly));
    fake.write("not a font");
    fake.close();
    EXPECT_EQ(MessageOf<ERenderError>([&] { RegisterFontDirectory(dir.path()); }),
              u"font file %1 cannot be loaded"_qs.arg(dir.filePath(u"fake.ttf"_qs)));

    EXPECT_EQ(MessageOf<ERenderError>([] { ApplyFontFamilies({{u"heading"_qs, u"DejaVu Sans"_qs}}); }),
              u"unknown generic font family \"heading\""_qs);
    EXPECT_EQ(MessageOf<ERenderError>([] { ApplyFontFamilies({{u"serif"_qs, u"sans-serif"_qs}}); }),
              u"font family \"sans-serif\" (for serif) is not installed"_qs);
    EXPECT_EQ(TVelkGPFont::GenericFamily(u"serif"_qs), QString());
}

} // namespace
} // namespace velk
