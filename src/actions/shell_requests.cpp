#include "actions/shell_requests.hpp"

#include "actions/ascii_case.hpp"
#include "actions/book_paths.hpp"
#include "common/error.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {
namespace {

void RefuseTooLong(std::string_view command, std::string_view what, std::string_view text)
{
    const std::size_t length = Utf8Length(text);
    if (length > MaxShellTextLength) {
        throw Error("The " + std::string(what) + " of " + std::string(command) + " is " +
                    std::to_string(length) + " characters long; at most " +
                    std::to_string(MaxShellTextLength) + " are allowed");
    }
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A query parameter's name as a mail program reads it: percent-decoded, without blanks around
// it, ASCII letters in small.
std::string DecodedName(std::string_view field)
{
    const std::string_view name = field.substr(0, field.find('='));
    std::string decoded;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '%' && i + 2 < name.size() && HexValue(name[i + 1]) >= 0 &&
            HexValue(name[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(name[i + 1]) * 16 + HexValue(name[i + 2]));
            i += 2;
        } else {
            decoded += name[i];
        }
    }
    const auto first = decoded.find_first_not_of(' ');
    const auto last = decoded.find_last_not_of(' ');
    decoded = first == std::string::npos ? std::string() : decoded.substr(first, last - first + 1);
    return AsciiLowerCopy(decoded);
}

bool IsAttachment(std::string_view field)
{
    const std::string name = DecodedName(field);
    return name == "attach" || name == "attachment";
}

}  // namespace

void ShellOpenFile(ActionHost& host, std::string_view command, std::string_view file_name,
                   std::string_view parameters)
{
    RefuseTooLong(command, "file name", file_name);
    RefuseTooLong(command, "parameter text", parameters);
    host.OpenFile(LocalPathOf(file_name), std::string(parameters));
}

std::string WebAddressOf(std::string_view address)
{
    if (address.empty()) {
        return std::string();
    }
    if (StartsWithIgnoringCase(address, "http://") || StartsWithIgnoringCase(address, "https://")) {
        return std::string(address);
    }
    return "http://" + std::string(address);
}

void OpenWebAddress(ActionHost& host, std::string_view address)
{
    const std::string uri = WebAddressOf(address);
    if (!uri.empty()) {
        host.OpenUri(uri);
    }
}

std::string MailAddressOf(std::string_view address)
{
    const auto query = address.find('?');
    std::string mail = "mailto:" + std::string(address.substr(0, query));
    if (query == std::string_view::npos) {
        return mail;
    }
    char joiner = '?';
    std::string_view rest = address.substr(query + 1);
    for (;;) {
        const auto end = rest.find('&');
        const std::string_view field = rest.substr(0, end);
        if (!IsAttachment(field)) {
            mail.append(1, joiner).append(field);
            joiner = '&';
        }
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return mail;
}

}  // namespace quillora
