#include "image/SRecordTokeniser.h"

#include <algorithm>

namespace vortana {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";  // UTF-8, as some editors save
constexpr std::string_view kLineEnds = "\r\n";
constexpr std::string_view kBlanks = " \t";

}  // namespace

SRecordTokeniser::SRecordTokeniser(std::string_view file) : file_(file) {
    if (file_.starts_with(kByteOrderMark))
        lineStart_ = kByteOrderMark.size();
}

void SRecordTokeniser::StartLine() {
    lineEnd_ = std::min(file_.find_first_of(kLineEnds, lineStart_), file_.size());
    const std::string_view line = file_.substr(lineStart_, lineEnd_ - lineStart_);
    next_ = line.find_first_not_of(kBlanks) == std::string_view::npos ? lineEnd_ : lineStart_;
    inLine_ = true;
}

std::size_t SRecordTokeniser::AfterLineEnd() const {
    if (lineEnd_ >= file_.size())
        return file_.size();
    const bool crLf =
        file_[lineEnd_] == '\r' && lineEnd_ + 1 < file_.size() && file_[lineEnd_ + 1] == '\n';
    return lineEnd_ + (crLf ? 2 : 1);
}

SRecordTokeniser::Step SRecordTokeniser::Next(std::string_view& token) {
    if (!inLine_) {
        if (lineStart_ >= file_.size())
            return Step::FileEnd;
        StartLine();
    }
    if (next_ < lineEnd_) {
        token = file_.substr(next_, std::min<std::size_t>(2, lineEnd_ - next_));
        next_ += token.size();
        return Step::Token;
    }
    lineStart_ = AfterLineEnd();
    inLine_ = false;
    return Step::LineEnd;
}

}  // namespace vortana
