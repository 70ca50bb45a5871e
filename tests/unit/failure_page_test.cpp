#include "browsing/failure_page.hpp"

#include <gtest/gtest.h>

namespace quillora {
namespace {

bool Has(const std::string& html, const std::string& part)
{
    return html.find(part) != std::string::npos;
}

TEST(FailurePage, EscapesTheAddressAndOffersOnlyTheWaysThatExist)
{
    FailedLoad failure;
    failure.kind = LoadFailure::Other;
    failure.what = "http://x/<script>alert(1)</script>?a=1&b=\"2\"";
    failure.reason = "<b>bad</b>";
    failure.can_go_back = true;
    failure.has_home = true;
    const std::string html = FailurePageHtml(failure);
    // texts from outside -> escaped, never markup
    EXPECT_FALSE(Has(html, "<script>")) << html;
    EXPECT_FALSE(Has(html, "<b>bad")) << html;
    EXPECT_TRUE(Has(html, "&lt;script&gt;alert(1)&lt;/script&gt;?a=1&amp;b=&quot;2&quot;")) << html;
    // both ways on -> both links, as actions the page may run
    EXPECT_TRUE(Has(html, "href=\"ACTION:WEBBACK()\"")) << html;
    EXPECT_TRUE(Has(html, "href=\"ACTION:WEBHOME()\"")) << html;
    EXPECT_TRUE(IsFailurePageAction("WEBBACK()"));
    EXPECT_FALSE(IsFailurePageAction("RUN(\"sh\")"));

    // nowhere to go back to, no book -> no links at all
    failure.can_go_back = failure.has_home = false;
    EXPECT_FALSE(Has(FailurePageHtml(failure), "href=")) << FailurePageHtml(failure);
}

}  // namespace
}  // namespace quillora
