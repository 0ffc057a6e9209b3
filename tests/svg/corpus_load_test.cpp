// Loading real and very large documents: every file of the external conformance corpus
// (skipped when the corpus is absent) and a generated 20 MB document.

#include "svg/document.h"
#include "tests/support/large_svg.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

namespace velk {
namespace {

TEST(CorpusLoad, EveryConformanceFileLoads)
{
    const QString root = QStringLiteral(VELK_SHARED_DIR "/conformance/tests");
    if (!QDir(root).exists())
        GTEST_SKIP() << "conformance corpus not present";
    int loaded = 0;
    QDirIterator files(root, {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        TSVGDocument doc;
        try {
            doc.LoadFromFile(file);
            ++loaded;
        } catch (const Exception& e) {
            ADD_FAILURE() << file.toStdString() << ": " << e.Message().toStdString();
        }
    }
    EXPECT_GT(loaded, 0);
}

TEST(CorpusLoad, TwentyMegabyteDocumentLoads)
{
    testing::TLargeSvg svg = testing::MakeLargeSvg(200000);
    ASSERT_GT(svg.Text.size(), 20'000'000);
    QBuffer buffer(&svg.Text);
    buffer.open(QIODevice::ReadOnly);
    TSVGDocument doc;
    int changes = 0;
    doc.OnChange = [&changes](TObject*) { ++changes; };
    doc.LoadFromStream(buffer);
    EXPECT_EQ(changes, 1);
    // The groups are element objects with their IDs; the outermost ones come in order.
    EXPECT_TRUE(doc.AllItems().ContainsKey(QStringLiteral("g0")));
    EXPECT_TRUE(doc.AllItems().ContainsKey(QStringLiteral("n199994")));
}

} // namespace
} // namespace velk
