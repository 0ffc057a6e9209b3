#include "platform/exceptions.h"

namespace velk {

Exception::Exception(QString message) : FMessage(std::move(message)), FUtf8(FMessage.toUtf8()) {}

} // namespace velk
