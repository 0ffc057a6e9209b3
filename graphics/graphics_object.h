#pragma once
// TVelkGPGraphicsObject: the base of every drawing-backend object (pens, brushes, fonts,
// string formats, paths, regions, images, line caps). It keeps its settings in fields
// and builds the Qt object that draws with them lazily; it may belong to a canvas.
//
// Ownership: objects are owned by whoever created them (a std::unique_ptr, or a member).
// A canvas only keeps a list of the objects created with it as owner. An object leaving
// unregisters itself; a canvas leaving first releases the objects still registered (they
// live on without owner), so neither side ever holds a dangling pointer.

#include "graphics/geometry.h"
#include "platform/persistent.h"

#include <memory>

namespace velk {

class TVelkGPCanvas;

// What happened to an object a canvas tracks.
enum TOperation { opInsert, opRemove };

class TVelkGPGraphicsObject : public TPersistent {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Registers with AOwner when one is given.
    explicit TVelkGPGraphicsObject(TVelkGPCanvas* AOwner = nullptr);
    ~TVelkGPGraphicsObject() override;
    TVelkGPGraphicsObject(const TVelkGPGraphicsObject&) = delete;
    TVelkGPGraphicsObject& operator=(const TVelkGPGraphicsObject&) = delete;

    TVelkGPCanvas* Owner() const { return FOwner; }
    // Canvas is going away: forget it when it is the owner.
    virtual void OwnerReleased(TVelkGPCanvas* Canvas);

    // A new object of the same class with the same owner, assigned from this one.
    std::unique_ptr<TVelkGPGraphicsObject> Clone() const;
    template <typename T>
    std::unique_ptr<T> CloneAs() const
    {
        return std::unique_ptr<T>(static_cast<T*>(Clone().release()));
    }

    // Makes the object ready to draw aRect at Opacity and returns the object to draw
    // with; the base returns itself. The canvas calls it on a clone when Opacity < 1, so
    // its own objects never change by drawing.
    virtual TVelkGPGraphicsObject* Prepare(const TRectF& aRect, float Opacity);
    // Re-creates the Qt object from the fields; the base does nothing.
    virtual void Update();

    // Raised after every change (the classic API also calls it OnChanged).
    TNotifyEvent OnChange;

protected:
    // An object of the same class (the virtual constructor), used by Clone.
    virtual std::unique_ptr<TVelkGPGraphicsObject> CreateSame(TVelkGPCanvas* AOwner) const = 0;
    // Drops the lazily built Qt object, so that the next use rebuilds it.
    virtual void DestroyHandle() {}
    void Changed();
    // Stores a setting that differs: the Qt object is rebuilt on next use and the change
    // reported. Returns whether anything changed.
    template <typename T>
    bool Store(T& Field, const T& Value)
    {
        if (Field == Value)
            return false;
        Field = Value;
        DestroyHandle();
        Changed();
        return true;
    }

private:
    TVelkGPCanvas* FOwner;
};

template <>
struct EnumNames<TOperation> {
    static constexpr std::array<std::u16string_view, 2> Names{u"opInsert", u"opRemove"};
};

} // namespace velk
