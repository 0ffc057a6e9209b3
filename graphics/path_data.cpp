#include "graphics/path_data.h"

#include "graphics/path_math.h"
#include "platform/exceptions.h"
#include "platform/float_format.h"
#include "platform/streams.h"

#include <QByteArray>
#include <QIODevice>
#include <QtEndian>
#include <bit>
#include <cmath>

namespace velk {

using path_math::Plus;
using path_math::Toward;

namespace {

// One streamed entry: kind byte, X and Y as little-endian singles.
constexpr qint64 RecordSize = 9;

} // namespace

const TClassInfo& TVelkPathData::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TVelkPathData"), &TPersistent::StaticClass(),
                                 &CreateInstance<TVelkPathData>,
                                 TPublished<TVelkPathData>()
                                     .Enumeration(QStringLiteral("FillMode"), &TVelkPathData::FillMode,
                                                  &TVelkPathData::SetFillMode) // no default: always stored
                                     .String(QStringLiteral("FormatStr"), &TVelkPathData::FormatStr,
                                             &TVelkPathData::SetFormatStr, DefaultFormatStr.toString())
                                     .String(QStringLiteral("Data"), &TVelkPathData::GetData, &TVelkPathData::SetData)
                                     .NeverStored() // the binary "Path" carries the entries
                                     .Take());
    return info;
}

TVelkPathData::TVelkPathData() : FFormatStr(DefaultFormatStr.toString()) {}

// --- Lifecycle and notification ---

std::unique_ptr<TVelkPathData> TVelkPathData::Clone() const
{
    std::unique_ptr<TVelkPathData> result = ClassInfo().CreateAs<TVelkPathData>();
    result->Assign(this);
    return result;
}

void TVelkPathData::Assign(const TPersistent* Source)
{
    const auto* source = dynamic_cast<const TVelkPathData*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    FPathData = source->FPathData;
    FFillMode = source->FFillMode;
    FFormatStr = source->FFormatStr;
    // A ClosePath after the copy closes the copied subpath.
    FStartPoint = LastMovePoint();
    DoChanged();
    // A clone keeps what the source has already measured.
    FPolygonsValid = source->FPolygonsValid;
    FPolygons = source->FPolygons;
    FLengthValid = source->FLengthValid;
    FLength = source->FLength;
    FDistances = source->FDistances;
}

void TVelkPathData::BeginUpdate()
{
    ++FUpdateCount;
}

void TVelkPathData::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0)
        DoChanged();
}

// The caches go stale at once, so that queries inside an update bracket (bounds for
// FitToRect, say) see the change; only the event waits for the bracket to close.
void TVelkPathData::DoChanged()
{
    FRecalcBounds = true;
    FPolygonsValid = false;
    FPolygons.clear();
    FLengthValid = false;
    FLength = 0;
    FDistances.clear();
    if (FUpdateCount == 0 && OnChanged)
        OnChanged(this);
}

void TVelkPathData::Clear()
{
    FPathData.clear();
    FStartPoint = {};
    DoChanged();
}

void TVelkPathData::SetFillMode(TVelkFillMode Value)
{
    if (Value == FFillMode)
        return;
    FFillMode = Value;
    DoChanged();
}

void TVelkPathData::SetFormatStr(const QString& Value)
{
    if (Value == FFormatStr)
        return;
    FormatFloat(Value, 123.45); // raises for an invalid pattern before anything changes
    FFormatStr = Value;
}

TPointF TVelkPathData::LastMovePoint() const
{
    for (auto e = FPathData.rbegin(); e != FPathData.rend(); ++e)
        if (e->Kind == ppMoveTo)
            return e->Point;
    return {};
}

// --- Commands ---

void TVelkPathData::Add(TVelkPathPointKind Kind, const TPointF& P)
{
    FPathData.push_back({Kind, P});
}

void TVelkPathData::AddCurve(const TPointF& ControlPoint1, const TPointF& ControlPoint2, const TPointF& EndPoint)
{
    Add(ppCurveTo, ControlPoint1);
    Add(ppCurveTo, ControlPoint2);
    Add(ppCurveTo, EndPoint);
}

void TVelkPathData::MoveTo(const TPointF& P)
{
    Add(ppMoveTo, P);
    FStartPoint = P;
    DoChanged();
}

void TVelkPathData::MoveToRel(const TPointF& P)
{
    MoveTo(Plus(LastPoint(), P));
}

void TVelkPathData::LineTo(const TPointF& P)
{
    Add(ppLineTo, P);
    DoChanged();
}

void TVelkPathData::LineToRel(const TPointF& P)
{
    LineTo(Plus(LastPoint(), P));
}

void TVelkPathData::HLineTo(float X)
{
    LineTo({X, LastPoint().Y});
}

void TVelkPathData::HLineToRel(float X)
{
    LineTo(Plus(LastPoint(), {X, 0}));
}

void TVelkPathData::VLineTo(float Y)
{
    LineTo({LastPoint().X, Y});
}

void TVelkPathData::VLineToRel(float Y)
{
    LineTo(Plus(LastPoint(), {0, Y}));
}

void TVelkPathData::CurveTo(const TPointF& ControlPoint1, const TPointF& ControlPoint2, const TPointF& EndPoint)
{
    AddCurve(ControlPoint1, ControlPoint2, EndPoint);
    DoChanged();
}

void TVelkPathData::CurveToRel(const TPointF& ControlPoint1, const TPointF& ControlPoint2, const TPointF& EndPoint)
{
    const TPointF current = LastPoint();
    CurveTo(Plus(current, ControlPoint1), Plus(current, ControlPoint2), Plus(current, EndPoint));
}

void TVelkPathData::QuadCurveTo(const TPointF& ControlPoint, const TPointF& EndPoint)
{
    const TPointF current = LastPoint();
    CurveTo(Toward(current, ControlPoint, 2.0 / 3), Toward(EndPoint, ControlPoint, 2.0 / 3), EndPoint);
}

namespace {

// The first control point of a smooth curve: the point before the current one
// reflected through it. Any entry counts as "before", a line's start included.
TPointF SmoothControlPoint(const std::vector<TVelkPathPoint>& Entries, const TPointF& Current)
{
    if (Entries.size() >= 3 && Entries.back().Kind != ppMoveTo)
        return Toward(Entries[Entries.size() - 2].Point, Current, 2);
    return Current;
}

} // namespace

void TVelkPathData::SmoothCurveTo(const TPointF& ControlPoint2, const TPointF& EndPoint)
{
    CurveTo(SmoothControlPoint(FPathData, LastPoint()), ControlPoint2, EndPoint);
}

void TVelkPathData::SmoothCurveToRel(const TPointF& ControlPoint2, const TPointF& EndPoint)
{
    const TPointF current = LastPoint();
    CurveTo(SmoothControlPoint(FPathData, current), Plus(current, ControlPoint2), Plus(current, EndPoint));
}

void TVelkPathData::ClosePath()
{
    Add(ppClose, FStartPoint);
    DoChanged();
}

void TVelkPathData::Append(const TVelkPathData& Source)
{
    if (FPathData.empty()) {
        Assign(&Source);
        return;
    }
    if (Source.FPathData.empty())
        return;
    if (&Source == this) {
        const std::vector<TVelkPathPoint> copy = FPathData;
        FPathData.insert(FPathData.end(), copy.begin(), copy.end());
    } else {
        FPathData.insert(FPathData.end(), Source.FPathData.begin(), Source.FPathData.end());
    }
    FStartPoint = LastMovePoint();
    DoChanged();
}

void TVelkPathData::Append(QStringView PathString)
{
    TVelkPathData parsed;
    parsed.SetData(PathString);
    Append(parsed);
}

// --- Streaming ---

void TVelkPathData::DefineProperties(TFiler& Filer)
{
    TPersistent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        QStringLiteral("Path"), [this](QIODevice& Stream) { ReadPath(Stream); },
        [this](QIODevice& Stream) { WritePath(Stream); }, !FPathData.empty());
}

void TVelkPathData::WritePath(QIODevice& Stream) const
{
    QByteArray bytes(4 + RecordSize * static_cast<qint64>(FPathData.size()), Qt::Uninitialized);
    char* out = bytes.data();
    qToLittleEndian<qint32>(Count(), out);
    out += 4;
    for (const TVelkPathPoint& e : FPathData) {
        *out = static_cast<char>(e.Kind);
        qToLittleEndian<quint32>(std::bit_cast<quint32>(e.Point.X), out + 1);
        qToLittleEndian<quint32>(std::bit_cast<quint32>(e.Point.Y), out + 5);
        out += RecordSize;
    }
    WriteBuffer(Stream, bytes.constData(), bytes.size());
}

// The stream is untrusted: the count is checked against the bytes there before
// anything is allocated, and entries that would break the entry rules (unknown kinds,
// curves not in threes, non-finite coordinates) are refused, leaving the path as it was.
void TVelkPathData::ReadPath(QIODevice& Stream)
{
    qint32 count = 0;
    ReadBuffer(Stream, &count, sizeof count);
    count = qFromLittleEndian(count);
    if (count < 0)
        throw EReadError(messages::InvalidImage);
    const qint64 size = RecordSize * count;
    if (size > BytesLeft(Stream))
        throw EReadError(messages::ReadError);
    QByteArray bytes(size, Qt::Uninitialized);
    ReadBuffer(Stream, bytes.data(), size);

    std::vector<TVelkPathPoint> entries;
    entries.reserve(static_cast<std::size_t>(count));
    int curvePoints = 0;
    for (const char* in = bytes.constData(); in < bytes.constData() + size; in += RecordSize) {
        const auto kind = static_cast<unsigned char>(*in);
        const float x = std::bit_cast<float>(qFromLittleEndian<quint32>(in + 1));
        const float y = std::bit_cast<float>(qFromLittleEndian<quint32>(in + 5));
        if (kind > ppClose || !std::isfinite(x) || !std::isfinite(y))
            throw EReadError(messages::InvalidPropertyValue);
        if (kind == ppCurveTo)
            ++curvePoints;
        else if (curvePoints % 3 != 0)
            throw EReadError(messages::InvalidPropertyValue);
        entries.push_back({static_cast<TVelkPathPointKind>(kind), {x, y}});
    }
    if (curvePoints % 3 != 0)
        throw EReadError(messages::InvalidPropertyValue);
    FPathData = std::move(entries);
    FStartPoint = LastMovePoint();
    DoChanged();
}

} // namespace velk
