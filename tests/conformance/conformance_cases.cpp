#include "conformance_cases.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>

#include <stdexcept>

namespace velk::conformance {

namespace {

std::runtime_error CasesError(const QString& Text)
{
    return std::runtime_error(Text.toStdString());
}

// Results files are one line per case: no tabs or line breaks inside a field.
QString OneLine(QString Text)
{
    for (QChar& c : Text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return Text;
}

struct TTally {
    int Passed = 0;
    int Total = 0;

    void Add(bool Pass)
    {
        ++Total;
        if (Pass)
            ++Passed;
    }
};

void WriteRate(QTextStream& Out, const QString& Label, const TTally& Tally)
{
    const double percent = Tally.Total ? 100.0 * Tally.Passed / Tally.Total : 0.0;
    Out << "  " << Label.leftJustified(34) << QString::number(Tally.Passed).rightJustified(4) << " / "
        << QString::number(Tally.Total).leftJustified(4) << QString::number(percent, 'f', 1).rightJustified(6)
        << " %\n";
}

} // namespace

std::vector<TConformanceCase> ReadConformanceCases(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw CasesError(QStringLiteral("cannot read %1: %2").arg(FileName, file.errorString()));
    const QDir corpus = QFileInfo(FileName).dir();
    QTextStream in(&file);
    in.readLine(); // the header
    std::vector<TConformanceCase> cases;
    for (int lineNumber = 2; !in.atEnd(); ++lineNumber) {
        const QString line = in.readLine();
        if (line.isEmpty())
            continue;
        const QStringList fields = line.split(u'\t');
        const QString category = fields.value(1);
        const qsizetype slash = category.indexOf(u'/');
        const QString path = fields.value(0);
        if (fields.size() < 3 || slash <= 0 || !path.startsWith(QLatin1String("tests/")) ||
            !path.endsWith(QLatin1String(".svg")) || path.contains(QLatin1String("..")))
            throw CasesError(QStringLiteral("%1, line %2: malformed case").arg(FileName).arg(lineNumber));
        TConformanceCase c;
        c.Path = path;
        c.Name = path.mid(6, path.size() - 6 - 4);
        c.Group = category.left(slash);
        c.Feature = category;
        c.UsesText = fields.value(2) == QLatin1String("yes");
        c.Title = fields.value(4);
        QFile source(corpus.filePath(path));
        c.UsesLaterFeatures = source.open(QIODevice::ReadOnly) && UsesLaterFeatures(source.readAll());
        cases.push_back(std::move(c));
    }
    return cases;
}

bool UsesLaterFeatures(const QByteArray& Source)
{
    static const QRegularExpression laterElement(
        QStringLiteral("<\\s*(linearGradient|radialGradient|pattern|marker|clipPath|mask|image|text|filter)[\\s/>]"));
    return laterElement.match(QString::fromUtf8(Source)).hasMatch();
}

bool InStageSubset(const TConformanceCase& Case)
{
    static const QStringList groups{QStringLiteral("shapes"), QStringLiteral("structure"), QStringLiteral("painting")};
    return !Case.UsesText && !Case.UsesLaterFeatures && groups.contains(Case.Group);
}

void WriteResultsTsv(const std::vector<TConformanceResult>& Results, QTextStream& Out)
{
    Out << "case\tgroup\tfeature\ttext\tpass\trule1_percent\trule2_percent\tmessage\n";
    for (const TConformanceResult& r : Results)
        Out << r.Case.Name << '\t' << r.Case.Group << '\t' << r.Case.Feature << '\t'
            << (r.Case.UsesText ? "yes" : "no") << '\t' << (r.Passed ? "yes" : "no") << '\t'
            << QString::number(r.Comparison.Rule1Percent, 'f', 3) << '\t'
            << QString::number(r.Comparison.Rule2Percent, 'f', 3) << '\t' << OneLine(r.Message) << '\n';
}

void WriteSummary(const std::vector<TConformanceResult>& Results, QTextStream& Out)
{
    TTally all, text, nonText, stage;
    QMap<QString, TTally> groups, features;
    for (const TConformanceResult& r : Results) {
        all.Add(r.Passed);
        (r.Case.UsesText ? text : nonText).Add(r.Passed);
        if (InStageSubset(r.Case))
            stage.Add(r.Passed);
        groups[r.Case.Group].Add(r.Passed);
        features[r.Case.Feature].Add(r.Passed);
    }

    Out << "Conformance pass rates (passed / cases)\n";
    WriteRate(Out, QStringLiteral("all"), all);
    WriteRate(Out, QStringLiteral("text"), text);
    WriteRate(Out, QStringLiteral("non-text"), nonText);
    WriteRate(Out, QStringLiteral("stage subset"), stage);
    Out << "  (stage subset: shapes, structure, painting; without text, gradients, patterns, markers,\n"
           "   clip paths, masks, images or filters)\n";
    Out << "By group\n";
    for (auto it = groups.cbegin(); it != groups.cend(); ++it)
        WriteRate(Out, it.key(), it.value());
    Out << "By feature\n";
    for (auto it = features.cbegin(); it != features.cend(); ++it)
        WriteRate(Out, it.key(), it.value());

    Out << "Failing in the stage subset (rule 1 %, rule 2 %, message)\n";
    for (const TConformanceResult& r : Results)
        if (InStageSubset(r.Case) && !r.Passed)
            Out << "  " << r.Case.Name << "  " << QString::number(r.Comparison.Rule1Percent, 'f', 2) << "  "
                << QString::number(r.Comparison.Rule2Percent, 'f', 2)
                << (r.Message.isEmpty() ? QString() : QStringLiteral("  ") + OneLine(r.Message)) << '\n';
}

} // namespace velk::conformance
