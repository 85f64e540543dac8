#include "image/SRecordParser.h"

#include "image/SRecordTokeniser.h"
#include "shell/Convert.h"

namespace vortana {
namespace {

constexpr std::uint8_t kHeadBytes = 3;  // the address bytes and the checksum, counted but no data
constexpr std::string_view kNoRecord = "不是S记录";
constexpr std::int32_t kNotHexadecimal = -1;  // no value a field of two digits can have

bool IsRecordType(std::string_view token) {
    return token == "S0" || token == "S1" || token == "S9";
}

// What is wrong with a line whose first token is `token`, or nothing when it starts a record
// that is read or skipped.
std::optional<std::string> RecordLineFault(std::string_view token) {
    if (token.empty() || token[0] != 'S')
        return std::string(kNoRecord);
    const char type = token.size() == 2 ? token[1] : '\0';
    if (type == '2' || type == '3')
        return std::string(token) + "记录的地址超过16位";
    if (type < '0' || type > '9' || type == '4')
        return "记录类型错误 " + std::string(token);
    return std::nullopt;
}

// A field's byte, or nothing when its two characters are not hexadecimal digits: such a record
// is refused, never read as holding 00.
std::optional<std::uint8_t> FieldValue(std::string_view token) {
    const std::int32_t value = HexToIntDef(token, kNotHexadecimal);
    if (value == kNotHexadecimal)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

}  // namespace

std::uint32_t SRecordHead::StoredLength() const {
    return type == "S1" && count > kHeadBytes ? count - kHeadBytes : 0;
}

bool SRecordParser::Fail(std::string message) {
    failure_ = SRecordFailure{std::move(message), line_};
    return false;
}

bool SRecordParser::LineFailure(std::string_view what) {
    return Fail("文件加载错误，第" + std::to_string(line_) + "行" + std::string(what));
}

bool SRecordParser::StartsRecordLine(std::string_view token) {
    atLineStart_ = false;
    const std::optional<std::string> fault = RecordLineFault(token);
    return fault ? LineFailure(*fault) : true;
}

std::uint8_t SRecordParser::ExpectedCheckSum() const {
    return static_cast<std::uint8_t>(0xFF - sum_ % 256);
}

bool SRecordParser::CheckSumFailure(std::uint8_t expected) {
    return Fail("文件加载错误，" + std::string(addressText_.data(), addressLength_) +
                "地址行校验和错误 " + IntToHex(expected, 2));
}

bool SRecordParser::IsS1() const {
    return type_[0] == 'S' && type_[1] == '1';
}

std::uint32_t SRecordParser::DataLength() const {
    return count_ - kHeadBytes;
}

SRecordHead SRecordParser::Head() const {
    return {std::string_view(type_.data(), type_.size()), count_,
            std::string_view(addressText_.data(), addressLength_), address_};
}

bool SRecordParser::Token(std::string_view token) {
    if (failure_ || (atLineStart_ && !StartsRecordLine(token)))
        return false;
    if (token.size() < 2)
        return true;
    const bool inFields = state_ != State::RecordStart && state_ != State::AfterRecord;
    const std::optional<std::uint8_t> field = FieldValue(token);
    if (inFields && !field)
        return LineFailure(kNoRecord);
    const std::uint8_t value = field.value_or(0);
    switch (state_) {
        case State::RecordStart:
            if (IsRecordType(token)) {
                token.copy(type_.data(), type_.size());
                sum_ = 0;
                addressLength_ = 0;
                state_ = State::Count;
            }
            break;
        case State::Count:
            count_ = value;
            sum_ = value;
            if (count_ < kHeadBytes) {
                return LineFailure("记录长度错误 " + IntToHex(count_, 2));
            }
            state_ = State::AddressHigh;
            break;
        case State::AddressHigh:
        case State::AddressLow:
            addressLength_ += token.copy(addressText_.data() + addressLength_, 2);
            sum_ += value;
            if (state_ == State::AddressHigh) {
                address_ = static_cast<std::uint16_t>(value << 8);
                state_ = State::AddressLow;
                break;
            }
            address_ = static_cast<std::uint16_t>(address_ | value);
            if (!sink_.Fits(Head()))
                return Fail(std::string(kAddressMismatchMessage));
            dataRead_ = 0;
            state_ = count_ == kHeadBytes ? State::CheckSum : State::Data;
            break;
        case State::Data:
            if (IsS1()) {
                token.copy(data_.data() + 2 * dataRead_, 2);
                sum_ += value;
            }
            if (++dataRead_ == DataLength())
                state_ = State::CheckSum;
            break;
        case State::CheckSum:
            if (IsS1()) {
                if (value != ExpectedCheckSum())
                    return CheckSumFailure(ExpectedCheckSum());
                sink_.Store(Head(), std::string_view(data_.data(), 2 * dataRead_));
                storedData_ = storedData_ || dataRead_ > 0;
            }
            state_ = State::AfterRecord;
            break;
        case State::AfterRecord:
            state_ = State::RecordStart;
            break;
    }
    return true;
}

bool SRecordParser::LineEnd() {
    if (failure_)
        return false;
    const bool inRecord = state_ != State::RecordStart && state_ != State::AfterRecord;
    if (inRecord && IsS1())
        return CheckSumFailure(ExpectedCheckSum());
    state_ = State::RecordStart;
    atLineStart_ = true;
    ++line_;
    return true;
}

bool SRecordParser::End() {
    if (failure_)
        return false;
    return storedData_ || Fail("文件加载错误，文件中没有S1数据记录");
}

std::optional<SRecordFailure> ParseSRecordFile(std::string_view file, SRecordSink& sink) {
    SRecordParser parser(sink);
    SRecordTokeniser tokeniser(file);
    std::string_view token;
    for (bool going = true; going;) {
        switch (tokeniser.Next(token)) {
            case SRecordTokeniser::Step::Token:
                going = parser.Token(token);
                break;
            case SRecordTokeniser::Step::LineEnd:
                going = parser.LineEnd();
                break;
            case SRecordTokeniser::Step::FileEnd:
                parser.End();
                going = false;
                break;
        }
    }
    return parser.Failure();
}

}  // namespace vortana
