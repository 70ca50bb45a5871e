#include "payload/payload.hpp"

#include <algorithm>
#include <utility>

#include "common/error.hpp"

namespace quillora {

TPayload::TPayload(std::string file_name) : FileName_(std::move(file_name)) {}

FileHandle TPayload::OpenForReading() const
{
    return FileHandle::OpenReadOnly(FileName_);
}

bool TPayload::ReadTrailer(const FileHandle& file, Trailer& record)
{
    const std::int64_t size = file.Size();
    if (size <= static_cast<std::int64_t>(TrailerSize)) {
        record = Trailer{};
        return false;
    }
    std::array<unsigned char, TrailerSize> bytes{};
    file.ReadExactly(size - static_cast<std::int64_t>(TrailerSize),
                     std::span<char>(reinterpret_cast<char*>(bytes.data()), bytes.size()));
    record = DecodeTrailer(bytes);
    return record.SignatureMatches();
}

std::int32_t TPayload::DataLength() const
{
    const FileHandle file = OpenForReading();
    Trailer record;
    if (!ReadTrailer(file, record)) {
        return 0;
    }
    // Checked here as well, because callers size their buffer by this number.
    LocateText(record, file.Size());
    return record.data_length;
}

bool TPayload::IsPresent() const
{
    return DataLength() > 0;
}

std::optional<PayloadTextRange> TPayload::FindText(const FileHandle& file)
{
    Trailer record;
    if (!ReadTrailer(file, record)) {
        return std::nullopt;
    }
    return LocateText(record, file.Size());
}

std::string TPayload::ReadRange(const FileHandle& file, const PayloadTextRange& range)
{
    // Bounded by the file size, which LocateText has checked.
    std::string text(static_cast<std::size_t>(range.length), '\0');
    file.ReadExactly(range.offset, text);
    return text;
}

void TPayload::ReadInto(std::span<char> buffer) const
{
    const FileHandle file = OpenForReading();
    const auto range = FindText(file);
    if (!range) {
        return;
    }
    if (static_cast<std::size_t>(range->length) > buffer.size()) {
        throw IoError("Buffer too small for the payload text (" + std::to_string(range->length) + " bytes needed, " +
                      std::to_string(buffer.size()) + " given)");
    }
    // Read into a string of our own first, so that a failing or short read (the file shrank
    // since its size was taken) never leaves the caller's buffer half written.
    const std::string text = ReadRange(file, *range);
    std::copy(text.begin(), text.end(), buffer.begin());
}

std::string TPayload::ReadText() const
{
    const FileHandle file = OpenForReading();
    const auto range = FindText(file);
    return range ? ReadRange(file, *range) : std::string();
}

}  // namespace quillora
