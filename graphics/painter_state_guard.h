#pragma once
// Saves a QPainter's state for temporary changes and restores it on every exit path.

#include <QPainter>

namespace velk {

class TPainterStateGuard {
public:
    explicit TPainterStateGuard(QPainter& Painter) : FPainter(Painter) { FPainter.save(); }
    ~TPainterStateGuard() { FPainter.restore(); }
    TPainterStateGuard(const TPainterStateGuard&) = delete;
    TPainterStateGuard& operator=(const TPainterStateGuard&) = delete;

private:
    QPainter& FPainter;
};

} // namespace velk
