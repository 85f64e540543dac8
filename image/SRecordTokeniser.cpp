#include "image/SRecordTokeniser.h"

namespace vortana {

void SRecordTokeniser::StartLine() {
    const std::size_t feed = file_.find('\n', lineStart_);
    lineEnd_ = feed == std::string_view::npos ? file_.size() : feed;
    if (feed != std::string_view::npos && lineEnd_ > lineStart_ && file_[lineEnd_ - 1] == '\r')
        --lineEnd_;
    next_ = lineStart_;
    inLine_ = true;
}

SRecordTokeniser::Step SRecordTokeniser::Next(std::string_view& token) {
    if (!inLine_) {
        if (lineStart_ >= file_.size())
            return Step::FileEnd;
        StartLine();
    }
    if (lineEnd_ - next_ >= 2) {
        token = file_.substr(next_, 2);
        next_ += 2;
        return Step::Token;
    }
    // The line is done; the next one starts after its line feed.
    const std::size_t feed = file_.find('\n', lineEnd_);
    lineStart_ = feed == std::string_view::npos ? file_.size() : feed + 1;
    inLine_ = false;
    return Step::LineEnd;
}

}  // namespace vortana
