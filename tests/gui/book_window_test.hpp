#pragma once

// A fixture for tests of the whole window on a packed e-book: the settings of a plain book to
// change, then Start() with the pages; errors the window reports are collected.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/event_boundary.hpp"
#include "ebook_fixture.hpp"
#include "gui_test_support.hpp"
#include "webview/web_browser.hpp"
#include "window/form_apresentacao.hpp"

namespace quillora::test {

class BookWindowTest : public testing::Test {
protected:
    using Pages = std::vector<std::pair<std::string, std::string>>;

    void SetUp() override
    {
        SetErrorReporter([this](const std::string& text) { reports.push_back(text); });
        settings = PlainSettings();
    }
    void TearDown() override
    {
        window.reset();
        SetErrorReporter(nullptr);
    }

    // Packs the settings with the pages (the first is the home page, index.html) and starts a new
    // window on them; true once the home page has loaded, false when start-up ended early.
    bool Start(const Pages& pages)
    {
        window.reset();
        loaded.clear();
        book = std::make_unique<EBookFixture>(settings, book_folder);
        for (const auto& [name, html] : pages) {
            book->WritePage(name, html);
        }
        window = Tform_apresentacao::Create();
        loaded_watch =
            window->Web().signal_document_complete.Connect([this](const std::string& url) { loaded.push_back(url); });
        WindowCreated();
        AtEventBoundary([&] { window->FormCreate(book->ProgramPath()); });
        if (window->QuitRequested() || !reports.empty()) {
            return false;
        }
        gtk_widget_show(window->Widget());
        return RunUntil([&] { return !loaded.empty(); });
    }

    // A new window exists, before it applies the settings: for watches on it.
    virtual void WindowCreated() {}

    std::string Folder() const { return std::filesystem::path(book->ProgramPath()).parent_path().string() + "/"; }
    // The text value of a script run as an async function body in the page.
    std::string Script(const std::string& body)
    {
        return EvaluateScript(window->Web().View(), body).value_or("<failed>");
    }
    // The value of a script once it is `expected`, for what the page or a script run after the
    // load does in its own time; the last value seen when the limit passes first.
    std::string ScriptOnceItIs(const std::string& body, const std::string& expected)
    {
        std::string value;
        RunUntil([&] {
            value = Script(body);
            return value == expected;
        });
        return value;
    }
    std::string FirstReport() const { return reports.empty() ? std::string() : reports.front(); }

    std::vector<std::string> settings;
    std::string book_folder;  // the name of the book's folder, when it matters
    std::unique_ptr<EBookFixture> book;
    std::unique_ptr<Tform_apresentacao> window;
    std::vector<std::string> loaded;  // addresses of the documents that finished loading
    EventConnection loaded_watch;
    std::vector<std::string> reports;
};

}  // namespace quillora::test
