#include "graphics/graphics_object.h"

#include "graphics/canvas.h"

namespace velk {

const TClassInfo& TVelkGPGraphicsObject::StaticClass()
{
    static const TClassInfo info(u"TVelkGPGraphicsObject"_qs, &TPersistent::StaticClass());
    return info;
}

TVelkGPGraphicsObject::TVelkGPGraphicsObject(TVelkGPCanvas* AOwner) : FOwner(AOwner)
{
    if (FOwner)
        FOwner->ObjectNotification(this, opInsert);
}

TVelkGPGraphicsObject::~TVelkGPGraphicsObject()
{
    if (FOwner)
        FOwner->ObjectNotification(this, opRemove);
}

void TVelkGPGraphicsObject::OwnerReleased(TVelkGPCanvas* Canvas)
{
    if (Canvas == FOwner)
        FOwner = nullptr;
}

std::unique_ptr<TVelkGPGraphicsObject> TVelkGPGraphicsObject::Clone() const
{
    auto result = CreateSame(FOwner);
    result->Assign(this);
    return result;
}

TVelkGPGraphicsObject* TVelkGPGraphicsObject::Prepare(const TRectF&, float)
{
    return this;
}

void TVelkGPGraphicsObject::Update()
{
}

void TVelkGPGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

} // namespace velk
