#include "comm/NotifySink.h"

namespace vortana {

Notification Notification::Received(std::span<const std::uint8_t> bytes) {
    Notification n;
    n.Kind = NotificationKind::DataReceived;
    n.Bytes.reserve(bytes.size() + 1);
    n.Bytes.assign(bytes.begin(), bytes.end());
    n.Bytes.push_back(0);
    return n;
}

std::uint16_t Notification::ByteCount() const {
    return Bytes.empty() ? 0 : static_cast<std::uint16_t>(Bytes.size() - 1);
}

}  // namespace vortana
