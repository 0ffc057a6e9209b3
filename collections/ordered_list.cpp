#include "collections/ordered_list.h"

#include "platform/exceptions.h"

namespace velk {

const TClassInfo& TVelkObjectOrderedList::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TVelkObjectOrderedList"), &TObject::StaticClass());
    return info;
}

void TVelkObjectOrderedList::Assign(const TObject* Source)
{
    const auto* source = dynamic_cast<const TVelkObjectOrderedList*>(Source);
    if (!source)
        throw EConvertError(messages::AssignError, Source ? Source->ClassName() : QStringLiteral("nil"), ClassName());
    if (source == this)
        return;
    Clear();
    for (TObject* object : *source)
        Add(object);
}

std::unique_ptr<TVelkObjectOrderedList> TVelkObjectOrderedList::Clone() const
{
    std::unique_ptr<TVelkObjectOrderedList> result = ClassInfo().CreateAs<TVelkObjectOrderedList>();
    result->Assign(this);
    return result;
}

const TClassInfo& TVelkObjectQueue::StaticClass()
{
    static const TClassInfo info(QStringLiteral("TVelkObjectQueue"), &TVelkObjectOrderedList::StaticClass(),
                                 &CreateInstance<TVelkObjectQueue>);
    return info;
}

int TVelkObjectQueue::Push(TObject* Value)
{
    return Add(Value);
}

TObject* TVelkObjectQueue::Pop()
{
    TObject* result = Top();
    Delete(0);
    return result;
}

TObject* TVelkObjectQueue::Top() const
{
    if (Empty())
        throw EListError(messages::ListEmpty);
    return First();
}

} // namespace velk
