#include "actions/shell_requests.hpp"

#include <algorithm>

#include "actions/book_paths.hpp"
#include "book/page_path.hpp"
#include "common/ascii_case.hpp"
#include "common/error.hpp"
#include "common/percent_escape.hpp"
#include "payload/text_encoding.hpp"

namespace quillora {
namespace {

void RefuseTooLong(std::string_view command, std::string_view what, std::string_view text)
{
    const std::size_t length = Utf8Length(text);
    if (length > MaxShellTextLength) {
        throw Error("The " + std::string(what) + " of " + std::string(command) + " is " + std::to_string(length) +
                    " characters long; at most " + std::to_string(MaxShellTextLength) + " are allowed");
    }
}

// Whether a query field could name an attachment to any mail program: decoded, and also cut at
// the separators that lenient programs accept ("?", ";", "&"), no part may be named "attach" or
// "attachment" (blanks around the name and letter case aside). Dropping a harmless field now
// and then is the price of never mailing a file.
bool IsAttachment(std::string_view field)
{
    const std::string decoded = AsciiLowerCopy(PercentDecoded(field));
    std::size_t start = 0;
    for (;;) {
        const auto end = decoded.find_first_of("?;&", start);
        const std::string_view part = std::string_view(decoded).substr(start, end - start);
        std::string_view name = part.substr(0, part.find('='));
        name.remove_prefix(std::min(name.find_first_not_of(' '), name.size()));
        name = name.substr(0, name.find_last_not_of(' ') + 1);
        if (name == "attach" || name == "attachment") {
            return true;
        }
        if (end == std::string::npos) {
            return false;
        }
        start = end + 1;
    }
}

}  // namespace

void ShellOpenFile(ActionHost& host, std::string_view command, std::string_view file_name, std::string_view parameters)
{
    RefuseTooLong(command, "file name", file_name);
    RefuseTooLong(command, "parameter text", parameters);
    host.OpenFile(LocalPathOf(file_name), std::string(parameters));
}

std::string OpenFileFailureText(std::string_view file_name, std::string_view reason)
{
    return "Cannot open " + std::string(file_name) + ": " + std::string(reason);
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
