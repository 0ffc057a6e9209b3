#pragma once
// TVelkAssignList<T>: the platform list with wholesale copying.

#include "platform/list.h"

namespace velk {

template <typename T>
class TVelkAssignList : public TList<T> {
public:
    // Empties the list, then appends Source's items in order (each step notified).
    void Assign(const TVelkAssignList& Source)
    {
        if (&Source == this)
            return;
        this->Clear();
        for (const T& item : Source)
            this->Add(item);
    }
};

} // namespace velk
