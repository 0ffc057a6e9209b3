#pragma once
// The case table of the conformance corpus (cases.tsv) and the bookkeeping of a run:
// results per case, pass rates per group and feature, the results file.

#include "conformance_compare.h"

#include <QString>
#include <QTextStream>

#include <vector>

namespace velk::conformance {

struct TConformanceCase {
    QString Path;    // "tests/shapes/rect/simple-case.svg", relative to the corpus
    QString Name;    // "shapes/rect/simple-case": the case's name in results and diffs
    QString Group;   // "shapes"
    QString Feature; // "shapes/rect"
    bool UsesText = false;
    bool UsesLaterFeatures = false; // its source has an element of a later stage
    QString Title;
};

// The cases of a cases.tsv (header line first: path, category, uses_text, ...), with
// UsesLaterFeatures read from each case's SVG beside the table. Throws std::runtime_error naming the file (and the line) when the file cannot be
// read or a line is malformed: the run cannot go on without its table.
std::vector<TConformanceCase> ReadConformanceCases(const QString& FileName);

// Whether SVG source uses an element the library does not draw yet: gradients,
// patterns, markers, clip paths, masks, images, text, filters.
bool UsesLaterFeatures(const QByteArray& Source);

// The cases this stage of the library is expected to draw: shapes, structure and
// painting, without text and without the features that come later.
bool InStageSubset(const TConformanceCase& Case);

struct TConformanceResult {
    TConformanceCase Case;
    TConformanceComparison Comparison;
    bool Passed = false;
    QString Message; // why it failed to render or compare; empty otherwise
};

// Writes one line per case (case, group, feature, text, pass, rule-1 %, rule-2 %,
// message) under a header line.
void WriteResultsTsv(const std::vector<TConformanceResult>& Results, QTextStream& Out);

// Prints the pass rates: all, text and non-text, the stage subset, per group, per
// feature, then the failing cases of the stage subset.
void WriteSummary(const std::vector<TConformanceResult>& Results, QTextStream& Out);

} // namespace velk::conformance
