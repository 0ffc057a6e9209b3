#include "graphics/path_data.h"
#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "platform/exceptions.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

using namespace velk;

namespace {

void ExpectNear(const TPointF& Actual, const TPointF& Expected, float Tolerance = 1e-4f)
{
    EXPECT_NEAR(Actual.X, Expected.X, Tolerance);
    EXPECT_NEAR(Actual.Y, Expected.Y, Tolerance);
}

bool AllFinite(const TVelkPathData& Path)
{
    for (int i = 0; i < Path.Count(); ++i)
        if (!std::isfinite(Path.GetPoint(i).Point.X) || !std::isfinite(Path.GetPoint(i).Point.Y))
            return false;
    return true;
}

TEST(PathData, Commands)
{
    struct TCase {
        const char* Name;
        void (*Build)(TVelkPathData&);
        const char16_t* Expected;
    };
    const TCase cases[] = {
        {"HLineTo on an empty path", [](TVelkPathData& p) { p.HLineTo(5); }, u"L5,0 "},
        {"VLineTo on an empty path", [](TVelkPathData& p) { p.VLineTo(5); }, u"L0,5 "},
        {"relative lines", [](TVelkPathData& p) { p.MoveTo({1, 2}); p.HLineToRel(3); p.VLineToRel(-4); p.LineToRel({1, 1}); },
         u"M1,2 L4,2 L4,-2 L5,-1 "},
        {"relative move", [](TVelkPathData& p) { p.MoveTo({1, 2}); p.MoveToRel({1, 1}); p.ClosePath(); },
         u"M1,2 M2,3 Z "},
        {"relative curve from one start", [](TVelkPathData& p) { p.MoveTo({1, 1}); p.CurveToRel({1, 0}, {2, 0}, {3, 3}); },
         u"M1,1 C2,1 3,1 4,4 "},
        {"quadratic", [](TVelkPathData& p) { p.MoveTo({0, 0}); p.QuadCurveTo({30, 30}, {60, 0}); },
         u"M0,0 C20,20 40,20 60,0 "},
        {"smooth after a curve", [](TVelkPathData& p) { p.MoveTo({0, 0}); p.CurveTo({0, 10}, {10, 10}, {10, 0}); p.SmoothCurveTo({20, -10}, {20, 0}); },
         u"M0,0 C0,10 10,10 10,0 C10,-10 20,-10 20,0 "},
        {"smooth after a close reflects the entry before it",
         [](TVelkPathData& p) { p.MoveTo({0, 0}); p.LineTo({10, 0}); p.ClosePath(); p.SmoothCurveToRel({1, 1}, {2, 0}); },
         u"M0,0 L10,0 Z C-10,0 1,1 2,0 "},
        {"close stores the subpath start", [](TVelkPathData& p) { p.MoveTo({3, 4}); p.LineTo({9, 9}); p.ClosePath(); p.LineToRel({1, 1}); },
         u"M3,4 L9,9 Z L4,5 "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TVelkPathData path;
        c.Build(path);
        EXPECT_EQ(path.GetData(), QString::fromUtf16(c.Expected));
    }
}

TEST(PathData, ChangeEventsAndUpdateBrackets)
{
    TVelkPathData path;
    int changes = 0;
    path.OnChanged = [&](TObject*) { ++changes; };
    path.MoveTo({0, 0});
    path.CurveTo({1, 1}, {2, 2}, {3, 3});
    EXPECT_EQ(changes, 2);
    path.BeginUpdate();
    path.BeginUpdate();
    path.LineTo({5, 5});
    path.EndUpdate();
    path.LineTo({6, 6});
    EXPECT_EQ(changes, 2);
    path.EndUpdate();
    EXPECT_EQ(changes, 3);
    path.EndUpdate(); // unbalanced: nothing
    EXPECT_EQ(changes, 3);

    path.SetFillMode(fmEvenOdd); // the stored value
    EXPECT_EQ(changes, 3);
    path.SetFillMode(fmNonZero);
    EXPECT_EQ(changes, 4);
    path.AddRectangle(MakeRectF(0, 0, 10, 10), 2, 2, AllCorners, ctRound);
    path.AddEllipse(MakeRectF(0, 0, 10, 10));
    path.AddArc({0, 0}, {5, 5}, 0, 180);
    path.SVGArcTo({0, 0}, {5, 5}, {10, 0}, true, false, 0);
    EXPECT_EQ(changes, 8);

    path.AddArc({0, 0}, {5, 5}, 0, 0); // adds nothing
    EXPECT_EQ(changes, 8);

    // Inside a bracket the caches follow every change; only the event waits.
    path.BeginUpdate();
    path.SetData(u"M0 0 L10 10");
    EXPECT_EQ(path.GetBounds(), MakeRectF(0, 0, 10, 10));
    path.LineTo({20, 30});
    EXPECT_EQ(path.GetBounds(), MakeRectF(0, 0, 20, 30));
    path.EndUpdate();
    EXPECT_EQ(changes, 9);

    // Changes drop the measured caches.
    const double before = path.GetLength();
    path.Clear();
    EXPECT_EQ(changes, 10);
    EXPECT_GT(before, 0);
    EXPECT_EQ(path.GetLength(), 0);
    EXPECT_EQ(path.GetBounds(), TRectF{});
}

TEST(PathData, AssignCloneAndAppend)
{
    TVelkPathData source;
    source.SetFillMode(fmNonZero);
    source.SetFormatStr(u"0.#"_qs);
    source.SetData(u"M0 0 L10 0 L10 10 M20 20 L30 20");
    const double length = source.GetLength();

    const std::unique_ptr<TVelkPathData> clone = source.Clone();
    EXPECT_EQ(clone->GetData(), source.GetData());
    EXPECT_EQ(clone->FillMode(), fmNonZero);
    EXPECT_EQ(clone->FormatStr(), "0.#");
    EXPECT_EQ(clone->GetLength(), length);
    clone->ClosePath(); // closes the copied subpath
    EXPECT_EQ(clone->GetPoint(clone->Count() - 1).Point, (TPointF{20, 20}));

    EXPECT_EQ(velk::testing::MessageOf<EConvertError>([&] { source.Assign(nullptr); }),
              "Cannot assign a nil to a TVelkPathData");

    // Appending to an empty path takes the source whole, fill mode included.
    TVelkPathData target;
    target.Append(source);
    EXPECT_EQ(target.FillMode(), fmNonZero);
    target.Append(target);
    EXPECT_EQ(target.Count(), 2 * source.Count());
    TVelkPathData empty;
    target.Append(empty);
    EXPECT_EQ(target.Count(), 2 * source.Count());
}

// Streams a path as a stand-alone object and reads it into a fresh one.
QByteArray Stream(const TVelkPathData& Path)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TWriter(buffer).WriteRoot(Path);
    return buffer.data();
}

TEST(PathData, StreamingRoundTrip)
{
    TVelkPathData path;
    path.SetData(u"M0.5 -1 L1e20 3 C1 2 3 4 5 6 Z");
    const QByteArray bytes = Stream(path);
    EXPECT_TRUE(bytes.contains("FillMode"));
    EXPECT_FALSE(bytes.contains("\x09" "FormatStr")); // the default
    EXPECT_FALSE(bytes.contains("\x04" "Data"));

    // The Path payload: count, then kind, X, Y per entry, little-endian.
    QByteArray payload(4, '\0');
    qToLittleEndian<qint32>(path.Count(), payload.data());
    for (int i = 0; i < path.Count(); ++i) {
        char record[9];
        record[0] = static_cast<char>(path.GetPoint(i).Kind);
        qToLittleEndian<quint32>(std::bit_cast<quint32>(path.GetPoint(i).Point.X), record + 1);
        qToLittleEndian<quint32>(std::bit_cast<quint32>(path.GetPoint(i).Point.Y), record + 5);
        payload.append(record, 9);
    }
    EXPECT_TRUE(bytes.contains(payload));

    path.SetFillMode(fmNonZero);
    path.SetFormatStr(u"0.0"_qs);
    QByteArray data = Stream(path);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TVelkPathData read;
    TReader(buffer).ReadRoot(read);
    EXPECT_EQ(read.FillMode(), fmNonZero);
    EXPECT_EQ(read.FormatStr(), "0.0");
    EXPECT_EQ(read.GetData(), path.GetData());
    read.LineTo({1, 1});
    read.ClosePath(); // the start point came with the entries
    EXPECT_EQ(read.GetPoint(read.Count() - 1).Point, (TPointF{0.5f, -1}));

    // An empty path writes no Path property.
    EXPECT_FALSE(Stream(TVelkPathData()).contains("\x04" "Path"));
    EXPECT_TRUE(bytes.contains("\x04" "Path"));
}

// Hands the binary "Path" property's reader to the test.
class TPathFiler : public TFiler {
public:
    std::function<void(QIODevice&)> ReadPath;
    void DefineProperty(const QString&, const std::function<void(TReader&)>&, const std::function<void(TWriter&)>&,
                        bool) override
    {
    }
    void DefineBinaryProperty(const QString& Name, const std::function<void(QIODevice&)>& ReadData,
                              const std::function<void(QIODevice&)>&, bool) override
    {
        if (Name == "Path")
            ReadPath = ReadData;
    }
};

QByteArray Record(int Kind, float X, float Y)
{
    char record[9];
    record[0] = static_cast<char>(Kind);
    qToLittleEndian<quint32>(std::bit_cast<quint32>(X), record + 1);
    qToLittleEndian<quint32>(std::bit_cast<quint32>(Y), record + 5);
    return QByteArray(record, 9);
}

QByteArray Count(qint32 N)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<qint32>(N, bytes.data());
    return bytes;
}

TEST(PathData, RefusesMalformedStreams)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct TCase {
        const char* Name;
        QByteArray Payload;
        const char* Message;
    };
    const TCase cases[] = {
        {"negative count", Count(-1), "Invalid stream format"},
        {"count beyond the data", Count(3) + Record(0, 1, 1), "Stream read error"},
        {"huge count", Count(std::numeric_limits<qint32>::max()), "Stream read error"},
        {"truncated count", QByteArray(2, '\0'), "Stream read error"},
        {"unknown kind", Count(1) + Record(4, 0, 0), "Invalid property value"},
        {"curve of two points", Count(3) + Record(0, 0, 0) + Record(2, 1, 1) + Record(2, 2, 2), "Invalid property value"},
        {"curve cut by a line", Count(4) + Record(2, 1, 1) + Record(2, 2, 2) + Record(1, 3, 3) + Record(2, 4, 4),
         "Invalid property value"},
        {"NaN coordinate", Count(1) + Record(0, nan, 0), "Invalid property value"},
        {"infinite coordinate", Count(1) + Record(1, 0, std::numeric_limits<float>::infinity()),
         "Invalid property value"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TVelkPathData path;
        path.SetData(u"M1 2 L3 4");
        TPathFiler filer;
        path.DefineProperties(filer);
        QByteArray payload = c.Payload;
        QBuffer buffer(&payload);
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(velk::testing::MessageOf<EReadError>([&] { filer.ReadPath(buffer); }), c.Message);
        EXPECT_EQ(path.GetData(), "M1,2 L3,4 "); // unchanged
    }
    // Six curve points are two curves.
    TVelkPathData path;
    TPathFiler filer;
    path.DefineProperties(filer);
    QByteArray payload = Count(7) + Record(0, 0, 0);
    for (int i = 1; i <= 6; ++i)
        payload += Record(2, float(i), float(i));
    QBuffer buffer(&payload);
    buffer.open(QIODevice::ReadOnly);
    filer.ReadPath(buffer);
    EXPECT_EQ(path.GetData(), "M0,0 C1,1 2,2 3,3 C4,4 5,5 6,6 ");
}

TEST(PathData, PublishedProperties)
{
    const auto& properties = TVelkPathData::StaticClass().Properties();
    ASSERT_EQ(properties.size(), 3u);
    EXPECT_EQ(properties[0]->Name, "FillMode");
    EXPECT_EQ(properties[1]->Name, "FormatStr");
    EXPECT_EQ(properties[2]->Name, "Data");
    TVelkPathData path;
    EXPECT_TRUE(properties[1]->HasDefaultValue(path));
    EXPECT_FALSE(properties[2]->IsStored(path));
    properties[2]->Set(path, TPropertyValue(u"M1 1 L2 2"_qs));
    EXPECT_EQ(std::get<QString>(properties[2]->Get(path)), "M1,1 L2,2 ");
}

TEST(PathArc, AddArcSegments)
{
    struct TCase {
        float Start;
        float Sweep;
        int Cubics;
        TPointF First;
        TPointF Last;
    };
    const TCase cases[] = {
        {0, 90, 1, {10, 0}, {0, 10}},
        {0, 90.5f, 1, {10, 0}, {-0.0872654f, 9.9996192f}},   // within the 0.57° slack
        {0, 100, 2, {10, 0}, {-1.7364818f, 9.8480775f}},
        {0, -90, 1, {10, 0}, {0, -10}},
        {0, 360, 4, {10, 0}, {10, 0}},
        {0, 720, 4, {10, 0}, {10, 0}},                        // clamped to a full turn
        {450, 90, 1, {0, 10}, {-10, 0}},                      // whole turns taken off the start
        {0, 0, 0, {}, {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Start << " " << c.Sweep);
        TVelkPathData path;
        path.AddArc({0, 0}, {10, 10}, c.Start, c.Sweep);
        if (c.Cubics == 0) {
            EXPECT_EQ(path.Count(), 0);
            continue;
        }
        ASSERT_EQ(path.Count(), 1 + 3 * c.Cubics);
        EXPECT_EQ(path.GetPoint(0).Kind, ppMoveTo);
        ExpectNear(path.GetPoint(0).Point, c.First);
        ExpectNear(path.LastPoint(), c.Last);
    }
    // The quarter circle's control points sit at the circle constant.
    TVelkPathData quarter;
    quarter.AddArc({0, 0}, {10, 10}, 0, 90);
    ExpectNear(quarter.GetPoint(1).Point, {10, 5.5228475f});
    ExpectNear(quarter.GetPoint(2).Point, {5.5228475f, 10});
    // On a path with entries the arc starts with a line; radii scale x and y apart.
    quarter.AddArc({0, 0}, {20, 5}, 180, 90);
    EXPECT_EQ(quarter.GetPoint(4).Kind, ppLineTo);
    ExpectNear(quarter.GetPoint(4).Point, {-20, 0});
    ExpectNear(quarter.LastPoint(), {0, -5});
}

TEST(PathArc, SVGArcToCentreConversion)
{
    struct TCase {
        const char16_t* Text;
        int Count;
        int Index;          // an entry to check
        TPointF AtIndex;
        TPointF Last;
    };
    const TCase cases[] = {
        // Quarter circle around (0, 10): the Bézier controls of a quarter.
        {u"M0,0 A10,10 0 0,1 10,10", 4, 1, {5.5228475f, 0}, {10, 10}},
        {u"M0,0 A10,10 0 0,1 10,10", 4, 2, {10, 4.4771525f}, {10, 10}},
        // Large arc: three quarters around (10, 0).
        {u"M0,0 A10,10 0 1,1 10,10", 10, 3, {10, -10}, {10, 10}},
        // Radii too small grow to reach the end: a half circle through (5, -5).
        {u"M0,0 A1,1 0 0,1 10,0", 7, 3, {5, -5}, {10, 0}},
        {u"M0,0 A1,1 0 0,0 10,0", 7, 3, {5, 5}, {10, 0}},
        // A rotated ellipse: major axis vertical, through (10, 20) half way.
        {u"M0,0 A20,10 90 0,1 0,40", 7, 3, {10, 20}, {0, 40}},
        // Negative radii count by their size.
        {u"M0,0 A-10,-10 0 0,1 10,10", 4, 1, {5.5228475f, 0}, {10, 10}},
        // A zero radius is a straight line (no NaN).
        {u"M0,0 A0,5 0 0,1 10,10", 2, 1, {10, 10}, {10, 10}},
        {u"M0,0 A5,0 0 1,1 10,10", 2, 1, {10, 10}, {10, 10}},
        // A chord too short for the radii to give a sweep in double precision: the chord.
        {u"M0,0 A3e38,3e38 0 1,1 1,1", 2, 1, {1, 1}, {1, 1}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        TVelkPathData path;
        path.SetData(c.Text);
        ASSERT_EQ(path.Count(), c.Count);
        EXPECT_TRUE(AllFinite(path));
        ExpectNear(path.GetPoint(c.Index).Point, c.AtIndex);
        ExpectNear(path.LastPoint(), c.Last);
    }
    // Equal end points: a full ellipse standing on the start point (path-data text
    // leaves such an arc out instead).
    TVelkPathData ellipse;
    ellipse.MoveTo({5, 5});
    ellipse.SVGArcTo({5, 5}, {2, 3}, {5, 5}, true, false, 0);
    ASSERT_EQ(ellipse.Count(), 14);
    ExpectNear(ellipse.GetPoint(10).Point, {5, 5});
    ExpectNear(ellipse.LastPoint(), {3, 2});
    EXPECT_TRUE(AllFinite(ellipse));
    EXPECT_EQ(ellipse.GetBounds(), MakeRectF(3, -1, 7, 5));
    // The arc ends on its end point exactly, so relative commands do not drift.
    TVelkPathData chain;
    chain.SetData(u"M0 0 a7 7 0 0 1 10 0 7 7 0 0 1 10 0 7 7 0 0 1 10 0");
    EXPECT_EQ(chain.LastPoint(), (TPointF{30, 0}));
}

} // namespace
