// Saving keeps the styling: every file of the external conformance corpus (skipped when
// the corpus is absent) is loaded, saved and loaded again, and every element must have
// the same current property texts in both trees.

#include "svg/document.h"
#include "svg/graphic_element.h"
#include "svg/style.h"
#include "tests/support/gui_application.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <gtest/gtest.h>

#include <iostream>

namespace velk {
namespace {

// The current property texts of Element ("" for elements without properties), less
// what writing leaves out by design: color (fill and stroke carry its effect) and a
// clip-path naming no element of the document (it reads back as none).
QString PropertyTexts(const TSVGElement& Element)
{
    const auto* graphic = dynamic_cast<const TSVGGraphicElement*>(&Element);
    if (!graphic)
        return {};
    TSVGStyle style;
    graphic->AssignTo(&style);
    style.SetColor({});
    const TSVGDocument* owner = graphic->Owner();
    if (!graphic->ClipURI().isEmpty() && !(owner && owner->AllItems().ContainsKey(graphic->ClipURI())))
        style.SetClip_Path(QStringLiteral("none"));
    return style.ToString();
}

// The first element pair (same walk through both trees) whose property texts or child
// counts differ, described; "" when the trees agree.
QString FirstDifference(const TSVGElement& A, const TSVGElement& B)
{
    const QString a = PropertyTexts(A);
    const QString b = PropertyTexts(B);
    if (a != b)
        return QStringLiteral("%1 <%2>: %3 became %4").arg(A.ID(), A.SVGTypeName(), a, b);
    if (A.Count() != B.Count())
        return QStringLiteral("%1 <%2>: %3 children became %4").arg(A.ID(), A.SVGTypeName()).arg(A.Count()).arg(B.Count());
    for (int i = 0; i < A.Count(); ++i)
        if (QString difference = FirstDifference(*A.Child(i), *B.Child(i)); !difference.isEmpty())
            return difference;
    return {};
}

TEST(StyleRoundTrip, SavedConformanceFilesKeepTheirProperties)
{
    const QString root = QStringLiteral(VELK_SHARED_DIR "/conformance/tests");
    if (!QDir(root).exists())
        GTEST_SKIP() << "conformance corpus not present";
    testing::EnsureGuiApplication(); // fonts
    int compared = 0;
    int skipped = 0;
    QDirIterator files(root, {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        TSVGDocument original;
        try {
            original.LoadFromFile(file);
        } catch (const Exception&) {
            ++skipped; // what does not load is the loading tests' concern
            continue;
        }
        // Numbers are written with three decimals by default; the comparison is about
        // what is kept, so write them in full.
        original.SetFormatStr(QStringLiteral("0.#########"));
        QBuffer saved;
        saved.open(QIODevice::ReadWrite);
        original.SaveToStream(saved);
        saved.seek(0);
        TSVGDocument reloaded;
        try {
            reloaded.LoadFromStream(saved);
        } catch (const Exception& e) {
            ADD_FAILURE() << file.toStdString() << ": the saved form does not load: " << e.Message().toStdString();
            continue;
        }
        ++compared;
        const QString difference = FirstDifference(original, reloaded);
        EXPECT_TRUE(difference.isEmpty()) << QDir(root).relativeFilePath(file).toStdString() << ": "
                                          << difference.toStdString();
    }
    std::cout << "compared " << compared << " files, skipped " << skipped << " that do not load\n";
    EXPECT_GT(compared, 0);
}

} // namespace
} // namespace velk
