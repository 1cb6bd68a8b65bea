#include "xml/element_index.h"

#include <algorithm>
#include <limits>

namespace xml {

void ElementIndex::Reserve(int32_t records) {
    if (records <= capacity_) return;
    const size_t pagesNeeded = (static_cast<size_t>(records) + kPageSize - 1) / kPageSize;
    if (pagesNeeded > pages_.size()) pages_.resize(pagesNeeded * 2 + 4);

    // Page 0 grows in place of a full page while it is the only one.
    const int32_t firstPage = pagesNeeded == 1 ? records : kPageSize;
    if (firstPageSize_ < firstPage) {
        // Deliberately not value-initialised: records are written when taken.
        std::unique_ptr<ElementRecord[]> page(new ElementRecord[firstPage]);
        if (pages_[0]) std::copy(pages_[0].get(), pages_[0].get() + firstPageSize_, page.get());
        pages_[0] = std::move(page);
        firstPageSize_ = firstPage;
    }
    for (size_t page = 1; page < pagesNeeded; ++page) {
        if (!pages_[page]) pages_[page].reset(new ElementRecord[kPageSize]);
    }
    capacity_ = records;
}

bool ElementIndex::Grow() {
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    if (capacity_ >= kMax) return false;
    const int64_t grown = static_cast<int64_t>(capacity_) + std::max<int64_t>(capacity_ / 2, 1);
    Reserve(static_cast<int32_t>(std::min(grown, kMax)));
    return true;
}

void ElementIndex::Release() {
    pages_.clear();
    pages_.shrink_to_fit();
    capacity_ = 0;
    firstPageSize_ = 0;
}

}  // namespace xml
