#include "payload/text_encoding.hpp"

#include <glib.h>
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>
#include <system_error>

#include "common/ascii_case.hpp"
#include "common/error.hpp"

namespace quillora {

namespace {

// An iconv conversion, opened once per thread and direction: opening one loads glibc's converter
// module, far too slow to repeat for every line of a large payload.
class Converter {
public:
    Converter(const char* to, const char* from) : descriptor_(::iconv_open(to, from))
    {
        if (descriptor_ == NoDescriptor()) {
            throw Error(std::string("cannot convert text from ") + from + " to " + to + ": " +
                        std::generic_category().message(errno));
        }
    }
    // None when iconv knows no such encoding.
    static std::unique_ptr<Converter> Open(const char* to, const char* from)
    {
        const iconv_t descriptor = ::iconv_open(to, from);
        return descriptor == NoDescriptor() ? nullptr : std::unique_ptr<Converter>(new Converter(descriptor));
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() { ::iconv_close(descriptor_); }

    // Converts `in`, handing the output to `sink` piece by piece. At a character the conversion
    // rejects, `reject` gets the rest of the input and returns how many bytes it dealt with
    // itself, or 0 to stop. Returns whether all of `in` was converted.
    template <typename Sink, typename Reject>
    bool Run(std::string_view in, Sink&& sink, Reject&& reject)
    {
        ::iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);  // the initial state
        char buffer[4096];
        char* in_at = const_cast<char*>(in.data());  // iconv's signature; it only reads
        std::size_t in_left = in.size();
        while (in_left > 0) {
            char* out_at = buffer;
            std::size_t out_left = sizeof buffer;
            const std::size_t result = ::iconv(descriptor_, &in_at, &in_left, &out_at, &out_left);
            const int error = errno;
            sink(std::string_view(buffer, static_cast<std::size_t>(out_at - buffer)));
            if (result == static_cast<std::size_t>(-1) && error != E2BIG) {
                const std::size_t taken = reject(std::string_view(in_at, in_left));
                if (taken == 0) {
                    return false;
                }
                in_at += taken;
                in_left -= taken;
            }
        }
        return true;
    }

private:
    explicit Converter(iconv_t descriptor) : descriptor_(descriptor) {}
    static iconv_t NoDescriptor() { return reinterpret_cast<iconv_t>(-1); }

    iconv_t descriptor_;
};

Converter& Windows1252Decoder()
{
    thread_local Converter converter("UTF-8", "WINDOWS-1252");
    return converter;
}

Converter& Windows1252Encoder()
{
    thread_local Converter converter("WINDOWS-1252", "UTF-8");
    return converter;
}

// The five bytes that Windows-1252 leaves undefined, and glibc's converter rejects, stand for
// the control characters of the same value, so that no byte is lost either way.
bool IsUndefinedInWindows1252(char32_t code)
{
    return code == 0x81 || code == 0x8D || code == 0x8F || code == 0x90 || code == 0x9D;
}

// Converts Windows-1252 bytes, handing the UTF-8 output to `sink`; `undefined` learns of each
// byte that Windows-1252 leaves undefined, before its control character goes to the sink.
template <typename Sink, typename Undefined>
void FromWindows1252(std::string_view bytes, Sink&& sink, Undefined&& undefined)
{
    Windows1252Decoder().Run(bytes, sink, [&](std::string_view rest) -> std::size_t {
        const auto byte = static_cast<unsigned char>(rest.front());
        undefined(byte);
        const char utf8[] = {static_cast<char>(0xC0 | (byte >> 6)), static_cast<char>(0x80 | (byte & 0x3F))};
        sink(std::string_view(utf8, sizeof utf8));
        return 1;
    });
}

template <typename Sink>
void FromWindows1252(std::string_view bytes, Sink&& sink)
{
    FromWindows1252(bytes, sink, [](unsigned char) {});
}

// A decoder to UTF-8 from a named encoding, kept per thread for as long as the same name comes
// again (the pages of a book mostly share one); null when iconv knows no such encoding.
Converter* DecoderFrom(const std::string& encoding)
{
    thread_local std::string name;
    thread_local std::unique_ptr<Converter> decoder;
    if (!decoder || name != encoding) {
        decoder = Converter::Open("UTF-8", encoding.c_str());
        name = encoding;
    }
    return decoder.get();
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = 0;
        // The allowed range of the second byte excludes overlong forms, surrogates and code
        // points above U+10FFFF in one check.
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            if (lead == 0xE0) {
                low = 0xA0;
            } else if (lead == 0xED) {
                high = 0x9F;
            }
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            if (lead == 0xF0) {
                low = 0x90;
            } else if (lead == 0xF4) {
                high = 0x8F;
            }
        } else {
            return false;
        }
        if (n - i <= extra) {
            return false;
        }
        if (p[i + 1] < low || p[i + 1] > high) {
            return false;
        }
        for (std::size_t k = 2; k <= extra; ++k) {
            if (!IsContinuation(p[i + k])) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

std::string WithValidUtf8(std::string text)
{
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        return text;
    }
    gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

std::size_t Windows1252Utf8Size(std::string_view bytes)
{
    std::size_t size = 0;
    FromWindows1252(bytes, [&](std::string_view piece) { size += piece.size(); });
    return size;
}

std::string Windows1252ToUtf8(std::string_view bytes)
{
    // Sized first, so that a large text is allocated once and never copied while it grows.
    std::string out;
    out.reserve(Windows1252Utf8Size(bytes));
    AppendWindows1252AsUtf8(bytes, out);
    return out;
}

void AppendWindows1252AsUtf8(std::string_view bytes, std::string& out)
{
    FromWindows1252(bytes, [&](std::string_view piece) { out += piece; });
}

std::optional<std::string> Utf8ToWindows1252(std::string_view text, char32_t& first_unwritable)
{
    std::string bytes;
    bytes.reserve(text.size());
    const bool whole = Windows1252Encoder().Run(
        text, [&](std::string_view piece) { bytes += piece; },
        [&](std::string_view rest) -> std::size_t {
            const gunichar code = g_utf8_get_char_validated(rest.data(), static_cast<gssize>(rest.size()));
            if (IsUndefinedInWindows1252(code)) {
                bytes += static_cast<char>(code);
                return 2;  // its two bytes of UTF-8
            }
            // Text that is not UTF-8 is reported as the replacement character.
            first_unwritable = code < 0x110000 ? code : 0xFFFD;
            return 0;
        });
    if (!whole) {
        return std::nullopt;
    }
    return bytes;
}

std::string DecodePayloadText(std::string_view bytes)
{
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return Windows1252ToUtf8(bytes);
}

std::optional<DecodedText> DecodeToUtf8(std::string_view bytes, const std::string& encoding)
{
    DecodedText decoded;
    const auto note = [&](unsigned char value) {
        if (!decoded.first_stray) {
            decoded.first_stray = StrayByte{decoded.text.size(), value};
        }
    };
    const auto append = [&](std::string_view piece) { decoded.text += piece; };
    if (EqualsIgnoringCase(encoding, "windows-1252")) {
        FromWindows1252(bytes, append, note);
        return decoded;
    }
    if (EqualsIgnoringCase(encoding, "utf-8") && IsValidUtf8(bytes)) {
        decoded.text = bytes;
        return decoded;
    }
    Converter* decoder = DecoderFrom(encoding);
    if (decoder == nullptr) {
        return std::nullopt;
    }
    // Passing over a whole code unit keeps the rest of the text in step.
    const std::size_t unit = StartsWithIgnoringCase(encoding, "utf-32")   ? 4
                             : StartsWithIgnoringCase(encoding, "utf-16") ? 2
                                                                          : 1;
    decoder->Run(bytes, append, [&](std::string_view rest) -> std::size_t {
        note(static_cast<unsigned char>(rest.front()));
        decoded.text += "\xEF\xBF\xBD";
        return std::min(unit, rest.size());
    });
    return decoded;
}

std::size_t Utf8Length(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text) {
        if (!IsContinuation(static_cast<unsigned char>(c))) {
            ++count;
        }
    }
    return count;
}

std::string Utf8Prefix(std::string_view text, std::size_t count)
{
    std::size_t characters = 0;
    std::size_t end = 0;
    while (end < text.size()) {
        if (!IsContinuation(static_cast<unsigned char>(text[end]))) {
            if (characters == count) {
                break;
            }
            ++characters;
        }
        ++end;
    }
    return std::string(text.substr(0, end));
}

}  // namespace quillora
