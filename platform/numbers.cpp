#include "platform/numbers.h"

#include "platform/exceptions.h"

namespace velk::detail {

void RaiseInvalidFloatOperation()
{
    throw EInvalidOp(messages::InvalidFloatOperation);
}

} // namespace velk::detail
