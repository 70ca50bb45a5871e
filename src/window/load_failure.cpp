// A page that cannot be loaded is replaced by a short page of the program's own, so that the
// reader learns in plain words what went wrong and has a way back.
#include <glib.h>
#include <webkit2/webkit2.h>

#include <filesystem>
#include <memory>

#include "book/navigation_address.hpp"
#include "browsing/failure_page.hpp"
#include "common/ascii_case.hpp"
#include "common/gobject_ptr.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"

namespace quillora {

namespace {

bool HasScheme(const std::string& address, std::string_view scheme)
{
    return EqualsIgnoringCase(UriSchemeOf(address), scheme);
}

std::string LocalPath(const WebBrowser& web, const std::string& address)
{
    std::string path = web.LocalPathOf(address);
    if (path.empty()) {
        const GCharPtr plain(g_filename_from_uri(address.c_str(), nullptr, nullptr));
        if (plain) path = plain.get();
    }
    return path;
}

FailedLoad Describe(const WebBrowser& web, const std::string& address, const GError& error)
{
    FailedLoad failure;
    failure.what = address;
    failure.reason = error.message != nullptr ? error.message : "";
    if (HasScheme(address, "file")) {
        const std::string path = LocalPath(web, address);
        std::error_code ignored;
        if (!path.empty()) failure.what = path;
        if (!path.empty() && !std::filesystem::exists(path, ignored)) failure.kind = LoadFailure::MissingFile;
        return failure;
    }
    // A web address that fails for any reason but a refused answer or a bad certificate is one
    // that cannot be reached: no network, no such host, no answer.
    if ((HasScheme(address, "http") || HasScheme(address, "https")) && error.domain != WEBKIT_POLICY_ERROR &&
        error.domain != G_TLS_ERROR) {
        failure.kind = LoadFailure::Unreachable;
    }
    return failure;
}

}  // namespace

void Tform_apresentacao::WebLoadFailed(const std::string& address, const GError& error, bool& replaced)
{
    ShowFailurePage(Describe(*web_, address, error), address);
    replaced = true;
}

void Tform_apresentacao::ShowPageNotFound(const std::string& path)
{
    FailedLoad failure;
    failure.kind = LoadFailure::MissingFile;
    failure.what = path;
    ShowFailurePage(failure, web_->AddressOf(path));
}

void Tform_apresentacao::ShowFailurePage(FailedLoad failure, const std::string& address)
{
    failure.can_go_back =
        webkit_back_forward_list_get_current_item(webkit_web_view_get_back_forward_list(web_->View())) != nullptr;
    failure.has_home = !kept_.home_page.empty();
    web_->ShowOwnPage(FailurePageHtml(failure), address);
}

}  // namespace quillora
