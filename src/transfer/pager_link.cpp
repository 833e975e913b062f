#include "transfer/pager_link.h"

namespace zr730 {
TransferProgress::~TransferProgress() = default;
BoardStatusView::~BoardStatusView() = default;
PagerLink::~PagerLink() = default;
} // namespace zr730
