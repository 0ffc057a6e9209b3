// The process-wide mapping of generic families (and of the fallback for unknown names)
// that font resolution consults.

#include "graphics/font.h"

#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontDatabase>

namespace velk {
namespace {

const QStringList Keys{u"serif"_qs, u"sans-serif"_qs, u"monospace"_qs, u"cursive"_qs, u"fantasy"_qs, u"default"_qs};

class FontGenericFamilyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
    // Registered fonts would stay for the suites that follow.
    static void TearDownTestSuite() { QFontDatabase::removeAllApplicationFonts(); }
    // The mapping is process-wide: every test leaves it empty.
    void TearDown() override
    {
        for (const QString& key : Keys)
            TVelkGPFont::SetGenericFamily(key, QString());
    }

    static QString Resolve(const QString& Name)
    {
        TVelkGPFont font;
        font.SetName(Name);
        return font.Name();
    }
};

TEST_F(FontGenericFamilyTest, KeysAreTheGenericFamiliesAndDefault)
{
    for (const QString& key : Keys) {
        EXPECT_TRUE(TVelkGPFont::SetGenericFamily(key.toUpper(), u"Some Family"_qs)) << key.toStdString();
        EXPECT_EQ(TVelkGPFont::GenericFamily(key), u"Some Family"_qs);
        EXPECT_TRUE(TVelkGPFont::SetGenericFamily(key, QString()));
        EXPECT_EQ(TVelkGPFont::GenericFamily(key), QString());
    }
    EXPECT_FALSE(TVelkGPFont::SetGenericFamily(u"heading"_qs, u"Some Family"_qs));
    EXPECT_FALSE(TVelkGPFont::SetGenericFamily(QString(), u"Some Family"_qs));
    EXPECT_EQ(TVelkGPFont::GenericFamily(u"heading"_qs), QString());

    // Every generic family is a family a document may ask for; "default" is no family.
    for (const char16_t* generic : {u"cursive", u"FANTASY"})
        EXPECT_TRUE(TVelkGPFont::IsFontFamilyAvailable(QString::fromUtf16(generic)));
    EXPECT_FALSE(TVelkGPFont::IsFontFamilyAvailable(u"default"_qs));
}

TEST_F(FontGenericFamilyTest, GenericNamesAndUnknownNamesFollowTheMapping)
{
    if (!TVelkGPFont::IsFontFamilyAvailable(u"DejaVu Sans Mono"_qs) ||
        !TVelkGPFont::IsFontFamilyAvailable(u"DejaVu Serif"_qs))
        GTEST_SKIP() << "DejaVu fonts not installed";
    const QString systemSerif = Resolve(u"serif"_qs);
    const QString systemSans = Resolve(u"sans-serif"_qs);

    // A family no system would choose for serif shows that the mapping decides.
    TVelkGPFont::SetGenericFamily(u"serif"_qs, u"dejavu sans mono"_qs);
    TVelkGPFont::SetGenericFamily(u"cursive"_qs, u"DejaVu Serif"_qs);
    TVelkGPFont::SetGenericFamily(u"fantasy"_qs, u"DejaVu Sans Mono"_qs);
    EXPECT_EQ(Resolve(u"Serif"_qs), u"DejaVu Sans Mono"_qs);
    EXPECT_EQ(Resolve(u"cursive"_qs), u"DejaVu Serif"_qs);
    EXPECT_EQ(Resolve(u"fantasy"_qs), u"DejaVu Sans Mono"_qs);
    // Installed families are not affected.
    EXPECT_EQ(Resolve(u"DejaVu Sans"_qs), u"DejaVu Sans"_qs);

    // Unknown names: the generic sans-serif family (mapped or not), unless "default" is mapped.
    EXPECT_EQ(Resolve(u"No Such Family 42"_qs), systemSans);
    TVelkGPFont::SetGenericFamily(u"sans-serif"_qs, u"DejaVu Serif"_qs);
    EXPECT_EQ(Resolve(u"No Such Family 42"_qs), u"DejaVu Serif"_qs);
    TVelkGPFont::SetGenericFamily(u"default"_qs, u"DejaVu Sans Mono"_qs);
    EXPECT_EQ(Resolve(u"No Such Family 42"_qs), u"DejaVu Sans Mono"_qs);

    // A mapping to a family that is not installed is passed over; removing one restores
    // the system's choice.
    TVelkGPFont::SetGenericFamily(u"serif"_qs, u"Not Installed Anywhere"_qs);
    EXPECT_EQ(Resolve(u"serif"_qs), systemSerif);
    TVelkGPFont::SetGenericFamily(u"serif"_qs, u"DejaVu Sans Mono"_qs);
    TVelkGPFont::SetGenericFamily(u"serif"_qs, QString());
    EXPECT_EQ(Resolve(u"serif"_qs), systemSerif);
}

TEST_F(FontGenericFamilyTest, ResolvedFontsKeepTheirFamily)
{
    if (!TVelkGPFont::IsFontFamilyAvailable(u"DejaVu Sans Mono"_qs))
        GTEST_SKIP() << "DejaVu fonts not installed";
    TVelkGPFont font;
    font.SetName(u"monospace"_qs);
    const QString before = font.Name();
    TVelkGPFont::SetGenericFamily(u"monospace"_qs, before == u"DejaVu Serif"_qs ? u"DejaVu Sans"_qs : u"DejaVu Serif"_qs);
    EXPECT_EQ(font.Name(), before);
    EXPECT_EQ(font.Handle().family(), before);
}

TEST_F(FontGenericFamilyTest, ARegisteredFontServesAGenericFamily)
{
    // The conformance corpus's cursive font, registered as an application font.
    const QString file = QStringLiteral(VELK_SHARED_DIR "/conformance/fonts/Yellowtail-Regular.ttf");
    if (!QFile::exists(file))
        GTEST_SKIP() << "conformance fonts not present";
    const int id = QFontDatabase::addApplicationFont(file);
    ASSERT_GE(id, 0);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    ASSERT_FALSE(families.isEmpty());
    EXPECT_NE(Resolve(u"cursive"_qs), families.first());
    TVelkGPFont::SetGenericFamily(u"cursive"_qs, families.first());
    EXPECT_EQ(Resolve(u"cursive"_qs), families.first());
}

} // namespace
} // namespace velk
