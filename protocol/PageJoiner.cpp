#include "protocol/PageJoiner.h"

#include <algorithm>

namespace vortana {

void PageJoiner::Clear() {
    pending_.clear();
    taken_ = 0;
}

void PageJoiner::Append(std::span<const std::uint8_t> bytes) {
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(taken_));
    taken_ = 0;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
}

bool PageJoiner::TakePage(ReadOutPage& page) {
    if (pending_.size() - taken_ < kPageBytes)
        return false;
    std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(taken_), kPageBytes, page.begin());
    taken_ += kPageBytes;
    return true;
}

}  // namespace vortana
