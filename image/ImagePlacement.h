// ImagePlacement: the image layer of the S-record loader, the sink that the record parser
// hands its records to. It holds a working image of the chosen model's size, every byte "FF" to
// begin with, checks each record's address against the model and places S1 data.
//
// Each byte is kept both as the two characters that stand in the file (lower-case digits kept,
// so the listing shows them as written) and as its value (the characters read as hexadecimal,
// 0 when they are not). A later record overwrites an earlier one's bytes. Data that does not lie
// wholly in the image is refused, so nothing is ever written outside it.
//
// Qt-free; owns its working image (one allocation per load); used by one thread.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "image/ImageLayout.h"
#include "image/SRecordParser.h"

namespace vortana {

class ImagePlacement final : public SRecordSink {
  public:
    explicit ImagePlacement(const ImageLayout& layout);

    bool Fits(const SRecordHead& head) override;
    void Store(const SRecordHead& head, std::string_view data) override;

    // The values of the image's bytes, layout.size of them.
    std::span<const std::uint8_t> Values() const { return values_; }
    // The file characters of byte `index`, two of them.
    std::string_view Chars(std::uint32_t index) const {
        return std::string_view(chars_.data() + 2 * std::size_t{index}, 2);
    }
    // Writes the image into the first layout.size entries of `imageText`, each as "$" and the
    // byte's two characters. Entries past them are left alone.
    void CopyTo(std::span<std::string> imageText) const;

  private:
    ImageLayout layout_;
    std::vector<char> chars_;  // two per byte
    std::vector<std::uint8_t> values_;
};

}  // namespace vortana
