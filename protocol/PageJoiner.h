// Joins the bytes of a read-out into 4096-byte pages, whatever bursts they arrive in.
//
// The device sends each page as one burst, but the line may cut a burst in two or run two bursts
// together; listing every event of six bytes or more as a page of its own would show stale bytes
// from an earlier event, or lose the second page. Bytes are kept in arrival order until a whole
// page can be taken. Owned by the dispatcher; Qt-free; one thread.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "shell/SessionState.h"

namespace vortana {

using ReadOutPage = std::array<std::uint8_t, kPageBytes>;

class PageJoiner {
  public:
    // Forgets every byte kept so far: a new read-out starts.
    void Clear();

    // True while bytes are kept that do not yet make a whole page.
    bool PartlyReceived() const { return pending_.size() > taken_; }

    void Append(std::span<const std::uint8_t> bytes);

    // Moves the oldest whole page into `page`; false (and `page` untouched) when there is none.
    bool TakePage(ReadOutPage& page);

  private:
    std::vector<std::uint8_t> pending_;
    std::size_t taken_ = 0;  // bytes at the front of pending_ already handed out as pages
};

}  // namespace vortana
