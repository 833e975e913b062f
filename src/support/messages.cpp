#include "support/messages.h"

namespace zr730 {
MessageService::~MessageService() = default;
FileDialogService::~FileDialogService() = default;
} // namespace zr730
