#include "graphics/graphics_object.h"

#include "graphics/canvas.h"
#include "tests/support/gui_application.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velk {
namespace {

// The smallest complete graphics object: one value, copied by Assign.
class TSample : public TVelkGPGraphicsObject {
public:
    using TVelkGPGraphicsObject::TVelkGPGraphicsObject;

    int Value() const { return FValue; }
    void SetValue(int Value)
    {
        if (Value == FValue)
            return;
        FValue = Value;
        Changed();
    }

    void Assign(const TPersistent* Source) override
    {
        if (const auto* sample = dynamic_cast<const TSample*>(Source))
            SetValue(sample->FValue);
        else
            TVelkGPGraphicsObject::Assign(Source);
    }

protected:
    std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const override
    {
        return std::make_unique<TSample>(AOwner);
    }

private:
    int FValue = 0;
};

bool IsRegistered(const TVelkGPCanvas& Canvas, const TVelkGPGraphicsObject* Object)
{
    const auto& objects = Canvas.GPObjects();
    return std::find(objects.begin(), objects.end(), Object) != objects.end();
}

class GraphicsObject : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::EnsureGuiApplication(); }
};

TEST_F(GraphicsObject, WithoutOwnerNothingIsTracked)
{
    TVelkGPCanvas canvas;
    const auto before = canvas.GPObjects();
    TSample sample;
    EXPECT_EQ(sample.Owner(), nullptr);
    EXPECT_EQ(canvas.GPObjects(), before);
}

TEST_F(GraphicsObject, OwnedObjectsAreListedUntilDestroyed)
{
    TVelkGPCanvas canvas;
    const std::size_t own = canvas.GPObjects().size(); // the canvas's pen, brush, font, format
    auto first = std::make_unique<TSample>(&canvas);
    auto second = std::make_unique<TSample>(&canvas);
    EXPECT_EQ(first->Owner(), &canvas);
    ASSERT_EQ(canvas.GPObjects().size(), own + 2);
    EXPECT_EQ(canvas.GPObjects()[own], first.get());
    EXPECT_EQ(canvas.GPObjects()[own + 1], second.get());

    first.reset();
    EXPECT_EQ(canvas.GPObjects().size(), own + 1);
    EXPECT_TRUE(IsRegistered(canvas, second.get()));
}

TEST_F(GraphicsObject, CanvasLeavingFirstReleasesItsObjects)
{
    auto canvas = std::make_unique<TVelkGPCanvas>();
    auto sample = std::make_unique<TSample>(canvas.get());
    sample->SetValue(7);
    canvas.reset();
    // The object lives on without owner; destroying it later touches no dead canvas.
    EXPECT_EQ(sample->Owner(), nullptr);
    EXPECT_EQ(sample->Value(), 7);
    sample.reset();
}

TEST_F(GraphicsObject, ReleaseByAnotherCanvasKeepsTheOwner)
{
    TVelkGPCanvas canvas;
    TVelkGPCanvas other;
    TSample sample(&canvas);
    sample.OwnerReleased(&other);
    EXPECT_EQ(sample.Owner(), &canvas);
}

TEST_F(GraphicsObject, CloneKeepsTheOwnerAndRegisters)
{
    TVelkGPCanvas canvas;
    TSample sample(&canvas);
    sample.SetValue(42);
    const auto clone = sample.CloneAs<TSample>();
    EXPECT_EQ(clone->Owner(), &canvas);
    EXPECT_EQ(clone->Value(), 42);
    EXPECT_TRUE(IsRegistered(canvas, clone.get()));

    const TSample loose;
    EXPECT_EQ(loose.Clone()->Owner(), nullptr);
}

TEST_F(GraphicsObject, ChangesRaiseOnChangeWithTheSender)
{
    TSample sample;
    TObject* sender = nullptr;
    int changes = 0;
    sample.OnChange = [&](TObject* Sender) {
        sender = Sender;
        ++changes;
    };
    sample.SetValue(1);
    sample.SetValue(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &sample);
}

TEST_F(GraphicsObject, PrepareDrawsWithTheObjectItself)
{
    TSample sample;
    EXPECT_EQ(sample.Prepare(TRectF{0, 0, 10, 10}, 0.5f), &sample);
}

} // namespace
} // namespace velk
