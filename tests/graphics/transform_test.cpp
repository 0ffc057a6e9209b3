#include "graphics/position.h"
#include "graphics/transform.h"
#include "platform/binary_reader.h"
#include "platform/binary_writer.h"
#include "platform/exceptions.h"
#include "tests/support/test_support.h"

#include <QBuffer>
#include <functional>
#include <gtest/gtest.h>

using namespace velk;

namespace {

// Counts the change events an object raises.
struct TEventCount {
    int Count = 0;
    TObject* Sender = nullptr;
    TNotifyEvent Handler()
    {
        return [this](TObject* s) {
            ++Count;
            Sender = s;
        };
    }
};

QByteArray Streamed(const std::function<void(TWriter&)>& Write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        TWriter writer(buffer);
        Write(writer);
    }
    return bytes;
}

QByteArray Streamed(const TPersistent& Root)
{
    return Streamed([&](TWriter& w) { w.WriteRoot(Root); });
}

void ReadInto(QByteArray Bytes, TPersistent& Root)
{
    QBuffer buffer(&Bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader(buffer).ReadRoot(Root);
}

// The entry names of a stand-alone stream, in order.
QStringList EntryNames(QByteArray Bytes)
{
    QBuffer buffer(&Bytes);
    buffer.open(QIODevice::ReadOnly);
    TReader reader(buffer);
    reader.ReadSignature();
    reader.ReadStr();
    reader.ReadStr();
    QStringList names;
    while (!reader.EndOfList()) {
        names += reader.ReadPropName();
        reader.SkipValue();
    }
    return names;
}

// A stand-alone stream of class ClassName with one string entry.
QByteArray StreamWithString(const QString& ClassName, const QString& Name, const QString& Value)
{
    return Streamed([&](TWriter& w) {
        w.WriteSignature();
        w.WriteStr(ClassName);
        w.WriteStr({});
        w.WritePropName(Name);
        w.WriteString(Value);
        w.WriteListEnd();
        w.WriteListEnd();
    });
}

void ExpectNear(const TPointF& Actual, const TPointF& Expected)
{
    EXPECT_NEAR(Actual.X, Expected.X, 1e-4) << "x of (" << Actual.X << ", " << Actual.Y << ")";
    EXPECT_NEAR(Actual.Y, Expected.Y, 1e-4) << "y of (" << Actual.X << ", " << Actual.Y << ")";
}

TEST(VelkPosition, ChangeEvents)
{
    TVelkPosition p({1, 2});
    TEventCount events;
    p.OnChange = events.Handler();
    struct Step {
        const char* Name;
        std::function<void()> Action;
        int Events;
        TPointF Point;
    } steps[] = {
        {"X unchanged", [&] { p.SetX(1); }, 0, {1, 2}},
        {"X", [&] { p.SetX(3); }, 1, {3, 2}},
        {"Y", [&] { p.SetY(4); }, 1, {3, 4}},
        {"Point unchanged", [&] { p.SetPoint({3, 4}); }, 1, {3, 4}},
        {"Vector ignores W", [&] { p.SetVector({5, 6, 9}); }, 1, {5, 6}},
        {"no-change write", [&] { p.SetPointNoChange({7, 8}); }, 0, {7, 8}},
        {"default value", [&] { p.SetDefaultValue({0, 0}); }, 0, {7, 8}},
        {"reflect", [&] { p.Reflect({0, 1, 0}); }, 1, {7, -8}},
        {"reflect, normal not normalised", [&] { p.SetPointNoChange({1, 2}); p.Reflect({0, 2, 0}); }, 1, {1, -14}},
        {"reflect ignores W", [&] { p.SetPointNoChange({1, 2}); p.Reflect({1, 0, 5}); }, 1, {-1, 2}},
    };
    for (const Step& step : steps) {
        events.Count = 0;
        step.Action();
        EXPECT_EQ(events.Count, step.Events) << step.Name;
        EXPECT_EQ(p.Point(), step.Point) << step.Name;
    }
    EXPECT_EQ(events.Sender, &p);
    EXPECT_EQ(p.Vector(), TVector(-1, 2, 1));
    EXPECT_EQ(p.DefaultValue(), TPointF(0, 0));
    EXPECT_FALSE(p.Empty());
    EXPECT_TRUE(TVelkPosition().Empty());
}

TEST(VelkPosition, Assign)
{
    TVelkPosition source({5, 6});
    TVelkPosition target({1, 1});
    TEventCount events;
    target.OnChange = events.Handler();
    target.Assign(&source);
    EXPECT_EQ(target.Point(), TPointF(5, 6));
    EXPECT_EQ(target.DefaultValue(), TPointF(1, 1));
    EXPECT_EQ(events.Count, 1);

    TVelkTransform transform;
    EXPECT_EQ(velk::testing::MessageOf<EConvertError>([&] { target.Assign(&transform); }),
              "Cannot assign a TVelkTransform to a TVelkPosition");
    EXPECT_EQ(velk::testing::MessageOf<EConvertError>([&] { target.Assign(nullptr); }),
              "Cannot assign a nil to a TVelkPosition");
}

TEST(VelkPosition, StreamsCoordinatesThatDifferFromTheDefault)
{
    struct Case {
        TPointF Point;
        QStringList Entries;
    } cases[] = {
        {{1, 1}, {}},
        {{1, 1.5f}, {u"Y"_qs}},
        {{0, 1}, {u"X"_qs}}, // 0 is written when the default is not 0
        {{-2, 0}, {u"X"_qs, u"Y"_qs}},
    };
    for (const Case& c : cases) {
        TVelkPosition written({1, 1});
        written.SetPoint(c.Point);
        const QByteArray bytes = Streamed(written);
        EXPECT_EQ(EntryNames(bytes), c.Entries);
        TVelkPosition read({1, 1});
        ReadInto(bytes, read);
        EXPECT_EQ(read.Point(), c.Point);
    }
}

TEST(VelkPosition, ReadsTheOlderPointForm)
{
    TVelkPosition p;
    TEventCount events;
    p.OnChange = events.Handler();
    ReadInto(StreamWithString(u"TVelkPosition"_qs, u"Point"_qs, u"(1.5,-2)"_qs), p);
    EXPECT_EQ(p.Point(), TPointF(1.5f, -2));
    EXPECT_EQ(events.Count, 1);
    ReadInto(StreamWithString(u"TVelkPosition"_qs, u"Point"_qs, u"(1,5 2,5)"_qs), p);
    EXPECT_EQ(p.Point(), TPointF(0, 0));
    // Never written back in that form.
    EXPECT_EQ(EntryNames(Streamed(p)), QStringList());
}

TEST(VelkTransform, MatrixFollowsItsParts)
{
    TVelkTransform t;
    EXPECT_TRUE(IsIdentityMatrix(t.Matrix()));
    EXPECT_EQ(t.Scale()->DefaultValue(), TPointF(1, 1));
    EXPECT_EQ(t.RotationCenter()->Point(), TPointF(0.5f, 0.5f));
    TEventCount events;
    t.OnChanged = events.Handler();

    t.Scale()->SetX(2);
    EXPECT_EQ(t.Matrix().m11, 2);
    EXPECT_EQ(events.Count, 1);
    EXPECT_EQ(events.Sender, &t);

    t.Scale()->SetPoint({2, 3});
    t.Position()->SetPoint({10, 20});
    EXPECT_EQ(PointTimesMatrix({1, 1}, t.Matrix()), TPointF(12, 23));
    EXPECT_EQ(events.Count, 3);

    // The setters copy into the owned positions, which are never replaced.
    TVelkPosition skew({0.5f, 0});
    TVelkPosition* owned = t.Skew();
    t.SetSkew(skew);
    EXPECT_EQ(t.Skew(), owned);
    EXPECT_EQ(events.Count, 4);
    EXPECT_EQ(t.Matrix(), TMatrix(2, 0, 0.5f, 0, 3, 0, 10, 20, 1));

    // RotationCenter does not enter the matrix.
    t.SetRotationCenter(TVelkPosition({0, 0}));
    EXPECT_EQ(events.Count, 5);
    EXPECT_EQ(t.Matrix(), TMatrix(2, 0, 0.5f, 0, 3, 0, 10, 20, 1));

    // No-change writes leave the matrix as it was.
    t.Position()->SetPointNoChange({0, 0});
    EXPECT_EQ(t.Matrix().m31, 10);
    EXPECT_EQ(events.Count, 5);
}

TEST(VelkTransform, Rotation)
{
    TVelkTransform t;
    TEventCount events;
    t.OnChanged = events.Handler();
    t.SetRotationAngle(90);
    t.SetRotationAngle(90);
    EXPECT_EQ(events.Count, 1);
    EXPECT_TRUE(SameMatrix(t.Matrix(), {0, 1, 0, -1, 0, 0, 0, 0, 1}, 1e-6f));

    int asked = 0;
    t.OnGetShapeRect = [&](TObject* Sender, TRectF& aRect) {
        EXPECT_EQ(Sender, &t);
        ++asked;
        aRect = {0, 0, 100, 50};
    };
    t.Scale()->SetY(1); // unchanged: nothing is asked
    EXPECT_EQ(asked, 0);
    t.SetRotationAngle(-90);
    t.SetRotationAngle(90);
    EXPECT_EQ(asked, 2);
    ExpectNear(PointTimesMatrix({50, 25}, t.Matrix()), {50, 25});
    ExpectNear(PointTimesMatrix({100, 25}, t.Matrix()), {50, 75}); // clockwise on screen

    // Scale and translation apply before the rotation.
    t.Position()->SetX(10);
    ExpectNear(PointTimesMatrix({40, 25}, t.Matrix()), {50, 25});
}

TEST(VelkTransform, AssignCopiesThePositionsButNotTheAngle)
{
    TVelkTransform source;
    source.Position()->SetPoint({10, 20});
    source.Scale()->SetPoint({2, 3});
    source.Skew()->SetPoint({0.5f, 0});
    source.RotationCenter()->SetPoint({0, 1});
    source.SetRotationAngle(30);

    TVelkTransform target;
    TEventCount events;
    target.OnChanged = events.Handler();
    target.Assign(&source);
    EXPECT_EQ(events.Count, 1);
    EXPECT_EQ(target.RotationAngle(), 0);
    EXPECT_EQ(target.RotationCenter()->Point(), TPointF(0, 1));
    EXPECT_EQ(target.Matrix(), TMatrix(2, 0, 0.5f, 0, 3, 0, 10, 20, 1));

    EXPECT_EQ(velk::testing::MessageOf<EConvertError>([&] { target.Assign(source.Scale()); }),
              "Cannot assign a TVelkPosition to a TVelkTransform");
}

TEST(VelkTransform, BinaryRoundTrip)
{
    TVelkTransform plain;
    EXPECT_EQ(EntryNames(Streamed(plain)), QStringList());

    TVelkTransform written;
    written.Position()->SetX(10);
    written.Scale()->SetY(0);
    written.RotationCenter()->SetPoint({0.25f, 0.5f});
    written.SetRotationAngle(45);
    const QByteArray bytes = Streamed(written);
    EXPECT_EQ(EntryNames(bytes),
              QStringList({u"Position.X"_qs, u"Scale.Y"_qs, u"RotationCenter.X"_qs, u"RotationAngle"_qs}));

    TVelkTransform read;
    TEventCount events;
    read.OnChanged = events.Handler();
    ReadInto(bytes, read);
    EXPECT_EQ(events.Count, 4);
    EXPECT_EQ(read.Position()->Point(), TPointF(10, 0));
    EXPECT_EQ(read.Scale()->Point(), TPointF(1, 0));
    EXPECT_EQ(read.RotationCenter()->Point(), TPointF(0.25f, 0.5f));
    EXPECT_EQ(read.RotationAngle(), 45);
    EXPECT_EQ(read.Matrix(), written.Matrix());

    // The older form of a nested position.
    TVelkTransform legacy;
    ReadInto(StreamWithString(u"TVelkTransform"_qs, u"Position.Point"_qs, u"(3.5,4)"_qs), legacy);
    EXPECT_EQ(legacy.Matrix().m31, 3.5f);
    EXPECT_EQ(legacy.Matrix().m32, 4);
}

} // namespace
