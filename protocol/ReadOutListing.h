// Where a read-out page is listed and the rows it adds to the read-out view.
//
// Models whose code carries a 4 KiB additional window (1000 to 1FFF or B000 to BFFF) send that
// window as their first page and the main flash from the second page on; every other model is
// listed from FlashStart in one continuous run. Qt-free.
#pragma once

#include "image/ImageLayout.h"
#include "protocol/PageJoiner.h"
#include "shell/SessionState.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vortana {

// The address of the first row of the page that ReadPageCount now counts (1 for the first
// page): the image's page address (PageAddress, the model's window read from ModelCode's code
// byte, FlashStart read as hexadecimal with default 0) for the window and the first page of the
// main flash, and from there on ReadRowAddress, which runs on from the previous page. The count
// wraps at 256, so the 257th page counts as a first page again.
std::uint32_t PageStartAddress(const SessionState& state);

// The 256 hex dump rows of a page, the first at `address`, each 16 above the one before.
std::vector<std::string> PageRows(std::uint32_t address, const ReadOutPage& page);

}  // namespace vortana
