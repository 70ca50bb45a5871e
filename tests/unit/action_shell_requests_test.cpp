#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/shell_requests.hpp"
#include "common/error.hpp"
#include "support/recording_action_host.hpp"

namespace quillora {
namespace {

TEST(ShellRequests, WebAddressesAreAlwaysHttpOrHttps)
{
    // address -> what the desktop is asked to open ("" opens nothing)
    const std::pair<const char*, const char*> cases[] = {
        {"example.org", "http://example.org"},
        {"http://x.org", "http://x.org"},
        {"HTTPS://x.org", "HTTPS://x.org"},
        {"Http://x.org", "Http://x.org"},
        {"https:x.org", "http://https:x.org"},
        {"file:///etc/passwd", "http://file:///etc/passwd"},
        {"javascript:alert(1)", "http://javascript:alert(1)"},
        {"", ""},
    };
    for (const auto& [address, expected] : cases) {
        EXPECT_EQ(WebAddressOf(address), expected) << address;
    }
}

TEST(ShellRequests, MailAddressesLoseTheirAttachments)
{
    // address -> mailto address
    const std::pair<const char*, const char*> cases[] = {
        {"a@b.org", "mailto:a@b.org"},
        {"", "mailto:"},
        {"a@b.org?subject=Hi&attach=/etc/passwd&body=x", "mailto:a@b.org?subject=Hi&body=x"},
        {"a@b.org?ATTACHMENT=%2Fhome&subject=x", "mailto:a@b.org?subject=x"},
        {"a@b.org?%61ttach=x", "mailto:a@b.org"},
        {"a@b.org? attach =x&cc=c@d", "mailto:a@b.org?cc=c@d"},
        {"a@b.org?attachments=x&", "mailto:a@b.org?attachments=x&"},
        {"?attach=x&attach=y", "mailto:"},
        // Lenient mail programs also cut at "?" and ";".
        {"a@b.org?subject=Hi&x?attachment=/etc/passwd", "mailto:a@b.org?subject=Hi"},
        {"a@b.org?subject=Hi;attach=/etc/passwd", "mailto:a@b.org"},
    };
    for (const auto& [address, expected] : cases) {
        EXPECT_EQ(MailAddressOf(address), expected) << address;
    }
}

TEST(ShellRequests, OpenFileRefusesTextsLongerThan1024Characters)
{
    const std::string limit(1024, 'x');
    std::string accented;
    for (int i = 0; i < 1024; ++i) {
        accented += "é";
    }
    test::RecordingActionHost host;
    ShellOpenFile(host, "EXECUTEOROPENFILE", "docs\\" + limit.substr(5), limit);
    ShellOpenFile(host, "EXECUTEOROPENFILE", accented, "");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"OpenFile(docs/" + limit.substr(5) + ", " + limit + ")",
                                                    "OpenFile(" + accented + ", )"}));

    // (file name, parameters) -> message
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {limit + "y", "", "The file name of EXECUTEOROPENFILE is 1025 characters long; at most 1024 are allowed"},
        {"a", accented + "é",
         "The parameter text of EXECUTEOROPENFILE is 1025 characters long; at most 1024 are allowed"},
    };
    for (const auto& [file, parameters, message] : cases) {
        try {
            ShellOpenFile(host, "EXECUTEOROPENFILE", file, parameters);
            ADD_FAILURE() << "no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
    EXPECT_EQ(host.calls.size(), 2U);
}

}  // namespace
}  // namespace quillora
